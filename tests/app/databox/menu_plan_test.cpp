// The plan of the data-box and shortcut menus, made from folder trees in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/databox/folder_listing.h"
#include "app/databox/menu_plan.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using Kind = MenuPlanRow::Kind;

class MenuPlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(QUILL_SCRATCH_DIR) / ("menu-plan-" + std::string(
                                                              ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  void File(const fs::path& relative) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << "x";
  }
  std::u16string Root() const { return root_.u16string(); }
  std::u16string Path(std::initializer_list<std::u16string> parts) const {
    std::u16string path = Root();
    for (const std::u16string& part : parts) path = JoinPath(path, part);
    return path;
  }
  static std::vector<std::u16string> Captions(const std::vector<MenuPlanRow>& rows) {
    std::vector<std::u16string> captions;
    for (const MenuPlanRow& row : rows) captions.push_back(row.kind == Kind::Separator ? u"-" : row.caption);
    return captions;
  }
  fs::path root_;
};

TEST_F(MenuPlanTest, FolderFoundLastStandsFirstAboveTheFiles) {
  // Made in an order of their own: the walk takes NTFS's order, A before B.
  File(u"B/b1.txt");
  File(u"A/a1.txt");
  File(u"A/a2.TXT");
  File(u"A/notes.doc");
  File(u"top.txt");
  File(u"Z/A.txt");
  fs::create_directories(root_ / "empty");
  const std::vector<MenuPlanRow> folders = PlanFolderRows(Root(), MenuFileKind::DataBoxText);
  const std::vector<MenuPlanRow> files = PlanFileRows(Root(), MenuFileKind::DataBoxText);
  EXPECT_EQ(Captions(folders), (std::vector<std::u16string>{u"Z", u"-", u"empty", u"-", u"B", u"-", u"A", u"-"}));
  EXPECT_EQ(Captions(files), (std::vector<std::u16string>{u"top.txt", u"-"}));
  const MenuPlanRow& a = folders[6];
  EXPECT_EQ(a.kind, Kind::Folder);
  EXPECT_EQ(a.path, Path({u"A"}));
  EXPECT_EQ(Captions(a.children), (std::vector<std::u16string>{u"a1.txt", u"-", u"a2.TXT", u"-"}));
  EXPECT_EQ(a.children[2].path, Path({u"A", u"a2.TXT"}));
  EXPECT_TRUE(folders[2].children.empty());
}

TEST_F(MenuPlanTest, SubFoldersOfASubFolderStandAboveItsFiles) {
  File(u"A/inner/deep.txt");
  File(u"A/a.txt");
  const std::vector<MenuPlanRow> folders = PlanFolderRows(Root(), MenuFileKind::DataBoxText);
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(Captions(folders[0].children), (std::vector<std::u16string>{u"inner", u"-", u"a.txt", u"-"}));
  EXPECT_EQ(folders[0].children[0].children[0].path, Path({u"A", u"inner", u"deep.txt"}));
}

TEST_F(MenuPlanTest, ShortcutsShowWithoutExtensionAndKeepTheirPath) {
  File(u"工具/记事本.lnk");
  File(u"工具/A&B.lnk");
  File(u"工具/-.lnk");
  File(u"计算器.LNK");
  File(u"说明.txt");
  const std::vector<MenuPlanRow> folders = PlanFolderRows(Root(), MenuFileKind::Shortcut);
  const std::vector<MenuPlanRow> files = PlanFileRows(Root(), MenuFileKind::Shortcut);
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0].caption, u"工具");
  EXPECT_EQ(Captions(folders[0].children),
            (std::vector<std::u16string>{u"-", u"-", u"A&B", u"-", u"记事本", u"-"}));
  // A shortcut named "-" is a file row, not a separator; "&" stays in caption and path.
  EXPECT_EQ(folders[0].children[0].kind, Kind::File);
  EXPECT_EQ(folders[0].children[2].path, Path({u"工具", u"A&B.lnk"}));
  EXPECT_EQ(folders[0].children[4].path, Path({u"工具", u"记事本.lnk"}));
  EXPECT_EQ(Captions(files), (std::vector<std::u16string>{u"计算器", u"-"}));
}

TEST_F(MenuPlanTest, MissingOrEmptyFoldersGiveNoRows) {
  EXPECT_TRUE(PlanFolderRows(Path({u"没有"}), MenuFileKind::DataBoxText).empty());
  EXPECT_TRUE(PlanFileRows(Path({u"没有"}), MenuFileKind::Shortcut).empty());
  EXPECT_TRUE(PlanFolderRows(Root(), MenuFileKind::DataBoxText).empty());
  EXPECT_TRUE(PlanFileRows(Root(), MenuFileKind::DataBoxText).empty());
}

TEST_F(MenuPlanTest, NamesInNtfsOrder) {
  EXPECT_TRUE(NtfsNameLess(u"a", u"B"));
  EXPECT_TRUE(NtfsNameLess(u"A", u"b"));
  EXPECT_FALSE(NtfsNameLess(u"b", u"A"));
  EXPECT_TRUE(NtfsNameLess(u"ab", u"AB1"));
  EXPECT_TRUE(NtfsNameLess(u"a", u"_x"));  // upper-cased, letters come before the underscore
  EXPECT_TRUE(NtfsNameLess(u"z", u"中"));
  EXPECT_TRUE(HasExtension(u"x.TxT", u".txt"));
  EXPECT_FALSE(HasExtension(u"x.txt.bak", u".txt"));
}

TEST_F(MenuPlanTest, DeepTreesStopAt32Levels) {
  fs::path deep;
  for (int i = 0; i < 40; ++i) deep /= "d";
  File(deep / "bottom.txt");
  const std::vector<MenuPlanRow>* rows = nullptr;
  const std::vector<MenuPlanRow> top = PlanFolderRows(Root(), MenuFileKind::DataBoxText);
  rows = &top;
  int levels = 0;
  while (!rows->empty() && (*rows)[0].kind == Kind::Folder) {
    ++levels;
    rows = &(*rows)[0].children;
  }
  EXPECT_EQ(levels, kMaxMenuFolderDepth);
}

#ifndef _WIN32
TEST_F(MenuPlanTest, AFolderLinkBackUpIsNotEnteredAgain) {
  File(u"A/a.txt");
  fs::create_directory_symlink(root_, root_ / "A" / "loop");
  const std::vector<MenuPlanRow> folders = PlanFolderRows(Root(), MenuFileKind::DataBoxText);
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(Captions(folders[0].children), (std::vector<std::u16string>{u"a.txt", u"-"}));
}
#endif

}  // namespace
}  // namespace app
