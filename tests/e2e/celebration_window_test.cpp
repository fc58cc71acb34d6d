// The celebration window driven as a user does: opened from the help menu, watched through
// screenshots, its show switched off and on in its own menu, closed and opened again. Timer
// messages are counted inside the program through the timer probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "program_fixture.h"
#include "screen_shot.h"
#include "timer_probe_driver.h"

namespace e2e {
namespace {

constexpr wchar_t kOpen[] = L"热烈庆祝（烟花表演）";
constexpr wchar_t kShow[] = L"开始放烟花";

long FormTimers(const TimerProbe::Counts& counts, HWND form) {
  long n = 0;
  for (const auto& [key, count] : counts) n += key.first == form ? count : 0;
  return n;
}

bool IsAqua(COLORREF c) { return c == RGB(0, 255, 255); }
// The burst's colour, not the rocket's white and grey sparks.
bool Coloured(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  return std::max({r, g, b}) - std::min({r, g, b}) > 40;
}

class CelebrationWindowTest : public ProgramTest {
 protected:
  HWND Open() {
    EXPECT_TRUE(ChooseMenuRow(main_, kOpen));
    HWND form = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      form = FindProcessWindow(program_.ProcessId(), L"Tform8");
      return form && IsWindowVisible(form);
    }, std::chrono::seconds(10)));
    return form;
  }
  bool ShowChecked(HWND form) {
    const std::vector<MenuRowInfo> rows = ReadMenuBar(form);
    const MenuRowInfo* row = FindMenuRow(rows, kShow);
    return row && row->checked;
  }
  static HWND Child(HWND form, const wchar_t* cls, HWND parent = nullptr) {
    return FindWindowExW(parent ? parent : form, nullptr, cls, nullptr);
  }
};

TEST_F(CelebrationWindowTest, OpensScaledAndCentredWithTheShowRunning) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), L"热烈庆祝（烟花表演）");
  RECT r{};
  GetWindowRect(form, &r);
  const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_GT(sx, 800);  // the test desktop is large enough for every window to scale
  EXPECT_EQ(r.right - r.left, sx * 527 / 800);
  EXPECT_EQ(r.bottom - r.top, sy * 423 / 600);
  EXPECT_LE(std::abs(r.left - (sx - (r.right - r.left)) / 2), 1);
  EXPECT_LE(std::abs(r.top - (sy - (r.bottom - r.top)) / 2), 1);
  EXPECT_TRUE(ShowChecked(form));
  // The hidden menu of the simulated click is not on the bar.
  const std::vector<std::wstring> bar = MenuBarCaptions(form);
  EXPECT_EQ(bar, std::vector<std::wstring>{L"命令  "});
}

TEST_F(CelebrationWindowTest, ScreenshotsShowRippleFireworksAndBanner) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  HWND picture = Child(form, L"TImage"), fireworks = Child(form, L"TFireWork"), panel = Child(form, L"TFxPanel");
  ASSERT_TRUE(picture && fireworks && panel);
  const RECT fireRect = RectInWindow(fireworks, form), panelRect = RectInWindow(panel, form);
  const RECT pictureRect = RectInWindow(picture, form);

  // Fireworks: the first rocket goes 200 ms after the show starts, then one every 2.5 s; each
  // explodes in the upper half of the control, its particles spreading in one random colour.
  // About one colour in fifteen is too grey to tell from the sparks, and a loaded machine shows
  // the bursts late: the wait lasts for a dozen rockets, not three.
  ScreenShot shot;
  ASSERT_TRUE(WaitUntil([&] {
    shot = ScreenShot::OfWindow(form);
    return shot.Count(fireRect, Coloured) > 100;
  }, std::chrono::seconds(30))) << "no fireworks in the control";
  shot.Save("celebration_fireworks");

  // The banner: aqua text with its white highlight and grey shadow copies on maroon.
  const RECT inside{panelRect.left + 4, panelRect.top + 4, panelRect.right - 4, panelRect.bottom - 4};
  EXPECT_GT(shot.Count(inside, IsAqua), 100);
  EXPECT_GT(shot.Count(inside, [](COLORREF c) { return c == GetSysColor(COLOR_BTNHIGHLIGHT); }), 30);
  EXPECT_GT(shot.Count(inside, [](COLORREF c) { return c == GetSysColor(COLOR_BTNSHADOW); }), 30);
  EXPECT_GT(shot.Count(inside, [](COLORREF c) { return c == RGB(128, 0, 0); }), 5000);
  EXPECT_EQ(shot.At(panelRect.left + 2, panelRect.top + 40), RGB(128, 0, 0));  // the maroon ring
  // The white line over the picture, above the banner.
  const RECT line{pictureRect.left + 200, pictureRect.top + 10, pictureRect.right - 200, panelRect.top};
  EXPECT_GT(shot.Count(line, [](COLORREF c) { return c == RGB(255, 255, 255); }), 50);

  // The ripple starts under the pointer, also where the stretched picture is larger than it.
  const int px = (pictureRect.right - pictureRect.left) * 9 / 10, py = (pictureRect.bottom - pictureRect.top) * 9 / 10;
  const RECT around{pictureRect.left + px - 30, pictureRect.top + py - 30, pictureRect.left + px + 30, pictureRect.top + py + 30};
  const ScreenShot before = ScreenShot::OfWindow(form);
  for (int i = 0; i < 5; ++i) {
    PostMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(px + i, py));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const ScreenShot first = ScreenShot::OfWindow(form);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const ScreenShot second = ScreenShot::OfWindow(form);
  first.Save("celebration_ripple_1");
  second.Save("celebration_ripple_2");
  EXPECT_GT(first.Differences(before, around), 20) << "no ripple under the pointer";
  EXPECT_GT(second.Differences(first, around), 20) << "the ripple does not move";
}

TEST_F(CelebrationWindowTest, SwitchClosingAndReopeningStartAndStopTheTimers) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  HWND fireworks = Child(form, L"TFireWork");
  TimerProbe probe(form);
  ASSERT_TRUE(probe.Counting());

  // Show off in its own menu: the ripple and the rockets stop, the fireworks still fade.
  ASSERT_TRUE(ChooseMenuRow(form, kShow));
  ASSERT_TRUE(WaitUntil([&] { return !ShowChecked(form); }, std::chrono::seconds(5)));
  probe.Read(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  TimerProbe::Counts counts = probe.Read(true);
  EXPECT_EQ(FormTimers(counts, form), 0);
  EXPECT_GT(TimerProbe::ToWindow(counts, fireworks, 1), 5);

  // On again.
  ASSERT_TRUE(ChooseMenuRow(form, kShow));
  ASSERT_TRUE(WaitUntil([&] { return ShowChecked(form); }, std::chrono::seconds(5)));
  probe.Read(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_GT(FormTimers(probe.Read(true), form), 5);

  // Closing unchecks the switch and stops every timer of the window.
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); }, std::chrono::seconds(5)));
  EXPECT_FALSE(ShowChecked(form));
  probe.Read(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  EXPECT_EQ(TimerProbe::ToWindowAndChildren(probe.Read(true), form), 0);

  // Reopening starts the show again.
  EXPECT_EQ(Open(), form);
  EXPECT_TRUE(ShowChecked(form));
  probe.Read(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  counts = probe.Read(true);
  EXPECT_GT(FormTimers(counts, form), 5);
  EXPECT_GT(TimerProbe::ToWindow(counts, fireworks, 1), 5);
}

}  // namespace
}  // namespace e2e
