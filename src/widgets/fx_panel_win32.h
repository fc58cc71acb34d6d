// TFxCustomPanel: a framed container whose frame is drawn from two frame styles on chosen
// sides, its client area filled with a colour or a gradient, optionally a grid, and a caption
// placed by horizontal and vertical alignment. TFxPanel publishes it as it is.
#pragma once

#include <functional>
#include <vector>

#include "widgets/caption_layout.h"
#include "widgets/frames.h"
#include "widgets/gradient.h"
#include "widgets/grid.h"
#include "widgets/widget_font_win32.h"
#include "widgets/widget_window_win32.h"

namespace widgets {

enum class TFxVisualStyle { vsClassic, vsWinXP, vsGradient };

// A property with its default: the setter stores a changed value, then `Changed(effect)`.
#define FX_PROPERTY(Type, Name, Default, Effect)  \
 public:                                           \
  Type Name() const { return Name##_; }            \
  void Set##Name(Type value) {                     \
    if (Name##_ == value) return;                  \
    Name##_ = value;                               \
    Changed(Effect);                               \
  }                                                \
                                                   \
 private:                                          \
  Type Name##_ = Default;

class TFxCustomPanel : public WidgetWindow {
 public:
  enum Effect { kRepaint, kRealign, kTransparency, kGradient };

  void Create(HWND parent, const gui::ControlSpec& desc);

  FX_PROPERTY(TAlignment, Alignment, TAlignment::taCenter, kRepaint)
  FX_PROPERTY(TAlignmentVertical, AlignmentVertical, TAlignmentVertical::avCenter, kRepaint)
  FX_PROPERTY(TFrameStyleEx, BorderOuter, TFrameStyleEx::fsRaised, kRealign)
  FX_PROPERTY(TFrameStyleEx, BorderInner, TFrameStyleEx::fsNone, kRealign)
  FX_PROPERTY(TSides, BorderSides, kAllSides, kRealign)
  FX_PROPERTY(int, BorderWidth, 0, kRealign)
  FX_PROPERTY(TColor, BorderColor, clBtnFace, kRepaint)
  FX_PROPERTY(TColor, BorderHighlight, clBtnHighlight, kRepaint)
  FX_PROPERTY(TColor, BorderShadow, clBtnShadow, kRepaint)
  FX_PROPERTY(TColor, FlatColor, clBtnShadow, kRepaint)
  FX_PROPERTY(int, FlatColorAdjustment, 30, kRepaint)
  FX_PROPERTY(TColor, Color, clBtnFace, kRepaint)
  FX_PROPERTY(TFxVisualStyle, VisualStyle, TFxVisualStyle::vsWinXP, kRepaint)
  FX_PROPERTY(widgets::GradientColorStyle, GradientColorStyle, widgets::GradientColorStyle::System, kGradient)
  FX_PROPERTY(TColor, GradientColorStart, clWhite, kGradient)
  FX_PROPERTY(TColor, GradientColorStop, clBtnFace, kGradient)
  FX_PROPERTY(TGradientDirection, GradientDirection, TGradientDirection::gdHorizontalEnd, kGradient)
  FX_PROPERTY(bool, ShowGrid, false, kRepaint)
  FX_PROPERTY(TColor, GridColor, clBtnShadow, kRepaint)
  FX_PROPERTY(TFxGridStyle, GridStyle, TFxGridStyle::gsDots, kRepaint)
  FX_PROPERTY(int, GridXSize, 8, kRepaint)
  FX_PROPERTY(int, GridYSize, 8, kRepaint)
  FX_PROPERTY(bool, PaintClientArea, true, kRepaint)
  FX_PROPERTY(bool, Transparent, false, kTransparency)
  FX_PROPERTY(int, TextMargin, 0, kRepaint)
  FX_PROPERTY(int, TextMarginVertical, 0, kRepaint)
  FX_PROPERTY(bool, WordWrap, true, kRepaint)
  FX_PROPERTY(bool, FullRepaint, true, kRepaint)
  FX_PROPERTY(WidgetFont, Font, WidgetFont{}, kRepaint)

 public:
  std::u16string Caption() const { return Text(); }
  void SetCaption(std::u16string_view caption);

  // Keeps a child window filling the client area inside the frame.
  void AlignToClient(HWND child);
  // The rectangle inside the frame, where client-aligned children go.
  Rect ChildArea() const;

  std::function<void(HDC)> OnPaint;
  std::function<void()> OnMouseEnter, OnMouseLeave;

 protected:
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool ShowsParent() const override { return Transparent_ && PaintClientArea_; }

  virtual Rect ClientPaintRect() const;
  virtual ColorPair GetGradientColors() const;
  // The flat colour and its lightness adjustment.
  virtual std::pair<TColor, int> GetFrameColors() const;
  virtual void DrawCaption(HDC dc, Rect r);
  virtual void DrawGridOn(HDC dc, const Rect& r);

 private:
  void Changed(Effect effect);
  FrameParams FrameFor() const;
  void Realign();
  void EnabledChanged(bool enabled);
  void PositionChanged(const WINDOWPOS& pos);

  std::vector<HWND> aligned_;
  std::vector<std::pair<HWND, bool>> remembered_;  // children's enabled states while disabled
  SIZE lastSize_{0, 0};
};

class TFxPanel : public TFxCustomPanel {};

}  // namespace widgets
