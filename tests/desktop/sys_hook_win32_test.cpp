// The hook components with the real hook library under Wine: keys and clicks made in
// another process arrive as events, failures leave nothing loaded, and a stopped or dead
// owner leaves the library free for the next one.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "desktop/hook_helper_win32.h"
#include "desktop/hook_protocol.h"
#include "desktop/sys_hook.h"
#include "desktop/sys_hook_platform_win32.h"

using namespace desktop;
using namespace hooktest;

namespace {

using AttachReceiverProc = int32_t(WINAPI*)(int32_t, HWND, unsigned char);
using DetachReceiverProc = int32_t(WINAPI*)(int32_t, HWND);
using LastErrorProc = int32_t(WINAPI*)();

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool LibraryLoadedHere() { return GetModuleHandleA(HookLibraryPath().c_str()) != nullptr; }

std::u16string SystemText(DWORD code) {
  wchar_t buffer[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 512, nullptr);
  std::u16string text(reinterpret_cast<const char16_t*>(buffer));
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  return text;
}

struct KeyEvent {
  int32_t vk;
  bool pressed;
  uint8_t scan;
};

struct ClickEvent {
  DWORD process;
  int32_t x, y;
  TMouseButton button;
  TSysMouseButtonMovement movement;
};

DWORD ProcessOf(uint32_t window) {
  DWORD process = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<uintptr_t>(window)), &process);
  return process;
}

void ExpectTyped(const std::vector<KeyEvent>& events, const std::string& keys) {
  ASSERT_EQ(events.size(), keys.size() * 2);
  for (size_t i = 0; i < keys.size(); ++i) {
    for (int half = 0; half < 2; ++half) {
      const KeyEvent& e = events[i * 2 + half];
      EXPECT_EQ(e.vk, keys[i]) << i;
      EXPECT_EQ(e.pressed, half == 0) << i;
      EXPECT_EQ(e.scan, MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC)) << i;
    }
  }
}

// Starts the hook, lets a helper type QUI into its own window and returns what that window
// got; the hook's key events of Q, U and I are in keys.
std::string TypeQuiElsewhere(TSysKeyboardHook& hook, std::vector<KeyEvent>& keys, bool dropU) {
  hook.SetHookDLL(Wide(HookLibraryPath()));
  hook.OnKeyAction = [&keys, dropU](TSysKeyboardHook&, int32_t vk, uint16_t, uint8_t scan, bool, bool, bool,
                                    bool pressed, bool& filterEvent) {
    if (vk == 'Q' || vk == 'U' || vk == 'I') keys.push_back({vk, pressed, scan});
    filterEvent = dropU && vk == 'U';
  };
  std::u16string message = u"unset";
  hook.Start(message);
  EXPECT_EQ(message, u"");
  const std::string out = ScratchFile("typed.txt");
  HelperProcess helper("type QUI " + out);
  EXPECT_TRUE(PumpUntil([&] { return helper.Exited(); }, 15000));
  PumpFor(300);
  EXPECT_EQ(helper.ExitCode(), 0) << "the helper window never got the focus";
  return ReadFileText(out);
}

}  // namespace

TEST(SysHookWine, KeysTypedInAnotherProcessArrive) {
  TSysKeyboardHook hook(Win32HookPlatform());
  std::vector<KeyEvent> keys;
  EXPECT_EQ(TypeQuiElsewhere(hook, keys, false), "qui");
  ExpectTyped(keys, "QUI");
}

TEST(SysHookWine, AFilteringReceiverDropsKeysInTheOtherProcess) {
  TSysKeyboardHook hook(Win32HookPlatform());
  hook.SetAllowFiltering(true);
  std::vector<KeyEvent> keys;
  EXPECT_EQ(TypeQuiElsewhere(hook, keys, true), "qi");
  ExpectTyped(keys, "QUI");  // the dropped key was still reported
}

