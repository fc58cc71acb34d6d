// The look a new user meets first, the shipped skin 2: menu rows show their pictures and names
// with "&" as they are, separators stay lines in the classic look after the skin, the list
// ends where the resize rule puts it in every look and size, a menu-bar item is lit only while
// the pointer is on it, and the options dialog's boxes, frames and arrows are the skin's.
// Pictures of the skinned menus and dialog are kept (docs/skinned-windows.md shows them).
#include <gtest/gtest.h>

#include "clipboard_driver.h"
#include "options_dialog_driver.h"
#include "program_driver.h"
#include "screen_shot.h"
#include "skin/skin_data.h"
#include "skin/skin_layout.h"
#include "skin_look_driver.h"
#include "window_parts.h"
#include "windows/options_control_ids.h"

using namespace std::chrono_literals;
namespace id = windows::optionsid;

namespace {

constexpr wchar_t kShippedSkinFile[] = L"mxskin2.skn";
constexpr wchar_t kFixedEntry[] = L"联系电话：010-12345678    （alt+2）";  // a row of the shipped favourites
constexpr COLORREF kStarFill = RGB(250, 200, 40);                         // the favourites' picture

class SkinnedLook : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    e2e::SetSkinNumber(folder_, 2);
    PrepareFolder();
    ASSERT_TRUE(program_.Start(folder_));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    WaitForSkin(kShippedSkinFile);
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit(20s);
  }
  // Further set-up of the runtime folder before the program starts.
  virtual void PrepareFolder() {}
  // The window answers the skin's query and wears the skin's frame (nullptr: the classic look).
  void WaitForSkin(const wchar_t* skinFile) {
    const SIZE frame = skinFile ? e2e::SkinFrame(folder_, skinFile) : SIZE{};
    ASSERT_TRUE(e2e::WaitUntil([&] {
      if (!skinFile) return e2e::Ask(main_, e2e::kSkinQuery) == 0 && GetMenu(main_) != nullptr;
      const SIZE extra = e2e::FrameExtra(main_);
      return e2e::Ask(main_, e2e::kSkinQuery) == 1 && extra.cx == frame.cx && extra.cy == frame.cy;
    }, 15s)) << (skinFile ? e2e::Utf8(skinFile) : "classic");
    e2e::Settle(main_);
  }
  void Activate() {
    SetForegroundWindow(main_);
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main_; }, 5s));
    e2e::Settle(main_);
  }

  // The open menu window ("#32768") under a screen point, and the point in its coordinates.
  HWND MenuWindowAt(POINT screen, POINT& local) {
    HWND menu = WindowFromPoint(screen);
    if (e2e::WindowClass(menu) != L"#32768") return nullptr;
    RECT r{};
    GetWindowRect(menu, &r);
    local = POINT{screen.x - r.left, screen.y - r.top};
    return menu;
  }
  // The open menus of the program, closed with Escape one by one (an Escape that reaches the
  // list minimises the program: pressed only while a menu is open).
  int OpenMenus(HWND* any = nullptr) {
    MenuCount count{program_.ProcessId()};
    EnumWindows(&MenuCount::Visit, reinterpret_cast<LPARAM>(&count));
    if (any) *any = count.window;
    return count.open;
  }
  void CloseMenus() {
    for (int open = OpenMenus(); open > 0; open = OpenMenus()) {
      e2e::PressKey(VK_ESCAPE);
      ASSERT_TRUE(e2e::WaitUntil([&] { return OpenMenus() < open; }, 5s));
    }
  }
  struct MenuCount {
    DWORD pid;
    int open = 0;
    HWND window = nullptr;
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
      auto* c = reinterpret_cast<MenuCount*>(lp);
      if (e2e::ProcessOfWindow(hwnd) == c->pid && e2e::WindowClass(hwnd) == L"#32768" && IsWindowVisible(hwnd)) {
        ++c->open;
        c->window = hwnd;
      }
      return TRUE;
    }
  };

  std::filesystem::path folder_;
  e2e::RunningProgram program_;
  HWND main_ = nullptr;
};

// The column in front of a row's caption, where its picture stands: 24 pixels wide, the
// row's middle 14 pixels high (rows are at least 18 high).
RECT PictureColumn(POINT rowCentre) { return RECT{2, rowCentre.y - 7, 26, rowCentre.y + 7}; }

