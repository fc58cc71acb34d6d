// The end-to-end tests as "another program" on the clipboard and at the history list:
// they put formats on the clipboard, read them back, and click rows of the list.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct ClipFormat {
  UINT id;           // a standard format, or 0 to register `name`
  std::wstring name; // the registered format's name
  std::string bytes;
};

// A hidden window of the test process that owns what the test puts on the clipboard.
HWND TestWindow();

bool SetClipboardFormats(const std::vector<ClipFormat>& formats);
bool SetClipboardText(const std::wstring& text);
std::optional<std::string> ReadClipboardFormat(UINT format);
std::optional<std::wstring> ReadClipboardText();
UINT RegisteredFormat(const std::wstring& name);
int ClipboardFormatCount();

// The history list (the main window's list box) and its rows as other programs read them.
HWND FindHistoryList(HWND mainWindow);
std::vector<std::wstring> ListRows(HWND list);
std::wstring ListRow(HWND list, int row);
int SelectedListRow(HWND list);
// Clicks on a row's text (not its check box), scrolling it into view first.
void ClickListRow(HWND list, int row);
void DoubleClickListRow(HWND list, int row);
// Clicks a row's text, then right-clicks it, with real input: the row is chosen and the list's
// context menu opens. The pointer rests on the row first, so the click's text hint opens below
// it, as it does for a user.
void OpenListRowMenu(HWND list, int row);

// Waits until the list has `count` rows.
bool WaitForRowCount(HWND list, int count, int timeoutMs = 10000);

}  // namespace e2e
