// The main window's menu tables: the shape gui::Menu relies on, and the rows that
// other code finds by name, position or caption.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/mainform/main_menus.h"
#include "unicode/codepage.h"

namespace {

using gui::MenuRowSpec;

std::string U8(std::u16string_view text) { return unicode::Utf16ToUtf8(text); }

bool IsSeparator(const MenuRowSpec& row) { return row.caption == u"-"; }

struct Located {
  std::u16string_view menu;
  const MenuRowSpec* row;
  const MenuRowSpec* parent;  // null for a row of the menu itself
};

// Every row of every TForm1 menu with the sub-menu row it belongs to.
std::vector<Located> AllRows() {
  std::vector<Located> all;
  for (const auto& menu : app::MainWindowMenus()) {
    std::vector<const MenuRowSpec*> open;  // open[k]: the last row seen at level k
    for (const auto& row : menu.rows) {
      if (row.level < 0 || static_cast<size_t>(row.level) > open.size()) {
        ADD_FAILURE() << U8(menu.component) << ": bad level at " << U8(row.caption);
        return all;
      }
      open.resize(row.level);
      all.push_back({menu.component, &row, row.level == 0 ? nullptr : open.back()});
      open.push_back(&row);
    }
  }
  return all;
}

const Located* Find(const std::vector<Located>& all, std::u16string_view name) {
  for (const auto& r : all)
    if (r.row->name == name) return &r;
  return nullptr;
}

std::vector<const MenuRowSpec*> ChildrenOf(const std::vector<Located>& all, std::u16string_view name) {
  std::vector<const MenuRowSpec*> children;
  for (const auto& r : all)
    if (r.parent && r.parent->name == name) children.push_back(r.row);
  return children;
}

TEST(MainWindowMenus, NamesAreUniqueAcrossAllMenus) {
  std::set<std::u16string_view> names;
  for (const auto& r : AllRows()) {
    if (IsSeparator(*r.row)) continue;
    EXPECT_FALSE(r.row->name.empty()) << U8(r.row->caption);
    EXPECT_FALSE(r.row->caption.empty()) << U8(r.row->name);
    EXPECT_TRUE(names.insert(r.row->name).second) << "twice: " << U8(r.row->name);
  }
}

TEST(MainWindowMenus, TreeShapeIsWhatTheMenuBuilderExpects) {
  for (const auto& menu : app::MainWindowMenus()) {
    ASSERT_FALSE(menu.rows.empty());
    EXPECT_EQ(menu.rows.front().level, 0) << U8(menu.component);
    for (size_t i = 0; i < menu.rows.size(); ++i) {
      const MenuRowSpec& row = menu.rows[i];
      const bool has_children = i + 1 < menu.rows.size() && menu.rows[i + 1].level > row.level;
      if (i > 0) {
        EXPECT_LE(row.level, menu.rows[i - 1].level + 1) << U8(row.caption);
      }
      if (has_children) {
        EXPECT_TRUE(row.flags & gui::kMenuSubmenu) << U8(row.name);
      }
      if (row.flags & gui::kMenuSubmenu) {
        EXPECT_TRUE(row.handler.empty()) << U8(row.name);
      }
      if (IsSeparator(row)) {
        EXPECT_TRUE(row.handler.empty());
        EXPECT_EQ(row.flags, 0u);
        EXPECT_FALSE(has_children);
      }
    }
  }
  // The bar holds only drop-down menus.
  for (const auto& row : app::MainMenu1Rows())
    if (row.level == 0) {
      EXPECT_TRUE(row.flags & gui::kMenuSubmenu) << U8(row.caption);
    }
}

TEST(MainWindowMenus, EveryRowIsWiredToSomething) {
  constexpr unsigned kSwitchKinds = gui::kMenuCheckable | gui::kMenuHandlerChecks | gui::kMenuRadio;
  for (const auto& r : AllRows()) {
    const MenuRowSpec& row = *r.row;
    const unsigned kinds = row.flags & kSwitchKinds;
    EXPECT_TRUE(kinds == 0 || kinds == gui::kMenuCheckable || kinds == gui::kMenuHandlerChecks ||
                kinds == gui::kMenuRadio)
        << "mixed switch kinds: " << U8(row.name);
    if (row.flags & gui::kMenuChecked) {
      EXPECT_NE(kinds, 0u) << U8(row.name);
    }
    // The menu greys a row whose handler nobody bound: a switch without one could never change.
    if (!IsSeparator(row) && !(row.flags & gui::kMenuSubmenu)) {
      EXPECT_FALSE(row.handler.empty()) << U8(row.name);
    }
  }
}

TEST(MainWindowMenus, RadioGroupsHoldAtMostOneCheckedRow) {
  std::map<const MenuRowSpec*, int> checked;
  for (const auto& r : AllRows())
    if ((r.row->flags & gui::kMenuRadio) && (r.row->flags & gui::kMenuChecked)) ++checked[r.parent];
  for (const auto& [parent, count] : checked) {
    EXPECT_LE(count, 1) << U8(parent ? parent->name : u"");
  }
}

struct Expected {
  std::u16string_view name, caption, handler;
};

TEST(MainWindowMenus, RowsOtherCodeCallsOrReadsExist) {
  const Expected rows[] = {
      {u"congqidong", u"重启动本程序", u"congqidongClick"},
      {u"N162", u"重启动本程序", u"congqidongClick"},
      {u"cuangtisuofang", u"窗体启动缩放", u"cuangtisuofangClick"},
      {u"jiyicuangtidaxiao", u"记忆窗体大小", u"jiyicuangtidaxiaoClick"},
      {u"sangyige", u"上一个", u"sangyigeClick"},
      {u"xiayige", u"下一个", u"xiayigeClick"},
      {u"dinbu", u"顶", u"dinbuClick"},
      {u"dibu", u"底 ", u"dibuClick"},
      {u"N229", u"倒序排列", u"N229Click"},
      {u"N27", u"部分删除_保留勾", u"N27Click"},
      {u"N28", u"单项删除", u"N28Click"},
      {u"qinkongliebiao", u"全部删除（清空列表框）", u"qinkongliebiaoClick"},
      {u"mu_quanze", u"全部选择", u"mu_quanzeClick"},
      {u"mu_fanze", u"反向选择", u"mu_fanzeClick"},
      {u"N236", u"左侧打钩的所有选项合并为一条文本", u"N236Click"},
      {u"menujianqielisi", u"本次剪切板历史文本总集", u"menujianqielisiClick"},
      {u"dakai", u"(打开文件夹有效)", u"dakaiClick"},
      {u"menuinter", u"(打开网络地址有效)", u"menuinterClick"},
      {u"menutop", u"(窗口保持最前面)", u"menutopClick"},
      {u"menuyouxiao", u"(剪切板监视有效)", u"menuyouxiaoClick"},
      {u"tuopanjiansi", u"监视剪切板", u"menuyouxiaoClick"},
      {u"xiayistep", u"连续粘贴时，数据每次下移 1 条。。。", u"menurejiandinyiClick"},
      {u"tianjiadaogudintiaomu", u"添加到固定条目（收藏夹）", u"tianjiadaogudintiaomuClick"},
      {u"fasongwenben", u"向目标控件发送文本", u"fasongwenbenClick"},
  };
  const auto all = AllRows();
  for (const auto& e : rows) {
    const Located* r = Find(all, e.name);
    ASSERT_NE(r, nullptr) << U8(e.name);
    EXPECT_EQ(r->row->caption, e.caption) << U8(e.name);
    EXPECT_EQ(r->row->handler, e.handler) << U8(e.name);
  }
}

// The settings file stores the check marks of these rows; the defaults apply when it is missing.
TEST(MainWindowMenus, StoredSwitchesHaveTheirDefaultState) {
  const std::pair<std::u16string_view, bool> stored[] = {
      {u"bujilucongfu", true},        {u"lianxvfuzi", false},          {u"diaoyongkuaisu", true},
      {u"kaiqigudinkuaijie", false},  {u"jiansitupiangesi", true},     {u"ziciwordhtm", true},
      {u"zidongniantie", false},      {u"danjihoucuxiantisi", true},   {u"qidongjiazaisangcibaocun", true},
      {u"jiyicuangtidaxiao", false},  {u"zisexvkuang", true},          {u"menu_tuicubaocunweisujuku", false},
      {u"lianxvniantie", false},      {u"wusen", false},               {u"laosisen", false},
      {u"Windowsminzong", true},      {u"xiansituopan", true},
  };
  const auto all = AllRows();
  for (const auto& [name, on] : stored) {
    const Located* r = Find(all, name);
    ASSERT_NE(r, nullptr) << U8(name);
    EXPECT_NE(r->row->flags & (gui::kMenuCheckable | gui::kMenuHandlerChecks | gui::kMenuRadio), 0u) << U8(name);
    EXPECT_EQ((r->row->flags & gui::kMenuChecked) != 0, on) << U8(name);
  }
  // The three sounds are one radio group.
  EXPECT_EQ(Find(all, u"wusen")->parent, Find(all, u"Windowsminzong")->parent);
}

TEST(MainWindowMenus, TrayMenuHasSixFixedRowsBeforeTheEntries) {
  std::vector<const MenuRowSpec*> top;
  for (const auto& row : app::PopupMenu2Rows())
    if (row.level == 0) top.push_back(&row);
  ASSERT_EQ(top.size(), 6u);  // TrayEntryBase
  EXPECT_EQ(top[0]->name, u"tuopanjiansi");
  EXPECT_EQ(top[2]->caption, u"系统操作");
  EXPECT_EQ(top[4]->name, u"tuopantuicu");
  EXPECT_EQ(top[4]->caption, u"退出（本软件）");
  EXPECT_TRUE(IsSeparator(*top[5]));
}

TEST(MainWindowMenus, RecentFilesFollowThreeFixedRows) {
  const auto all = AllRows();
  const Located* menu = Find(all, u"menuzuijinwenjian");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->row->caption, u"最近打开过的文件  ");
  const auto children = ChildrenOf(all, u"menuzuijinwenjian");
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0]->caption, u"清空历史文件");
  EXPECT_TRUE(IsSeparator(*children[1]));
  EXPECT_EQ(children[2]->name, u"menujianqielisi");
}

