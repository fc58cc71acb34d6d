#include "app/commands/folder_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "app/commands/help_rows.h"

namespace app {
namespace {

const auto kExists = [](const std::u16string& path) { return path.starts_with(u"C:\\有"); };

TEST(BatchOpen, OpensCheckedFoldersAndRecordsTheMissing) {
  const BatchOpenPlan plan = PlanBatchOpen({u"  C:\\有\\a  ", u"C:\\无\\b", u"C:\\有\\c", u"C:\\有\\d"},
                                           {true, true, false, true}, kExists);
  EXPECT_EQ(plan.folders, (std::vector<std::u16string>{u"C:\\有\\a", u"C:\\有\\d"}));
  EXPECT_EQ(plan.memoText, u"打开失败  C:\\无\\b\r\n");
  EXPECT_EQ(plan.message, u"打开有失败，请查看下方编辑框记录");
}

TEST(BatchOpen, AllOpenedNoneOpenedAndNoneChecked) {
  EXPECT_EQ(PlanBatchOpen({u"C:\\有"}, {true}, kExists).message, u"全部成功打开");
  EXPECT_EQ(PlanBatchOpen({u"C:\\无"}, {true}, kExists).message, u"一个都没打开");
  // No checked row opens nothing: it is not "all opened".
  const BatchOpenPlan none = PlanBatchOpen({u"C:\\有"}, {false}, kExists);
  EXPECT_EQ(none.message, u"一个都没打开");
  EXPECT_TRUE(none.folders.empty());
  EXPECT_TRUE(none.memoText.empty());
}

TEST(FolderArguments, QuotedAndTrimmed) {
  EXPECT_EQ(ExplorerFolderArguments(u"C:\\a b,c"), u"/n,\"C:\\a b,c\"");
  EXPECT_EQ(ExplorerSelectArguments(u"C:\\a b,c.txt"), u"/select,\"C:\\a b,c.txt\"");
  EXPECT_EQ(TrimText(u"\t x y \r\n"), u"x y");
  EXPECT_EQ(TrimText(u"   "), u"");
}

TEST(HelpRows, EveryHandlerOnceWithATarget) {
  std::set<std::u16string_view> handlers;
  for (const HelpRow& row : HelpRows()) {
    EXPECT_TRUE(handlers.insert(row.handler).second);
    EXPECT_FALSE(row.target.empty());
    if (row.kind == HelpRowKind::HelpText) EXPECT_TRUE(row.target.ends_with(u".txt"));
    if (row.kind == HelpRowKind::WebPage) EXPECT_TRUE(row.target.starts_with(u"https://"));
  }
  EXPECT_EQ(handlers.size(), 12u);
}

}  // namespace
}  // namespace app
