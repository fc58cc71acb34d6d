// Drives the real Quillora.exe from another process, the way a user and other programs
// would: prepare a runtime folder, start the program there, find its windows, read and
// post to them, and wait for it to end.
#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Where this test program keeps its programs' folders.
std::filesystem::path ScratchFolder();
// A fresh copy of the built runtime folder below ScratchFolder(), in the classic look.
std::filesystem::path PrepareRuntimeFolder(const std::string& name);
// The same below another folder.
std::filesystem::path PrepareRuntimeFolderIn(const std::filesystem::path& parent, const std::string& name);

// Sets the skin number (line 17 of the folder's settings file "set"): 1 the classic look.
void SetSkinNumber(const std::filesystem::path& folder, int number);
// Sets one line (from 1) of the folder's settings file "set".
void SetSettingsLine(const std::filesystem::path& folder, int line, const std::string& value);
// One line (from 1) of the folder's settings file "set", without its line break.
std::string SettingsLine(const std::filesystem::path& folder, int line);

// Writes bytes to a file (test set-up); UTF-8 of a wide text.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& file);
std::string Utf8(const std::wstring& text);

// An invisible window of the test process with a class of its own (registered once);
// parent HWND_MESSAGE gives a message-only window.
HWND CreateHiddenWindow(const wchar_t* windowClass, WNDPROC proc, HWND parent = nullptr);

// Polls until condition() holds or the timeout passes; handles this thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Waits (at most `timeout`) until the GUI thread of the window's program is back in its message
// loop: a message sent to it returns only then.
void WaitForIdle(HWND window, std::chrono::milliseconds timeout);
// Waits (at most `timeout`) until the window's program has caught up and the window stays in
// front: the foreground and active window of its thread, nothing holding the mouse, over
// several round trips. After the program was busy, Wine hands it input and activation events
// that came meanwhile, and each may change the active window again; a click made before they
// are handled can be lost.
bool WaitUntilSettledInFront(HWND window, std::chrono::milliseconds timeout);

// The top-level window of the given class (and title, when not empty) that belongs to the process.
HWND FindProcessWindow(DWORD processId, const std::wstring& windowClass, const std::wstring& title = L"");
// Any top-level window of the given class and title, of any process.
HWND FindAnyWindow(const std::wstring& windowClass, const std::wstring& title);
DWORD ProcessOfWindow(HWND hwnd);

std::wstring WindowText(HWND hwnd);
std::wstring WindowClass(HWND hwnd);

// A window's menu bar as the program holds it, read from inside the program (see probe/).
// A skinned bar (GetMenu is empty) is read the user's way: Alt opens its first item, the
// arrow keys the next ones, and the rows come from the open drop-down; its own items'
// captions are the skin's drawing and read as empty.
struct MenuRowInfo {
  int level = 0;
  bool checked = false;
  bool greyed = false;
  std::wstring caption;
};
std::vector<MenuRowInfo> ReadMenuBar(HWND hwnd);
// The captions of the top-level items of a window's menu bar.
std::vector<std::wstring> MenuBarCaptions(HWND hwnd);
// Chooses the menu bar's row with this caption (at any depth) as a click on it would (on a
// skinned bar: opened by Alt and the arrows, the row clicked in its drop-down);
// false when the window's menu bar has no such row.
bool ChooseMenuRow(HWND hwnd, const std::wstring& caption);
// The screen rectangle of a row of the context menu the program shows now (nullopt when
// no context menu with that row is open).
std::optional<RECT> OpenContextMenuRowRect(HWND programWindow, const std::wstring& caption);
// Clicks, as a user does, the row of the open context menu with this caption (waiting for
// the menu to open); false when it did not appear.
bool ChooseContextMenuRow(HWND programWindow, const std::wstring& caption);
// A real click (left or right button) at a screen point, the pointer moved there first.
void ClickAt(POINT screen, bool rightButton = false);
// The pointer moves to a screen point, as the user moves it.
void MovePointer(POINT screen);
// Real key input (SendInput), as the user types: a key down or up, and a key pressed with
// modifiers held around it.
void SendKey(WORD key, bool up);
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// A skinned bar: opens (Alt, arrows) the item whose drop-down holds the row and leaves it
// open; false when no item holds it.
bool OpenSkinnedMenuHolding(HWND hwnd, const std::wstring& caption);
// Where the row with this caption of the open drop-downs is on the screen (a row that opens a
// sub-menu too), after opening (by clicks) the sub-menus that hold it.
bool OpenMenuRowPoint(HWND hwnd, const std::wstring& caption, POINT& at);
// Clicks the row with this caption of the drop-down (or popup) menu the window has open now,
// opening the sub-menus that hold it; false when none is open or it has no such row.
bool ChooseOpenMenuRow(HWND hwnd, const std::wstring& caption);
// The row of the menu bar with this caption at any level (nullptr when absent).
const MenuRowInfo* FindMenuRow(const std::vector<MenuRowInfo>& rows, const std::wstring& caption);

// The visible dialogs and message boxes ("#32770" windows) of the process.
std::vector<HWND> VisibleDialogs(DWORD processId);

// Answers a message box of the process (a "#32770" window with the given text fragment)
// by pressing its button with the given id; true when one was found.
bool AnswerMessageBox(DWORD processId, const std::wstring& textFragment, int buttonId);
// The texts of the message boxes the process shows now.
std::vector<std::wstring> MessageBoxTexts(DWORD processId);
// The text of one message box.
std::wstring MessageBoxText(HWND box);
// Presses a dialog's or a message box's button, as a click on it does.
void PressDialogButton(HWND dialog, int buttonId);

// Fills the process's open or save dialog the way a user does: the file name typed into its
// name box, the file type chosen (filterIndex counting from 1; 0 keeps the one shown), OK.
// False when no file dialog appeared in time.
bool FillFileDialog(DWORD processId, const std::wstring& file, int filterIndex = 0);
// The name box of an open or save dialog (an edit, inside the name combo box where there is one).
HWND FileNameBox(HWND dialog);
// The process's visible open or save dialog, waited for (nullptr when none shows in time).
HWND WaitForFileDialog(DWORD processId, std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Windows ends the session: asks the window whether it may (WM_QUERYENDSESSION), then tells it
// that it ends (WM_ENDSESSION); true when the window answered both.
bool EndSessionAsWindowsDoes(HWND window);

// After a restart: waits for the main window of a new instance (another process than
// previousProcess), closes it as a user would and waits for it to end.
bool CloseRestartedProgram(DWORD previousProcess);

class RunningProgram {
 public:
  RunningProgram() = default;
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Starts Quillora.exe of the folder with the folder as its current directory.
  bool Start(const std::filesystem::path& folder);
  // Waits for the main window (class TForm1, caption " Quillora12.6").
  HWND WaitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr);
  void Kill();
  DWORD ProcessId() const { return pid_; }
  HWND MainWindow() const { return main_; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

}  // namespace e2e
