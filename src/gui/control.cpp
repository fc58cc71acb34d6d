#include "gui/control.h"

#include <unordered_map>
#include <vector>

#include <commctrl.h>

#include "gui/guard.h"
#include "gui/wide.h"

namespace gui {

namespace {
constexpr wchar_t kPanelClass[] = L"TPanel";

// Controls by window, kept here rather than in window properties: every property lookup is a
// round trip to the window server under Wine, and an owner-drawn list of 100000 rows sends a
// notification per row when it is cleared.
std::unordered_map<HWND, ReflectTarget*>& Targets() {
  static std::unordered_map<HWND, ReflectTarget*> targets;
  return targets;
}

ReflectTarget* TargetOf(HWND hwnd) {
  auto it = Targets().find(hwnd);
  return it == Targets().end() ? nullptr : it->second;
}

void RegisterPanelClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = Panel::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);
  done = true;
}
}  // namespace

namespace {
struct ReflectedControl {
  const void* owner;
  std::function<HWND()> handle;
  ReflectHandler handler;
};
std::vector<ReflectedControl>& ReflectedControls() {
  static std::vector<ReflectedControl> controls;
  return controls;
}
}  // namespace

void RegisterReflectedControl(const void* owner, std::function<HWND()> handle, ReflectHandler handler) {
  ReflectedControls().push_back({owner, std::move(handle), std::move(handler)});
}

void UnregisterReflectedControl(const void* owner) {
  auto& controls = ReflectedControls();
  std::erase_if(controls, [owner](const ReflectedControl& c) { return c.owner == owner; });
}

void AttachReflectTarget(HWND control, ReflectTarget* target) { Targets()[control] = target; }
void DetachReflectTarget(HWND control) { Targets().erase(control); }

bool ReflectToControl(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND from = nullptr;
  switch (msg) {
    case WM_COMMAND:
      from = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      from = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU) from = dis->hwndItem;
      break;
    }
    case WM_DELETEITEM:
      from = reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType != ODT_MENU) from = GetDlgItem(parent, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_VSCROLL:
    case WM_HSCROLL:
      from = reinterpret_cast<HWND>(lp);
      break;
    default:
      return false;
  }
  if (!from) return false;
  if (ReflectTarget* target = TargetOf(from)) return target->OnReflected(msg, wp, lp, result);
  for (const ReflectedControl& control : ReflectedControls()) {
    if (control.handle() == from) return control.handler(msg, wp, lp, result);
  }
  return false;
}

Control* FindControl(HWND hwnd) { return dynamic_cast<Control*>(TargetOf(hwnd)); }

void Control::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::ColorBrush() {
  if (color_ == CLR_INVALID) return nullptr;
  if (!brush_) brush_ = CreateSolidBrush(color_);
  return brush_;
}

Control::~Control() {
  if (brush_) DeleteObject(brush_);
  if (hwnd_ && IsWindow(hwnd_)) {
    DetachReflectTarget(hwnd_);
    DestroyWindow(hwnd_);
  }
}

void Control::CreateAs(const wchar_t* windowClass, HWND parent, const ControlSpec& desc, HFONT font) {
  id_ = desc.id;
  hwnd_ = CreateWindowExW(desc.exStyle, windowClass, W(desc.text), WS_CHILD | WS_VISIBLE | desc.style, desc.left,
                          desc.top, desc.width, desc.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  AttachReflectTarget(hwnd_, this);
  if (font) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Control::Adopt(HWND hwnd, int id) {
  hwnd_ = hwnd;
  id_ = id;
}

RECT BoundsInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Control::Left() const { return BoundsInParent(hwnd_).left; }
int Control::Top() const { return BoundsInParent(hwnd_).top; }
int Control::Width() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}
int Control::Height() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}
void Control::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}
bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Control::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
std::u16string Control::Text() const { return GetWindowTextU(hwnd_); }
void Control::SetText(std::u16string_view text) { SetWindowTextU(hwnd_, text); }
void Control::SetFocus() { ::SetFocus(hwnd_); }
void Control::Invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }

