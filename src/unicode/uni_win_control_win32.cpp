#include "unicode/uni_win_control_win32.h"

#include <windowsx.h>

namespace unicode {

namespace {
// The control object of a subclassed window is kept in its user data word: the system
// classes we create (EDIT, LISTBOX) leave that word to the window's owner. A window
// property would do too, but under Wine every property lookup is a server round trip,
// paid for every message the control receives.
TUniWinControl* ControlOf(HWND hwnd) { return reinterpret_cast<TUniWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

TShiftState MouseShiftState(WPARAM wp) {
  unsigned s = KeyboardShiftState();
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  return TShiftState(s);
}
}  // namespace

TShiftState KeyboardShiftState() {
  unsigned s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return TShiftState(s);
}

TUniWinControl::~TUniWinControl() {
  FinalizeHandle();
  if (brush_ != nullptr) DeleteObject(brush_);
}

void TUniWinControl::FinalizeHandle() {
  finalizing_ = true;
  DestroyHandle();
}

bool TUniWinControl::Create(HWND parent, int id, const RECT& bounds, DWORD extraStyle) {
  if (hwnd_ != nullptr) DestroyHandle();
  parent_ = parent;
  id_ = id;
  bounds_ = bounds;
  extraStyle_ = extraStyle;
  const CreateParams params = GetCreateParams();
  DWORD style = params.style | extraStyle | WS_CHILD;
  if (visible_) style |= WS_VISIBLE;
  else style &= ~WS_VISIBLE;
  HWND hwnd = CreateWindowExW(params.exStyle, params.className, L"", style, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return false;
  hwnd_ = hwnd;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TUniWinControl::SubclassProc)));
  if (font_ != nullptr) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  CreateWnd();
  return true;
}

void TUniWinControl::DestroyHandle() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  // The subclass procedure forgets the window on WM_NCDESTROY; this covers a window that
  // is already gone (destroyed with its parent without our procedure seeing it).
  hwnd_ = nullptr;
}

bool TUniWinControl::RecreateWnd() {
  if (hwnd_ == nullptr || parent_ == nullptr) return false;
  RECT bounds;
  GetWindowRect(hwnd_, &bounds);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&bounds), 2);
  visible_ = IsWindowVisible(hwnd_) != FALSE;
  DestroyHandle();
  return Create(parent_, id_, bounds, extraStyle_);
}

namespace {
ExceptionSink g_exceptionSink = nullptr;
}  // namespace

void SetControlExceptionSink(ExceptionSink sink) { g_exceptionSink = sink; }

LRESULT CALLBACK TUniWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return Dispatch(hwnd, msg, wp, lp);
  } catch (...) {
    if (g_exceptionSink) g_exceptionSink("control window procedure");
    return 0;
  }
}

LRESULT TUniWinControl::Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TUniWinControl* self = ControlOf(hwnd);
  if (self == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_DESTROY && !self->finalizing_) self->DestroyWnd();
  if (msg == WM_NCDESTROY) {
    // Our last look at the window: give it back its own procedure and forget it.
    const WNDPROC original = self->original_;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
  if (self->OnMessage) {
    LRESULT result = 0;
    if (self->OnMessage(msg, wp, lp, result)) return result;
  }
  return self->WndProc(msg, wp, lp);
}

LRESULT TUniWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) const {
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

LRESULT TUniWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return HandleInput(msg, wp, lp); }

LRESULT TUniWinControl::HandleInput(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
      auto& handler = down ? OnKeyDown : OnKeyUp;
      if (handler) {
        WORD key = static_cast<WORD>(wp);
        handler(key, KeyboardShiftState());
        if (key == 0 || hwnd_ == nullptr) return 0;  // the handler took the key
        wp = key;
      }
      return DefaultProc(msg, wp, lp);
    }
    case WM_CHAR:
      if (OnKeyPress) {
        wchar_t key = static_cast<wchar_t>(wp);
        OnKeyPress(key);
        if (key == 0 || hwnd_ == nullptr) return 0;
        wp = key;
      }
      return DefaultProc(msg, wp, lp);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      if (OnMouseDown && hwnd_ != nullptr) {
        const TMouseButton button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? TMouseButton::mbLeft
                                    : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? TMouseButton::mbRight
                                                                                           : TMouseButton::mbMiddle;
        TShiftState shift = MouseShiftState(wp);
        if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) shift = shift | ssDouble;
        OnMouseDown(button, shift, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      }
      return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      if (OnMouseUp && hwnd_ != nullptr) {
        const TMouseButton button = msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                                    : msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                          : TMouseButton::mbMiddle;
        OnMouseUp(button, MouseShiftState(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      }
      return r;
    }
    case WM_MOUSEMOVE: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      if (OnMouseMove && hwnd_ != nullptr) OnMouseMove(MouseShiftState(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return r;
    }
    case WM_CONTEXTMENU:
      if (OnContextPopup) {
        bool handled = false;
        OnContextPopup(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, handled);
        if (handled || hwnd_ == nullptr) return 0;
      }
      return DefaultProc(msg, wp, lp);
    default:
      return DefaultProc(msg, wp, lp);
  }
}

bool TUniWinControl::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      if (!IsOwnCommand(lp) || (color_ == kDefaultColor && fontColor_ == kDefaultColor)) return false;
      SetTextColor(reinterpret_cast<HDC>(wp), FontColor());
      SetBkColor(reinterpret_cast<HDC>(wp), Color());
      result = reinterpret_cast<LRESULT>(BackgroundBrush());
      return true;
    default:
      return false;
  }
}

HBRUSH TUniWinControl::BackgroundBrush() {
  if (color_ == kDefaultColor) return GetSysColorBrush(COLOR_WINDOW);
  if (brush_ == nullptr) brush_ = CreateSolidBrush(color_);
  return brush_;
}

void TUniWinControl::SetFont(HFONT font) {
  font_ = font;
  if (hwnd_ != nullptr) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TUniWinControl::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = nullptr;
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TUniWinControl::SetFontColor(COLORREF color) {
  if (color == fontColor_) return;
  fontColor_ = color;
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

COLORREF TUniWinControl::Color() const { return color_ == kDefaultColor ? GetSysColor(COLOR_WINDOW) : color_; }
COLORREF TUniWinControl::FontColor() const {
  return fontColor_ == kDefaultColor ? GetSysColor(COLOR_WINDOWTEXT) : fontColor_;
}

bool TUniWinControl::Visible() const { return hwnd_ != nullptr ? IsWindowVisible(hwnd_) != FALSE : visible_; }

void TUniWinControl::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_ != nullptr) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void TUniWinControl::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (hwnd_ != nullptr) {
    MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  }
}

void TUniWinControl::SetFocus() {
  if (hwnd_ != nullptr) ::SetFocus(hwnd_);
}

}  // namespace unicode
