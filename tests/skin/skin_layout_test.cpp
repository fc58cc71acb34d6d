#include "skin/skin_layout.h"

#include <gtest/gtest.h>

namespace {

using skin::TRect;

TEST(NinePart, PartsLandInTheirPlacesInDrawingOrder) {
  const TRect source{10, 0, 30, 20};  // frame 2 of a 2-frame 40 x 20 picture
  const auto parts = skin::NinePartCopies(source, {4, 3, 5, 2}, 100, 50, false);
  ASSERT_EQ(parts.size(), 9u);
  EXPECT_EQ(parts[0].Dest, (TRect{0, 0, 4, 3}));        // top-left corner
  EXPECT_EQ(parts[0].Source, (TRect{10, 0, 14, 3}));
  EXPECT_EQ(parts[1].Dest, (TRect{0, 48, 4, 50}));      // bottom-left corner
  EXPECT_EQ(parts[2].Dest, (TRect{95, 0, 100, 3}));     // top-right corner
  EXPECT_EQ(parts[5].Dest, (TRect{4, 3, 95, 48}));      // centre
  EXPECT_EQ(parts[5].Source, (TRect{14, 3, 25, 18}));
  EXPECT_FALSE(parts[5].Tiled);
  EXPECT_EQ(parts[6].Source, (TRect{25, 18, 30, 20}));  // bottom-right corner
  EXPECT_EQ(parts[8].Dest, (TRect{4, 48, 95, 50}));     // bottom edge
}

TEST(NinePart, MarginsWiderThanTheTargetDropToZero) {
  // Left + right (12) exceed a width of 10: no corners or side edges, only the middle column.
  const auto parts = skin::NinePartCopies({0, 0, 30, 30}, {6, 2, 6, 2}, 10, 40, true);
  for (const auto& part : parts) {
    EXPECT_EQ(part.Dest.Left, 0);
    EXPECT_EQ(part.Dest.Right, 10);
  }
  ASSERT_EQ(parts.size(), 3u);  // top edge, centre, bottom edge
  EXPECT_TRUE(parts[1].Tiled);
  // Both directions too wide: the whole frame stretched over the target.
  const auto whole = skin::NinePartCopies({0, 0, 30, 30}, {6, 6, 6, 6}, 10, 10, false);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].Source, (TRect{0, 0, 30, 30}));
}

TEST(NinePart, FramesSideBySideOrStacked) {
  EXPECT_EQ(skin::FrameRect(60, 20, 3, 2, false), (TRect{20, 0, 40, 20}));
  EXPECT_EQ(skin::FrameRect(60, 20, 2, 2, true), (TRect{0, 10, 60, 20}));
  EXPECT_EQ(skin::FrameRect(60, 20, 3, 9, false), (TRect{40, 0, 60, 20}));  // past the count: the last
}

TEST(FrameBorders, ThicknessPerFrameAndTheSkinnedSize) {
  skin::TSkinModel model;
  model.Left.Bitmap = skin::Bitmap24(8, 30);
  model.Left.FrameCount = 2;
  model.Right.Bitmap = skin::Bitmap24(10, 30);
  model.Right.FrameCount = 2;
  model.Top.Bitmap = skin::Bitmap24(90, 52);
  model.Top.FrameCount = 2;
  model.Bottom.Bitmap = skin::Bitmap24(90, 8);
  model.Bottom.FrameCount = 2;
  const skin::FrameBorders b = skin::BordersOf(model);
  EXPECT_EQ(b, (skin::FrameBorders{4, 26, 5, 4}));
  EXPECT_EQ(skin::SkinnedWindowSize(300, 200, b, 19), (skin::SizeWH{309, 249}));
}

skin::TDataSkinSysButton Button(int action, int align, int x, int visibility, int visibility1 = 0) {
  skin::TDataSkinSysButton b;
  b.Action = action;
  b.Align = align;
  b.Xcoord = x;
  b.Ycoord = 3;
  b.Visibility = visibility;
  b.Visibility1 = visibility1;
  return b;
}

