// The options dialog's OK rules and the captions of the rows that show the settings.
#include <gtest/gtest.h>

#include "windows/options_captions.h"
#include "windows/options_rules.h"

namespace windows {
namespace {

TEST(OptionsRules, TextLimitFallsBackTo300000OutsideItsRangeOrWithoutANumber) {
  EXPECT_EQ(TextLimitFromField(u"0"), 300000);
  EXPECT_EQ(TextLimitFromField(u"320000"), 320000);
  EXPECT_EQ(TextLimitFromField(u"320001"), 300000);
  EXPECT_EQ(TextLimitFromField(u""), 300000);
  EXPECT_EQ(TextLimitFromField(u"1"), 1);
  EXPECT_EQ(TextLimitFromField(u"999999"), 300000);
  EXPECT_EQ(TextLimitFromField(u"12a"), 300000);  // pasted, not typed: no number
}

TEST(OptionsRules, StepsOutside1To50InEitherBoxGiveBoth1) {
  EXPECT_EQ(StepFromFields(u"0", u"0"), 1);
  EXPECT_EQ(StepFromFields(u"51", u"51"), 1);
  EXPECT_EQ(StepFromFields(u"", u""), 1);
  EXPECT_EQ(StepFromFields(u"50", u"50"), 50);
  EXPECT_EQ(StepFromFields(u"7", u"7"), 7);
  EXPECT_EQ(StepFromFields(u"7", u"51"), 1);
  EXPECT_EQ(StepFromFields(u"0", u"7"), 1);
  EXPECT_EQ(StepFromField(u"1"), 1);
  EXPECT_FALSE(StepFromField(u"-1"));
}

TEST(OptionsRules, HotKeyCodeIsIndexPlus112) {
  EXPECT_EQ(HotKeyCodeOf(0), 112);   // F1
  EXPECT_EQ(HotKeyCodeOf(8), 120);   // F9
  EXPECT_EQ(HotKeyCodeOf(11), 123);  // F12
}

TEST(OptionsCaptions, EveryFormOfTheFourRows) {
  EXPECT_EQ(TextLengthCaption(80000), u"文本长度限制为 80000字符");
  EXPECT_EQ(TextLengthCaption(300000), u"文本长度限制为 300000字符");
  EXPECT_EQ(HotKeyCaption(8, false), u"热键定义为 F9");
  EXPECT_EQ(HotKeyCaption(0, true), u"热键定义为 Alt+F1");
  EXPECT_EQ(HotKeyCaption(11, false), u"热键定义为 F12");
  EXPECT_EQ(JumpKeyCaption(0), u"跳格键设置为： TAB键");
  EXPECT_EQ(JumpKeyCaption(1), u"跳格键设置为： 方向键(→)");
  EXPECT_EQ(JumpKeyCaption(2), u"跳格键设置为： 回车键Enter");
  EXPECT_EQ(JumpKeyCaption(-1), u"跳格键设置为： 回车键Enter");
  EXPECT_EQ(PasteStepCaption(1), u"连续粘贴时，数据每次下移 1 条。。。");
  EXPECT_EQ(PasteStepCaption(50), u"连续粘贴时，数据每次下移 50 条。。。");
  EXPECT_EQ(HotKeyName(12), u"");
}

TEST(OptionsRules, PastePositionMovesFromTheOldStepToTheNewOneAndNeverBelow0) {
  // Rows 0 and 2 pasted with step 2: the position is 4, row 2 still selected.
  EXPECT_EQ(RebasePastePosition(4, 2, 2, 5), 7);
  EXPECT_EQ(RebasePastePosition(4, 2, 2, 1), 3);
  // The selected row is the position (a click chose it, nothing pasted since): unchanged.
  EXPECT_EQ(RebasePastePosition(3, 3, 2, 5), 3);
  // A position that the new, smaller step would put before the first row.
  EXPECT_EQ(RebasePastePosition(1, 0, 5, 1), 0);
  EXPECT_EQ(RebasePastePosition(-1, 0, 3, 1), 0);
}

TEST(OptionsRules, WhichSwitchHandlerRuns) {
  // Paste changed alone: its handler runs, whichever way.
  EXPECT_EQ(DecideSwitches(true, false, false, false), (SwitchChanges{true, false}));
  EXPECT_EQ(DecideSwitches(false, true, false, false), (SwitchChanges{true, false}));
  // Copy changed alone.
  EXPECT_EQ(DecideSwitches(false, false, true, false), (SwitchChanges{false, true}));
  EXPECT_EQ(DecideSwitches(false, false, false, true), (SwitchChanges{false, true}));
  // Both changed: only the checked one's handler runs.
  EXPECT_EQ(DecideSwitches(true, false, false, true), (SwitchChanges{true, false}));
  EXPECT_EQ(DecideSwitches(false, true, true, false), (SwitchChanges{false, true}));
  // Nothing changed.
  EXPECT_EQ(DecideSwitches(true, true, false, false), (SwitchChanges{false, false}));
}

TEST(OptionsRules, OkRefusesBeforeAnythingIsApplied) {
  EXPECT_EQ(RefuseOk(u"C:\\a.ico", false, u"t"), optionstext::kBadIconPath);
  EXPECT_EQ(RefuseOk(u"C:\\a.bmp", true, u"t"), optionstext::kBadIconPath);
  EXPECT_EQ(RefuseOk(u"C:\\A.ICO", true, u"t"), std::nullopt);
  EXPECT_EQ(RefuseOk(u"C:\\图标\\a.Ico", true, u""), std::nullopt);  // an empty title keeps the old one
  EXPECT_EQ(RefuseOk(u"C:\\a.ico", true, u"标题ก"), optionstext::kUnsavableText);
  EXPECT_EQ(RefuseOk(u"C:\\한\\a.ico", true, u"标题"), optionstext::kUnsavableText);
  EXPECT_TRUE(HasIconExtension(u"x.iCO"));
  EXPECT_FALSE(HasIconExtension(u"ico"));
  EXPECT_FALSE(HasIconExtension(u"x.icon"));
}

}  // namespace
}  // namespace windows
