// The options dialog "属性设置" of a running Quillora, driven as a user drives it: real clicks
// on its tabs, boxes, arrows and buttons, real keys typed into its fields. Its controls are
// found by their control ids.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "program_driver.h"

namespace e2e {

class OptionsDialog {
 public:
  explicit OptionsDialog(DWORD processId) : pid_(processId) {}

  // Waits until the dialog is shown; false when it did not appear.
  bool WaitShown(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  bool WaitHidden(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  bool Visible() const;
  HWND Window() const;
  HWND Control(int id) const;

  int ActiveTab() const;
  // Clicks the tab, as a user does; true when its page is shown then.
  [[nodiscard]] bool ChooseTab(int tab);
  // The tab's rectangle on the screen.
  std::optional<RECT> TabRect(int tab) const;

  std::wstring Text(int id) const { return WindowText(Control(id)); }
  bool Checked(int id) const;
  int ComboIndex(int id) const;

  // False when the control is not shown (on another tab), and nothing is clicked.
  [[nodiscard]] bool Click(int id);
  // Clicks into the field, empties it with Backspace and types text (one key per character).
  void TypeInto(int id, const std::wstring& text);
  // Opens the drop-down list and picks the item with the arrow keys and Enter.
  void ChooseComboItem(int id, int index);
  // Clicks the upper or the lower arrow of an up-down control.
  void ClickArrow(int id, bool up);
  // The field lost no key: waits until a control shows the text.
  bool WaitText(int id, const std::wstring& text) const;

 private:
  DWORD pid_;
};

// Types text as characters (each a key press carrying the character).
void TypeText(const std::wstring& text);

}  // namespace e2e
