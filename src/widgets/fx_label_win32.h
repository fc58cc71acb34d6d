// TFxLabel: a text label with 3-D text styles, a frame drawn like the panel's, flat-rotated
// or curved text, blinking (one shared timer), a fly-by colour under the mouse and caption
// condensing with ellipses.
#pragma once

#include <functional>

#include "widgets/caption_layout.h"
#include "widgets/frames.h"
#include "widgets/fx_panel_win32.h"
#include "widgets/label_layout.h"
#include "widgets/widget_font_win32.h"
#include "widgets/widget_window_win32.h"

namespace widgets {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TFxLabel : public WidgetWindow {
 public:
  enum Effect { kRepaint, kResize, kAngle, kRotation, kBlinking, kFlyBy, kFont, kColor };

  ~TFxLabel() override;
  void Create(HWND parent, const gui::ControlSpec& desc);

  // Between BeginLoading and Loaded the properties are being read, as from a stored window.
  void BeginLoading() { loading_ = true; }
  void Loaded();
  bool Loading() const { return loading_; }
  // A stored property of the frame sides under its name, the old one ("FrameSides") included;
  // false for any other name.
  bool ReadSidesProperty(std::u16string_view name, TSides sides);

  FX_PROPERTY(TAlignment, Alignment, TAlignment::taLeftJustify, kResize)
  FX_PROPERTY(TTextLayout, Layout, TTextLayout::tlTop, kRepaint)
  FX_PROPERTY(bool, WordWrap, false, kResize)
  FX_PROPERTY(bool, AutoSize, true, kResize)
  FX_PROPERTY(bool, Transparent, false, kRepaint)
  FX_PROPERTY(bool, ParentColor, true, kRepaint)
  FX_PROPERTY(TTextStyle, TextStyle, TTextStyle::tsNormal, kResize)
  FX_PROPERTY(bool, LightTextStyle, false, kRepaint)
  FX_PROPERTY(TColor, HighlightColor, clBtnHighlight, kRepaint)
  FX_PROPERTY(TColor, ShadowColor, clBtnShadow, kRepaint)
  FX_PROPERTY(int, ShadowDepth, 2, kResize)
  FX_PROPERTY(int, Angle, 0, kAngle)
  FX_PROPERTY(TRotation, Rotation, TRotation::roNone, kRotation)
  FX_PROPERTY(TCenterPoint, CenterPoint, TCenterPoint::cpCenter, kRepaint)
  FX_PROPERTY(bool, Blinking, false, kBlinking)
  FX_PROPERTY(TColor, BlinkColor, clHighlight, kRepaint)
  FX_PROPERTY(bool, FlyByEnabled, false, kFlyBy)
  FX_PROPERTY(TColor, FlyByColor, clHighlight, kRepaint)
  FX_PROPERTY(TFxCondenseCaption, CondenseCaption, TFxCondenseCaption::ccNone, kRepaint)
  FX_PROPERTY(int, TextMargin, 0, kResize)
  FX_PROPERTY(TFrameStyleEx, BorderOuter, TFrameStyleEx::fsNone, kResize)
  FX_PROPERTY(TFrameStyleEx, BorderInner, TFrameStyleEx::fsNone, kResize)
  FX_PROPERTY(TSides, BorderSides, kAllSides, kResize)
  FX_PROPERTY(int, BorderWidth, 0, kResize)
  FX_PROPERTY(TColor, BorderColor, clBtnFace, kRepaint)
  FX_PROPERTY(TColor, BorderHighlight, clBtnHighlight, kRepaint)
  FX_PROPERTY(TColor, BorderShadow, clBtnShadow, kRepaint)
  FX_PROPERTY(int, BevelWidth, 1, kResize)
  FX_PROPERTY(TColor, FlatColor, clBtnShadow, kRepaint)
  FX_PROPERTY(int, FlatColorAdjustment, 30, kRepaint)
  FX_PROPERTY(WidgetFont, Font, WidgetFont{}, kFont)
  FX_PROPERTY(TColor, Color, clBtnFace, kColor)

 public:
  std::u16string Caption() const { return Text(); }
  void SetCaption(std::u16string_view caption);
  // The shared intervals of the one blink timer.
  unsigned BlinkIntervalOn() const;
  unsigned BlinkIntervalOff() const;
  void SetBlinkIntervalOn(unsigned ms);
  void SetBlinkIntervalOff(unsigned ms);
  // The colour the text is drawn in now: the font colour, the blink colour or the fly-by colour.
  TColor TextColor() const { return Font_.color; }
  // The background: the parent panel's colour while ParentColor is on.
  TColor EffectiveColor() const;

  std::function<void()> OnMouseEnter, OnMouseLeave;

 protected:
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool ShowsParent() const override { return Transparent_; }

 private:
  void Changed(Effect effect);
  void AdjustBounds();
  void DrawLabelText(HDC dc, Rect r);
  void DrawFlatRotated(HDC dc);
  void DrawCurved(HDC dc);
  void UseRotationFontIfNeeded();
  FrameParams FrameFor() const;
  SIZE TextExtent(HDC dc) const;

  bool loading_ = false;
  TColor flyBySaved_ = clBtnText;
  TColor blinkSaved_ = clBtnText;
};

}  // namespace widgets