TEST(MainWindowMenus, SubmenusFilledAtRunTimeAreEmptySubmenus) {
  const auto all = AllRows();
  for (std::u16string_view name : {u"menudakaisujuhe", u"bianjiwosu", u"menu_cenxvkuaijie", u"zuanyidaosuqian",
                                   u"gudintiaomu"}) {
    const Located* r = Find(all, name);
    ASSERT_NE(r, nullptr) << U8(name);
    EXPECT_TRUE(r->row->flags & gui::kMenuSubmenu) << U8(name);
    EXPECT_TRUE(ChildrenOf(all, name).empty()) << U8(name);
  }
  EXPECT_EQ(Find(all, u"zuanyidaosuqian")->menu, u"PopupMenu1");
}

TEST(MainWindowMenus, SkinRowsFollowTheSkinNumber) {
  const std::u16string_view handlers[] = {
      u"jindianClick",     u"xinsilvpiClick",   u"danhuangClick",      u"kulanClick",       u"yabaiClick",
      u"lanseofficeClick", u"baicangkuClick",   u"baidianqinkuClick",  u"baihupokuClick",   u"baihuangkuClick",
      u"bailankuClick",    u"bailanhuangkuClick", u"bailianglvClick", u"bailvkuClick"};
  const auto all = AllRows();
  const Located* classic = Find(all, u"jindian");
  ASSERT_NE(classic, nullptr);
  std::vector<std::u16string_view> skins;
  for (const auto& r : all)
    if (r.parent == classic->parent && (r.row->flags & gui::kMenuRadio)) skins.push_back(r.row->handler);
  EXPECT_EQ(skins, std::vector<std::u16string_view>(std::begin(handlers), std::end(handlers)));
}

