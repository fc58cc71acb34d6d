// The classic hook reports rebuilt from low-level events: keystroke flags and double clicks.
#include <gtest/gtest.h>

#include "desktop/hook_protocol.h"
#include "desktop/low_level_reports.h"

using namespace desktop;

TEST(KeyReportBuilder, AltDigitComesAsTheKeyboardHookReportsIt) {
  KeyReportBuilder builder;
  // Left Alt down, "1" down, "1" up, Alt up, as the low-level hook gives them.
  const RebuiltKeyReport altDown = builder.Build(164, 0x38, kLowLevelAltDown);
  const RebuiltKeyReport oneDown = builder.Build('1', 0x02, kLowLevelAltDown);
  const RebuiltKeyReport oneUp = builder.Build('1', 0x02, kLowLevelAltDown | kLowLevelUp);
  const RebuiltKeyReport altUp = builder.Build(164, 0x38, kLowLevelAltDown | kLowLevelUp);
  EXPECT_EQ(altDown.wParam, 18u);
  EXPECT_EQ(oneDown.wParam, 0x31u);
  EXPECT_EQ(oneUp.wParam, 0x31u);
  EXPECT_EQ(altUp.wParam, 18u);
  EXPECT_EQ(altDown.lParam, 0x20380001u);
  EXPECT_EQ(oneDown.lParam, 0x20020001u);
  EXPECT_EQ(oneUp.lParam, 0xE0020001u);
  EXPECT_EQ(altUp.lParam, 0xC0380001u);

  // A released Ctrl, as the components read it.
  const KeyReport k = DecodeKeyReport(17, 0xC01D0001u);
  EXPECT_EQ(k.RepeatCount, 1);
  EXPECT_EQ(k.ScanCode, 0x1D);
  EXPECT_FALSE(k.isExtendedKey);
  EXPECT_FALSE(k.altIsDown);
  EXPECT_TRUE(k.keyWasDownBefore);
  EXPECT_FALSE(k.keyIsBeingPressed);
}

TEST(KeyReportBuilder, SidesBecomeGenericAndRepeatsWereDown) {
  KeyReportBuilder builder;
  const RebuiltKeyReport rightCtrl = builder.Build(163, 0x1D, kLowLevelExtended);
  EXPECT_EQ(rightCtrl.wParam, 17u);
  EXPECT_EQ(rightCtrl.lParam, 0x011D0001u);
  EXPECT_EQ(builder.Build(160, 0x2A, 0).wParam, 16u);
  EXPECT_EQ(builder.Build(161, 0x36, 0).wParam, 16u);

  // F9 held: the first press was not down before, the repeats were; the release clears it.
  EXPECT_FALSE(builder.Build(120, 0x43, 0).lParam & (1u << 30));
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(builder.Build(120, 0x43, 0).lParam & (1u << 30));
  EXPECT_EQ(builder.Build(120, 0x43, kLowLevelUp).lParam, 0xC0430001u);
  EXPECT_FALSE(builder.Build(120, 0x43, 0).lParam & (1u << 30));
}

TEST(DoubleClickTracker, FollowsTheSystemRule) {
  DoubleClickTracker tracker({500, 4, 4});
  ButtonPress p{MouseButtonKind::Left, 100, 100, 1000, 7, true};
  EXPECT_FALSE(tracker.Press(p));
  p.time = 1400;
  p.x = 101;
  EXPECT_TRUE(tracker.Press(p));
  // The third press starts afresh.
  p.time = 1500;
  EXPECT_FALSE(tracker.Press(p));

  // Too late, too far, another button, another window, a class without double clicks.
  auto pair = [&](ButtonPress second) {
    DoubleClickTracker t({500, 4, 4});
    t.Press({MouseButtonKind::Left, 100, 100, 1000, 7, true});
    return t.Press(second);
  };
  EXPECT_FALSE(pair({MouseButtonKind::Left, 100, 100, 1501, 7, true}));
  EXPECT_FALSE(pair({MouseButtonKind::Left, 103, 100, 1100, 7, true}));
  EXPECT_FALSE(pair({MouseButtonKind::Right, 100, 100, 1100, 7, true}));
  EXPECT_FALSE(pair({MouseButtonKind::Left, 100, 100, 1100, 8, true}));
  EXPECT_FALSE(pair({MouseButtonKind::Left, 100, 100, 1100, 7, false}));
  EXPECT_TRUE(pair({MouseButtonKind::Left, 102, 98, 1500, 7, true}));
}

TEST(LowLevelMouseReportCode, CodesOneToNine) {
  EXPECT_EQ(LowLevelMouseReportCode(0x0200, false), 0u);
  EXPECT_EQ(LowLevelMouseReportCode(0x0201, false), 1u);
  EXPECT_EQ(LowLevelMouseReportCode(0x0201, true), 3u);
  EXPECT_EQ(LowLevelMouseReportCode(0x0205, false), 5u);
  EXPECT_EQ(LowLevelMouseReportCode(0x0207, true), 9u);
  EXPECT_FALSE(LowLevelMouseReportCode(0x020A, false));  // wheel
  EXPECT_FALSE(LowLevelMouseReportCode(0x020B, false));  // extra button
}
