// The options dialog "属性设置" as a user works with it: opened from its menu rows, filled in by
// clicks and keys, applied with OK (at once, then saved to "set" and back after a restart),
// or left with Cancel and the close box.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "foreign_editor.h"
#include "keyboard_input.h"
#include "options_dialog_driver.h"
#include "program_fixture.h"
#include "windows/options_control_ids.h"

using namespace std::chrono_literals;
namespace id = windows::optionsid;

namespace {

constexpr wchar_t kPasteSwitch[] = L"开启 [ 连续粘贴 ]（默认F9） ★★★";
constexpr wchar_t kCopySwitch[] = L"开启 连续复制（默认F9） ●●●";
constexpr wchar_t kTraySwitch[] = L"程序是否显示在系统托盘上（任务栏右侧）";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines (numbered from 1) in which two "set" files differ, with the new text.
std::map<int, std::string> ChangedLines(const std::string& before, const std::string& after) {
  const std::vector<std::string> a = Lines(before), b = Lines(after);
  std::map<int, std::string> changed;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string x = i < a.size() ? a[i] : "", y = i < b.size() ? b[i] : "";
    if (x != y) changed[static_cast<int>(i + 1)] = y;
  }
  return changed;
}

class OptionsDialogTest : public e2e::ProgramTest {
 protected:
  std::vector<std::wstring> StartEntries() const override { return {L"第一条", L"第二条", L"第三条"}; }

  ::testing::AssertionResult Open(const std::wstring& row) {
    if (!e2e::ChooseMenuRow(main_, row)) return ::testing::AssertionFailure() << "no row";
    if (!dialog_.WaitShown()) return ::testing::AssertionFailure() << "the dialog did not show";
    return ::testing::AssertionSuccess();
  }
  const e2e::MenuRowInfo* Row(const std::wstring& caption) {
    rows_ = e2e::ReadMenuBar(main_);
    return e2e::FindMenuRow(rows_, caption);
  }
  bool RowChecked(const std::wstring& caption) {
    const e2e::MenuRowInfo* row = Row(caption);
    return row && row->checked;
  }
  // The same on the bar as last read (a skinned bar is read by opening each of its items).
  const e2e::MenuRowInfo* LastRow(const std::wstring& caption) const { return e2e::FindMenuRow(rows_, caption); }
  bool LastRowChecked(const std::wstring& caption) const {
    const e2e::MenuRowInfo* row = LastRow(caption);
    return row && row->checked;
  }
  bool WaitForRow(const std::wstring& caption) {
    return e2e::WaitUntil([&] { return Row(caption) != nullptr; }, 10s);
  }
  std::string SavedSettings() {
    std::filesystem::remove(folder_ / "set");
    if (!e2e::ChooseMenuRow(main_, L"保存当前属性设置")) return {};
    e2e::WaitUntil([&] { return std::filesystem::exists(folder_ / "set"); }, 10s);
    e2e::WaitUntil([] { return false; }, 300ms);
    return e2e::ReadFile(folder_ / "set");
  }

  e2e::OptionsDialog dialog_{0};
  std::vector<e2e::MenuRowInfo> rows_;

  void SetUp() override {
    ProgramTest::SetUp();
    dialog_ = e2e::OptionsDialog(program_.ProcessId());
  }
};

