#include <gtest/gtest.h>

#include "windows/firework_win32.h"

using namespace windows;

namespace {
struct FireWorkFixture : ::testing::Test {
  FireWorkFixture() {
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    fireworks.Create(parent, gui::ControlSpec{1, 0, 0, 0, 0, u""});
  }
  ~FireWorkFixture() override { DestroyWindow(parent); }
  HWND parent;
  TFireWork fireworks;
};
}  // namespace

TEST_F(FireWorkFixture, DefaultsAndNoTimerUntilStarted) {
  EXPECT_EQ(fireworks.Width(), 300);
  EXPECT_EQ(fireworks.Height(), 200);
  EXPECT_EQ(fireworks.Screen().Width(), 300);
  EXPECT_EQ(fireworks.Delay(), 50u);
  EXPECT_EQ(fireworks.MaxPackCount(), 1000);
  EXPECT_EQ(fireworks.ParticleCount(), 10000);
  EXPECT_FALSE(fireworks.Running());
}

TEST_F(FireWorkFixture, ResizeRestartsOnlyARunningTimer) {
  fireworks.SetBounds(0, 0, 120, 80);
  EXPECT_FALSE(fireworks.Running());
  EXPECT_EQ(fireworks.Screen().Width(), 120);
  EXPECT_EQ(fireworks.Screen().Height(), 80);
  fireworks.Start();
  fireworks.SetBounds(0, 0, 140, 90);
  EXPECT_TRUE(fireworks.Running());
  EXPECT_EQ(fireworks.Screen().Width(), 140);
  fireworks.SetDelay(25);  // keeps it running at the new interval
  EXPECT_TRUE(fireworks.Running());
  fireworks.Stop();
  fireworks.SetDelay(30);
  EXPECT_FALSE(fireworks.Running());
}

TEST_F(FireWorkFixture, MousePressBurstsAndTicksDrawIntoThePicture) {
  fireworks.SetMaxPackCount(99);
  SendMessageW(fireworks.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 60));
  EXPECT_EQ(fireworks.Particles().LiveCount(), 100);
  bool drawn = false;
  for (int tick = 0; tick < 60 && !drawn; ++tick) {
    fireworks.Tick();
    for (int y = 1; y < 199 && !drawn; ++y) {
      for (int x = 1; x < 299 && !drawn; ++x) drawn = fireworks.Screen().Pixel(x, y) != 0;
    }
  }
  EXPECT_TRUE(drawn);
}
