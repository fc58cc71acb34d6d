// The program's waits that handle messages: under a menu's or a message box's own loop what is
// sent and posted is handled and the loop's keys stay queued for it; a round of handling ends
// even while a timer keeps the queue full.
#include <gtest/gtest.h>

#include <windows.h>

#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/modal_loop.h"

namespace {

constexpr UINT kPosted = WM_APP + 7;
constexpr UINT_PTR kTimer = 1;
constexpr UINT_PTR kBusyTimer = 2;  // due again before its handler ends: the queue never empties
DWORD g_busySince = 0;

struct Seen {
  bool modal = false;
  bool postedHandled = false;
  bool keyStillQueued = false;
  bool ran = false;
};
Seen g_seen;

// Waits inside the loop above (menu or box): a real key is queued, a message is posted, then the
// program's wait runs; afterwards the key must still be there for the loop.
void WaitInsideTheLoop(HWND window) {
  g_seen.ran = true;
  g_seen.modal = gui::ModalLoopRuns();
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F13;  // no menu or box answers it
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  PostMessageW(window, kPosted, 0, 0);
  gui::Application::Instance().Wait(100);
  MSG msg;
  g_seen.keyStillQueued = PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) != FALSE;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimer) {
    KillTimer(hwnd, kTimer);
    WaitInsideTheLoop(hwnd);
    // The loop above ends: the menu's by EndMenu, the box's by its OK.
    EndMenu();
    if (HWND box = GetActiveWindow(); box && box != hwnd) PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (msg == WM_TIMER && wp == kBusyTimer) {
    Sleep(15);  // longer than the shortest interval a timer has
    if (GetTickCount() - g_busySince > 3000) KillTimer(hwnd, kBusyTimer);  // the test ends either way
    return 0;
  }
  if (msg == kPosted) {
    g_seen.postedHandled = true;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuilloraModalWaitTest";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"modal wait", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                200, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(window);
  SetFocus(window);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  return window;
}

TEST(Waits, UnderAMenuOrABoxTheWaitHandlesPostedMessagesAndLeavesTheKeys) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(gui::ModalLoopRuns());

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"一");
  AppendMenuW(menu, MF_STRING, 2, L"二");
  g_seen = {};
  SetTimer(window, kTimer, 50, nullptr);
  TrackPopupMenu(menu, TPM_RETURNCMD, 120, 120, 0, window, nullptr);
  DestroyMenu(menu);
  EXPECT_TRUE(g_seen.ran);
  EXPECT_TRUE(g_seen.modal) << "the menu's loop was not seen";
  EXPECT_TRUE(g_seen.postedHandled);
  EXPECT_TRUE(g_seen.keyStillQueued) << "the wait took the menu's key";

  g_seen = {};
  SetTimer(window, kTimer, 50, nullptr);
  gui::MessageBoxU(u"等待", u"测试", MB_OK);
  EXPECT_TRUE(g_seen.ran);
  EXPECT_TRUE(g_seen.modal) << "the box's loop was not seen";
  EXPECT_TRUE(g_seen.postedHandled);
  EXPECT_TRUE(g_seen.keyStillQueued) << "the wait took the box's key";
  EXPECT_FALSE(gui::ModalLoopRuns());
  DestroyWindow(window);
}

TEST(Waits, ARoundOfMessagesEndsWhileATimerKeepsTheQueueFull) {
  // An animation's timers on a machine too slow for them: the wait that handles a round of
  // messages must get back to its own deadline.
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  g_busySince = GetTickCount();
  SetTimer(window, kBusyTimer, 1, nullptr);
  Sleep(20);  // due
  const DWORD start = GetTickCount();
  gui::Application::Instance().ProcessMessages();
  const DWORD took = GetTickCount() - start;
  KillTimer(window, kBusyTimer);
  EXPECT_LT(took, 1000u) << "the round went on as long as the timer did";
  DestroyWindow(window);
}

}  // namespace
