#include "widgets/fx_panel_win32.h"

#include <algorithm>

#include "widgets/color_scheme_win32.h"

namespace widgets {

void TFxCustomPanel::Create(HWND parent, const gui::ControlSpec& desc) {
  CreateWidget(L"TFxPanel", parent, desc);
  RECT r{};
  GetClientRect(hwnd_, &r);
  lastSize_ = {r.right, r.bottom};
}

void TFxCustomPanel::SetCaption(std::u16string_view caption) {
  if (Caption() == caption) return;
  SetText(caption);
  Invalidate();
}

void TFxCustomPanel::Changed(Effect effect) {
  if (!hwnd_) return;
  switch (effect) {
    case kRealign: Realign(); break;
    case kTransparency:
      // The children draw over what the panel now shows (or no longer shows).
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return;
    default: break;  // no frame controller is linked: gradient changes only repaint
  }
  // Children that take the panel's colour repaint with it.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

FrameParams TFxCustomPanel::FrameFor() const {
  FrameParams p;
  p.outer = BorderOuter_;
  p.inner = BorderInner_;
  p.sides = BorderSides_;
  p.borderWidth = BorderWidth_;
  p.borderColor = BorderColor_;
  p.borderHighlight = BorderHighlight_;
  p.borderShadow = BorderShadow_;
  const auto [flat, adjustment] = GetFrameColors();
  p.flatColor = flat;
  p.flatColorAdjustment = adjustment;
  p.color = Color_;
  p.transparent = Transparent_;
  return p;
}

Rect TFxCustomPanel::ClientPaintRect() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return FromRECT(r);
}

ColorPair TFxCustomPanel::GetGradientColors() const {
  if (GradientColorStyle_ == widgets::GradientColorStyle::Custom) return {GradientColorStart_, GradientColorStop_};
  return SchemeGradientColors(GradientColorStyle_, CurrentColorScheme());
}

std::pair<TColor, int> TFxCustomPanel::GetFrameColors() const {
  if (VisualStyle_ == TFxVisualStyle::vsGradient && GradientColorStyle_ != widgets::GradientColorStyle::Custom) {
    return {SchemeFrameColor(GradientColorStyle_, CurrentColorScheme()), 0};
  }
  return {FlatColor_, FlatColorAdjustment_};
}

Rect TFxCustomPanel::ChildArea() const {
  Rect r = ClientPaintRect();
  MeasuringCanvas measure;
  DrawTwoStyleFrame(measure, r, FrameFor(), WindowsSystemColor);
  return r;
}

void TFxCustomPanel::Paint(HDC dc) {
  Rect r = ClientPaintRect();
  DcCanvas canvas(dc);
  DrawTwoStyleFrame(canvas, r, FrameFor(), WindowsSystemColor);
  if (!Transparent_ && PaintClientArea_) {
    if (VisualStyle_ == TFxVisualStyle::vsGradient) {
      const ColorPair colors = GetGradientColors();
      PaintGradient(canvas, r, GradientDirection_, 1, colors.first, colors.second, WindowsSystemColor);
    } else {
      canvas.FillRect(r, Color_);
    }
  }
  if (ShowGrid_) DrawGridOn(dc, r);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawCaption(dc, r);
  SetBkMode(dc, oldMode);
  if (OnPaint) OnPaint(dc);
}

void TFxCustomPanel::DrawCaption(HDC dc, Rect r) {
  const std::u16string caption = Caption();
  if (caption.empty()) return;
  gui::UniqueFont font = MakeWidgetFont(Font_);
  gui::SelectedObject selected(dc, font.get());
  r = ShrinkByMargins(r, TextMargin_, TextMarginVertical_);
  const unsigned flags = CaptionFlags(Alignment_, WordWrap_);
  const auto* text = reinterpret_cast<const wchar_t*>(caption.c_str());
  RECT measure = ToRECT(r);
  const int height = DrawTextW(dc, text, -1, &measure, flags | DT_CALCRECT);
  RECT place = ToRECT(CaptionTextRect(r, AlignmentVertical_, height));
  SetTextColor(dc, ToColorRef(IsWindowEnabled(hwnd_) ? Font_.color : clGrayText));
  DrawTextW(dc, text, -1, &place, flags);
}

void TFxCustomPanel::DrawGridOn(HDC dc, const Rect& r) {
  DcCanvas canvas(dc);
  DrawGrid(canvas, r, GridStyle_, GridXSize_, GridYSize_, GridColor_);
}

void TFxCustomPanel::AlignToClient(HWND child) {
  aligned_.push_back(child);
  Realign();
}

void TFxCustomPanel::Realign() {
  const Rect area = ChildArea();
  for (HWND child : aligned_) {
    if (IsWindow(child)) {
      SetWindowPos(child, nullptr, area.left, area.top, std::max(area.Width(), 0), std::max(area.Height(), 0),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void TFxCustomPanel::EnabledChanged(bool enabled) {
  Invalidate();
  if (!enabled) {
    remembered_.clear();
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      remembered_.emplace_back(child, IsWindowEnabled(child) != FALSE);
      EnableWindow(child, FALSE);
    }
    return;
  }
  // Children that were disabled before the panel was stay disabled.
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    auto it = std::find_if(remembered_.begin(), remembered_.end(), [child](const auto& e) { return e.first == child; });
    if (it == remembered_.end() || it->second) EnableWindow(child, TRUE);
  }
}

void TFxCustomPanel::PositionChanged(const WINDOWPOS& pos) {
  if (pos.flags & SWP_NOSIZE) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const SIZE now{client.right, client.bottom};
  if (now.cx == lastSize_.cx && now.cy == lastSize_.cy) return;
  if (!FullRepaint_ && !Caption().empty()) {
    // Only the strips that changed: at the right as wide as the width change, at the bottom
    // as high as the height change.
    const int dw = std::abs(now.cx - lastSize_.cx), dh = std::abs(now.cy - lastSize_.cy);
    if (dw) {
      RECT strip{now.cx - dw, 0, now.cx, now.cy};
      InvalidateRect(hwnd_, &strip, FALSE);
    }
    if (dh) {
      RECT strip{0, now.cy - dh, now.cx, now.cy};
      InvalidateRect(hwnd_, &strip, FALSE);
    }
  } else {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  lastSize_ = now;
  Realign();
}

void TFxCustomPanel::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter();
}

void TFxCustomPanel::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave();
}

LRESULT TFxCustomPanel::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ENABLE: {
      const LRESULT result = Default(msg, wp, lp);
      EnabledChanged(wp != FALSE);
      return result;
    }
    case WM_THEMECHANGED: {
      const LRESULT result = Default(msg, wp, lp);
      RereadColorScheme();
      Invalidate();
      return result;
    }
    case WM_WINDOWPOSCHANGED:
      PositionChanged(*reinterpret_cast<const WINDOWPOS*>(lp));
      return Default(msg, wp, lp);
    case WM_SETTEXT: {
      const LRESULT result = Default(msg, wp, lp);
      Invalidate();
      return result;
    }
  }
  return WidgetWindow::WindowMessage(msg, wp, lp);
}

}  // namespace widgets
