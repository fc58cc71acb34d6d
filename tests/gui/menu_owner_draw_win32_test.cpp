// Owner-drawn popup rows, shortcuts and the default row, and virtual rows in pages that are
// built as they open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gdi.h"
#include "gui/menu.h"
#include "gui/menu_pages.h"

namespace {

using gui::Menu;
using gui::MenuRowSpec;

const MenuRowSpec kRows[] = {
    {0, u"file", u"文件", u""},
    {1, u"open", u"打开(&O)", u"openClick"},
    {1, u"", u"-", u""},
    {1, u"save", u"保存", u"saveClick", gui::kMenuCheckable | gui::kMenuChecked},
};

MENUITEMINFOW Info(HMENU menu, int position, std::wstring& text) {
  text.assign(256, L'\0');
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
  info.dwTypeData = text.data();
  info.cch = 255;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  text.resize(wcslen(text.c_str()));
  return info;
}

std::wstring Text(HMENU menu, int position) {
  std::wstring text;
  Info(menu, position, text);
  return text;
}

TEST(OwnerDrawnMenu, PopupRowsAreDrawnByThePainterAndKeepTheirText) {
  Menu menu;
  menu.Build(Menu::Kind::Bar, kRows, 100);
  std::wstring text;
  const MENUITEMINFOW bar = Info(menu.Handle(), 0, text);
  EXPECT_EQ(bar.fType & MFT_OWNERDRAW, 0u);  // the bar's own items are the system's
  EXPECT_EQ(text, L"文件");
  HMENU file = GetSubMenu(menu.Handle(), 0);
  const MENUITEMINFOW open = Info(file, 0, text);
  EXPECT_TRUE(open.fType & MFT_OWNERDRAW);
  EXPECT_EQ(text, L"打开(&O)");
  EXPECT_TRUE(Info(file, 1, text).fType & MFT_SEPARATOR);
  EXPECT_TRUE(Info(file, 2, text).fState & MFS_CHECKED);
}

TEST(OwnerDrawnMenu, ShortcutsFollowATabInTheNativeText) {
  Menu menu;
  menu.Build(Menu::Kind::Bar, kRows, 100);
  menu.SetShortCut(u"save", unicode::ShortCut('S', unicode::scCtrl));
  menu.SetShortCut(u"open", unicode::ShortCut(VK_F9));
  EXPECT_EQ(menu.ShortCutText(u"save"), u"Ctrl+S");
  HMENU file = GetSubMenu(menu.Handle(), 0);
  EXPECT_EQ(Text(file, 2), L"保存\tCtrl+S");
  EXPECT_EQ(Text(file, 0), L"打开(&O)\tF9");
  // A renamed row keeps its shortcut.
  menu.SetCaption(u"save", u"另存");
  EXPECT_EQ(Text(file, 2), L"另存\tCtrl+S");
}

// Measures and draws a row of `menu` the way its owner window is asked to.
struct Drawn {
  SIZE size{};
  std::vector<COLORREF> pixels;
  int width = 0;
  int Count(COLORREF color) const {
    int n = 0;
    for (COLORREF c : pixels) n += c == color ? 1 : 0;
    return n;
  }
};

Drawn DrawRow(Menu& menu, HMENU parent, int position, UINT state = 0) {
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_DATA | MIIM_ID;
  GetMenuItemInfoW(parent, static_cast<UINT>(position), TRUE, &info);
  Drawn drawn;
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  LRESULT result = 0;
  EXPECT_TRUE(menu.HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
  drawn.size = {static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
  drawn.width = drawn.size.cx;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, drawn.size.cx, drawn.size.cy);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_MENU;
  item.itemID = info.wID;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = state;
  item.hwndItem = reinterpret_cast<HWND>(parent);
  item.hDC = dc;
  item.rcItem = {0, 0, drawn.size.cx, drawn.size.cy};
  item.itemData = info.dwItemData;
  EXPECT_TRUE(menu.HandleOwnerMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result));
  for (int y = 0; y < drawn.size.cy; ++y) {
    for (int x = 0; x < drawn.size.cx; ++x) drawn.pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return drawn;
}

TEST(OwnerDrawnMenu, RowsShowTheirGlyphSelectionAndBoldDefault) {
  Menu menu;
  menu.Build(Menu::Kind::Bar, kRows, 100);
  menu.Bind(u"openClick", [] {});
  HMENU file = GetSubMenu(menu.Handle(), 0);
  const Drawn plain = DrawRow(menu, file, 0);
  EXPECT_GE(plain.size.cy, 16);
  EXPECT_EQ(plain.Count(RGB(90, 140, 210)), 0);
  menu.SetRowImage(menu.Find(u"open"), 1);
  const Drawn withGlyph = DrawRow(menu, file, 0);
  EXPECT_GT(withGlyph.Count(RGB(90, 140, 210)), 10) << "no note glyph";
  // Selected: the highlight colour fills the row.
  const Drawn selected = DrawRow(menu, file, 0, ODS_SELECTED);
  EXPECT_GT(selected.Count(GetSysColor(COLOR_HIGHLIGHT)) + selected.Count(GetSysColor(COLOR_MENUHILIGHT)),
            selected.size.cx * selected.size.cy / 2);
  // The default row is measured (and drawn) bold: wider than the same caption plain.
  menu.SetDefault(u"open");
  EXPECT_GT(DrawRow(menu, file, 0).size.cx, withGlyph.size.cx);
  // A row of another menu is not this menu's to draw.
  Menu other;
  other.Build(Menu::Kind::Popup, kRows, 500);
  MEASUREITEMSTRUCT foreign{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(other.Find(u"open"))};
  LRESULT result = 0;
  EXPECT_FALSE(menu.HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign), result));
}

