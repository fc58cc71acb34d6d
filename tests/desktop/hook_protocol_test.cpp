// The report format between the hook library and the components: both sides read and
// write it through the same routines, so these cases pin the bit layout itself.
#include <gtest/gtest.h>

#include "desktop/hook_protocol.h"

using namespace desktop;

TEST(KeyReport, FlagsComeFromTheirBits) {
  // Alt+F4 released: repeat 1, scan code 0x3E, extended, Alt down, was down, released.
  const KeyReport up =
      DecodeKeyReport(0x73, 0x0001u | (0x3Eu << 16) | (1u << 24) | (1u << 29) | (1u << 30) | (1u << 31));
  EXPECT_EQ(up.VirtualKeyCode, 0x73);
  EXPECT_EQ(up.RepeatCount, 1);
  EXPECT_EQ(up.ScanCode, 0x3E);
  EXPECT_TRUE(up.isExtendedKey);
  EXPECT_TRUE(up.altIsDown);
  EXPECT_TRUE(up.keyWasDownBefore);
  EXPECT_FALSE(up.keyIsBeingPressed);

  // A fresh press with a large repeat count and bits 25 to 28 set, which mean nothing.
  const KeyReport down = DecodeKeyReport('V', 0xFFFFu | (0xFFu << 16) | (0xFu << 25));
  EXPECT_EQ(down.VirtualKeyCode, 'V');
  EXPECT_EQ(down.RepeatCount, 0xFFFF);
  EXPECT_EQ(down.ScanCode, 0xFF);
  EXPECT_FALSE(down.isExtendedKey);
  EXPECT_FALSE(down.altIsDown);
  EXPECT_FALSE(down.keyWasDownBefore);
  EXPECT_TRUE(down.keyIsBeingPressed);
}

TEST(MouseReport, RightUpMovesAndUnknownCodes) {
  const auto rightUp = DecodeMouseReport(5, (480u << 16) | 640u, 0xABCD);
  ASSERT_TRUE(rightUp);
  EXPECT_EQ(rightUp->button, TMouseButton::mbRight);
  EXPECT_EQ(rightUp->movement, TSysMouseButtonMovement::mbmUp);
  EXPECT_EQ(rightUp->x, 640);
  EXPECT_EQ(rightUp->y, 480);

  // Only the low four bits count: 16 is a move like 0.
  const auto move = DecodeMouseReport(16, PackMousePoint(3, 4), 7);
  ASSERT_TRUE(move);
  EXPECT_TRUE(move->isMove);
  EXPECT_EQ(move->x, 3);
  EXPECT_EQ(move->y, 4);
  EXPECT_EQ(move->sourceWindow, 7u);

  for (uint32_t code : {10u, 15u, 26u}) EXPECT_FALSE(DecodeMouseReport(code, 0, 0)) << code;
}

TEST(MouseReport, PositionsAreUnsigned16Bit) {
  // A point left of or above the primary screen arrives wrapped, as the format has it.
  const auto m = DecodeMouseReport(1, PackMousePoint(-1, -2), 0);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->x, 0xFFFF);
  EXPECT_EQ(m->y, 0xFFFE);
  EXPECT_EQ(PackMousePoint(0x12345, 0x1FFFF), 0xFFFF2345u);
}

TEST(MouseReportCode, ClientAndNonClientButtonMessagesRoundTrip) {
  // WM_LBUTTONDOWN (0x201) to WM_MBUTTONDBLCLK (0x209) and the non-client twins from 0xA1:
  // left, right, middle, each down, up, double.
  EXPECT_EQ(MouseReportCode(0x0200), 0u);
  EXPECT_EQ(MouseReportCode(0x00A0), kNonClientReportFlag);
  for (uint32_t i = 0; i < 9; ++i) {
    for (uint32_t message : {0x0201 + i, 0x00A1 + i}) {
      const auto code = MouseReportCode(message);
      ASSERT_TRUE(code) << message;
      EXPECT_EQ(*code & kNonClientReportFlag, message < 0x0200 ? kNonClientReportFlag : 0u);
      const auto m = DecodeMouseReport(*code, 0, 0);
      ASSERT_TRUE(m);
      EXPECT_FALSE(m->isMove);
      EXPECT_EQ(static_cast<int>(m->button), static_cast<int>(i / 3)) << message;
      EXPECT_EQ(static_cast<int>(m->movement), static_cast<int>(i % 3)) << message;
    }
  }
  // Wheel, extra buttons and neighbouring non-mouse messages are not reported.
  for (uint32_t message : {0x020Au, 0x020Bu, 0x020Eu, 0x00ABu, 0x009Fu, 0x01FFu})
    EXPECT_FALSE(MouseReportCode(message)) << message;
}