TEST(CaptionButtons, VisibilityFollowsTheWindowAndBothCodes) {
  skin::CaptionFacts normal;
  normal.MinimizeBox = normal.MaximizeBox = normal.SystemMenu = true;
  skin::CaptionFacts maximized = normal;
  maximized.Maximized = true;
  skin::CaptionFacts noBoxes;  // a dialog: system menu only
  noBoxes.SystemMenu = true;

  const auto max = Button(1, 1, 50, 2, 6), restore = Button(1, 1, 50, 1, 6), min = Button(2, 1, 70, 6);
  EXPECT_TRUE(skin::CaptionButtonShown(max, normal));
  EXPECT_FALSE(skin::CaptionButtonShown(restore, normal));
  EXPECT_FALSE(skin::CaptionButtonShown(max, maximized));
  EXPECT_TRUE(skin::CaptionButtonShown(restore, maximized));
  // Without minimise and maximise boxes code 6 hides both.
  EXPECT_FALSE(skin::CaptionButtonShown(max, noBoxes));
  EXPECT_FALSE(skin::CaptionButtonShown(min, noBoxes));
  // CombineOp 1: either code suffices.
  auto either = max;
  either.CombineOp = 1;
  EXPECT_TRUE(skin::CaptionButtonShown(either, noBoxes));

  skin::CaptionFacts inactive = normal;
  inactive.Active = false;
  EXPECT_TRUE(skin::VisibilityAllows(4, 0, inactive));
  EXPECT_FALSE(skin::VisibilityAllows(3, 0, inactive));
  EXPECT_TRUE(skin::VisibilityAllows(9, 0, noBoxes));
  EXPECT_TRUE(skin::VisibilityAllows(500, 0, noBoxes));
  EXPECT_FALSE(skin::VisibilityAllows(5, 0, normal));  // an unknown code hides
  // 1000..2000 ask the window.
  skin::CaptionFacts asking = normal;
  asking.AskCustom = [](int code, int action) { return code == 1200 && action == 40 ? 1 : 0; };
  EXPECT_TRUE(skin::VisibilityAllows(1200, 40, asking));
  EXPECT_FALSE(skin::VisibilityAllows(1201, 40, asking));
  EXPECT_FALSE(skin::VisibilityAllows(1200, 40, normal));
}

TEST(CaptionButtons, PlacedByTheirAlign) {
  const TRect text{30, 5, 130, 21};
  const skin::FrameBorders borders{4, 26, 4, 4};
  EXPECT_EQ(skin::CaptionButtonRect(Button(3, 0, 8, 0), 16, 16, 400, text, borders, 0, 0), (TRect{8, 3, 24, 19}));
  EXPECT_EQ(skin::CaptionButtonRect(Button(0, 1, 25, 0), 19, 18, 400, text, borders, 0, 0), (TRect{375, 3, 394, 21}));
  EXPECT_EQ(skin::CaptionButtonRect(Button(5, 2, 20, 0), 16, 16, 400, text, borders, 0, 0), (TRect{10, 3, 26, 19}));
  EXPECT_EQ(skin::CaptionButtonRect(Button(5, 3, 4, 0), 16, 16, 400, text, borders, 0, 0), (TRect{134, 3, 150, 19}));
  // 100: at the menu bar's right end, centred in it.
  EXPECT_EQ(skin::CaptionButtonRect(Button(9, 100, 20, 100), 12, 10, 400, text, borders, 20, 2),
            (TRect{374, 31, 386, 41}));
}

TEST(CaptionButtons, FrameByActivityStateAndCount) {
  EXPECT_EQ(skin::CaptionButtonFrame(6, true, true, 1), 1);
  EXPECT_EQ(skin::CaptionButtonFrame(6, false, true, 1), 4);
  EXPECT_EQ(skin::CaptionButtonFrame(6, true, false, 3), 4);  // disabled
  EXPECT_EQ(skin::CaptionButtonFrame(6, true, true, 3), 3);   // hot
  EXPECT_EQ(skin::CaptionButtonFrame(3, false, true, 1), 1);  // fewer than 4 frames: frame 1
  EXPECT_EQ(skin::CaptionButtonFrame(3, true, true, 2), 2);
  EXPECT_EQ(skin::CaptionButtonFrame(1, true, true, 3), 1);
}

TEST(CaptionText, AlignmentMarginsAndLimits) {
  skin::TDataSkinTitle title;
  title.Margins = {28, 0, 80, 0};
  const skin::FrameBorders borders{4, 26, 4, 4};
  skin::CaptionTextInput in{400, 100, 14};
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in), (TRect{28, 6, 128, 20}));
  in.DialogBorder = true;  // no icon: 16 pixels further left
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in).Left, 12);
  in.DialogBorder = false;
  title.TextAlignment = 1;
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in), (TRect{150, 6, 250, 20}));
  title.TextAlignment = 2;
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in), (TRect{220, 6, 320, 20}));
  // A popup window's text ends 5 pixels before its leftmost right-anchored button.
  in.Popup = true;
  in.LeftmostRightButton = 300;
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in).Right, 295);
  // A long text is cut at the right limit.
  title.TextAlignment = 0;
  in.Popup = false;
  in.TextWidth = 500;
  EXPECT_EQ(skin::CaptionTextRect(title, borders, in).Right, 320);
}

TEST(MenuBar, ItemsStartAfterTheMarginAndGrowByTen) {
  const auto rects = skin::MenuBarLayout({40, 0, 30}, {true, true, true}, 500, 20, skin::TMargins{2, 0, 2, 0});
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0], (TRect{6, 0, 56, 19}));
  EXPECT_EQ(rects[1].Width(), 0);  // empty caption
  EXPECT_EQ(rects[2], (TRect{56, 0, 96, 19}));
  // Without a menu-bar object at 6; a margin start above the bar's height becomes 12.
  EXPECT_EQ(skin::MenuBarLayout({40}, {true}, 500, 20, std::nullopt)[0].Left, 6);
  EXPECT_EQ(skin::MenuBarLayout({40}, {true}, 500, 20, skin::TMargins{30, 0, 0, 0})[0].Left, 12);
  // Hidden items take no room.
  const auto hidden = skin::MenuBarLayout({40, 30}, {false, true}, 500, 20, std::nullopt);
  EXPECT_TRUE(hidden[0].Empty());
  EXPECT_EQ(hidden[1].Left, 6);
}

