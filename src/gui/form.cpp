#include "gui/form.h"

#include "gui/application.h"
#include "gui/control.h"
#include "gui/gdi.h"
#include "gui/guard.h"
#include "gui/wide.h"

namespace gui {

namespace {
void RegisterFormClass(const std::u16string& name, WNDPROC proc) {
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), W(name), &existing)) return;
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = Application::Instance().Icon();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = W(name);
  RegisterClassExW(&wc);
}
}  // namespace

Form::~Form() {
  Application::Instance().UnregisterForm(this);
  if (brush_) DeleteObject(brush_);
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Create(const FormSpec& desc) {
  RegisterFormClass(desc.windowClass, &Form::WindowProc);
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (desc.centered) {
    x = (GetSystemMetrics(SM_CXSCREEN) - desc.width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - desc.height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
  }
  if (!font_) font_ = Application::Instance().DefaultFont();
  center_on_show_ = desc.centered;
  hwnd_ = CreateWindowExW(desc.exStyle, W(desc.windowClass), W(desc.caption), desc.style | WS_CLIPCHILDREN, x, y,
                          desc.width, desc.height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  Application::Instance().RegisterForm(this);
  CreateControls();
  FormCreate();
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* form = static_cast<Form*>(cs->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  return Guarded("window procedure", LRESULT{0}, [&] { return form->Dispatch(msg, wp, lp); });
}

bool Form::DispatchMenu(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MENUCOMMAND) {
    for (Menu* menu : menus_) {
      if (menu->DispatchMenuCommand(reinterpret_cast<HMENU>(lp), static_cast<int>(wp))) return true;
    }
    return false;
  }
  // WM_COMMAND from a menu or an accelerator (lParam 0).
  for (Menu* menu : menus_) {
    if (menu->DispatchCommand(LOWORD(wp))) return true;
  }
  return false;
}

void Form::ThawLayout() {
  if (layout_freezes_ > 0) --layout_freezes_;
  if (layout_freezes_ == 0 && layout_pending_) {
    layout_pending_ = false;
    if (hwnd_ && !IsIconic(hwnd_)) FormResize();
  }
}

LRESULT Form::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleMessage(msg, wp, lp, result)) return result;
  if (ReflectToControl(hwnd_, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (lp == 0 && DispatchMenu(msg, wp, lp)) return 0;
      break;
    case WM_MENUCOMMAND:
      if (DispatchMenu(msg, wp, lp)) return 0;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_INITMENUPOPUP:
      // The owner-drawn rows of this window's menus, and pages built as they open.
      for (Menu* menu : menus_) {
        if (menu->HandleOwnerMessage(msg, wp, lp, result)) return result;
      }
      break;
    case WM_TIMER:
      for (Timer* timer : timers_) {
        if (timer->Id() == wp) {
          timer->Fire();
          return 0;
        }
      }
      break;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) {
        if (isMainForm) Application::Instance().NotifyMinimized();
      } else if (layout_freezes_ > 0) {
        layout_pending_ = true;
      } else {
        FormResize();
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ERASEBKGND:
      if (brush_) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, brush_);
        return 1;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (brush_) {
        SetBkColor(reinterpret_cast<HDC>(wp), color_);
        return reinterpret_cast<LRESULT>(brush_);
      }
      break;
    case WM_SETCURSOR:
      if (WaitCursorActive() && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      FormDestroy();
      if (isMainForm) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form::Close() {
  if (!FormCloseQuery()) return;
  CloseAction action = isMainForm ? CloseAction::Free : CloseAction::Hide;
  FormClose(action);
  if (action == CloseAction::Hide) Hide();
  else if (action == CloseAction::Free) DestroyWindow(hwnd_);
}

void Form::Show() {
  if (center_on_show_) {
    // Creation may have scaled the window: centre it at the size it has now.
    center_on_show_ = false;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    SetWindowPos(hwnd_, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Form::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
void Form::BringToFront() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}

namespace {
RECT WindowBounds(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}
}  // namespace

int Form::Left() const { return WindowBounds(hwnd_).left; }
int Form::Top() const { return WindowBounds(hwnd_).top; }
int Form::Width() const {
  const RECT r = WindowBounds(hwnd_);
  return r.right - r.left;
}
int Form::Height() const {
  const RECT r = WindowBounds(hwnd_);
  return r.bottom - r.top;
}
int Form::ClientWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}
int Form::ClientHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom;
}
void Form::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void Form::SetWidth(int width) {
  SetWindowPos(hwnd_, nullptr, 0, 0, width, Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}
void Form::SetHeight(int height) {
  SetWindowPos(hwnd_, nullptr, 0, 0, Width(), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}
std::u16string Form::Caption() const { return GetWindowTextU(hwnd_); }
void Form::SetCaption(std::u16string_view caption) { SetWindowTextU(hwnd_, caption); }
bool Form::StayOnTop() const { return (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
void Form::SetStayOnTop(bool onTop) {
  SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
bool Form::Minimized() const { return IsIconic(hwnd_) != FALSE; }
bool Form::Maximized() const { return IsZoomed(hwnd_) != FALSE; }

void Form::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  if (brush_) DeleteObject(brush_);
  brush_ = color == CLR_INVALID ? nullptr : CreateSolidBrush(color);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::SetMenuBar(Menu& menu) {
  menu_bar_ = &menu;
  menu.SetOwner(hwnd_);
  SetMenu(hwnd_, menu.Handle());
  AddPopupMenu(menu);
}

void Form::AddPopupMenu(Menu& menu) {
  for (Menu* m : menus_) {
    if (m == &menu) return;
  }
  menus_.push_back(&menu);
}

void Form::AddTimer(Timer& timer, UINT interval, bool enabled) {
  timers_.push_back(&timer);
  timer.Attach(hwnd_, next_timer_id_++, interval, enabled);
}

}  // namespace gui