TEST_F(SkinnedLook, FavouriteRowsAndTheSystemMenusRowsShowTheirPictures) {
  Activate();
  // The favourites, opened from the bar the user's way: each row shows its star.
  ASSERT_TRUE(e2e::OpenSkinnedMenuHolding(main_, kFixedEntry));
  POINT at{}, local{};
  ASSERT_TRUE(e2e::OpenMenuRowPoint(main_, kFixedEntry, at));
  e2e::Settle(main_);
  HWND favourites = MenuWindowAt(at, local);
  ASSERT_NE(favourites, nullptr);
  const e2e::ScreenShot rows = e2e::ScreenShot::OfWindow(favourites);
  EXPECT_GT(rows.Count(PictureColumn(local), [](COLORREF c) { return c == kStarFill; }), 20);
  e2e::ScreenShot::OfWindow(main_).Save("skin2-favourites-menu");
  CloseMenus();

  // The system menu (Alt+Space): restore, maximise, minimise and close show pictures, where
  // "move" shows none. Its rows are found by their captions, which this process's own system
  // menu has in the same language.
  HWND own = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  auto captionOf = [&](UINT command) {
    wchar_t text[128] = {};
    GetMenuStringW(GetSystemMenu(own, FALSE), command, text, 127, MF_BYCOMMAND);
    return std::wstring(text);
  };
  const std::wstring move = captionOf(SC_MOVE);
  const UINT pictured[] = {SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE, SC_CLOSE};
  std::vector<std::wstring> captions;
  for (UINT command : pictured) captions.push_back(captionOf(command));
  DestroyWindow(own);
  ASSERT_FALSE(move.empty());

  Activate();
  RECT w{};
  GetWindowRect(main_, &w);
  e2e::MovePointer(POINT{w.right + 40, w.bottom + 40});  // no row lit under the pointer
  e2e::PressKey(VK_SPACE, {VK_MENU});
  POINT moveAt{};
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::OpenMenuRowPoint(main_, move, moveAt); }, 10s));
  e2e::Settle(main_);
  HWND systemMenu = MenuWindowAt(moveAt, local);
  ASSERT_NE(systemMenu, nullptr);
  const e2e::ScreenShot menu = e2e::ScreenShot::OfWindow(systemMenu);
  const RECT plain = PictureColumn(local);
  for (size_t i = 0; i < captions.size(); ++i) {
    POINT rowAt{}, rowLocal{};
    ASSERT_TRUE(e2e::OpenMenuRowPoint(main_, captions[i], rowAt)) << e2e::Utf8(captions[i]);
    MenuWindowAt(rowAt, rowLocal);
    const RECT column = PictureColumn(rowLocal);
    int differences = 0;
    for (int y = 0; y < column.bottom - column.top; ++y) {
      for (int x = column.left; x < column.right; ++x) {
        differences += menu.At(x, column.top + y) != menu.At(x, plain.top + y);
      }
    }
    EXPECT_GT(differences, 12) << e2e::Utf8(captions[i]);
  }
  e2e::ScreenShot::OfWindow(main_).Save("skin2-system-menu");
  CloseMenus();
  EXPECT_FALSE(IsIconic(main_));
}

// Where the caption of the row around a point of a menu window ends: the rightmost dark pixel
// of the row's middle band, left of the window's own right edge.
int CaptionEnd(const e2e::ScreenShot& menu, POINT local) {
  for (int x = menu.Width() - 6; x >= 0; --x) {
    for (int y = local.y - 5; y <= local.y + 5; ++y) {
      const COLORREF c = menu.At(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) return x;
    }
  }
  return -1;
}

