#include <gtest/gtest.h>

#include "app/files/app_paths.h"
#include "app/mainform/main_layout.h"
#include "app/system/os_version.h"

using namespace app;

TEST(WindowScaling, OnlyScreensLargerThan800x600Scale) {
  EXPECT_EQ(ScaleToScreen({688, 526}, {800, 600}), (Size{688, 526}));
  EXPECT_EQ(ScaleToScreen({688, 526}, {640, 480}), (Size{688, 526}));
  EXPECT_EQ(ScaleToScreen({688, 526}, {800, 1200}), (Size{688, 1052}));
  EXPECT_EQ(ScaleToScreen({688, 526}, {801, 600}), (Size{688, 526}));  // width truncates back
  // 1024 x 768: 768 * 526 / 600 = 673.3 and 1024 * 688 / 800 = 880.6, both rounded down.
  EXPECT_EQ(ScaleToScreen({688, 526}, {1024, 768}), (Size{880, 673}));
}

TEST(ResizeRule, KeepsTheMeasuredGapsAndGrowsTheList) {
  MainLayout l;
  l.window = {688, 526};
  l.panel1Left = 100, l.panel1Top = 80, l.panel1Width = 470, l.panel1Height = 380;
  l.panel2Height = 28, l.listHeight = 350;
  l.panel4Left = 575, l.panel4Width = 105, l.panel4Height = 350;
  l.memoWidth = 470, l.image1Top = 300;
  const LayoutGaps gaps = MeasureGaps(l);
  EXPECT_EQ(gaps.right, 8);
  EXPECT_EQ(gaps.bottom, 66);

  const MainLayout big = ApplyResizeRule(l, gaps, {888, 626});
  EXPECT_EQ(big.panel1Height, 480);
  EXPECT_EQ(big.listHeight, 450);
  EXPECT_EQ(big.image1Top, 400);
  EXPECT_EQ(big.panel4Left, 888 - 100 - 8 - 5);
  EXPECT_EQ(big.panel4Height, 450);
  EXPECT_EQ(big.panel1Width, 470 + (775 - 575));
  EXPECT_EQ(big.memoWidth, big.panel1Width);
  // Panel4 is as wide as Panel1's left edge plus 5, so its right gap stays as measured.
  EXPECT_EQ(MeasureGaps(big).right, gaps.right);
  EXPECT_EQ(MeasureGaps(big).bottom, gaps.bottom);
}

TEST(FillMode, ShrinksToTheListAndUsesHalfTheGapChange) {
  MainLayout l;
  l.window = {688, 526};
  l.panel1Left = 100, l.panel1Top = 80, l.panel1Width = 470, l.panel1Height = 380;
  l.listHeight = 350, l.panel4Left = 575, l.panel4Width = 105;
  const LayoutGaps measured{8 - 7, 66 - 5};  // gaps now differ by 7 and 5: dx 3, dy 2
  const MainLayout small = FillModeLayout(l, measured);
  EXPECT_EQ(small.image1Top, 80 + 350 - 146 - 2);
  EXPECT_EQ(small.listHeight, 350 - 120 - 2);
  EXPECT_EQ(small.panel1Width, 470 - 350 - 3);
  EXPECT_EQ(small.window.height, small.listHeight + 80 + 145);
  EXPECT_EQ(small.window.width, small.panel1Width + 100 + 32);
}

TEST(OsVersion, NamesAndCodes) {
  EXPECT_EQ(GetOSVersionName({2, 5, 1, ""}), "winXP");
  EXPECT_EQ(GetOSVersionName({2, 6, 1, ""}), "win7");
  EXPECT_EQ(GetOSVersionName({2, 3, 51, ""}), "winNT 3.51");
  EXPECT_EQ(GetOSVersionName({2, 10, 0, ""}), "win");
  EXPECT_EQ(GetOSVersionName({1, 4, 10, ""}), "win98");
  EXPECT_EQ(GetOSVersionName({1, 4, 90, ""}), "winMe");
  EXPECT_EQ(GetOSVersionName({1, 4, 3, ""}), "win9x");
  EXPECT_EQ(GetOSVersionName({0, 1, 0, ""}), "win32");
  EXPECT_EQ(GetOSVersionName({7, 1, 0, ""}), "win??");

  EXPECT_EQ(GetWindowsVersionCode({2, 5, 0, ""}), 7);
  EXPECT_EQ(GetWindowsVersionCode({2, 5, 1, ""}), 9);
  EXPECT_EQ(GetWindowsVersionCode({2, 6, 1, ""}), 0);
  EXPECT_EQ(GetWindowsVersionCode({1, 4, 0, " B"}), 2);
  EXPECT_EQ(GetWindowsVersionCode({1, 4, 0, " C"}), 1);
  EXPECT_EQ(GetWindowsVersionCode({1, 4, 10, " A"}), 4);
  EXPECT_EQ(GetWindowsVersionCode({1, 4, 90, ""}), 8);
  EXPECT_EQ(WindowsVersionNameFor(0), "vista or win7");
  EXPECT_EQ(WindowsVersionNameFor(9), "");
}

TEST(AppPaths, EverythingLiesBelowTheStartFolder) {
  const AppPaths p = MakeAppPaths(u"C:\\程序");
  EXPECT_EQ(p.SoundDir, u"C:\\程序\\音效");
  EXPECT_EQ(p.TrayIconFile, u"C:\\程序\\图标\\系统托盘主图标.ico");
  EXPECT_EQ(p.SampleTableFiles[5], u"C:\\程序\\样例表格\\样例表格6之网络地址.txt");
  EXPECT_EQ(p.SampleTableRenames[3].first, u"C:\\程序\\样例表格\\样例表格4_冬梅.txt");
  // At a drive's root the current folder ends in a backslash; no path doubles it.
  EXPECT_EQ(MakeAppPaths(u"D:\\").AutoSaveFile, u"D:\\自动保存.txt");
}
