// The menus of the main window TForm1 as data: the menu bar, the history list's
// context menu and the tray menu. gui::Menu builds the real menus from these tables;
// the handlers are bound by name.
//
// Rows made at run time are not in the tables, only the sub-menus that receive them:
// the recent files (appended to `menuzuijinwenjian` after its three fixed rows), the
// data-box files (`menudakaisujuhe`, `bianjiwosu`), the program shortcuts
// (`menu_cenxvkuaijie`), the bookmarks (`zuanyidaosuqian`), the fixed entries
// (`gudintiaomu`, whose rows are all removed on every reload) and the history entries
// of the tray menu (appended to `PopupMenu2` after its six fixed rows, so that entry i
// is item i + TrayEntryBase).
//
// The bar's last menu, "  启动时隐藏  " (`qidongyincang`), is never shown: its rows
// name routines that the program runs itself (scaling, snapshot capture and restore,
// list readers and writers, picture saving, the shortcut menu builder).
#pragma once

#include <span>
#include <string_view>

#include "gui/menu_spec.h"

namespace app {

std::span<const gui::MenuRowSpec> MainMenu1Rows();   // the menu bar; level 0 = bar items
std::span<const gui::MenuRowSpec> PopupMenu1Rows();  // context menu of the history list
std::span<const gui::MenuRowSpec> PopupMenu2Rows();  // tray menu: its fixed rows only

struct MainWindowMenu {
  std::u16string_view component;  // u"MainMenu1", u"PopupMenu1", u"PopupMenu2"
  std::span<const gui::MenuRowSpec> rows;
};

// Every menu component of TForm1, bar first. Row names are unique across all of them.
std::span<const MainWindowMenu> MainWindowMenus();

}  // namespace app
