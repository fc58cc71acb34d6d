// TTrayIcon: one icon in the notification area. It turns the shell's callback messages into
// mouse events, pops up its menu on a right click, adds the icon again when the taskbar is
// made anew, and can hide the application when the main window is minimised. The platform
// (shell, hidden window, application window) is behind TrayPlatform, the menu behind
// TrayPopupMenu, so that the component's rules are testable without either.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "desktop/hook_protocol.h"

namespace desktop {

class TTrayIcon;

// The modifier keys held: Shift 1, Alt 2, Ctrl 4.
using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

// Window messages the component reads.
namespace traymsg {
inline constexpr uint32_t kMouseMove = 0x200;
inline constexpr uint32_t kLButtonDown = 0x201;
inline constexpr uint32_t kLButtonUp = 0x202;
inline constexpr uint32_t kLButtonDblClk = 0x203;
inline constexpr uint32_t kRButtonDown = 0x204;
inline constexpr uint32_t kRButtonUp = 0x205;
inline constexpr uint32_t kRButtonDblClk = 0x206;
inline constexpr uint32_t kMButtonDown = 0x207;
inline constexpr uint32_t kMButtonUp = 0x208;
inline constexpr uint32_t kMButtonDblClk = 0x209;
inline constexpr uint32_t kSysCommand = 0x112;
inline constexpr uint32_t kScMinimize = 0xF020;
}  // namespace traymsg

// What the shell is told (the notification icon record).
struct TrayIconData {
  uintptr_t window = 0;         // the hidden window that receives the callbacks
  uint32_t id = 0;              // uID: always 0
  uint32_t flags = 0x17;        // message, icon, tip (and the balloon bit, with no balloon text)
  uint32_t callbackMessage = 0;
  uintptr_t icon = 0;
  std::u16string tip;           // at most kTrayTipLength UTF-16 units
};
inline constexpr std::size_t kTrayTipLength = 63;

// The tip shown for a hint: the text before the first "|", cut to 63 UTF-16 units, never
// between the two halves of a surrogate pair.
std::u16string TrayTipOf(std::u16string_view hint);

enum class TrayShellAction { Add, Modify, Delete };

class TrayPlatform {
 public:
  virtual ~TrayPlatform() = default;
  // Shell_NotifyIcon; true when the shell took it.
  virtual bool ShellNotify(TrayShellAction action, const TrayIconData& data) = 0;
  // The hidden top-level window whose messages go to TTrayIcon::WndProc; 0 on failure.
  virtual uintptr_t AllocateWindow(TTrayIcon& tray) = 0;
  virtual void FreeWindow(uintptr_t window) = 0;
  // The registered messages "TrayIcon" and "TaskbarCreated".
  virtual uint32_t CallbackMessage() = 0;
  virtual uint32_t TaskbarCreatedMessage() = 0;
  virtual TShiftState ShiftState() = 0;
  virtual void CursorPos(int& x, int& y) = 0;
  // Sees every message of the application's main window before it: MainWindowMessage.
  virtual void InstallMainWindowHook(TTrayIcon& tray) = 0;
  virtual void RemoveMainWindowHook(TTrayIcon& tray) = 0;
  // The application and its main window.
  virtual bool HasMainForm() = 0;
  virtual bool MainFormMinimized() = 0;
  virtual void MinimizeApplication() = 0;
  virtual void HideMainForm() = 0;
  virtual void HideApplicationWindow() = 0;
  virtual void ShowApplicationWindow() = 0;
  virtual void RestoreApplication() = 0;
  virtual void ShowMainForm() = 0;
  // Before a popup: the main form's mouse capture and pending modes are cancelled.
  virtual void CancelMainFormModes() = 0;
  virtual void SetForeground(uintptr_t window) = 0;
  virtual void ProcessMessages() = 0;
  virtual uintptr_t ApplicationIcon() = 0;
  virtual uintptr_t DefaultWindowProc(uintptr_t window, uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};

class TrayPopupMenu {
 public:
  virtual ~TrayPopupMenu() = default;
  // Whether a right click pops the menu up.
  virtual bool AutoPopup() const = 0;
  // Shows the menu at screen coordinates, owned by `window`; returns when it is closed.
  virtual void Popup(int x, int y, uintptr_t window) = 0;
  // Runs the first row that is the menu's default and enabled; false when there is none.
  virtual bool ClickDefaultItem() = 0;
  // Messages of the menu that reach its owner window while it is open (owner-drawn rows,
  // the choice); true when taken, with the result.
  virtual bool HandleOwnerMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t& result) = 0;
};

class TTrayIcon {
 public:
  using TMouseEvent = std::function<void(TTrayIcon& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
  using TMouseMoveEvent = std::function<void(TTrayIcon& Sender, TShiftState Shift, int X, int Y)>;
  using TNotifyEvent = std::function<void(TTrayIcon& Sender)>;

  explicit TTrayIcon(TrayPlatform& platform);
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // The form's values are read: an active icon is added.
  void Loaded();

  bool Active() const { return active_; }
  void SetActive(bool value);
  void ShowIcon() { SetActive(true); }
  void HideIcon() { SetActive(false); }
  // Whether the icon is in the notification area now.
  bool Added() const { return added_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }

  const std::u16string& Hint() const { return hint_; }
  void SetHint(std::u16string_view value);

  // The icon's handle (owned by whoever set it; 0 for none). A change updates the tray.
  uintptr_t Icon() const { return icon_; }
  void SetIcon(uintptr_t icon);
  bool UseAppIcon() const { return useAppIcon_; }
  void SetUseAppIcon(bool value);

  bool AutoHide() const { return autoHide_; }
  void SetAutoHide(bool value) { autoHide_ = value; }
  bool ShowDesign() const { return showDesign_; }
  void SetShowDesign(bool value) { showDesign_ = value; }
  std::u16string_view About() const { return u"TTrayIcon: the notification-area icon of Quillora"; }

  TrayPopupMenu* PopupMenu() const { return popupMenu_; }
  // The menu must outlive the icon, or be set back to nullptr before it goes.
  void SetPopupMenu(TrayPopupMenu* menu) { popupMenu_ = menu; }

  TMouseEvent OnClick, OnMouseDown, OnMouseUp;
  TNotifyEvent OnDblClick;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnBalloonShow;  // never fired

  void HideApplication();
  void ShowApplication();
  // Whether HideApplication hid the application and nothing showed it since.
  bool ApplicationHidden() const { return applicationHidden_; }

  // The record the shell is given (FillIconData).
  TrayIconData FillIconData() const;
  uintptr_t Window() const { return window_; }
  // Mouse buttons down on the icon (left 1, right 2, middle 4).
  uint8_t PressedButtons() const { return pressed_; }

  // The hidden window's procedure.
  intptr_t WndProc(uint32_t msg, uintptr_t wParam, intptr_t lParam);
  // A message of the application's main window, before it is handled; true when it must
  // go no further.
  bool MainWindowMessage(uint32_t msg, uintptr_t wParam);

 private:
  void Add();
  void Update();
  void Delete();
  void Click(TMouseButton button, TShiftState shift, int x, int y);
  void DblClick();
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, uint8_t bit, TShiftState shift, int x, int y);

  TrayPlatform& platform_;
  bool active_ = true;
  bool added_ = false;
  bool enabled_ = true;
  uint8_t pressed_ = 0;
  uintptr_t icon_ = 0;
  std::u16string hint_;
  bool showDesign_ = false;
  TrayPopupMenu* popupMenu_ = nullptr;
  bool useAppIcon_ = false;
  bool autoHide_ = false;
  bool hookInstalled_ = false;
  bool loaded_ = false;
  bool applicationHidden_ = false;
  uintptr_t window_ = 0;
};

}  // namespace desktop