TEST(OwnerDrawnMenu, TheDefaultRowRunsOnlyWhenEnabled) {
  const MenuRowSpec rows[] = {{0, u"a", u"甲", u"aClick"}, {0, u"b", u"乙", u"bClick"}};
  Menu menu;
  menu.Build(Menu::Kind::Popup, rows, 100);
  int runs = 0;
  menu.Bind(u"bClick", [&] { ++runs; });
  EXPECT_FALSE(menu.ClickDefaultRow());
  menu.SetDefault(u"a");  // nobody bound aClick: greyed
  EXPECT_FALSE(menu.ClickDefaultRow());
  menu.SetDefault(u"b");
  EXPECT_TRUE(menu.ClickDefaultRow());
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(GetMenuState(menu.Handle(), 1, MF_BYPOSITION) & MFS_DEFAULT);
  EXPECT_FALSE(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MFS_DEFAULT);
}

// A deferred menu of two fixed rows and `count` virtual rows "条目<i>" in pages of 1000.
class PagedRows : public ::testing::Test {
 protected:
  void SetUp() override {
    static const MenuRowSpec rows[] = {{0, u"top", u"监视", u"topClick"}, {0, u"", u"-", u""}};
    menu.Build(Menu::Kind::Popup, rows, 100);
    menu.SetDeferred(true);
    menu.SetVirtualRows({[this] { return count; },
                         [this](int i) { return captions.empty() ? u"条目" + Number(i) : captions[i]; },
                         [this](int i) { chosen.push_back(i); }, 1, 1000,
                         [](int page, int total) {
                           return Number(page * 1000 + 1) + u"-" + Number(gui::EndRowOfPage(page, total, 1000));
                         }});
  }
  static std::u16string Number(int n) {
    const std::wstring w = std::to_wstring(n);
    return std::u16string(w.begin(), w.end());
  }
  HMENU PageMenu(int page) { return GetSubMenu(menu.Handle(), 2 + page); }
  void Open(HMENU page) {
    LRESULT result = 0;
    EXPECT_TRUE(menu.HandleOwnerMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(page), 0, result));
  }

  Menu menu;
  int count = 0;
  std::vector<std::u16string> captions;
  std::vector<int> chosen;
};

TEST_F(PagedRows, UpToOnePageTheRowsStandInTheMenu) {
  count = 1000;
  menu.PrepareToShow();
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 1002);
  EXPECT_EQ(Text(menu.Handle(), 2), L"条目0");
  EXPECT_EQ(Text(menu.Handle(), 1001), L"条目999");
  EXPECT_EQ(GetSubMenu(menu.Handle(), 2), nullptr);
  EXPECT_TRUE(menu.DispatchMenuCommand(menu.Handle(), 1001));
  EXPECT_EQ(chosen, std::vector<int>{999});
}

