// SendKeys with the real keyboard under Wine: the keys arrive in another process's edit
// control, and a key-string error leaves no modifier down, also while its box is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "desktop/hook_helper_win32.h"
#include "desktop/send_keys_win32.h"

using namespace hooktest;

namespace {

bool HelperHasFocus(const HelperProcess& helper) {
  DWORD process = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &process);
  return process == helper.Id();
}

bool ModifierDown() {
  return (GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU)) & 0x8000;
}

// Answers the "SendKeys" box from another thread, noting whether a modifier was down then.
class BoxAnswerer {
 public:
  BoxAnswerer()
      : thread_([this] {
          for (int i = 0; i < 500 && !stop_; ++i) {
            if (HWND box = FindWindowW(L"#32770", L"SendKeys")) {
              wchar_t text[64] = {};
              GetDlgItemTextW(box, 0xFFFF, text, 64);
              modifierDownWhileShown_ = ModifierDown();
              answered_ = true;
              PostMessageW(box, WM_COMMAND, IDOK, 0);
              return;
            }
            Sleep(20);
          }
        }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  bool answered() const { return answered_; }
  bool modifierDownWhileShown() const { return modifierDownWhileShown_; }

 private:
  std::atomic<bool> stop_{false}, answered_{false}, modifierDownWhileShown_{false};
  std::thread thread_;
};

}  // namespace

TEST(SendKeysWine, KeysArriveInTheFocusedEditOfAnotherProcess) {
  const std::string out = ScratchFile("sendkeys.txt");
  HelperProcess helper("edit " + out);
  ASSERT_TRUE(PumpUntil([&] { return HelperHasFocus(helper); }, 10000));
  EXPECT_TRUE(desktop::SendKeys("ab+c{LEFT}{BS}{END}1{{}{}}", true));
  EXPECT_TRUE(desktop::SendKeys("{HOME}{DEL}x{END}#", false));
  ASSERT_TRUE(PumpUntil([&] { return helper.Exited(); }, 15000));
  EXPECT_EQ(ReadFileText(out), "xC1{}#");
  EXPECT_FALSE(ModifierDown());
}

TEST(SendKeysWine, AKeyStringErrorLeavesNoModifierDown) {
  {
    BoxAnswerer answerer;
    EXPECT_TRUE(desktop::SendKeys("^+({NOPE})", false));
    EXPECT_TRUE(answerer.answered());
    EXPECT_FALSE(answerer.modifierDownWhileShown());
  }
  EXPECT_FALSE(ModifierDown());
  {
    BoxAnswerer answerer;
    EXPECT_FALSE(desktop::SendKeys("%({ENTER", false));
    EXPECT_TRUE(answerer.answered());
    EXPECT_FALSE(answerer.modifierDownWhileShown());
  }
  EXPECT_FALSE(ModifierDown());
  EXPECT_THROW(desktop::SendKeys("^({TAB x})", false), desktop::SendKeysCountError);
  EXPECT_FALSE(ModifierDown());
}
