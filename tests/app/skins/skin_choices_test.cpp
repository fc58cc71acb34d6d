#include "app/skins/skin_choices.h"

#include <gtest/gtest.h>

#include <set>

#include "app/mainform/main_menus.h"

namespace {

TEST(SkinChoices, FourteenNumbersWithTheirRowsHandlersAndFiles) {
  const auto choices = app::SkinChoices();
  ASSERT_EQ(choices.size(), 14u);
  std::set<std::u16string_view> files;
  for (size_t i = 0; i < choices.size(); ++i) {
    EXPECT_EQ(choices[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(std::u16string(choices[i].row) + u"Click", choices[i].handler);
    if (i > 0) files.insert(choices[i].file);
  }
  EXPECT_EQ(files.size(), 13u);
  EXPECT_TRUE(choices[0].file.empty());
  EXPECT_EQ(app::SkinChoiceFor(4)->file, u"mxskin39.skn");
  EXPECT_EQ(app::SkinChoiceFor(0), nullptr);
  EXPECT_EQ(app::SkinChoiceFor(15), nullptr);
}

TEST(SkinChoices, EveryChoiceIsARadioRowOfTheSkinsMenuInNumberOrder) {
  std::vector<std::u16string_view> rows;
  bool inSkins = false;
  for (const gui::MenuRowSpec& row : app::MainMenu1Rows()) {
    if (row.level == 0) inSkins = row.caption == u"皮肤";
    else if (inSkins && row.level == 1 && row.caption != u"-") {
      EXPECT_TRUE(row.flags & gui::kMenuRadio);
      rows.push_back(row.name);
    }
  }
  ASSERT_EQ(rows.size(), 14u);
  for (const app::SkinChoice& choice : app::SkinChoices()) {
    EXPECT_EQ(rows[static_cast<size_t>(choice.number - 1)], choice.row);
  }
}

TEST(SkinChoices, FilePathsAndTheTextsOfTheErrorBox) {
  EXPECT_EQ(app::SkinFilePath(u"C:\\程序", 6), u"C:\\程序\\皮肤\\蓝色office_office2003.skn");
  EXPECT_EQ(app::SkinFilePath(u"C:\\程序", 1), u"");
  EXPECT_EQ(app::SkinFilePath(u"C:\\程序", 99), u"");
  const std::u16string path = u"C:\\程序\\皮肤\\mxskin9.skn";
  EXPECT_NE(app::MissingSkinText(path).find(path), std::u16string::npos);
  const std::u16string refused = app::RefusedSkinText(path, u"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(refused.rfind(u"This is Older Skin File", 0), 0u);  // the reader's own text first
  EXPECT_NE(refused.find(path), std::u16string::npos);
}

}  // namespace
