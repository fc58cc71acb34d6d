#include "widgets/widget_window_win32.h"

#include <set>

#include "gui/gdi.h"
#include "gui/guard.h"

namespace widgets {

TColor WindowsSystemColor(int index) { return static_cast<TColor>(GetSysColor(index)); }

COLORREF ToColorRef(TColor c) { return static_cast<COLORREF>(ResolveColor(c, WindowsSystemColor)); }

void DcCanvas::FillRect(const Rect& r, TColor color) {
  if (r.Empty()) return;
  SetDCBrushColor(dc_, ToColorRef(color));
  const RECT rc = ToRECT(r);
  ::FillRect(dc_, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void DcCanvas::SetPixel(int x, int y, TColor color) { SetPixelV(dc_, x, y, ToColorRef(color)); }

void DcCanvas::CopyRect(const Rect& source, int x, int y) {
  BitBlt(dc_, x, y, source.Width(), source.Height(), dc_, source.left, source.top, SRCCOPY);
}

void DrawParentImage(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT old{};
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

WidgetWindow::~WidgetWindow() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

void WidgetWindow::CreateWidget(const wchar_t* windowClass, HWND parent, const gui::ControlSpec& desc) {
  static std::set<std::wstring> registered;
  if (registered.insert(windowClass).second) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);
  }
  id_ = desc.id;
  CreateWindowExW(desc.exStyle, windowClass, reinterpret_cast<const wchar_t*>(desc.text.c_str()),
                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | desc.style, desc.left, desc.top,
                  desc.width, desc.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)),
                  GetModuleHandleW(nullptr), this);
  if (hwnd_) gui::AttachReflectTarget(hwnd_, this);
}

LRESULT CALLBACK WidgetWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<WidgetWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WidgetWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return gui::Guarded("widget", LRESULT{0}, [&]() -> LRESULT {
    LRESULT result = 0;
    if (gui::ReflectToControl(hwnd, msg, wp, lp, result)) return result;
    return self->WindowMessage(msg, wp, lp);
  });
}

LRESULT WidgetWindow::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      gui::PaintScope paint(hwnd_);
      PaintBuffered(paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintBuffered(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      // Painting covers the whole client area from a memory DC; a transparent control shows
      // its parent's image already here.
      if (ShowsParent()) DrawParentImage(hwnd_, reinterpret_cast<HDC>(wp));
      return 1;
    case WM_MOUSEMOVE:
      if (!mouse_inside_) {
        mouse_inside_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        MouseEnter();
      }
      break;
    case WM_MOUSELEAVE:
      mouse_inside_ = false;
      MouseLeave();
      return 0;
    case WM_CONTEXTMENU:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

void WidgetWindow::PaintBuffered(HDC target) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  HDC memory = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (ShowsParent()) DrawParentImage(hwnd_, memory);
  Paint(memory);
  BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace widgets
