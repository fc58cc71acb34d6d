#include "unicode/uni_hint_window_win32.h"

#include <algorithm>

namespace unicode {

namespace {
constexpr wchar_t kClassName[] = L"Quillora.UniHintWindow";
constexpr COLORREF kSystemColor = 0xFF000000;
constexpr int kTextInset = 2;  // the text starts 2 pixels in from the left and top edges
constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

void RegisterHintClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

TUniCustomHintWindow::~TUniCustomHintWindow() {
  ReleaseHandle();
  if (systemFont_ != nullptr) DeleteObject(systemFont_);
}

void TUniCustomHintWindow::SetFont(HFONT font) {
  font_ = font;
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TUniCustomHintWindow::SetColors(COLORREF text, COLORREF background) {
  textColor_ = text;
  background_ = background;
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

HFONT TUniCustomHintWindow::UsedFont() const {
  if (font_ != nullptr) return font_;
  if (systemFont_ == nullptr) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      systemFont_ = CreateFontIndirectW(&metrics.lfStatusFont);
    }
  }
  return systemFont_ != nullptr ? systemFont_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT TUniCustomHintWindow::CalcHintRect(int maxWidth, std::u16string_view hint) const {
  RECT text{0, 0, std::max(1, maxWidth), 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, UsedFont());
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(hint.data()), static_cast<int>(hint.size()), &text,
            kTextFlags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The text, its inset, a little room on the right and bottom, and the one-pixel border.
  return RECT{0, 0, text.right + kTextInset + 4 + 2, text.bottom + kTextInset + 2 + 2};
}

void TUniCustomHintWindow::ActivateHint(RECT rect, std::u16string_view hint, HWND owner) {
  caption_.assign(hint);
  RegisterHintClass(&TUniCustomHintWindow::Proc);
  if (hwnd_ == nullptr) {
    // A hint never takes the mouse: clicks and moves over it go to the window beneath. An
    // opaque layered window with WS_EX_TRANSPARENT is left out of the system's search for the
    // window under the pointer (Wine does not carry HTTRANSPARENT across top-level windows).
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                            kClassName, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr) return;
    SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
  }
  // Keep the whole hint on the monitor it is shown on.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& area = monitor.rcWork;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (rect.right > area.right) OffsetRect(&rect, area.right - rect.right, 0);
    if (rect.left < area.left) OffsetRect(&rect, area.left - rect.left, 0);
    if (rect.bottom > area.bottom) OffsetRect(&rect, 0, area.bottom - rect.bottom);
    if (rect.top < area.top) OffsetRect(&rect, 0, area.top - rect.top);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
  }
  SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(caption_.c_str()));
  SetWindowPos(hwnd_, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void TUniCustomHintWindow::Hide() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

void TUniCustomHintWindow::ReleaseHandle() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  hwnd_ = nullptr;
}

bool TUniCustomHintWindow::Visible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

void TUniCustomHintWindow::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  HBRUSH brush = background_ == kSystemColor ? GetSysColorBrush(COLOR_INFOBK) : CreateSolidBrush(background_);
  FillRect(dc, &client, brush);
  if (background_ != kSystemColor) DeleteObject(brush);
  RECT text = client;
  text.left += kTextInset;
  text.top += kTextInset;
  HGDIOBJ old = SelectObject(dc, UsedFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor_ == kSystemColor ? GetSysColor(COLOR_INFOTEXT) : textColor_);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption_.data()), static_cast<int>(caption_.size()), &text,
            kTextFlags);
  SelectObject(dc, old);
}

LRESULT CALLBACK TUniCustomHintWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TUniCustomHintWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (self != nullptr) self->Paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse goes to what lies below the hint
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCDESTROY:
      if (self != nullptr && self->hwnd_ == hwnd) self->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace unicode
