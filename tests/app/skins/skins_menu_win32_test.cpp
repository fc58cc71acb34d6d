// The skins menu's switch on a test window: a switch from one skin to another takes the old
// skin off first without running anything of the program meanwhile, and a missing file is
// reported once and leaves the classic look.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/skins/skins_menu_win32.h"
#include "gui/application.h"
#include "gui/form.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"
#include "unicode/codepage.h"

namespace {

constexpr UINT kCommandLike = WM_APP + 5;

class CountingForm : public gui::Form {
 public:
  int handled = 0;

 protected:
  bool HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (msg != kCommandLike) return false;
    ++handled;
    result = 0;
    return true;
  }
};

std::u16string DataFolder() {
  std::u16string folder = unicode::Utf8ToUtf16(QUILL_DATA_DIR);
  for (char16_t& c : folder) c = c == u'/' ? u'\\' : c;
  return folder;
}

class SkinsMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gui::Application::Instance().Initialize(); }
  void SetUp() override {
    form_.Create({u"TSkinsMenuTestForm", u"皮肤菜单", 400, 300, WS_OVERLAPPEDWINDOW});
  }
  bool Skinned() {
    for (int i = 0; i < 200; ++i) {
      gui::Application::Instance().ProcessMessages();
      auto* manager = skin::TSkinManage::Existing();
      auto* skinned = manager ? manager->FindSkinForm(form_.Handle()) : nullptr;
      if (skinned && skinned->State == 1) return true;
      Sleep(10);
    }
    return false;
  }
  CountingForm form_;
};

TEST_F(SkinsMenuTest, ASwitchTakesTheOldSkinOffRunningNothingElseMeanwhile) {
  app::SkinsMenu menu(DataFolder());
  std::vector<int> checked;
  menu.OnChecked = [&](int n) { checked.push_back(n); };
  menu.ChooseSkin(2);
  form_.Show();
  SetForegroundWindow(form_.Handle());
  ASSERT_TRUE(Skinned());
  EXPECT_EQ(menu.ActiveSkinNumber, 2);

  // A command waiting in the queue (another skin row, a close) does not run inside the switch.
  PostMessageW(form_.Handle(), kCommandLike, 0, 0);
  const DWORD start = GetTickCount();
  menu.ChooseSkin(4);
  EXPECT_EQ(form_.handled, 0);
  EXPECT_LT(GetTickCount() - start, 2100u);
  EXPECT_TRUE(skin::TSkinManage::Existing()->Forms().empty());  // the old skin is off
  EXPECT_EQ(menu.SkinNumber, 4);
  EXPECT_EQ(menu.ActiveSkinNumber, 4);
  ASSERT_TRUE(Skinned());  // the new one comes with the next action
  EXPECT_EQ(form_.handled, 1);
  EXPECT_EQ(checked, (std::vector<int>{2, 1, 4}));
  menu.jindianClick();
  skin::TSkinManage::Existing()->WaitForPendingAction(1000);
}

TEST_F(SkinsMenuTest, AMissingFileIsReportedOnceAndTheClassicLookStays) {
  const std::filesystem::path empty = std::filesystem::path(QUILL_SCRATCH_DIR) / "skins-menu-empty";
  std::filesystem::create_directories(empty);
  app::SkinsMenu menu(gui::U(empty.wstring()));
  std::vector<std::u16string> errors;
  std::vector<int> checked;
  menu.OnError = [&](const std::u16string& text) { errors.push_back(text); };
  menu.OnChecked = [&](int n) { checked.push_back(n); };
  menu.ChooseSkin(3);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(u"mxskin9.skn"), std::u16string::npos);
  EXPECT_EQ(menu.SkinNumber, 1);
  EXPECT_EQ(menu.ActiveSkinNumber, 1);
  EXPECT_EQ(checked, (std::vector<int>{1}));
  EXPECT_FALSE(menu.SkinData1.Active());
}

}  // namespace
