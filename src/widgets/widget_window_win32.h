// What the widget controls share on Windows: a child window of a class of their own whose
// messages reach a virtual handler, painting through a memory DC, a canvas over a device
// context, the parent's image for transparent controls, and mouse enter and leave.
#pragma once

#include <windows.h>

#include <string>

#include "gui/control.h"
#include "widgets/canvas.h"

namespace widgets {

// GetSysColor as the widgets' colour source.
TColor WindowsSystemColor(int index);
COLORREF ToColorRef(TColor c);

// Draws on a device context with one reused DC brush.
class DcCanvas : public Canvas {
 public:
  explicit DcCanvas(HDC dc) : dc_(dc) {}
  void FillRect(const Rect& r, TColor color) override;
  void SetPixel(int x, int y, TColor color) override;
  void CopyRect(const Rect& source, int x, int y) override;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
};

// Only follows the rectangle: how much a frame would take, without drawing it.
class MeasuringCanvas : public Canvas {
 public:
  void FillRect(const Rect&, TColor) override {}
  void SetPixel(int, int, TColor) override {}
  void CopyRect(const Rect&, int, int) override {}
};

// The parent's image under a child window, drawn into dc at the child's client origin.
void DrawParentImage(HWND child, HDC dc);

inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

class WidgetWindow : public gui::Control {
 public:
  ~WidgetWindow() override;
  // Creates the window of the class (registered on first use) as a child of parent.
  void CreateWidget(const wchar_t* windowClass, HWND parent, const gui::ControlSpec& desc);
  bool MouseInside() const { return mouse_inside_; }
  // Paints the client area into dc as WM_PAINT would (tests paint into memory DCs).
  void PaintTo(HDC dc) { PaintBuffered(dc); }

 protected:
  virtual LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Draws the whole client area on dc (a memory DC of the client's size).
  virtual void Paint(HDC dc) = 0;
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Background for a transparent control: true draws the parent's image under it.
  virtual bool ShowsParent() const { return false; }
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void PaintBuffered(HDC target);
  bool mouse_inside_ = false;
};

}  // namespace widgets
