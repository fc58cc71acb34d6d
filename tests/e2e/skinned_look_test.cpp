// The look a new user meets first, the shipped skin 2: the list ends where the resize rule puts
// it in every look and size, a menu-bar item is lit only while the pointer is on it, and the
// options dialog's boxes, frames and arrows are the skin's. Pictures of the skinned dialog are kept (docs/skinned-windows.md shows them).
#include <gtest/gtest.h>

#include "clipboard_driver.h"
#include "options_dialog_driver.h"
#include "program_driver.h"
#include "screen_shot.h"
#include "skin/skin_data.h"
#include "skin/skin_layout.h"
#include "skin_look_driver.h"
#include "window_parts.h"
#include "windows/options_control_ids.h"

using namespace std::chrono_literals;
namespace id = windows::optionsid;

namespace {

constexpr wchar_t kShippedSkinFile[] = L"mxskin2.skn";

class SkinnedLook : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    e2e::SetSkinNumber(folder_, 2);
    ASSERT_TRUE(program_.Start(folder_));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    WaitForSkin(kShippedSkinFile);
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit(20s);
  }
  // The window answers the skin's query and wears the skin's frame (nullptr: the classic look).
  void WaitForSkin(const wchar_t* skinFile) {
    const SIZE frame = skinFile ? e2e::SkinFrame(folder_, skinFile) : SIZE{};
    ASSERT_TRUE(e2e::WaitUntil([&] {
      if (!skinFile) return e2e::Ask(main_, e2e::kSkinQuery) == 0 && GetMenu(main_) != nullptr;
      const SIZE extra = e2e::FrameExtra(main_);
      return e2e::Ask(main_, e2e::kSkinQuery) == 1 && extra.cx == frame.cx && extra.cy == frame.cy;
    }, 15s)) << (skinFile ? e2e::Utf8(skinFile) : "classic");
    e2e::Settle(main_);
  }
  void Activate() {
    SetForegroundWindow(main_);
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main_; }, 5s));
    e2e::Settle(main_);
  }

  std::filesystem::path folder_;
  e2e::RunningProgram program_;
  HWND main_ = nullptr;
};

// What the list leaves empty below itself in the client area.
int SpaceBelowList(HWND main) {
  RECT list{};
  GetWindowRect(e2e::FindHistoryList(main), &list);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&list), 2);
  return e2e::ClientSize(main).cy - list.bottom;
}

TEST_F(SkinnedLook, TheListEndsWhereTheResizeRulePutsItInEveryLookAndSize) {
  // The fill-in mode's small window, and back.
  auto inFillMode = [&] {
    const SIZE normal = e2e::ClientSize(main_);
    EXPECT_TRUE(e2e::ChooseMenuRow(main_, L"填表模式切换"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClientSize(main_).cy < normal.cy; }, 10s));
    e2e::Settle(main_);
    const int space = SpaceBelowList(main_);
    EXPECT_TRUE(e2e::ChooseMenuRow(main_, L"填表模式切换"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClientSize(main_).cy == normal.cy; }, 10s));
    e2e::Settle(main_);
    return space;
  };
  const int atStart = SpaceBelowList(main_);
  const int fillMode = inFillMode();
  PostMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsZoomed(main_) != FALSE; }, 10s));
  e2e::Settle(main_);
  const int maximised = SpaceBelowList(main_);
  PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsZoomed(main_) == FALSE; }, 10s));
  e2e::Settle(main_);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"酷兰"));
  WaitForSkin(L"mxskin39.skn");
  const int otherSkin = SpaceBelowList(main_);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"经典"));
  WaitForSkin(nullptr);
  const int classic = SpaceBelowList(main_);
  EXPECT_GE(classic, 0);
  EXPECT_LT(classic, 10);
  EXPECT_EQ(atStart, classic);
  EXPECT_EQ(maximised, classic);
  EXPECT_EQ(otherSkin, classic);
  EXPECT_EQ(fillMode, inFillMode());
}

TEST_F(SkinnedLook, ABarItemIsLitOnlyWhileThePointerIsOnIt) {
  Activate();
  skin::TSkinData data;
  data.SetSkinFile((folder_ / L"皮肤" / kShippedSkinFile).u16string());
  const skin::FrameBorders border = skin::BordersOf(data.Model());
  RECT w{};
  GetWindowRect(main_, &w);
  // The bar, in window coordinates, and a point on its first item ("  文件  ").
  const RECT bar{border.Left, border.Top, w.right - w.left - border.Right, border.Top + GetSystemMetrics(SM_CYMENU)};
  const POINT onItem{w.left + bar.left + 20, w.top + (bar.top + bar.bottom) / 2};
  const POINT inList = e2e::CentreOf(e2e::FindHistoryList(main_));
  e2e::MovePointer(inList);
  e2e::Settle(main_);
  const e2e::ScreenShot plain = e2e::ScreenShot::OfWindow(main_);

  e2e::MovePointer(onItem);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ScreenShot::OfWindow(main_).Differences(plain, bar) > 0; }, 5s))
      << "the item under the pointer is lit";
  e2e::MovePointer(inList);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ScreenShot::OfWindow(main_).Differences(plain, bar) == 0; }, 5s))
      << "the item's light goes with the pointer";
}

TEST_F(SkinnedLook, TheOptionsDialogsBoxesFramesAndArrowsAreTheSkins) {
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"属性设置。。。"));
  e2e::OptionsDialog dialog(program_.ProcessId());
  ASSERT_TRUE(dialog.WaitShown());
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Ask(dialog.Window(), e2e::kSkinQuery) == 1; }, 10s));
  e2e::Settle(dialog.Window());
  const int skinned[] = {id::xiansiCheckBox1, id::rejianCheckBox1, id::CheckBoxmyalt, id::zidongtiaodaoCheckBox,
                         id::fuziCheckBox1, id::fuzi_CheckBoxmyalt, id::fuzi_zidongtiaodaoCheckBox,
                         id::GroupBox1, id::GroupBox2, id::UpDown1, id::UpDown2, id::Button1, id::Button2};
  for (int control : skinned) EXPECT_EQ(e2e::Ask(dialog.Control(control), e2e::kSkinQuery), 1) << control;
  // They still work as the user expects.
  ASSERT_TRUE(dialog.ChooseTab(id::kPasteTab));
  ASSERT_TRUE(dialog.Click(id::rejianCheckBox1));
  EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Checked(id::rejianCheckBox1); }, 5s));
  dialog.ClickArrow(id::UpDown1, true);
  EXPECT_TRUE(dialog.WaitText(id::Edit3, L"2"));
  e2e::Settle(dialog.Window());
  e2e::ScreenShot::OfWindow(dialog.Window()).Save("skin2-options-dialog");
  ASSERT_TRUE(dialog.Click(id::Button2));
  EXPECT_TRUE(dialog.WaitHidden());
}

}  // namespace
