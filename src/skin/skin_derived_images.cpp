#include "skin/skin_derived_images.h"

#include <algorithm>

#include "skin/gradient.h"
#include "skin/image_routines.h"

namespace skin {

namespace {
constexpr int kToolbarWidth = 8;
constexpr int kToolbarHeight = 32;
}  // namespace

TDataSkinObject BuiltInTrack(bool vertical) {
  // 16 x 8: a grey outline over a white lower-right edge, dark inside.
  Bitmap24 groove(16, 8, RGBColor(212, 208, 200));
  for (int y = 1; y < 7; ++y) {
    for (int x = 1; x < 15; ++x) {
      const bool outerTopLeft = y == 1 || x == 1;
      const bool outerBottomRight = y == 6 || x == 14;
      groove.SetPixel(x, y, outerBottomRight ? clWhite : outerTopLeft ? clGray : RGBColor(64, 64, 64));
    }
  }
  if (vertical) TurnBitmapRight(groove);
  TDataSkinObject track;
  track.Name = vertical ? u"TRACKVERT" : u"TRACK";
  track.Bitmap = std::move(groove);
  track.Margins = {3, 3, 3, 3};
  track.Stretch = 0;
  track.FrameCount = 1;
  return track;
}

TColor SampleCaptionColor(const TDataSkinObject& top, TColor face) {
  if (top.Bitmap.Empty()) return face;
  const int frameHeight = top.Bitmap.Height() / std::max(top.FrameCount, 1);
  return top.Bitmap.Pixel(top.Bitmap.Width() / 3, frameHeight / 3);
}

TDataSkinObject MakeToolbarBackground(TColor face, TColor caption) {
  const TColor light = BlendColors(face, clWhite, 150);
  const int saturation = ColorSaturation(caption);
  const TColor dark = saturation > 110 ? BlendColors(caption, clWhite, (225 - saturation) * 25 / 140 + 50)
                                       : BlendColors(clGray, caption, 150);
  TDataSkinObject toolbar;
  toolbar.Name = u"Toolbar";
  toolbar.Bitmap = Bitmap24(kToolbarWidth, kToolbarHeight);
  GradientFill(toolbar.Bitmap, {0, 0, kToolbarWidth, kToolbarHeight}, light, true, dark);
  toolbar.Stretch = 1;
  toolbar.FrameCount = 1;
  return toolbar;
}

void DeriveImages(TSkinModel& m) {
  const TColor face = m.Colors[scButtonFace];
  m.CaptionColor = SampleCaptionColor(m.Top, face);
  m.Toolbar = MakeToolbarBackground(face, m.CaptionColor);

  m.ComboxArrow.reset();
  if (m.ComboButton) {
    TDataSkinObject arrow;
    arrow.Name = u"ComboxArrow";
    arrow.Bitmap = m.ComboButton->Bitmap2.Empty() ? m.ComboButton->Bitmap : m.ComboButton->Bitmap2;
    ReplaceMagenta(arrow.Bitmap, face);
    arrow.FrameCount = m.ComboButton->FrameCount;
    m.ComboxArrow = std::move(arrow);
  }

  m.ScrollbarParts.clear();
  if (m.Scrollbar) {
    const Bitmap24& strip = m.Scrollbar->Bitmap;
    const int frames = m.Scrollbar->FrameCount;
    const int w = strip.Width() / frames;
    for (int i = 0; w > 0 && i < frames; ++i) m.ScrollbarParts.push_back(strip.Copy(i * w, 0, w, strip.Height()));
  }
}

}  // namespace skin
