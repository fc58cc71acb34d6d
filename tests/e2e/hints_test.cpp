// The hints of controls as a user meets them: the pointer rests on a button and the system's
// tool-tip shows the hint after its delay; a click hides it. In the classic look, on the main
// window, the entry viewer and the formatted view, and again once a skin has taken the windows
// over.
#include <gtest/gtest.h>

#include <vector>

#include "program_fixture.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

constexpr UINT kIsSkinned = 0x3523;

struct TipSearch {
  DWORD pid;
  std::vector<HWND> shown;
};

BOOL CALLBACK CollectShownTip(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<TipSearch*>(lp);
  if (e2e::ProcessOfWindow(hwnd) == search->pid && e2e::WindowClass(hwnd) == L"tooltips_class32" &&
      IsWindowVisible(hwnd)) {
    search->shown.push_back(hwnd);
  }
  return TRUE;
}

// The texts of the tool-tips the process shows now.
std::vector<std::wstring> ShownTips(DWORD pid) {
  TipSearch search{pid, {}};
  EnumWindows(CollectShownTip, reinterpret_cast<LPARAM>(&search));
  std::vector<std::wstring> texts;
  for (HWND tip : search.shown) texts.push_back(e2e::WindowText(tip));
  return texts;
}

class Hints : public e2e::ProgramTest {
 protected:
  // Rests the pointer on the window as a user does and returns the tip that shows (empty when
  // none came). The pointer comes from far away, where no tip of the program shows, and, as a
  // hand does, stirs a little while it waits.
  std::wstring HoverAndReadTip(HWND target) {
    const POINT centre = e2e::CentreOf(target);
    MovePointerFarFrom(centre);
    std::wstring tip;
    e2e::WaitUntil([&] {
      e2e::MovePointer(centre);
      e2e::MovePointer(POINT{centre.x + 1, centre.y});
      return e2e::WaitUntil([&] {
        const std::vector<std::wstring> tips = ShownTips(program_.ProcessId());
        if (tips.empty()) return false;
        tip = tips.front();
        return true;
      }, 2s);
    }, 20s);
    return tip;
  }
  // A click on the button hides its tip, and it stays hidden while the pointer rests there.
  void ExpectAClickHidesTheTip(HWND button) {
    e2e::ClickAt(e2e::CentreOf(button));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ShownTips(program_.ProcessId()).empty(); }, 5s));
    ExpectNoTipFor(1500ms, "the tip came back after the click");
  }
  void ExpectNoTipFor(std::chrono::milliseconds time, const char* what) {
    e2e::WaitUntil([] { return false; }, time);
    EXPECT_TRUE(ShownTips(program_.ProcessId()).empty()) << what;
  }
  void MovePointerFarFrom(POINT at) {
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1, bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    e2e::MovePointer(POINT{at.x < right / 2 ? right : 0, at.y < bottom / 2 ? bottom : 0});
    EXPECT_TRUE(e2e::WaitUntil([&] { return ShownTips(program_.ProcessId()).empty(); }, 5s));
  }
  HWND MainButton(const std::wstring& caption) { return e2e::ChildWindow(main_, L"Button", caption); }
};

TEST_F(Hints, AControlsHintShowsOnHoverAndAClickHidesItClassicAndSkinned) {
  HWND clear = MainButton(L"清除");
  ASSERT_NE(clear, nullptr);
  EXPECT_TRUE(ShownTips(program_.ProcessId()).empty());
  EXPECT_EQ(HoverAndReadTip(clear), L"清空编辑框");
  ExpectAClickHidesTheTip(clear);
  // A click that comes before the tip's delay is over leaves no tip either.
  MovePointerFarFrom(e2e::CentreOf(clear));
  e2e::ClickAt(e2e::CentreOf(clear));
  ExpectNoTipFor(1500ms, "a tip came after the click");

  // The entry viewer's tool buttons.
  e2e::OpenListRowMenu(list_, 0);
  ASSERT_TRUE(e2e::ChooseContextMenuRow(main_, L"查看/修改（单条记录，无格式）"));
  HWND viewer = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    viewer = e2e::FindProcessWindow(program_.ProcessId(), L"TForm3");
    return viewer && IsWindowVisible(viewer);
  }, 10s));
  e2e::WaitForIdle(viewer, 30s);
  EXPECT_EQ(HoverAndReadTip(e2e::ChildWindow(viewer, L"Button", L"保存修改")), L"保存当前修改，但是并未保存到文件");
  EXPECT_EQ(HoverAndReadTip(e2e::ChildWindow(viewer, L"Button", L"十六进制视图")), L"切换十六进制视图");
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(viewer); }, 10s));

  // The formatted view's font name box: the pointer rests on the box's edit field, a window
  // of its own inside the combo box, which shows the combo box's hint.
  e2e::OpenListRowMenu(list_, 0);
  ASSERT_TRUE(e2e::ChooseContextMenuRow(main_, L"用带格式的浏览器查看当前文本"));
  HWND view = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    view = e2e::FindProcessWindow(program_.ProcessId(), L"TForm6");
    return view && IsWindowVisible(view);
  }, 10s));
  e2e::WaitForIdle(view, 30s);
  EXPECT_EQ(HoverAndReadTip(e2e::ChildWindow(view, L"ComboBox")), L"字体名称");
  PostMessageW(view, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(view); }, 10s));

  // Skinned: the skin subclasses the buttons and paints them itself.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"新式绿皮"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(main_, kIsSkinned, 0, 0) == 1; }, 20s));
  e2e::WaitForIdle(main_, 30s);
  e2e::WaitUntil([] { return false; }, 500ms);
  clear = MainButton(L"清除");
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(HoverAndReadTip(clear), L"清空编辑框");
  ExpectAClickHidesTheTip(clear);
}

}  // namespace