TEST_F(PagedRows, AbovePagesAreBuiltWhenTheyOpen) {
  count = 2500;
  menu.PrepareToShow();
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 2 + 3);
  EXPECT_EQ(Text(menu.Handle(), 2), L"1-1000");
  EXPECT_EQ(Text(menu.Handle(), 4), L"2001-2500");
  EXPECT_EQ(GetMenuItemCount(PageMenu(1)), 0);
  EXPECT_EQ(menu.BuiltPageCount(), 0);
  Open(PageMenu(1));
  ASSERT_EQ(GetMenuItemCount(PageMenu(1)), 1000);
  EXPECT_EQ(Text(PageMenu(1), 5), L"条目1005");
  EXPECT_TRUE(menu.DispatchMenuCommand(PageMenu(1), 5));
  Open(PageMenu(2));
  EXPECT_EQ(GetMenuItemCount(PageMenu(2)), 500);
  EXPECT_TRUE(menu.DispatchMenuCommand(PageMenu(2), 499));
  EXPECT_EQ(chosen, (std::vector<int>{1005, 2499}));
  // A page row itself chooses nothing.
  EXPECT_TRUE(menu.DispatchMenuCommand(menu.Handle(), 3));
  EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(PagedRows, AChangeRebuildsOnlyThePagesItTouches) {
  count = 2500;
  menu.PrepareToShow();
  for (int page = 0; page < 3; ++page) Open(PageMenu(page));
  ASSERT_EQ(menu.BuiltPageCount(), 3);

  // A caption changed on page 1: that page alone.
  menu.InvalidateVirtualRow(1500, false);
  menu.PrepareToShow();
  EXPECT_EQ(menu.BuiltPageCount(), 2);
  Open(PageMenu(1));

  // A new entry at the end (a capture): the last page, whose range grows, and a new page.
  count = 3001;
  menu.InvalidateVirtualRow(3000, true);
  menu.PrepareToShow();
  ASSERT_EQ(GetMenuItemCount(menu.Handle()), 2 + 4);
  EXPECT_EQ(Text(menu.Handle(), 4), L"2001-3000");
  EXPECT_EQ(Text(menu.Handle(), 5), L"3001-3001");
  EXPECT_EQ(menu.BuiltPageCount(), 3);  // pages 0 to 2 kept; the new page is built when it opens

  // An entry removed near the top moves every row after it: those pages are stale.
  count = 3000;
  menu.InvalidateVirtualRow(10, true);
  menu.PrepareToShow();
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 2 + 3);
  EXPECT_EQ(menu.BuiltPageCount(), 0);
  // The fixed rows' own changes leave the pages alone.
  Open(PageMenu(0));
  menu.SetEnabled(u"top", false);
  menu.PrepareToShow();
  EXPECT_EQ(menu.BuiltPageCount(), 1);
  EXPECT_EQ(Text(menu.Handle(), 3), L"1001-2000");

  // Back to one page: the rows stand in the menu again.
  count = 800;
  menu.InvalidateVirtualRows();
  menu.PrepareToShow();
  EXPECT_EQ(GetMenuItemCount(menu.Handle()), 802);
  EXPECT_EQ(Text(menu.Handle(), 801), L"条目799");
}

TEST_F(PagedRows, EntryTextIsShownAsTyped) {
  count = 2;
  captions = {u"Tom & Jerry", u"&&"};
  menu.PrepareToShow();
  EXPECT_EQ(Text(menu.Handle(), 2), L"Tom && Jerry");
  EXPECT_EQ(Text(menu.Handle(), 3), L"&&&&");
}

}  // namespace

namespace {

TEST(OwnerDrawnMenu, AnotherKeyboardLayoutRewritesTheShortcutsWhenTheMenuOpens) {
  Menu menu;
  menu.Build(Menu::Kind::Bar, kRows, 100);
  menu.SetShortCut(u"save", unicode::ShortCut('S', unicode::scCtrl));
  HMENU file = GetSubMenu(menu.Handle(), 0);
  // Someone else's text in the native item stands for a text made under the old layout.
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(L"保存\tStrg+S");
  SetMenuItemInfoW(file, 2, TRUE, &info);
  LRESULT result = 0;
  // Opening under the same layout leaves the text alone.
  menu.HandleOwnerMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0, result);
  EXPECT_EQ(Text(file, 2), L"保存\tStrg+S");

  const HKL before = GetKeyboardLayout(0);
  const HKL other = LoadKeyboardLayoutW(before == reinterpret_cast<HKL>(0x04070407) ? L"00000409" : L"00000407",
                                        KLF_ACTIVATE);
  if (!other || GetKeyboardLayout(0) == before) GTEST_SKIP() << "this system does not switch keyboard layouts";
  menu.HandleOwnerMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0, result);
  EXPECT_EQ(Text(file, 2), L"保存\tCtrl+S");
  ActivateKeyboardLayout(before, 0);
}

}  // namespace