TEST(SysHookWine, ClicksAndMovesInAnotherProcessArrive) {
  TSysMouseHook hook(Win32HookPlatform());
  hook.SetHookDLL(Wide(HookLibraryPath()));
  std::vector<ClickEvent> clicks;
  int movesFromHelper = 0;
  DWORD helperId = 0;
  hook.OnMouseClick = [&](TSysMouseHook&, uint32_t window, int32_t x, int32_t y, TMouseButton button,
                          TSysMouseButtonMovement movement) {
    clicks.push_back({ProcessOf(window), x, y, button, movement});
  };
  hook.OnMouseMove = [&](TSysMouseHook&, uint32_t window, int32_t, int32_t) {
    if (helperId && ProcessOf(window) == helperId) ++movesFromHelper;
  };
  std::u16string message;
  hook.Start(message);
  ASSERT_EQ(message, u"");

  HelperProcess helper("click");
  helperId = helper.Id();
  PumpUntil([&] { return helper.Exited(); }, 15000);
  PumpFor(300);
  ASSERT_EQ(helper.ExitCode(), 0);

  std::vector<ClickEvent> fromHelper;
  for (const ClickEvent& c : clicks)
    if (c.process == helperId) fromHelper.push_back(c);
  using M = TSysMouseButtonMovement;
  const M expected[] = {M::mbmDown, M::mbmUp, M::mbmDouble, M::mbmUp};
  ASSERT_EQ(fromHelper.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(fromHelper[i].movement, expected[i]) << i;
    EXPECT_EQ(fromHelper[i].button, TMouseButton::mbLeft) << i;
    EXPECT_EQ(fromHelper[i].x, kClickX) << i;
    EXPECT_EQ(fromHelper[i].y, kClickY) << i;
  }
  EXPECT_GT(movesFromHelper, 0);
}

