#include "widgets/fx_label_win32.h"

#include <cmath>
#include <numbers>

#include "widgets/blink_list_win32.h"

namespace widgets {

TFxLabel::~TFxLabel() {
  if (hwnd_) BlinkList::Remove(hwnd_);
}

void TFxLabel::Create(HWND parent, const gui::ControlSpec& desc) {
  CreateWidget(L"TFxLabel", parent, desc);
  if (!hwnd_) return;
  BlinkList::Add(hwnd_);
  flyBySaved_ = blinkSaved_ = Font_.color;
  AdjustBounds();
}

void TFxLabel::Loaded() {
  loading_ = false;
  const LoadedRotation settled = SettleLoadedRotation(Rotation_, Angle_, IsTrueTypeFont(Font_));
  Rotation_ = settled.rotation;
  if (settled.useRotationFont) Font_.name = kRotationFontName;
  flyBySaved_ = blinkSaved_ = Font_.color;
  BlinkList::Update();
  AdjustBounds();
  Invalidate();
}

bool TFxLabel::ReadSidesProperty(std::u16string_view name, TSides sides) {
  if (!IsBorderSidesPropertyName(name)) return false;
  SetBorderSides(sides);
  return true;
}

void TFxLabel::SetCaption(std::u16string_view caption) {
  if (Caption() == caption) return;
  SetText(caption);  // WM_SETTEXT adjusts and repaints
}

unsigned TFxLabel::BlinkIntervalOn() const { return BlinkList::Clock().intervalOn; }
unsigned TFxLabel::BlinkIntervalOff() const { return BlinkList::Clock().intervalOff; }
void TFxLabel::SetBlinkIntervalOn(unsigned ms) { BlinkList::Clock().intervalOn = static_cast<std::uint16_t>(ms); }
void TFxLabel::SetBlinkIntervalOff(unsigned ms) { BlinkList::Clock().intervalOff = static_cast<std::uint16_t>(ms); }

TColor TFxLabel::EffectiveColor() const {
  if (!ParentColor_) return Color_;
  HWND parent = GetParent(hwnd_);
  auto* owner = parent ? reinterpret_cast<WidgetWindow*>(GetWindowLongPtrW(parent, GWLP_USERDATA)) : nullptr;
  wchar_t cls[32] = {};
  if (owner && GetClassNameW(parent, cls, 32) && lstrcmpW(cls, L"TFxPanel") == 0) {
    return static_cast<TFxCustomPanel*>(owner)->Color();
  }
  return clBtnFace;
}

void TFxLabel::UseRotationFontIfNeeded() {
  if (!IsTrueTypeFont(Font_)) Font_.name = kRotationFontName;
}

void TFxLabel::Changed(Effect effect) {
  if (!hwnd_) return;
  switch (effect) {
    case kAngle:
      if (!loading_ && Angle_ != 0) UseRotationFontIfNeeded();
      AdjustBounds();
      break;
    case kRotation:
      if (!loading_ && Rotation_ != TRotation::roNone) UseRotationFontIfNeeded();
      break;
    case kBlinking:
      if (!Blinking_) Font_.color = blinkSaved_;
      BlinkList::Update();
      break;
    case kFlyBy:
      if (!FlyByEnabled_) Font_.color = flyBySaved_;
      break;
    case kFont:
      if (!loading_) {
        if (!Blinking_) blinkSaved_ = flyBySaved_ = Font_.color;
        Angle_ = AngleAfterFontChange(Angle_, IsTrueTypeFont(Font_));
      }
      AdjustBounds();
      break;
    case kColor: ParentColor_ = false; break;
    case kResize: AdjustBounds(); break;
    case kRepaint: break;
  }
  Invalidate();
}

SIZE TFxLabel::TextExtent(HDC dc) const {
  const std::u16string caption = Caption();
  RECT r{0, 0, WordWrap_ ? std::max(Width(), 1) : 0x7FFF, 0};
  DrawTextW(dc, caption.empty() ? L" " : reinterpret_cast<const wchar_t*>(caption.c_str()), -1, &r,
            LabelTextFlags(AlignmentFlag(Alignment_), TFxCondenseCaption::ccNone, WordWrap_, 0) | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void TFxLabel::AdjustBounds() {
  if (!hwnd_ || !AutoSize_ || loading_) return;
  HDC dc = GetDC(hwnd_);
  gui::UniqueFont font = MakeWidgetFont(Font_);
  HGDIOBJ old = SelectObject(dc, font.get());
  const SIZE text = TextExtent(dc);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  AutoSizeInput in;
  in.textWidth = text.cx;
  in.textHeight = text.cy;
  in.outer = BorderOuter_;
  in.inner = BorderInner_;
  in.sides = BorderSides_;
  in.bevelWidth = BevelWidth_;
  in.textMargin = TextMargin_;
  in.shadowDepth = ShadowDepth_;
  in.style = TextStyle_;
  in.rotation = Rotation_;
  in.angle = Angle_;
  const Extent e = AutoSizeExtent(in);
  SetWindowPos(hwnd_, nullptr, 0, 0, e.width, e.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FrameParams TFxLabel::FrameFor() const {
  FrameParams p;
  p.outer = BorderOuter_;
  p.inner = BorderInner_;
  p.sides = BorderSides_;
  p.borderWidth = BorderWidth_;
  p.bevelWidth = BevelWidth_;
  p.borderColor = BorderColor_;
  p.borderHighlight = BorderHighlight_;
  p.borderShadow = BorderShadow_;
  p.flatColor = FlatColor_;
  p.flatColorAdjustment = FlatColorAdjustment_;
  p.color = EffectiveColor();
  p.transparent = Transparent_;
  return p;
}

void TFxLabel::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  Rect r = FromRECT(client);
  DcCanvas canvas(dc);
  DrawTwoStyleFrame(canvas, r, FrameFor(), WindowsSystemColor);
  if (!Transparent_) canvas.FillRect(r, EffectiveColor());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  if (Rotation_ == TRotation::roCurve) {
    DrawCurved(dc);
  } else if (Rotation_ == TRotation::roFlat) {
    DrawFlatRotated(dc);
  } else {
    DrawLabelText(dc, r);
  }
  SetBkMode(dc, oldMode);
}

namespace {
TextStyleColors StyleOf(TTextStyle style, bool light, TColor highlight, TColor shadow, int depth) {
  return {style, light, highlight, shadow, depth};
}
}  // namespace

void TFxLabel::DrawLabelText(HDC dc, Rect r) {
  const std::u16string caption = Caption();
  if (caption.empty()) return;
  gui::UniqueFont font = MakeWidgetFont(Font_);
  gui::SelectedObject selected(dc, font.get());
  r = ShrinkByMargins(r, TextMargin_, TextMargin_);
  const unsigned flags = LabelTextFlags(AlignmentFlag(Alignment_), CondenseCaption_, WordWrap_, 0);
  const auto* text = reinterpret_cast<const wchar_t*>(caption.c_str());
  if (Layout_ != TTextLayout::tlTop) {
    RECT measure = ToRECT(r);
    DrawTextW(dc, text, -1, &measure, flags | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    r.top = Layout_ == TTextLayout::tlCenter ? (r.top + r.bottom - h) / 2 : r.bottom - h;
  }
  for (const TextCopy& copy : TextCopies(StyleOf(TextStyle_, LightTextStyle_, HighlightColor_, ShadowColor_, ShadowDepth_))) {
    RECT place = ToRECT({r.left + copy.dx, r.top + copy.dy, r.right + copy.dx, r.bottom + copy.dy});
    SetTextColor(dc, ToColorRef(copy.color));
    DrawTextW(dc, text, -1, &place, flags);
  }
  RECT place = ToRECT(r);
  SetTextColor(dc, ToColorRef(IsWindowEnabled(hwnd_) ? Font_.color : clGrayText));
  DrawTextW(dc, text, -1, &place, flags);
}

void TFxLabel::DrawFlatRotated(HDC dc) {
  const std::u16string caption = Caption();
  if (caption.empty()) return;
  gui::UniqueFont font = MakeWidgetFont(Font_, Angle_ * 10);
  gui::SelectedObject selected(dc, font.get());
  SIZE extent{};
  const auto* text = reinterpret_cast<const wchar_t*>(caption.c_str());
  const int length = static_cast<int>(caption.size());
  GetTextExtentPoint32W(dc, text, length, &extent);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const Point centre = RotatedCenterPoint(TRotation::roFlat, CenterPoint_, client.right, client.bottom, TextMargin_);
  // The start of the text such that its middle falls on the centre point.
  const double a = Angle_ * std::numbers::pi / 180.0;
  const int x = centre.x - static_cast<int>(std::lround(extent.cx / 2.0 * std::cos(a) + extent.cy / 2.0 * std::sin(a)));
  const int y = centre.y - static_cast<int>(std::lround(-extent.cx / 2.0 * std::sin(a) + extent.cy / 2.0 * std::cos(a)));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  for (const TextCopy& copy : TextCopies(StyleOf(TextStyle_, LightTextStyle_, HighlightColor_, ShadowColor_, ShadowDepth_))) {
    SetTextColor(dc, ToColorRef(copy.color));
    TextOutW(dc, x + copy.dx, y + copy.dy, text, length);
  }
  SetTextColor(dc, ToColorRef(IsWindowEnabled(hwnd_) ? Font_.color : clGrayText));
  TextOutW(dc, x, y, text, length);
}

void TFxLabel::DrawCurved(HDC dc) {
  const std::u16string caption = Caption();
  if (caption.empty()) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const Point centre = RotatedCenterPoint(TRotation::roCurve, CenterPoint_, client.right, client.bottom, TextMargin_);
  // The characters stand on an arc over the centre point, the caption's middle at the top,
  // each turned to the arc's tangent.
  gui::UniqueFont upright = MakeWidgetFont(Font_);
  SIZE total{};
  {
    gui::SelectedObject selected(dc, upright.get());
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), static_cast<int>(caption.size()), &total);
  }
  const double radius = std::max(10.0, std::min(client.right, client.bottom) / 2.0 - total.cy - TextMargin_);
  double angle = std::numbers::pi / 2 + total.cx / radius / 2;  // from the right, counterclockwise
  SetTextAlign(dc, TA_CENTER | TA_BASELINE);
  const std::vector<TextCopy> copies =
      TextCopies(StyleOf(TextStyle_, LightTextStyle_, HighlightColor_, ShadowColor_, ShadowDepth_));
  for (char16_t ch : caption) {
    const wchar_t c = static_cast<wchar_t>(ch);
    SIZE size{};
    {
      gui::SelectedObject selected(dc, upright.get());
      GetTextExtentPoint32W(dc, &c, 1, &size);
    }
    angle -= size.cx / radius / 2;
    const int escapement = static_cast<int>(std::lround((angle - std::numbers::pi / 2) * 1800 / std::numbers::pi));
    gui::UniqueFont turned = MakeWidgetFont(Font_, escapement);
    gui::SelectedObject selected(dc, turned.get());
    const int x = centre.x + static_cast<int>(std::lround(radius * std::cos(angle)));
    const int y = centre.y - static_cast<int>(std::lround(radius * std::sin(angle)));
    for (const TextCopy& copy : copies) {
      SetTextColor(dc, ToColorRef(copy.color));
      TextOutW(dc, x + copy.dx, y + copy.dy, &c, 1);
    }
    if (!IsWindowEnabled(hwnd_)) {
      SetTextColor(dc, ToColorRef(clBtnHighlight));
      TextOutW(dc, x + 1, y + 1, &c, 1);
    }
    SetTextColor(dc, ToColorRef(IsWindowEnabled(hwnd_) ? Font_.color : clGrayText));
    TextOutW(dc, x, y, &c, 1);
    angle -= size.cx / radius / 2;
  }
  SetTextAlign(dc, TA_LEFT | TA_TOP);
}

void TFxLabel::MouseEnter() {
  if (FlyByEnabled_) {
    flyBySaved_ = Font_.color;
    Font_.color = FlyByColor_;
    Invalidate();
  }
  if (OnMouseEnter) OnMouseEnter();
}

void TFxLabel::MouseLeave() {
  if (FlyByEnabled_) {
    Font_.color = flyBySaved_;
    Invalidate();
  }
  if (OnMouseLeave) OnMouseLeave();
}

LRESULT TFxLabel::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kBlinkQueryMessage: return Blinking_ ? 1 : 0;
    case kBlinkPhaseMessage:
      if (Blinking_) {
        Font_.color = wp == 1 ? BlinkColor_ : blinkSaved_;
        Invalidate();
      }
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = Default(msg, wp, lp);
      AdjustBounds();
      Invalidate();
      return result;
    }
    case WM_ENABLE: Invalidate(); break;
  }
  return WidgetWindow::WindowMessage(msg, wp, lp);
}

}  // namespace widgets
