// The input dialog: a prompt longer than one line wraps and pushes the edit box down, so that
// all of it shows; OK hands back the text typed, Cancel leaves the value alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "gui/dialogs.h"

namespace {

HWND g_dialog = nullptr;

BOOL CALLBACK FindInputDialog(HWND hwnd, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
    g_dialog = hwnd;
    return FALSE;
  }
  return TRUE;
}

RECT ChildRect(HWND dialog, const wchar_t* cls) {
  RECT r{};
  GetWindowRect(FindWindowExW(dialog, nullptr, cls, nullptr), &r);
  return r;
}

struct Layout {
  RECT prompt{}, edit{};
  bool seen = false;
};

// Waits for the dialog, notes where its prompt and edit box lie, types and presses a button.
void Answer(Layout& layout, const wchar_t* typed, int button) {
  g_dialog = nullptr;
  for (int i = 0; i < 400 && !g_dialog; ++i) {
    EnumWindows(FindInputDialog, 0);
    if (!g_dialog) Sleep(25);
  }
  if (!g_dialog) return;
  layout.seen = true;
  layout.prompt = ChildRect(g_dialog, L"Static");
  layout.edit = ChildRect(g_dialog, L"Edit");
  SetWindowTextW(FindWindowExW(g_dialog, nullptr, L"Edit", nullptr), typed);
  PostMessageW(g_dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

TEST(InputQuery, ALongPromptWrapsAboveTheEditBox) {
  const std::u16string longPrompt =
      u"请输入密码（必须），可用中文，长度不限，区分大小写，如果密码错误，解密后的文件将是一堆乱码";
  Layout shortLayout, longLayout;
  std::u16string value;

  std::thread shortAnswer(Answer, std::ref(shortLayout), L"短", IDOK);
  ASSERT_TRUE(gui::InputQuery(u"标题", u"一行", value));
  shortAnswer.join();
  ASSERT_TRUE(shortLayout.seen);
  EXPECT_EQ(value, u"短");

  std::thread longAnswer(Answer, std::ref(longLayout), L"不要", IDCANCEL);
  EXPECT_FALSE(gui::InputQuery(u"标题", longPrompt, value));
  longAnswer.join();
  ASSERT_TRUE(longLayout.seen);
  EXPECT_EQ(value, u"短");

  EXPECT_GT(longLayout.prompt.bottom - longLayout.prompt.top, shortLayout.prompt.bottom - shortLayout.prompt.top);
  EXPECT_GE(longLayout.edit.top, longLayout.prompt.bottom);
  EXPECT_GE(shortLayout.edit.top, shortLayout.prompt.bottom);
}

}  // namespace