TEST(MenuBar, NextItemWrapsAndSkipsUnusable) {
  const std::vector<bool> usable{true, false, true, true};
  EXPECT_EQ(skin::NextMenuBarItem(usable, 0, true), 2);
  EXPECT_EQ(skin::NextMenuBarItem(usable, 3, true), 0);
  EXPECT_EQ(skin::NextMenuBarItem(usable, 0, false), 3);
  EXPECT_EQ(skin::NextMenuBarItem(usable, 2, false), 0);
  EXPECT_EQ(skin::NextMenuBarItem({false, false}, 0, true), -1);
}

TEST(MenuRows, WidthsByKind) {
  EXPECT_EQ(skin::MenuRowWidth(skin::MenuRowKind::Popup, 100, 26, false), 161);
  EXPECT_EQ(skin::MenuRowWidth(skin::MenuRowKind::Popup, 100, 0, true), 112);
  EXPECT_EQ(skin::MenuRowWidth(skin::MenuRowKind::BarDropDown, 100, 26, true), 136);
  EXPECT_EQ(skin::MenuRowWidth(skin::MenuRowKind::BarDropDown, 100, 0, false), 135);
  EXPECT_EQ(skin::MenuRowWidth(skin::MenuRowKind::Rebuilt, 100, 26, false), 152);
  EXPECT_EQ(skin::RebuiltRowHeight(16, false), 20);
  EXPECT_EQ(skin::RebuiltRowHeight(16, true), 8);
}

TEST(ControlFrames, PushButtonStates) {
  EXPECT_EQ(skin::PushButtonFrame(false, false, false, false, true), 1);
  EXPECT_EQ(skin::PushButtonFrame(true, false, false, false, true), 5);
  EXPECT_EQ(skin::PushButtonFrame(false, true, false, false, true), 5);
  EXPECT_EQ(skin::PushButtonFrame(true, false, true, true, true), 2);
  EXPECT_EQ(skin::PushButtonFrame(false, false, false, true, true), 4);
  EXPECT_EQ(skin::PushButtonFrame(true, true, false, false, false), 3);  // disabled focused default
}

TEST(ControlFrames, CheckBoxesWithFourAndTwelveFrames) {
  using skin::CheckState;
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, false, false, 4), 1);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Checked, false, false, 4), 2);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, false, true, 4), 3);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Checked, false, true, 4), 4);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, true, false, 4), 4);  // grayed
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Checked, false, false, 12), 5);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, false, true, 12), 4);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Checked, false, true, 12), 8);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, true, true, 12), 12);
  EXPECT_EQ(skin::CheckBoxFrame(CheckState::Unchecked, true, false, 12), 9);
  EXPECT_EQ(skin::UpDownFrame(1, 4), 8);
}

TEST(BitButton, MarginAndSpacingMinusOneShareTheRoomInThree) {
  skin::BitButtonInput in;
  in.AreaWidth = 100;
  in.AreaHeight = 20;
  in.GlyphWidth = in.GlyphHeight = 16;
  in.TextWidth = 40;
  in.TextHeight = 12;
  in.Margin = in.Spacing = -1;
  auto places = skin::BitButtonLayout(in);
  EXPECT_EQ(places.Glyph, (TRect{14, 2, 30, 18}));
  EXPECT_EQ(places.Text, (TRect{44, 4, 84, 16}));
  // Glyph on the right: mirrored.
  in.Layout = skin::GlyphLayout::Right;
  places = skin::BitButtonLayout(in);
  EXPECT_EQ(places.Glyph.Left, 70);
  EXPECT_EQ(places.Text.Right, 56);
  // A fixed margin with a left-aligned caption: the spacing takes half of what is left.
  in.Layout = skin::GlyphLayout::Left;
  in.Margin = 4;
  in.CentreAligned = false;
  places = skin::BitButtonLayout(in);
  EXPECT_EQ(places.Glyph.Left, 4);
  EXPECT_EQ(places.Text.Left, 4 + 16 + 20);
  // No glyph: spacing 0 and the caption centred.
  in.GlyphWidth = in.GlyphHeight = 0;
  in.Margin = -1;
  in.Spacing = 4;
  in.CentreAligned = true;
  places = skin::BitButtonLayout(in);
  EXPECT_EQ(places.Text.Left, 30);
  // Glyph on top: along the height.
  in = {60, 60, 16, 16, 30, 12, skin::GlyphLayout::Top, -1, 4, true};
  places = skin::BitButtonLayout(in);
  EXPECT_EQ(places.Glyph, (TRect{22, 14, 38, 30}));
  EXPECT_EQ(places.Text, (TRect{15, 34, 45, 46}));
}

}  // namespace