TEST_F(OptionsDialogTest, EachOpeningRowShowsItsTabWithTheCurrentValues) {
  struct Opening {
    const wchar_t* row;
    int tab;  // -1: the tab shown before
  };
  const Opening openings[] = {
      {L"文本长度限制为 80000字符", id::kLengthTab}, {L"连续粘贴设置选项", id::kPasteTab},
      {L"属性设置。。。", -1},                      {L"连续复制设置选项。。。", id::kCopyTab},
      {L"热键定义为 F9", id::kPasteTab},            {L"跳格键设置为： TAB键", id::kPasteTab},
      {L"连续粘贴时，数据每次下移 1 条。。。", id::kPasteTab},
  };
  int shownTab = 0;
  for (const Opening& o : openings) {
    SCOPED_TRACE(e2e::Utf8(o.row));
    ASSERT_TRUE(Open(o.row));
    EXPECT_EQ(e2e::WindowText(dialog_.Window()), L"属性设置");
    const int expected = o.tab < 0 ? shownTab : o.tab;
    EXPECT_EQ(dialog_.ActiveTab(), expected);
    shownTab = dialog_.ActiveTab();
    EXPECT_EQ(dialog_.Text(id::Edit0), L"80000");
    EXPECT_EQ(dialog_.Text(id::Edit1), L"图标\\系统托盘主图标.ico");  // as "set" holds it
    EXPECT_EQ(dialog_.Text(id::Edit2), L" Quillora12.6");
    EXPECT_EQ(dialog_.Text(id::Edit3), L"1");
    EXPECT_EQ(dialog_.Text(id::Edit4), L"1");
    EXPECT_EQ(dialog_.ComboIndex(id::rejianComboBox1), 8);
    EXPECT_TRUE(dialog_.Checked(id::xiansiCheckBox1));
    ASSERT_TRUE(dialog_.Click(id::Button2));
    ASSERT_TRUE(dialog_.WaitHidden());
  }
}

using OptionsDialogInEachLook = e2e::InEachLook<OptionsDialogTest>;
INSTANTIATE_TEST_SUITE_P(Looks, OptionsDialogInEachLook, e2e::EachLook(), e2e::LookName);

TEST_P(OptionsDialogInEachLook, OkAppliesAtOnceSavesExactlyTheChangesAndANewStartKeepsThem) {
  const std::string before = SavedSettings();
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(Open(L"文本长度限制为 80000字符"));
  // Letters typed into a number field are dropped.
  dialog_.TypeInto(id::Edit0, L"1a2b");
  EXPECT_TRUE(dialog_.WaitText(id::Edit0, L"12"));
  ASSERT_TRUE(dialog_.ChooseTab(id::kIconTab));
  dialog_.TypeInto(id::Edit2, L"我的剪贴板");
  EXPECT_TRUE(dialog_.WaitText(id::Edit2, L"我的剪贴板"));
  ASSERT_TRUE(dialog_.ChooseTab(id::kTrayTab));
  ASSERT_TRUE(dialog_.Click(id::xiansiCheckBox1));
  ASSERT_TRUE(dialog_.ChooseTab(id::kPasteTab));
  ASSERT_TRUE(dialog_.Click(id::rejianCheckBox1));
  dialog_.ChooseComboItem(id::rejianComboBox1, 7);  // F8
  dialog_.ClickArrow(id::UpDown1, true);
  EXPECT_TRUE(dialog_.WaitText(id::Edit3, L"2"));
  ASSERT_TRUE(dialog_.Click(id::Button1));
  ASSERT_TRUE(dialog_.WaitHidden());

  // Applied at once: caption, menu captions and checks.
  EXPECT_EQ(e2e::WindowText(main_), L"我的剪贴板");
  EXPECT_TRUE(WaitForRow(L"文本长度限制为 12字符"));
  EXPECT_NE(LastRow(L"热键定义为 F8"), nullptr);
  EXPECT_NE(LastRow(L"连续粘贴时，数据每次下移 2 条。。。"), nullptr);
  EXPECT_TRUE(LastRowChecked(kPasteSwitch));
  EXPECT_FALSE(LastRowChecked(kTraySwitch));
  // The new text limit on the next captures: 12 characters are kept, 13 are not.
  Copy(L"一二三四五六七八九十ab");
  ASSERT_TRUE(e2e::SetClipboardText(L"一二三四五六七八九十abc"));
  e2e::WaitUntil([] { return false; }, 1500ms);
  EXPECT_EQ(e2e::ListRows(list_).size(), 4u);

  // The new paste key pastes into another program; the old one no longer does.
  {
    e2e::ForeignEditor editor;
    e2e::ClickListRow(list_, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::SelectedListRow(list_) == 0; }, 5s));
    e2e::WaitUntil([] { return false; }, 1s);
    ASSERT_TRUE(editor.Activate());
    e2e::Tap(VK_F9);
    e2e::WaitUntil([] { return false; }, 1500ms);
    EXPECT_EQ(editor.Text(), L"");
    ASSERT_TRUE(editor.Activate());
    e2e::Tap(VK_F8);
    EXPECT_TRUE(e2e::WaitUntil([&] { return editor.Text() == L"第一条"; }, 10s)) << e2e::Utf8(editor.Text());
  }

  // "保存当前属性设置" writes exactly the changed lines.
  const std::string after = SavedSettings();
  const std::map<int, std::string> expected = {
      {1, "12"}, {3, "\xCE\xD2\xB5\xC4\xBC\xF4\xCC\xF9\xB0\xE5"}, {4, "0"}, {5, "-1"}, {6, "7"}, {12, "2"}};
  EXPECT_EQ(ChangedLines(before, after), expected);

  // A new start shows the values and starts the saved switches.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(20s));
  ASSERT_TRUE(program_.Start(folder_));
  // The main window comes back under the new title.
  ASSERT_TRUE(e2e::WaitUntil([&] {
    main_ = e2e::FindProcessWindow(program_.ProcessId(), L"TForm1", L"我的剪贴板");
    return main_ && IsWindowVisible(main_);
  }, 30s));
  dialog_ = e2e::OptionsDialog(program_.ProcessId());
  if (SkinNumber() == e2e::kShippedSkin) WaitForShippedSkin();
  EXPECT_TRUE(WaitForRow(L"热键定义为 F8"));
  EXPECT_TRUE(LastRowChecked(kPasteSwitch));
  EXPECT_FALSE(LastRowChecked(kTraySwitch));
  ASSERT_TRUE(Open(L"连续粘贴设置选项"));
  EXPECT_EQ(dialog_.Text(id::Edit0), L"12");
  EXPECT_EQ(dialog_.Text(id::Edit3), L"2");
  EXPECT_EQ(dialog_.ComboIndex(id::rejianComboBox1), 7);
  EXPECT_TRUE(dialog_.Checked(id::rejianCheckBox1));
  EXPECT_FALSE(dialog_.Checked(id::xiansiCheckBox1));
}

