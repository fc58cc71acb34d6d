#include "gui/application.h"

#include <commctrl.h>
#include <ole2.h>

#include "gui/clipboard_reads.h"
#include "gui/form.h"
#include "gui/gdi.h"
#include "gui/guard.h"
#include "gui/modal_loop.h"
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
  // Every edit box of this thread, the system dialogs' too, pastes through the program's reader.
  RoutePasteOfEveryEditBox();
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
  const WaitScope wait;
  // Under a loop of the system's own its input stays queued for it.
  const UINT which = ModalLoopRuns() ? PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT : 0;
  // A round ends after a slice of time even while messages keep coming: an animation's timers
  // and paints on a machine too slow for them never leave the queue empty, and the wait that
  // asked (a clipboard read, a paste step's pause) must get back to its own deadline.
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < kRoundMs && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | which)) {
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

void Application::ProcessSentMessages() {
  // A look at the queue delivers what was sent; with this filter nothing else is taken.
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool Application::WaitAnsweringSentMessages(HANDLE object, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD passed = GetTickCount() - start;
    const DWORD left = passed < milliseconds ? milliseconds - passed : 0;
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &object, left, QS_SENDMESSAGE, 0);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
    ProcessSentMessages();
  }
}

void Application::Wait(DWORD milliseconds) {
  const WaitScope wait;
  const DWORD start = GetTickCount();
  for (;;) {
    ProcessMessages();
    const DWORD passed = GetTickCount() - start;
    if (passed >= milliseconds) return;
    // Only what ProcessMessages would take wakes the wait (what a round left queued too): under
    // a loop of the system's own queued input does not.
    const DWORD wakeFor = ModalLoopRuns() ? QS_ALLINPUT & ~QS_INPUT : QS_ALLINPUT;
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - passed, wakeFor, MWMO_INPUTAVAILABLE);
  }
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
