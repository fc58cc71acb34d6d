#include <gtest/gtest.h>

#include "widget_test_support_win32.h"
#include "widgets/blink_list_win32.h"
#include "widgets/fx_label_win32.h"

using namespace widgets;
using namespace widget_tests;

namespace {
constexpr COLORREF kText = RGB(0, 0, 255), kShadow = RGB(255, 0, 0), kHighlight = RGB(0, 255, 0);

void StyleForCounting(TFxLabel& label) {
  label.SetAutoSize(false);
  label.SetBounds(0, 0, 160, 60);
  label.SetColor(clWhite);
  label.SetShadowColor(kShadow);
  label.SetHighlightColor(kHighlight);
  WidgetFont font;
  font.height = 30;
  font.bold = true;
  font.color = kText;
  label.SetFont(font);
  label.SetCaption(u"一二三");
  label.SetBounds(4, 4, 160, 60);
}
}  // namespace

TEST(FxLabel, DefaultsAreThoseOfTheDesign) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 10, 10, u"x"});
  EXPECT_EQ(label.TextStyle(), TTextStyle::tsNormal);
  EXPECT_EQ(label.ShadowDepth(), 2);
  EXPECT_EQ(label.CenterPoint(), TCenterPoint::cpCenter);
  EXPECT_EQ(label.BlinkIntervalOn(), 500u);
  EXPECT_EQ(label.BlinkIntervalOff(), 500u);
  EXPECT_EQ(label.BevelWidth(), 1);
  EXPECT_EQ(label.FlatColorAdjustment(), 30);
  EXPECT_TRUE(label.ParentColor());
  EXPECT_EQ(label.EffectiveColor(), clBtnFace);
}

TEST(FxLabel, ParentColourComesFromThePanel) {
  Parent parent;
  TFxPanel panel;
  panel.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 100, 50, u""});
  panel.SetColor(RGB(10, 20, 30));
  TFxLabel label;
  label.Create(panel.Handle(), gui::ControlSpec{2, 0, 0, 10, 10, u""});
  EXPECT_EQ(label.EffectiveColor(), RGB(10, 20, 30));
  {
    Picture picture(label);
    EXPECT_EQ(picture.At(2, 2), RGB(10, 20, 30));
  }
  label.SetColor(clMaroon);  // a colour of its own ends the parent's
  EXPECT_FALSE(label.ParentColor());
  panel.SetColor(RGB(1, 1, 1));
  EXPECT_EQ(label.EffectiveColor(), clMaroon);
}

TEST(FxLabel, RaisedTextDrawsShadowAndHighlightCopiesUnlessLight) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 10, 10});
  StyleForCounting(label);
  label.SetTextStyle(TTextStyle::tsRaised);
  {
    Picture picture(label);
    EXPECT_GT(picture.Count(kText), 30);
    EXPECT_GT(picture.Count(kShadow), 10);
    EXPECT_GT(picture.Count(kHighlight), 10);
  }
  label.SetLightTextStyle(true);
  Picture light(label);
  EXPECT_GT(light.Count(kText), 30);
  EXPECT_EQ(light.Count(kShadow), 0);
  EXPECT_GT(light.Count(kHighlight), 10);
}

TEST(FxLabel, FrameAndBackgroundAsThePanelDraws) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 10, 10});
  StyleForCounting(label);
  label.SetCaption(u"");
  label.SetBorderOuter(TFrameStyleEx::fsRaised);
  label.SetColor(RGB(128, 0, 0));
  Picture picture(label);
  EXPECT_EQ(picture.At(50, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(picture.At(50, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(picture.At(159, 30), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(picture.At(50, 30), RGB(128, 0, 0));
}

TEST(FxLabel, TwoLabelsBlinkInStep) {
  Parent parent;
  TFxLabel first, second;
  first.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 10, 10, u"一"});
  second.Create(parent.hwnd, gui::ControlSpec{2, 0, 20, 10, 10, u"二"});
  first.SetBlinkIntervalOn(40);
  EXPECT_EQ(second.BlinkIntervalOn(), 40u);  // one shared interval
  second.SetBlinkIntervalOff(40);
  EXPECT_FALSE(BlinkList::TimerRunning());  // nothing blinks yet
  for (TFxLabel* label : {&first, &second}) {
    label->SetBlinkColor(kShadow);
    WidgetFont font;
    font.color = kText;
    label->SetFont(font);
    label->SetBlinking(true);
  }
  EXPECT_TRUE(BlinkList::TimerRunning());
  int changes = 0;
  TColor last = first.TextColor();
  PumpFor(600, [&] {
    ASSERT_EQ(first.TextColor(), second.TextColor());
    if (first.TextColor() != last) ++changes;
    last = first.TextColor();
  });
  EXPECT_GE(changes, 4);
  first.SetBlinking(false);
  second.SetBlinking(false);
  EXPECT_EQ(first.TextColor(), kText);  // the font colour comes back
  EXPECT_EQ(second.TextColor(), kText);
  EXPECT_FALSE(BlinkList::TimerRunning());
}

TEST(FxLabel, BlinkListLivesWithItsLabels) {
  {
    Parent parent;
    TFxLabel label;
    label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 10, 10});
    EXPECT_TRUE(BlinkList::Exists());
    EXPECT_EQ(SendMessageW(label.Handle(), kBlinkQueryMessage, 0, 0), 0);
  }
  EXPECT_FALSE(BlinkList::Exists());
}

TEST(FxLabel, FlyByColourUnderTheMouse) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 40, 20, u"飞"});
  WidgetFont font;
  font.color = kText;
  label.SetFont(font);
  label.SetFlyByColor(kHighlight);
  label.SetFlyByEnabled(true);
  SendMessageW(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(label.TextColor(), kHighlight);
  SendMessageW(label.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label.TextColor(), kText);
  SendMessageW(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  label.SetFlyByEnabled(false);  // switching off puts the font colour back
  EXPECT_EQ(label.TextColor(), kText);
}

TEST(FxLabel, LoadedAngleMeansFlatRotationAndStoredFrameSides) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 40, 20, u"角"});
  label.BeginLoading();
  label.SetAngle(30);
  EXPECT_TRUE(label.ReadSidesProperty(u"FrameSides", sdTop | sdBottom));
  EXPECT_FALSE(label.ReadSidesProperty(u"FrameStyle", sdTop));
  label.Loaded();
  EXPECT_EQ(label.Rotation(), TRotation::roFlat);
  EXPECT_EQ(label.BorderSides(), sdTop | sdBottom);
  Picture picture(label);  // rotated text paints without failing
  EXPECT_GT(picture.width, 0);
}

TEST(FxLabel, AutoSizeTakesFrameAndShadowIntoAccount) {
  Parent parent;
  TFxLabel label;
  label.Create(parent.hwnd, gui::ControlSpec{1, 0, 0, 5, 5, u"自动大小"});
  const int w = label.Width(), h = label.Height();
  EXPECT_GT(w, 20);
  label.SetBorderOuter(TFrameStyleEx::fsRaised);
  EXPECT_EQ(label.Width(), w + 4);
  EXPECT_EQ(label.Height(), h + 4);
  label.SetTextStyle(TTextStyle::tsShadow);
  EXPECT_EQ(label.Width(), w + 6);
  label.SetAutoSize(false);
  label.SetCaption(u"自动大小自动大小");
  EXPECT_EQ(label.Width(), w + 6);
}