// Names with "&" in the data box and the favourites, the data box's folder rows, and the
// favourites' bar menu in the classic look after the skin has drawn it.
class SkinnedLookOfNames : public SkinnedLook {
 protected:
  void PrepareFolder() override {
    const std::string entry = "\xEF\xBB\xBF" + e2e::Utf8(L"一行\r\n");
    e2e::WriteFile(folder_ / L"我的数据盒" / L"R&D 研究资料.txt", entry);
    e2e::WriteFile(folder_ / L"我的数据盒" / L"RD 研究资料.txt", entry);
    e2e::WriteFile(folder_ / L"固定条目" / L"固定条目.txt", "\xEF\xBB\xBF" + e2e::Utf8(L"R&D 研究\r\nRD 研究\r\n"));
  }
  // How much further the caption of the row named with "&" reaches than that of the same name
  // without it, both rows in the drop-downs open now. The menu's own text doubles the "&".
  int AmpersandWidth(const std::wstring& withAmpersand, const std::wstring& without) {
    POINT named{}, plain{}, local{}, plainLocal{};
    EXPECT_TRUE(e2e::OpenMenuRowPoint(main_, withAmpersand, named)) << e2e::Utf8(withAmpersand);
    EXPECT_TRUE(e2e::OpenMenuRowPoint(main_, without, plain)) << e2e::Utf8(without);
    e2e::Settle(main_);
    HWND menu = MenuWindowAt(named, local);
    if (!menu || MenuWindowAt(plain, plainLocal) != menu) return -1;
    const e2e::ScreenShot rows = e2e::ScreenShot::OfWindow(menu);
    return CaptionEnd(rows, local) - CaptionEnd(rows, plainLocal);
  }
  // The classic bar's item (counted from 0) opened the keyboard's way: Alt, the arrows, Down.
  void OpenClassicBarItem(int index) {
    Activate();
    e2e::PressKey(VK_MENU);
    e2e::Settle(main_);
    for (int i = 0; i < index; ++i) e2e::PressKey(VK_RIGHT);
    e2e::PressKey(VK_DOWN);
    ASSERT_TRUE(e2e::WaitUntil([&] { return OpenMenus() == 1; }, 5s));
    e2e::Settle(main_);
  }
};

constexpr COLORREF kFolderFill = RGB(230, 180, 60);  // the folder rows' picture

TEST_F(SkinnedLookOfNames, NamesShowTheirAmpersandFoldersTheirPictureAndClassicSeparatorsAreLines) {
  Activate();
  // The data box: a file named with "&" shows it (it is wider than the same name without),
  // and a folder row shows its picture.
  ASSERT_TRUE(e2e::OpenSkinnedMenuHolding(main_, L"R&&D 研究资料.txt"));
  EXPECT_GT(AmpersandWidth(L"R&&D 研究资料.txt", L"RD 研究资料.txt"), 3);
  POINT folderRow{}, local{};
  ASSERT_TRUE(e2e::OpenMenuRowPoint(main_, L"常用语", folderRow));
  HWND dataBox = MenuWindowAt(folderRow, local);
  ASSERT_NE(dataBox, nullptr);
  EXPECT_GT(e2e::ScreenShot::OfWindow(dataBox).Count(PictureColumn(local), [](COLORREF c) { return c == kFolderFill; }),
            20);
  CloseMenus();
  // The favourites.
  ASSERT_TRUE(e2e::OpenSkinnedMenuHolding(main_, L"RD 研究    （alt+2）"));
  EXPECT_GT(AmpersandWidth(L"R&&D 研究    （alt+1）", L"RD 研究    （alt+2）"), 3);
  CloseMenus();

  // The classic look: the favourites' bar menu (the third item) draws its separators as lines
  // across the menu, as the other drop-downs do, and its names as they are.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"经典"));
  WaitForSkin(nullptr);
  OpenClassicBarItem(2);
  HWND bar = nullptr;
  ASSERT_EQ(OpenMenus(&bar), 1);
  const e2e::ScreenShot fixedMenu = e2e::ScreenShot::OfWindow(bar);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF;
  int lines = 0;
  bool inLine = false;
  for (int y = 4; y < fixedMenu.Height() - 4; ++y) {
    const int run = fixedMenu.Count(RECT{0, y, fixedMenu.Width(), y + 1}, [&](COLORREF c) { return c == shadow; });
    const bool line = run > fixedMenu.Width() * 3 / 4;
    lines += line && !inLine;
    inLine = line;
  }
  EXPECT_EQ(lines, 3);
  EXPECT_GT(AmpersandWidth(L"R&&D 研究    （alt+1）", L"RD 研究    （alt+2）"), 3);
  CloseMenus();
}

// What the list leaves empty below itself in the client area.
int SpaceBelowList(HWND main) {
  RECT list{};
  GetWindowRect(e2e::FindHistoryList(main), &list);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&list), 2);
  return e2e::ClientSize(main).cy - list.bottom;
}

