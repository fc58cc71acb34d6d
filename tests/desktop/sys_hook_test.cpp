// The hook components' start, stop and event handling against a fake platform: every
// failure of Start must leave nothing behind, and reports must become the right events.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "desktop/sys_hook.h"

using namespace desktop;

namespace {

class FakePlatform : public HookPlatform, public HookLibraryApi {
 public:
  FakePlatform() : loader_(*this) {}

  // The library.
  bool libraryPresent = true;
  bool exportsComplete = true;
  int32_t attachResult = 0;
  int opens = 0, closes = 0;
  std::vector<std::pair<int32_t, uintptr_t>> attached, detached;
  bool lastAllowFiltering = false;

  // The windows.
  bool windowsFail = false;
  std::set<uintptr_t> liveListeners;
  uintptr_t nextListener = 100;
  std::vector<std::pair<std::u16string, std::u16string>> boxes;

  HookLibraryLoader& Loader() override { return loader_; }
  uintptr_t AllocateListener(TSysHook&) override {
    if (windowsFail) return 0;
    liveListeners.insert(nextListener);
    return nextListener++;
  }
  void FreeListener(uintptr_t listener) override {
    EXPECT_EQ(liveListeners.erase(listener), 1u) << "freed a listener that did not exist";
  }
  std::u16string SystemErrorText(uint32_t code) override { return code == 126 ? u"找不到指定的模块。" : u"?"; }
  void ShowErrorBox(const std::u16string& caption, const std::u16string& text) override {
    boxes.emplace_back(caption, text);
  }

  void* Open(const std::u16string&, int32_t& systemError) override {
    if (!libraryPresent) {
      systemError = 126;
      return nullptr;
    }
    ++opens;
    return this;
  }
  void* Find(void* module, const char* entryName) override {
    return exportsComplete || std::string(entryName) != "DetachReceiver" ? module : nullptr;
  }
  void Close(void*) override { ++closes; }
  int32_t CallAttachReceiver(void*, int32_t hookType, uintptr_t receiver, bool allowFiltering) override {
    lastAllowFiltering = allowFiltering;
    if (attachResult == 0) attached.emplace_back(hookType, receiver);
    return attachResult;
  }
  int32_t CallDetachReceiver(void*, int32_t hookType, uintptr_t receiver) override {
    detached.emplace_back(hookType, receiver);
    return 0;
  }

  // Nothing held: no window, no library reference.
  bool HoldsNothing() const { return liveListeners.empty() && !loader_.Loaded() && opens == closes; }

 private:
  HookLibraryLoader loader_;
};

constexpr uint32_t kReport = kReportMessageBase;

}  // namespace

TEST(SysHookStart, FailuresLeaveNothingBehind) {
  FakePlatform platform;
  TSysKeyboardHook hook(platform);
  std::u16string message = u"old";

  hook.Start(message);
  EXPECT_EQ(message, u"Cannot activate hook because DLL name is not set.");
  EXPECT_EQ(platform.opens, 0);

  hook.SetHookDLL(u"SysHookDLL");
  platform.libraryPresent = false;
  hook.Start(message);
  EXPECT_EQ(message, u"找不到指定的模块。");
  EXPECT_FALSE(hook.Active());
  EXPECT_TRUE(platform.HoldsNothing());

  platform.libraryPresent = true;
  platform.exportsComplete = false;
  hook.Start(message);
  EXPECT_EQ(message, u"DLL doesn't export all required functions.");
  EXPECT_TRUE(platform.HoldsNothing());

  platform.exportsComplete = true;
  platform.windowsFail = true;
  hook.Start(message);
  EXPECT_EQ(message, u"Failed to create listening window.");
  EXPECT_TRUE(platform.HoldsNothing());

  platform.windowsFail = false;
  platform.attachResult = kHookAlreadyInstalled;
  hook.Start(message);
  EXPECT_EQ(message, u"System hook already installed.");
  EXPECT_TRUE(platform.HoldsNothing());
  EXPECT_EQ(hook.Listener(), 0u);
  EXPECT_FALSE(hook.Active());

  platform.attachResult = 0;
  hook.Start(message);
  EXPECT_EQ(message, u"");
  EXPECT_TRUE(hook.Active());
  EXPECT_NE(hook.Listener(), 0u);
  EXPECT_EQ(platform.attached, (std::vector<std::pair<int32_t, uintptr_t>>{{kKeyboardHookType, hook.Listener()}}));
}

TEST(SysHookStart, StartingAnActiveHookChangesNothing) {
  FakePlatform platform;
  TSysMouseHook hook(platform);
  hook.SetHookDLL(u"SysHookDLL");
  std::u16string message;
  hook.Start(message);
  ASSERT_TRUE(hook.Active());
  const uintptr_t listener = hook.Listener();
  message = u"caller's text";
  hook.Start(message);
  EXPECT_EQ(message, u"caller's text");
  EXPECT_EQ(hook.Listener(), listener);
  EXPECT_EQ(platform.Loader().References(), 1);
  EXPECT_EQ(platform.attached.size(), 1u);
}

