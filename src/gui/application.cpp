#include "gui/application.h"

#include <commctrl.h>
#include <ole2.h>

#include "gui/form.h"
#include "gui/gdi.h"
#include "gui/guard.h"
#include "unicode/uni_win_control_win32.h"

namespace gui {

Application& Application::Instance() {
  static Application app;
  return app;
}

void Application::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  // The designs use 宋体 9 pt with the GB2312 character set.
  static UniqueFont font = MakeFont(u"宋体", -12, FW_NORMAL, GB2312_CHARSET);
  font_ = font.get();
  // Exceptions escaping the handlers of the Unicode controls are reported like any other.
  unicode::SetControlExceptionSink(&ReportUnhandledException);
  // The program's own icon (resource MAINICON) until a chosen icon file replaces it.
  icon_ = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
}

void Application::RegisterForm(Form* form) { forms_.push_back(form); }
void Application::UnregisterForm(Form* form) {
  std::erase(forms_, form);
  if (main_form_ == form) main_form_ = nullptr;
}
Form* Application::FindForm(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (Form* form : forms_) {
    if (form->Handle() == hwnd) return form;
  }
  return nullptr;
}

void Application::SetMainForm(Form* form) {
  main_form_ = form;
  if (form) form->isMainForm = true;
}

void Application::AddModelessDialog(HWND dialog) { modeless_.push_back(dialog); }

void Application::RemoveModelessDialog(HWND dialog) { std::erase(modeless_, dialog); }

bool Application::HandleDialogKeys(MSG& msg) {
  for (HWND dialog : modeless_) {
    if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) return true;
  }
  // Tab moves between the controls of the form that holds the focus. Every other key goes
  // to the control itself: the list answers Enter and Esc, the edit box wants Enter.
  if ((msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR) || msg.wParam != VK_TAB) {
    return false;
  }
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (!top) return false;
  for (Form* form : forms_) {
    if (form->Handle() == top) return IsDialogMessageW(top, &msg) != FALSE;
  }
  return false;
}

bool Application::PreviewKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  for (auto preview : key_previews_)
    if (preview(msg)) return true;
  return false;
}

void Application::RelayHint(const MSG& msg) const {
  if (!msg.hwnd || !IsHintMouseMessage(msg.message)) return;
  if (Form* form = FindForm(GetAncestor(msg.hwnd, GA_ROOT))) form->RelayHint(msg);
}

int Application::Run() {
  MSG msg{};
  while (true) {
    if (idle_work_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!Guarded("idle work", false, idle_work_)) idle_work_ = nullptr;
      continue;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (PreviewKey(msg) || HandleDialogKeys(msg)) continue;
    RelayHint(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  terminated_ = true;
  return static_cast<int>(msg.wParam);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
      return;
    }
    if (PreviewKey(msg) || HandleDialogKeys(msg)) continue;
    RelayHint(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Application::ProcessPaintMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
}

void Application::ProcessPostedMessages(HWND window) {
  MSG msg;
  while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) DispatchMessageW(&msg);
}

void Application::Wait(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    ProcessMessages();
    Sleep(10);
  }
  ProcessMessages();
}

void Application::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::Minimize() {
  if (main_form_) ShowWindow(main_form_->Handle(), SW_MINIMIZE);
}

void Application::Restore() {
  if (main_form_ && IsIconic(main_form_->Handle())) ShowWindow(main_form_->Handle(), SW_RESTORE);
}

bool Application::Minimized() const { return main_form_ && IsIconic(main_form_->Handle()); }

void Application::NotifyMinimized() {
  if (OnMinimize) Guarded("OnMinimize", [&] { OnMinimize(); });
}

}  // namespace gui
