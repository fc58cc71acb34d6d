#include "desktop/tray_icon_win32.h"

#include <shellapi.h>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/guard.h"
#include "gui/subclass.h"
#include "gui/wide.h"

namespace desktop {

namespace {

constexpr wchar_t kWindowClass[] = L"QuilloraTrayIconWindow";
constexpr UINT_PTR kSubclassId = 0x7459;  // "tY"

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* tray = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!tray || msg == WM_NCCREATE) return DefWindowProcW(hwnd, msg, wp, lp);
  return gui::Guarded("tray icon", LRESULT{0}, [&] { return static_cast<LRESULT>(tray->WndProc(msg, wp, lp)); });
}

LRESULT CALLBACK MainWindowSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* tray = reinterpret_cast<TTrayIcon*>(data);
  const bool consumed = gui::Guarded("tray icon", false, [&] { return tray->MainWindowMessage(msg, wp); });
  if (consumed) return 0;
  return gui::CallNextSubclass(hwnd, msg, wp, lp);
}

NOTIFYICONDATAW NativeData(const TrayIconData& data) {
  NOTIFYICONDATAW native{};
  // The first version's size: no balloon fields, so the balloon bit of the flags asks for nothing.
  native.cbSize = NOTIFYICONDATAW_V1_SIZE;
  native.hWnd = reinterpret_cast<HWND>(data.window);
  native.uID = data.id;
  native.uFlags = data.flags;
  native.uCallbackMessage = data.callbackMessage;
  native.hIcon = reinterpret_cast<HICON>(data.icon);
  const std::size_t length = std::min(data.tip.size(), kTrayTipLength);
  for (std::size_t i = 0; i < length; ++i) native.szTip[i] = static_cast<wchar_t>(data.tip[i]);
  native.szTip[length] = L'\0';
  return native;
}

class Win32TrayPlatform : public TrayPlatform {
 public:
  explicit Win32TrayPlatform(HWND mainWindow) : main_(mainWindow) {}

  bool ShellNotify(TrayShellAction action, const TrayIconData& data) override {
    NOTIFYICONDATAW native = NativeData(data);
    const DWORD message = action == TrayShellAction::Add      ? NIM_ADD
                          : action == TrayShellAction::Modify ? NIM_MODIFY
                                                              : NIM_DELETE;
    return Shell_NotifyIconW(message, &native) != FALSE;
  }

  uintptr_t AllocateWindow(TTrayIcon& tray) override {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TrayWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return 0;
    // Top-level (never shown), so that broadcasts reach it.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, &tray);
    return reinterpret_cast<uintptr_t>(window);
  }

  void FreeWindow(uintptr_t window) override {
    HWND hwnd = reinterpret_cast<HWND>(window);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }

  uint32_t CallbackMessage() override {
    static const UINT message = RegisterWindowMessageW(L"TrayIcon");
    return message;
  }
  uint32_t TaskbarCreatedMessage() override {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
  }

  TShiftState ShiftState() override {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
    if (GetKeyState(VK_MENU) & 0x8000) shift |= ssAlt;
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
    return shift;
  }

  void CursorPos(int& x, int& y) override {
    POINT p{};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
  }

  void InstallMainWindowHook(TTrayIcon& tray) override {
    if (main_) gui::InstallSubclass(main_, MainWindowSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(&tray));
  }
  void RemoveMainWindowHook(TTrayIcon&) override {
    if (main_ && IsWindow(main_)) gui::RemoveSubclass(main_, MainWindowSubclass, kSubclassId);
  }

  // The main window is also the application's window on the task bar.
  bool HasMainForm() override { return main_ && IsWindow(main_); }
  bool MainFormMinimized() override { return IsIconic(main_) != FALSE; }
  void MinimizeApplication() override { ShowWindow(main_, SW_MINIMIZE); }
  void HideMainForm() override { ShowWindow(main_, SW_HIDE); }
  void HideApplicationWindow() override {
    if (HasMainForm()) ShowWindow(main_, SW_HIDE);
  }
  void ShowApplicationWindow() override {
    if (HasMainForm()) ShowWindow(main_, SW_SHOWMINNOACTIVE);
  }
  void RestoreApplication() override {
    if (HasMainForm() && IsIconic(main_)) ShowWindow(main_, SW_RESTORE);
  }
  void ShowMainForm() override {
    if (!HasMainForm()) return;
    ShowWindow(main_, SW_SHOW);
    SetForegroundWindow(main_);
  }

  void CancelMainFormModes() override {
    if (!HasMainForm()) return;
    if (GetCapture()) ReleaseCapture();
    SendMessageW(main_, WM_CANCELMODE, 0, 0);
  }
  void SetForeground(uintptr_t window) override {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (IsWindowEnabled(hwnd)) SetForegroundWindow(hwnd);
  }
  void ProcessMessages() override { gui::Application::Instance().ProcessMessages(); }
  uintptr_t ApplicationIcon() override { return reinterpret_cast<uintptr_t>(gui::Application::Instance().Icon()); }
  uintptr_t DefaultWindowProc(uintptr_t window, uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    return static_cast<uintptr_t>(DefWindowProcW(reinterpret_cast<HWND>(window), msg, wParam, lParam));
  }

 private:
  HWND main_;
};

}  // namespace

std::unique_ptr<TrayPlatform> MakeWin32TrayPlatform(HWND mainWindow) {
  return std::make_unique<Win32TrayPlatform>(mainWindow);
}

bool MenuTrayPopup::HandleOwnerMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  // The owner is the hidden tray window, which wears no look of its own.
  if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && lookWindow_ && IsWindow(lookWindow_) &&
      SendMessageW(lookWindow_, msg, wParam, lParam)) {
    result = TRUE;
    return true;
  }
  LRESULT answer = 0;
  if (!menu_.HandleOwnerMessage(msg, wParam, lParam, answer)) return false;
  result = static_cast<intptr_t>(answer);
  return true;
}

}  // namespace desktop