TEST(SysHookStop, ComponentsShareTheLibraryAndDetachTheirReceivers) {
  FakePlatform platform;
  {
    TSysKeyboardHook keyboard(platform);
    TSysMouseHook mouse(platform);
    keyboard.SetHookDLL(u"SysHookDLL");
    mouse.SetHookDLL(u"SysHookDLL");
    std::u16string message;
    keyboard.Start(message);
    mouse.Start(message);
    ASSERT_TRUE(keyboard.Active() && mouse.Active());
    EXPECT_EQ(platform.opens, 1);
    EXPECT_EQ(platform.Loader().References(), 2);

    const uintptr_t keyboardListener = keyboard.Listener();
    keyboard.Stop();
    EXPECT_FALSE(keyboard.Active());
    EXPECT_EQ(keyboard.Listener(), 0u);
    EXPECT_TRUE(platform.Loader().Loaded());
    EXPECT_EQ(platform.detached,
              (std::vector<std::pair<int32_t, uintptr_t>>{{kKeyboardHookType, keyboardListener}}));
    keyboard.Stop();  // twice: nothing more
    EXPECT_EQ(platform.detached.size(), 1u);

    // The mouse hook is left running: its destructor must stop it.
  }
  EXPECT_EQ(platform.detached.size(), 2u);
  EXPECT_EQ(platform.detached.back().first, kMouseHookType);
  EXPECT_TRUE(platform.HoldsNothing());
  EXPECT_EQ(platform.closes, 1);
}

TEST(SysHookProperties, NotChangedWhileActive) {
  FakePlatform platform;
  TSysKeyboardHook hook(platform);
  hook.SetHookDLL(u"SysHookDLL");
  hook.SetAllowFiltering(true);
  std::u16string message;
  hook.Start(message);
  ASSERT_TRUE(hook.Active());
  EXPECT_TRUE(platform.lastAllowFiltering);

  hook.SetHookDLL(u"Other");
  EXPECT_EQ(hook.HookDLL(), u"SysHookDLL");
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].first, u"TSysKeyboardHook");  // no name: the class name
  EXPECT_EQ(platform.boxes[0].second, u"DLL name cannot be set while hook is active!");
  hook.Name = u"SysKeyboardHook1";
  hook.SetHookDLL(u"Other");
  EXPECT_EQ(platform.boxes.back().first, u"SysKeyboardHook1");

  try {
    hook.SetAllowFiltering(false);
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Cannot set AllowFiltering propert while hook is active!");
  }
  EXPECT_TRUE(hook.AllowFiltering());

  hook.Stop();
  hook.SetAllowFiltering(false);
  hook.SetHookDLL(u"Other");
  EXPECT_FALSE(hook.AllowFiltering());
  EXPECT_EQ(hook.HookDLL(), u"Other");
}

TEST(SysKeyboardHookReports, KeyActionsAndFiltering) {
  FakePlatform platform;
  TSysKeyboardHook hook(platform);
  std::vector<KeyReport> keys;
  hook.OnKeyAction = [&](TSysKeyboardHook& sender, int32_t vk, uint16_t repeat, uint8_t scan, bool extended,
                         bool alt, bool wasDown, bool pressed, bool& filterEvent) {
    EXPECT_EQ(&sender, &hook);
    keys.push_back({vk, repeat, scan, extended, alt, wasDown, pressed});
    filterEvent = vk == 'X';
  };
  EXPECT_EQ(hook.ProcessHookMessage(kReport, 'V', 1 | (0x2F << 16)), kReportPassEvent);
  EXPECT_EQ(hook.ProcessHookMessage(kReport, 'X', static_cast<intptr_t>(0xC0000001u)), kReportDropEvent);
  EXPECT_EQ(hook.ProcessHookMessage(kReport + 1, 'X', 1), kReportPassEvent);  // not a key report
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].VirtualKeyCode, 'V');
  EXPECT_EQ(keys[0].ScanCode, 0x2F);
  EXPECT_TRUE(keys[0].keyIsBeingPressed);
  EXPECT_FALSE(keys[1].keyIsBeingPressed);
  EXPECT_TRUE(keys[1].keyWasDownBefore);

  // The raw handler sees every report first and can take it over.
  std::vector<uint32_t> raw;
  hook.OnUnfiltered = [&](TSysHook&, uint32_t code, uintptr_t, intptr_t, bool& handled) {
    raw.push_back(code);
    handled = code == 0;
  };
  EXPECT_EQ(hook.ProcessHookMessage(kReport, 'X', 1), kReportPassEvent);
  hook.ProcessHookMessage(kReport + 7, 0, 0);
  EXPECT_EQ(raw, (std::vector<uint32_t>{0, 7}));
  EXPECT_EQ(keys.size(), 2u);
}

TEST(SysMouseHookReports, ClicksAndMoves) {
  FakePlatform platform;
  TSysMouseHook hook(platform);
  std::vector<std::vector<int>> events;  // window, x, y, button, movement (moves: window, x, y)
  hook.OnMouseClick = [&](TSysMouseHook&, uint32_t window, int32_t x, int32_t y, TMouseButton b,
                          TSysMouseButtonMovement m) {
    events.push_back({int(window), x, y, int(b), int(m)});
  };
  hook.OnMouseMove = [&](TSysMouseHook&, uint32_t window, int32_t x, int32_t y) {
    events.push_back({int(window), x, y});
  };
  // Right button up at (300, 200) over window 0x5150, then a move; the mouse never asks to drop.
  EXPECT_EQ(hook.ProcessHookMessage(kReport + 5, (200u << 16) | 300u, 0x5150), kReportPassEvent);
  EXPECT_EQ(hook.ProcessHookMessage(kReport + 16, (2u << 16) | 1u, 9), kReportPassEvent);
  hook.ProcessHookMessage(kReport + 11, 0, 0);  // no mouse event
  EXPECT_EQ(events, (std::vector<std::vector<int>>{
                        {0x5150, 300, 200, int(TMouseButton::mbRight), int(TSysMouseButtonMovement::mbmUp)},
                        {9, 1, 2}}));

  hook.OnUnfiltered = [](TSysHook&, uint32_t, uintptr_t, intptr_t, bool& handled) { handled = true; };
  hook.ProcessHookMessage(kReport + 1, 0, 0);
  EXPECT_EQ(events.size(), 2u);
}
