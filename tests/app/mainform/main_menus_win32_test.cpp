// The menu tables built into real Win32 menus by gui::Menu.
#include <gtest/gtest.h>

#include "app/mainform/main_menus.h"
#include "gui/menu.h"

namespace {

TEST(MainWindowMenusWin32, TablesBuildIntoNativeMenus) {
  int first_id = 1000;
  for (const auto& table : app::MainWindowMenus()) {
    gui::Menu menu;
    const bool bar = table.component == u"MainMenu1";
    menu.Build(bar ? gui::Menu::Kind::Bar : gui::Menu::Kind::Popup, table.rows, first_id);
    first_id += 1000;
    int visible_top = 0;
    for (const auto& row : table.rows) {
      if (!row.name.empty()) {
        EXPECT_NE(menu.Find(row.name), nullptr);
      }
      if (row.level == 0 && !(row.flags & gui::kMenuHidden)) ++visible_top;
    }
    // The hidden menu takes no place on the bar; the tray's fixed rows are all there.
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), visible_top);
    EXPECT_EQ(menu.RowCount(nullptr), bar ? visible_top + 1 : visible_top);
  }
}

TEST(MainWindowMenusWin32, RunTimeRowsGoBelowTheirSubmenu) {
  gui::Menu menu;
  menu.Build(gui::Menu::Kind::Bar, app::MainMenu1Rows(), 1000);
  gui::Menu::Row* recent = menu.Find(u"menuzuijinwenjian");
  ASSERT_NE(recent, nullptr);
  menu.InsertRow(recent, -1, u"a.txt", [] {});
  EXPECT_EQ(menu.RowCount(recent), 4);
  EXPECT_EQ(menu.RowCaption(menu.RowAt(recent, 3)), u"a.txt");
  gui::Menu::Row* databox = menu.Find(u"menudakaisujuhe");
  ASSERT_NE(databox, nullptr);
  menu.InsertRow(databox, -1, u"笔记.txt", [] {});
  EXPECT_EQ(menu.RowCount(databox), 1);
}

}  // namespace
