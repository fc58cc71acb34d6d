// Owner-drawn menu rows (a skin draws them): a switch retypes the rows of an ordinary menu at
// once, while a deferred menu (one row per history entry) only gets them when it is built.
#include <gtest/gtest.h>

#include <array>

#include "gui/menu.h"

namespace {

const std::array<gui::MenuRowSpec, 3> kRows = {{
    {0, u"watch", u"监视剪切板", u"watchClick", gui::kMenuCheckable},
    {0, u"", u"-", u""},
    {0, u"quit", u"退出", u"quitClick"},
}};

UINT TypeAt(HMENU menu, int position) {
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  return info.fType;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

TEST(MenuOwnerDraw, RowsOfAnOrdinaryMenuAreRetypedAndKeepTheirTexts) {
  gui::Menu menu;
  menu.Build(gui::Menu::Kind::Popup, kRows, 100);
  menu.SetOwnerDraw(true);
  EXPECT_TRUE(TypeAt(menu.Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_TRUE(TypeAt(menu.Handle(), 1) & MFT_SEPARATOR);
  wchar_t text[32] = {};
  GetMenuStringW(menu.Handle(), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"监视剪切板");
  menu.SetChecked(u"watch", true);  // an update keeps the row owner-drawn
  EXPECT_TRUE(TypeAt(menu.Handle(), 0) & MFT_OWNERDRAW);
  menu.SetOwnerDraw(false);
  EXPECT_FALSE(TypeAt(menu.Handle(), 0) & MFT_OWNERDRAW);
}

TEST(MenuOwnerDraw, ADeferredMenuGetsThemWhenItIsBuilt) {
  gui::Menu menu;
  menu.Build(gui::Menu::Kind::Popup, kRows, 100);
  menu.SetDeferred(true);
  menu.SetVirtualRows({[] { return 2000; }, [](int i) { return u"条目 " + std::u16string(1, u'0' + i % 10); },
                       [](int) {}});
  const DWORD start = GetTickCount();
  menu.SetOwnerDraw(true);
  EXPECT_LT(GetTickCount() - start, 50u);  // no row is touched by the switch
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 3);  // not built yet: the fixed rows only
  HWND owner = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetTimer(nullptr, 0, 200, &CloseMenu);
  menu.Popup(owner, 0, 0);
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 3 + 2000);
  EXPECT_TRUE(TypeAt(menu.Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_TRUE(TypeAt(menu.Handle(), 3 + 1999) & MFT_OWNERDRAW);
  DestroyWindow(owner);
}

}  // namespace
