#include "app/explorer/explorer_options.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(ExplorerOptions, ValuesForEachSwitch) {
  auto values = ExplorerOptionValues(ExplorerOption::Extensions, true);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, u"HideFileExt");
  EXPECT_EQ(values[0].value, 0u);
  EXPECT_EQ(ExplorerOptionValues(ExplorerOption::Extensions, false)[0].value, 1u);
  values = ExplorerOptionValues(ExplorerOption::HiddenFiles, false);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, u"Hidden");
  EXPECT_EQ(values[0].value, 2u);  // unchecked writes 2 and 0
  EXPECT_EQ(values[1].name, u"ShowSuperHidden");
  EXPECT_EQ(values[1].value, 0u);
  values = ExplorerOptionValues(ExplorerOption::HiddenFiles, true);
  EXPECT_EQ(values[0].value, 1u);
  EXPECT_EQ(values[1].value, 1u);
  EXPECT_NE(ExplorerKeyMissingMessage(ExplorerOption::Extensions), ExplorerKeyMissingMessage(ExplorerOption::HiddenFiles));
}

TEST(ExplorerOptions, TheWalkActsOnExplorerWindowsOnly) {
  const std::vector<TopWindow> windows{{1, u"CabinetWClass"}, {2, u"Notepad"}, {3, u"cabinetwclass"},
                                       {4, u"CabinetWClassX"}, {5, u"Progman"}, {6, u""}};
  const auto other = PlanExplorerRefresh(windows, false);
  ASSERT_EQ(other.size(), 2u);
  EXPECT_EQ(other[0].handle, 1u);
  EXPECT_EQ(other[1].handle, 3u);
  EXPECT_EQ(other[0].action, RefreshAction::PostRefresh);
  const auto win7 = PlanExplorerRefresh(windows, true);
  ASSERT_EQ(win7.size(), 2u);
  EXPECT_EQ(win7[1].action, RefreshAction::ShowAndPressF5);
  EXPECT_TRUE(PlanExplorerRefresh(std::vector<TopWindow>{{9, u"Notepad"}}, true).empty());
  // A class name longer than the walk's buffer is cut there, so it never matches.
  EXPECT_TRUE(PlanExplorerRefresh(std::vector<TopWindow>{{9, std::u16string(300, u'C')}}, false).empty());
}

}  // namespace
}  // namespace app
