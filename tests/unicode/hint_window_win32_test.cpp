// The Unicode hint window: its size from the wide text, its place on the screen, and
// that it paints its text.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "unicode/uni_hint_window_win32.h"

using unicode::TUniCustomHintWindow;

namespace {

// Pixels of the client area that differ from the hint's background.
int InkPixels(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = GetDC(hwnd);
  const COLORREF background = GetSysColor(COLOR_INFOBK);
  int ink = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) ink += GetPixel(dc, x, y) != background ? 1 : 0;
  }
  ReleaseDC(hwnd, dc);
  return ink;
}

}  // namespace

TEST(UniHintWindow, SizeFollowsTheTextAndTheWidthLimit) {
  TUniCustomHintWindow hint;
  const RECT one = hint.CalcHintRect(400, u"【当前行号=1，字符数=3】");
  const RECT two = hint.CalcHintRect(400, u"【当前行号=1，字符数=3】\r\n\r\n第二行 \U0001F600");
  EXPECT_GT(one.right, 20);
  EXPECT_GT(two.bottom, one.bottom);  // more lines, taller
  const std::u16string longText(200, u'字');
  const RECT narrow = hint.CalcHintRect(150, longText);
  EXPECT_LE(narrow.right, 150 + 10);  // broken into lines within the limit
  EXPECT_GT(narrow.bottom, 3 * one.bottom);
}

TEST(UniHintWindow, ShowsItsWideTextInsideTheScreenWithoutTakingTheFocus) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(owner);
  TUniCustomHintWindow hint;
  const std::u16string text = u"提示 \U0001F600 ẞ ŉ";
  RECT rect = hint.CalcHintRect(300, text);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  OffsetRect(&rect, screenWidth - 10, 100);  // sticks out on the right
  hint.ActivateHint(rect, text, owner);
  ASSERT_TRUE(hint.Visible());
  EXPECT_EQ(hint.Caption(), text);
  RECT shown;
  GetWindowRect(hint.Handle(), &shown);
  EXPECT_LE(shown.right, screenWidth);
  EXPECT_EQ(shown.right - shown.left, rect.right - rect.left);
  EXPECT_NE(GetForegroundWindow(), hint.Handle());
  EXPECT_GT(InkPixels(hint.Handle()), 10);

  hint.ActivateHint(rect, u"", owner);  // an empty hint paints nothing
  EXPECT_EQ(InkPixels(hint.Handle()), 0);
  hint.Hide();
  EXPECT_FALSE(hint.Visible());
  hint.ReleaseHandle();
  EXPECT_EQ(hint.Handle(), nullptr);
  DestroyWindow(owner);
}