TEST(SysHookWine, MissingOrIncompleteLibraryLeavesNothingLoaded) {
  TSysKeyboardHook hook(Win32HookPlatform());
  std::u16string message;
  hook.SetHookDLL(Wide(std::string(QUILL_SCRATCH_DIR) + "\\NoSuchHook"));
  hook.Start(message);
  EXPECT_EQ(message, SystemText(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(message.empty());
  EXPECT_FALSE(hook.Active());
  EXPECT_EQ(hook.Listener(), 0u);
  EXPECT_FALSE(Win32HookPlatform().Loader().Loaded());

  // A library that loads but is not a hook library.
  hook.SetHookDLL(u"msimg32.dll");
  hook.Start(message);
  EXPECT_EQ(message, u"DLL doesn't export all required functions.");
  EXPECT_FALSE(Win32HookPlatform().Loader().Loaded());
  EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);

  // Then the real one starts at once.
  hook.SetHookDLL(Wide(HookLibraryPath()));
  hook.Start(message);
  EXPECT_EQ(message, u"");
  EXPECT_TRUE(hook.Active());
}

TEST(SysHookWine, StoppingLeavesTheHookFreeForOthers) {
  TSysKeyboardHook keyboard(Win32HookPlatform());
  TSysMouseHook mouse(Win32HookPlatform());
  keyboard.SetHookDLL(Wide(HookLibraryPath()));
  mouse.SetHookDLL(Wide(HookLibraryPath()));
  std::u16string message;
  keyboard.Start(message);
  ASSERT_EQ(message, u"");
  mouse.Start(message);
  ASSERT_EQ(message, u"");

  // While this process owns the keyboard hook, another one cannot take it.
  {
    HelperProcess other("attach " + HookLibraryPath() + " 1");
    ASSERT_TRUE(PumpUntil([&] { return other.Exited(); }, 15000));
    EXPECT_EQ(other.ExitCode(), kHookAlreadyInstalled);
  }

  // The keyboard hook stopped while the mouse hook keeps the library loaded: the keyboard
  // hook must be gone all the same, so another process can have it.
  keyboard.Stop();
  EXPECT_TRUE(LibraryLoadedHere());
  {
    HelperProcess other("attach " + HookLibraryPath() + " 1");
    ASSERT_TRUE(PumpUntil([&] { return other.Exited(); }, 15000));
    EXPECT_EQ(other.ExitCode(), 0);  // and its exit cleared it again
  }
  mouse.Stop();
  EXPECT_FALSE(LibraryLoadedHere());

  keyboard.Start(message);
  EXPECT_EQ(message, u"");
  mouse.Start(message);
  EXPECT_EQ(message, u"");
}

TEST(SysHookWine, AnOwnerKilledWithoutDetachingIsReplaced) {
  // The library's shared data lives as long as some process maps it: this one does.
  HMODULE keep = LoadLibraryA(HookLibraryPath().c_str());
  ASSERT_NE(keep, nullptr);
  const std::string hold = ScratchFile("held.txt");
  HelperProcess owner("attach " + HookLibraryPath() + " 2 " + hold);
  ASSERT_TRUE(PumpUntil([&] { return !ReadFileText(hold).empty(); }, 15000));
  ASSERT_EQ(ReadFileText(hold), "0");

  TSysMouseHook hook(Win32HookPlatform());
  hook.SetHookDLL(Wide(HookLibraryPath()));
  std::u16string message;
  hook.Start(message);
  EXPECT_EQ(message, u"System hook already installed.");
  owner.Kill();
  hook.Start(message);
  EXPECT_EQ(message, u"");
  EXPECT_TRUE(hook.Active());
  hook.Stop();
  FreeLibrary(keep);
}

TEST(SysHookLibrary, ReceiverTable) {
  HMODULE library = LoadLibraryA(HookLibraryPath().c_str());
  ASSERT_NE(library, nullptr);
  auto attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library, "AttachReceiver")));
  auto detach = reinterpret_cast<DetachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library, "DetachReceiver")));
  auto lastError = reinterpret_cast<LastErrorProc>(reinterpret_cast<void*>(GetProcAddress(library, "LastError")));
  ASSERT_TRUE(attach && detach && lastError);

  std::vector<HWND> windows;
  for (int i = 0; i < 9; ++i)
    windows.push_back(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(attach(kKeyboardHookType, windows[i], 0), 0) << i;
  EXPECT_EQ(attach(kKeyboardHookType, windows[8], 0), kHookTooManyReceivers);
  EXPECT_EQ(lastError(), kHookTooManyReceivers);
  EXPECT_EQ(attach(kKeyboardHookType, windows[0], 1), kHookReceiverAlreadyRegistered);
  EXPECT_EQ(detach(kKeyboardHookType, windows[8]), kHookReceiverNotRegistered);
  EXPECT_EQ(detach(kMouseHookType, windows[0]), kHookReceiverNotRegistered);
  EXPECT_EQ(attach(3, windows[8], 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(attach(kMouseHookType, nullptr, 0), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(attach(kMouseHookType, GetDesktopWindow(), 0), ERROR_ACCESS_DENIED);  // not this process's

  // A receiver destroyed without detaching makes room for a new one.
  DestroyWindow(windows[3]);
  EXPECT_EQ(attach(kKeyboardHookType, windows[8], 0), 0);
  EXPECT_EQ(lastError(), 0);

  for (HWND w : windows) {
    if (w != windows[3]) {
      EXPECT_EQ(detach(kKeyboardHookType, w), 0);
    }
  }
  EXPECT_EQ(detach(kKeyboardHookType, windows[0]), kHookReceiverNotRegistered);
  for (HWND w : windows) DestroyWindow(w);
  FreeLibrary(library);
}

TEST(SysHookLibrary, TheHookThreadHoldsTheLibraryUntilTheLastDetach) {
  // This process frees the library without detaching its receiver: the hook thread keeps
  // its own reference, so the hook goes on and the library stays.
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HMODULE library = LoadLibraryA(HookLibraryPath().c_str());
  auto attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library, "AttachReceiver")));
  auto detach = reinterpret_cast<DetachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library, "DetachReceiver")));
  ASSERT_EQ(attach(kMouseHookType, window, 0), 0);
  FreeLibrary(library);
  ASSERT_TRUE(LibraryLoadedHere());
  {
    HelperProcess other("attach " + HookLibraryPath() + " 2");
    ASSERT_TRUE(PumpUntil([&] { return other.Exited(); }, 15000));
    EXPECT_EQ(other.ExitCode(), kHookAlreadyInstalled);
  }

  // The last detach (through a reference of the caller's own) ends the thread, which lets go
  // of its reference: the caller's is then the last.
  library = LoadLibraryA(HookLibraryPath().c_str());
  EXPECT_EQ(detach(kMouseHookType, window), 0);
  FreeLibrary(library);
  EXPECT_FALSE(LibraryLoadedHere());
  HelperProcess other("attach " + HookLibraryPath() + " 2");
  ASSERT_TRUE(PumpUntil([&] { return other.Exited(); }, 15000));
  EXPECT_EQ(other.ExitCode(), 0);
  DestroyWindow(window);
}