TEST(MainWindowMenus, SubroutineRowsLiveInTheHiddenMenu) {
  const auto all = AllRows();
  const Located* hidden = Find(all, u"qidongyincang");
  ASSERT_NE(hidden, nullptr);
  EXPECT_EQ(hidden->menu, u"MainMenu1");
  EXPECT_EQ(hidden->row->level, 0);
  EXPECT_EQ(hidden->row->caption, u"  启动时隐藏  ");
  EXPECT_TRUE(hidden->row->flags & gui::kMenuHidden);
  for (std::u16string_view name : {u"cuangtisuofang", u"huodejianqiebao", u"jianqiebaohuifu", u"daoruutf8zi",
                                   u"baocunutf8zi", u"tupianbaocunzi", u"myimageszancunzi", u"cenxvkuaijiedongtai"}) {
    const Located* r = Find(all, name);
    ASSERT_NE(r, nullptr) << U8(name);
    EXPECT_EQ(r->parent, hidden->row) << U8(name);
  }
  // Nothing else is hidden: a hidden row elsewhere would be a command the user cannot reach.
  for (const auto& r : all)
    if (r.row != hidden->row) {
      EXPECT_FALSE(r.row->flags & gui::kMenuHidden) << U8(r.row->name);
    }
}

}  // namespace