TEST_F(OptionsDialogTest, TwinsFollowEachOtherAndCancelOrCloseApplyNothing) {
  ASSERT_TRUE(Open(L"连续复制设置选项。。。"));
  ASSERT_TRUE(dialog_.Click(id::fuziCheckBox1));
  EXPECT_TRUE(dialog_.Checked(id::fuziCheckBox1));
  // The copy tab's controls move the paste tab's twins.
  dialog_.ChooseComboItem(id::fuziComboBox1, 3);
  ASSERT_TRUE(dialog_.Click(id::fuzi_CheckBoxmyalt));
  ASSERT_TRUE(dialog_.Click(id::fuzi_zidongtiaodaoCheckBox));
  dialog_.ChooseComboItem(id::lianxvfuzitiaogeComboBox, 2);
  dialog_.ClickArrow(id::UpDown2, true);
  dialog_.ClickArrow(id::UpDown2, true);
  EXPECT_TRUE(dialog_.WaitText(id::Edit3, L"3"));
  dialog_.TypeInto(id::Edit4, L"17");
  EXPECT_TRUE(dialog_.WaitText(id::Edit3, L"17"));
  EXPECT_EQ(dialog_.ComboIndex(id::rejianComboBox1), 3);
  EXPECT_TRUE(dialog_.Checked(id::CheckBoxmyalt));
  EXPECT_TRUE(dialog_.Checked(id::zidongtiaodaoCheckBox));
  EXPECT_EQ(dialog_.ComboIndex(id::lianxvniantietiaogeComboBox), 2);
  // Checking continuous paste unchecks continuous copy, and back.
  ASSERT_TRUE(dialog_.ChooseTab(id::kPasteTab));
  ASSERT_TRUE(dialog_.Click(id::rejianCheckBox1));
  EXPECT_TRUE(dialog_.Checked(id::rejianCheckBox1));
  EXPECT_FALSE(dialog_.Checked(id::fuziCheckBox1));
  ASSERT_TRUE(dialog_.ChooseTab(id::kCopyTab));
  ASSERT_TRUE(dialog_.Click(id::fuziCheckBox1));
  EXPECT_FALSE(dialog_.Checked(id::rejianCheckBox1));
  // The paste tab's twins move the copy tab's.
  ASSERT_TRUE(dialog_.ChooseTab(id::kPasteTab));
  dialog_.ChooseComboItem(id::rejianComboBox1, 5);
  EXPECT_EQ(dialog_.ComboIndex(id::fuziComboBox1), 5);
  ASSERT_TRUE(dialog_.Click(id::CheckBoxmyalt));
  EXPECT_FALSE(dialog_.Checked(id::fuzi_CheckBoxmyalt));

  // Cancel applies nothing and puts the controls back.
  ASSERT_TRUE(dialog_.Click(id::Button2));
  ASSERT_TRUE(dialog_.WaitHidden());
  EXPECT_NE(Row(L"热键定义为 F9"), nullptr);
  EXPECT_FALSE(LastRowChecked(kCopySwitch));
  EXPECT_FALSE(LastRowChecked(kPasteSwitch));
  ASSERT_TRUE(Open(L"连续粘贴设置选项"));
  EXPECT_FALSE(dialog_.Checked(id::fuziCheckBox1));
  EXPECT_EQ(dialog_.ComboIndex(id::rejianComboBox1), 8);
  EXPECT_EQ(dialog_.Text(id::Edit3), L"1");

  // So does the close box.
  dialog_.TypeInto(id::Edit3, L"5");
  ASSERT_TRUE(dialog_.Click(id::rejianCheckBox1));
  PostMessageW(dialog_.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(dialog_.WaitHidden());
  EXPECT_FALSE(RowChecked(kPasteSwitch));
  EXPECT_NE(LastRow(L"连续粘贴时，数据每次下移 1 条。。。"), nullptr);
  ASSERT_TRUE(Open(L"连续粘贴设置选项"));
  EXPECT_FALSE(dialog_.Checked(id::rejianCheckBox1));
}

TEST_F(OptionsDialogTest, OkRefusesABadIconOrUnsavableTitleWholeAndTakesCapitalIco) {
  ASSERT_TRUE(Open(L"文本长度限制为 80000字符"));
  dialog_.TypeInto(id::Edit0, L"500");
  ASSERT_TRUE(dialog_.ChooseTab(id::kIconTab));
  dialog_.TypeInto(id::Edit1, L"C:\\没有这个图标.ico");
  ASSERT_TRUE(dialog_.Click(id::Button1));
  ASSERT_TRUE(e2e::WaitUntil(
      [&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"任务栏图标路径不存在，输入有误，请重新设置", IDOK); },
      10s));
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_NE(Row(L"文本长度限制为 80000字符"), nullptr) << "nothing applied";

  // An existing icon whose extension is in capitals is taken; a title "set" cannot hold is not.
  const std::filesystem::path capital = folder_ / L"图标" / L"大写.ICO";
  std::filesystem::copy_file(folder_ / L"图标" / L"系统托盘主图标.ico", capital);
  dialog_.TypeInto(id::Edit1, capital.wstring());
  dialog_.TypeInto(id::Edit2, L"标题ก");
  ASSERT_TRUE(dialog_.Click(id::Button1));
  ASSERT_TRUE(e2e::WaitUntil(
      [&] { return e2e::AnswerMessageBox(program_.ProcessId(), L"无法保存到set文件", IDOK); }, 10s));
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_NE(Row(L"文本长度限制为 80000字符"), nullptr);
  dialog_.TypeInto(id::Edit2, L"标题");
  ASSERT_TRUE(dialog_.Click(id::Button1));
  ASSERT_TRUE(dialog_.WaitHidden());
  EXPECT_TRUE(WaitForRow(L"文本长度限制为 500字符"));
  EXPECT_EQ(e2e::WindowText(main_), L"标题");
}

}  // namespace