TEST_F(SkinnedLook, TheListEndsWhereTheResizeRulePutsItInEveryLookAndSize) {
  // The fill-in mode's small window, and back.
  auto inFillMode = [&] {
    const SIZE normal = e2e::ClientSize(main_);
    EXPECT_TRUE(e2e::ChooseMenuRow(main_, L"填表模式切换"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClientSize(main_).cy < normal.cy; }, 10s));
    e2e::Settle(main_);
    const int space = SpaceBelowList(main_);
    EXPECT_TRUE(e2e::ChooseMenuRow(main_, L"填表模式切换"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClientSize(main_).cy == normal.cy; }, 10s));
    e2e::Settle(main_);
    return space;
  };
  const int atStart = SpaceBelowList(main_);
  const int fillMode = inFillMode();
  PostMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsZoomed(main_) != FALSE; }, 10s));
  e2e::Settle(main_);
  const int maximised = SpaceBelowList(main_);
  PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsZoomed(main_) == FALSE; }, 10s));
  e2e::Settle(main_);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"酷兰"));
  WaitForSkin(L"mxskin39.skn");
  const int otherSkin = SpaceBelowList(main_);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"经典"));
  WaitForSkin(nullptr);
  const int classic = SpaceBelowList(main_);
  EXPECT_GE(classic, 0);
  EXPECT_LT(classic, 10);
  EXPECT_EQ(atStart, classic);
  EXPECT_EQ(maximised, classic);
  EXPECT_EQ(otherSkin, classic);
  EXPECT_EQ(fillMode, inFillMode());
}

TEST_F(SkinnedLook, ABarItemIsLitOnlyWhileThePointerIsOnIt) {
  Activate();
  skin::TSkinData data;
  data.SetSkinFile((folder_ / L"皮肤" / kShippedSkinFile).u16string());
  const skin::FrameBorders border = skin::BordersOf(data.Model());
  RECT w{};
  GetWindowRect(main_, &w);
  // The bar, in window coordinates, and a point on its first item ("  文件  ").
  const RECT bar{border.Left, border.Top, w.right - w.left - border.Right, border.Top + GetSystemMetrics(SM_CYMENU)};
  const POINT onItem{w.left + bar.left + 20, w.top + (bar.top + bar.bottom) / 2};
  const POINT inList = e2e::CentreOf(e2e::FindHistoryList(main_));
  e2e::MovePointer(inList);
  e2e::Settle(main_);
  const e2e::ScreenShot plain = e2e::ScreenShot::OfWindow(main_);

  e2e::MovePointer(onItem);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ScreenShot::OfWindow(main_).Differences(plain, bar) > 0; }, 5s))
      << "the item under the pointer is lit";
  e2e::MovePointer(inList);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ScreenShot::OfWindow(main_).Differences(plain, bar) == 0; }, 5s))
      << "the item's light goes with the pointer";
}

TEST_F(SkinnedLook, TheOptionsDialogsBoxesFramesAndArrowsAreTheSkins) {
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"属性设置。。。"));
  e2e::OptionsDialog dialog(program_.ProcessId());
  ASSERT_TRUE(dialog.WaitShown());
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Ask(dialog.Window(), e2e::kSkinQuery) == 1; }, 10s));
  e2e::Settle(dialog.Window());
  const int skinned[] = {id::xiansiCheckBox1, id::rejianCheckBox1, id::CheckBoxmyalt, id::zidongtiaodaoCheckBox,
                         id::fuziCheckBox1, id::fuzi_CheckBoxmyalt, id::fuzi_zidongtiaodaoCheckBox,
                         id::GroupBox1, id::GroupBox2, id::UpDown1, id::UpDown2, id::Button1, id::Button2};
  for (int control : skinned) EXPECT_EQ(e2e::Ask(dialog.Control(control), e2e::kSkinQuery), 1) << control;
  // They still work as the user expects.
  ASSERT_TRUE(dialog.ChooseTab(id::kPasteTab));
  ASSERT_TRUE(dialog.Click(id::rejianCheckBox1));
  EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Checked(id::rejianCheckBox1); }, 5s));
  dialog.ClickArrow(id::UpDown1, true);
  EXPECT_TRUE(dialog.WaitText(id::Edit3, L"2"));
  e2e::Settle(dialog.Window());
  e2e::ScreenShot::OfWindow(dialog.Window()).Save("skin2-options-dialog");
  ASSERT_TRUE(dialog.Click(id::Button2));
  EXPECT_TRUE(dialog.WaitHidden());
}

}  // namespace