void Button::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | BS_PUSHBUTTON;
  CreateAs(L"BUTTON", parent, s, font);
  kind = ControlKind::Button;
}

bool Button::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (OnClick) OnClick();
    result = 0;
    return true;
  }
  return false;
}

void SpeedButton::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= BS_AUTOCHECKBOX | BS_PUSHLIKE;
  CreateAs(L"BUTTON", parent, s, font);
  kind = ControlKind::SpeedButton;
}

bool SpeedButton::Down() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SpeedButton::SetDown(bool down) { SendMessageW(hwnd_, BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0); }

void Label::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  CreateAs(L"STATIC", parent, desc, font);
  kind = ControlKind::Label;
}

void ProgressBar::Create(HWND parent, const ControlSpec& desc) {
  CreateAs(PROGRESS_CLASSW, parent, desc, nullptr);
  kind = ControlKind::ProgressBar;
}
void ProgressBar::SetRange(int low, int high) { SendMessageW(hwnd_, PBM_SETRANGE32, low, high); }
void ProgressBar::SetPosition(int position) { SendMessageW(hwnd_, PBM_SETPOS, position, 0); }
int ProgressBar::Position() const { return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0)); }
void ProgressBar::SetStep(int step) { SendMessageW(hwnd_, PBM_SETSTEP, step, 0); }
void ProgressBar::StepIt() { SendMessageW(hwnd_, PBM_STEPIT, 0, 0); }

void SpinButton::Create(HWND parent, const ControlSpec& desc) {
  ControlSpec s = desc;
  s.style |= UDS_ARROWKEYS;
  CreateAs(UPDOWN_CLASSW, parent, s, nullptr);
  SendMessageW(hwnd_, UDM_SETRANGE32, 0, 100);
  SendMessageW(hwnd_, UDM_SETPOS32, 0, 50);
  kind = ControlKind::SpinButton;
}

bool SpinButton::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == UDN_DELTAPOS) {
    const auto* change = reinterpret_cast<NMUPDOWN*>(lp);
    // A vertical up-down control reports the upper arrow as a positive change.
    if (change->iDelta > 0) {
      if (OnUpClick) OnUpClick();
    } else if (change->iDelta < 0) {
      if (OnDownClick) OnDownClick();
    }
    result = TRUE;  // the position never moves: the control is only a pair of arrows
    return true;
  }
  return false;
}

void Image::Create(HWND parent, const ControlSpec& desc) {
  ControlSpec s = desc;
  s.style |= SS_ICON | SS_CENTERIMAGE;
  CreateAs(L"STATIC", parent, s, nullptr);
  kind = ControlKind::Image;
}
void Image::SetIcon(HICON icon) { SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0); }

void Panel::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  RegisterPanelClass();
  ControlSpec s = desc;
  s.style |= WS_CLIPCHILDREN;
  CreateAs(kPanelClass, parent, s, font);
  kind = ControlKind::Panel;
}

LRESULT CALLBACK Panel::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return Guarded("TPanel", LRESULT{0}, [&]() -> LRESULT {
    LRESULT result = 0;
    if (ReflectToControl(hwnd, msg, wp, lp, result)) return result;
    if (msg == WM_MOUSEMOVE) {
      auto* panel = dynamic_cast<Panel*>(TargetOf(hwnd));
      if (panel && panel->OnMouseMove) panel->OnMouseMove(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
    }
    // A panel given a colour of its own paints with it, and so do the texts on it.
    if (auto* panel = dynamic_cast<Panel*>(TargetOf(hwnd)); panel && panel->ColorBrush()) {
      if (msg == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, panel->ColorBrush());
        return 1;
      }
      if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        SetBkColor(reinterpret_cast<HDC>(wp), panel->Color());
        return reinterpret_cast<LRESULT>(panel->ColorBrush());
      }
    }
    // The rest of what children send (for example WM_SETCURSOR) goes up to the window the panel sits in.
    if (msg == WM_CONTEXTMENU) return SendMessageW(GetParent(hwnd), msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  });
}

}  // namespace gui
