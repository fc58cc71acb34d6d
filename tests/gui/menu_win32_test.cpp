// Menus built from tables: what the native menu shows must follow the rows' state.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gui/menu.h"

namespace {

using gui::Menu;
using gui::MenuRowSpec;

const std::array<MenuRowSpec, 9> kRows = {{
    {0, u"file", u"文件", u""},
    {1, u"open", u"打开", u"openClick"},
    {1, u"later", u"以后再做", u"laterClick"},
    {1, u"", u"-", u""},
    {1, u"sounds", u"提示音", u"", gui::kMenuSubmenu},
    {2, u"none", u"无声", u"noneClick", gui::kMenuRadio},
    {2, u"beep", u"老式经典声", u"beepClick", gui::kMenuRadio | gui::kMenuChecked},
    {1, u"switch", u"开关", u"switchClick", gui::kMenuCheckable},
    {1, u"hidden", u"隐藏", u"hiddenClick", gui::kMenuHidden},
}};

std::wstring NativeCaption(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

UINT NativeState(HMENU menu, int position) { return GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION); }

HMENU FileMenu(const Menu& menu) { return GetSubMenu(menu.Handle(), 0); }

TEST(Menu, RowsWithoutABoundHandlerAreGreyedAndHiddenRowsAbsent) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  menu.Bind(u"openClick", [] {});
  HMENU file = FileMenu(menu);
  ASSERT_EQ(GetMenuItemCount(file), 5);  // the hidden row is not in the native menu
  EXPECT_EQ(NativeCaption(file, 0), L"打开");
  EXPECT_FALSE(NativeState(file, 0) & MF_GRAYED);
  EXPECT_TRUE(NativeState(file, 1) & MF_GRAYED);  // nobody bound laterClick
  menu.SetVisible(u"hidden", true);
  ASSERT_EQ(GetMenuItemCount(file), 6);
  EXPECT_EQ(NativeCaption(file, 5), L"隐藏");
}

TEST(Menu, SwitchesToggleAndRadioRowsExcludeEachOther) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  bool sawChecked = false;
  menu.Bind(u"switchClick", [&] { sawChecked = menu.Checked(u"switch"); });
  menu.Bind(u"noneClick", [] {});
  ASSERT_TRUE(menu.DispatchCommand(menu.At(u"switch").id));
  EXPECT_TRUE(sawChecked);  // the handler reads the new state
  EXPECT_TRUE(NativeState(FileMenu(menu), 4) & MF_CHECKED);

  menu.DispatchCommand(menu.At(u"none").id);
  EXPECT_TRUE(menu.Checked(u"none"));
  EXPECT_FALSE(menu.Checked(u"beep"));
  // Checking a radio row from code unchecks the others too.
  menu.SetChecked(u"beep", true);
  EXPECT_FALSE(menu.Checked(u"none"));
  HMENU sounds = GetSubMenu(FileMenu(menu), 3);
  EXPECT_FALSE(NativeState(sounds, 0) & MF_CHECKED);
  EXPECT_TRUE(NativeState(sounds, 1) & MF_CHECKED);
}

TEST(Menu, RowsAddedAtRunTimeAreChosenByTheirPlace) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  Menu::Row* sounds = menu.Find(u"sounds");
  int chosen = -1;
  for (int i = 0; i < 3; ++i) menu.InsertRow(sounds, -1, u"row " + std::u16string(1, u'0' + i), [&, i] { chosen = i; });
  menu.InsertRow(sounds, 0, u"first", [&] { chosen = 99; });
  HMENU native = GetSubMenu(FileMenu(menu), 3);
  ASSERT_EQ(GetMenuItemCount(native), 6);
  EXPECT_EQ(NativeCaption(native, 0), L"first");
  ASSERT_TRUE(menu.DispatchMenuCommand(native, 4));  // as WM_MENUCOMMAND reports it
  EXPECT_EQ(chosen, 1);
  menu.RemoveRow(menu.RowAt(sounds, 0));
  ASSERT_TRUE(menu.DispatchMenuCommand(native, 4));
  EXPECT_EQ(chosen, 2);
}

TEST(Menu, TextCaptionsShowNamesAsTheyStand) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  Menu::Row* file = menu.Find(u"file");
  int chosen = 0;
  Menu::Row* dash = menu.InsertRow(file, -1, u"-", [&] { chosen = 1; }, false, true);
  menu.InsertRow(file, -1, u"A&B", [&] { chosen = 2; }, false, true);
  HMENU native = FileMenu(menu);
  const int count = GetMenuItemCount(native);
  // A name "-" is a row that can be chosen, not a separator; "&" marks no accelerator.
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(native, static_cast<UINT>(count - 2), TRUE, &info));
  EXPECT_FALSE(info.fType & MFT_SEPARATOR);
  EXPECT_EQ(NativeCaption(native, count - 2), L"-");
  EXPECT_EQ(NativeCaption(native, count - 1), L"A&&B");
  EXPECT_EQ(menu.RowCaption(menu.RowAt(file, menu.IndexOf(dash) + 1)), u"A&B");
  ASSERT_TRUE(menu.DispatchMenuCommand(native, count - 2));
  EXPECT_EQ(chosen, 1);
}

TEST(Menu, ADeferredMenuBuildsItsNativeRowsOnlyWhenAsked) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  menu.SetDeferred(true);
  Menu::Row* root = nullptr;
  for (int i = 0; i < 1000; ++i) menu.InsertRow(root, -1, u"entry", [] {});
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 1);  // only the rows built before
  EXPECT_EQ(menu.RowCount(nullptr), 1001);
  menu.SetDeferred(false);
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 1001);
  EXPECT_EQ(GetMenuItemCount(FileMenu(menu)), 5);
}

TEST(Menu, VirtualRowsFollowTheirSourceAtEachBuildAndAreChosenByIndex) {
  Menu menu;
  menu.Build(Menu::Kind::Popup, kRows, 100);
  menu.SetDeferred(true);
  std::vector<std::u16string> entries{u"一", u"二", u"三"};
  std::vector<int> chosen;
  menu.SetVirtualRows({[&] { return static_cast<int>(entries.size()); },
                       [&](int i) { return u"条目" + entries[static_cast<size_t>(i)]; },
                       [&](int i) { chosen.push_back(i); }});
  menu.SetDeferred(false);
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 4);  // the one row of its own, then the source's
  EXPECT_EQ(NativeCaption(menu.Handle(), 0), L"文件");
  EXPECT_EQ(NativeCaption(menu.Handle(), 3), L"条目三");
  EXPECT_TRUE(menu.DispatchMenuCommand(menu.Handle(), 2));
  EXPECT_TRUE(menu.DispatchMenuCommand(menu.Handle(), 1));
  EXPECT_EQ(chosen, (std::vector<int>{1, 0}));

  // The source changes: after an invalidation the next build shows it, captions and count.
  entries = {u"甲", u"乙", u"丙", u"丁", u"戊"};
  menu.SetDeferred(true);
  menu.InvalidateVirtualRows();
  menu.SetDeferred(false);
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 6);
  EXPECT_EQ(NativeCaption(menu.Handle(), 1), L"条目甲");
  EXPECT_EQ(NativeCaption(menu.Handle(), 5), L"条目戊");
  EXPECT_GT(GetMenuItemCount(FileMenu(menu)), 0);  // the own rows' sub-menus keep their rows
  EXPECT_TRUE(menu.DispatchMenuCommand(menu.Handle(), 5));
  EXPECT_EQ(chosen.back(), 4);
}

}  // namespace
