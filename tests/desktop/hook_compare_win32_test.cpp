// The low-level hooks of the library against the classic injected ones: both attached at
// once, each to a receiver of its own, while another process types and clicks. Every report
// the injected hook gives for that process must come alike from the low-level hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <vector>

#include "desktop/hook_helper_win32.h"
#include "desktop/hook_protocol.h"

using namespace desktop;
using namespace hooktest;

namespace {

using AttachReceiverProc = int32_t(WINAPI*)(int32_t, HWND, unsigned char);
using DetachReceiverProc = int32_t(WINAPI*)(int32_t, HWND);

struct Report {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Report& r) {
  return out << "code " << r.message - WM_USER << " w 0x" << std::hex << r.wParam << " l 0x" << r.lParam << std::dec;
}

std::map<HWND, std::vector<Report>>& Received() {
  static std::map<HWND, std::vector<Report>> received;
  return received;
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) {
    Received()[window].push_back({message, wParam, lParam});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND NewReceiver() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HookCompareReceiver";
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowExW(0, L"HookCompareReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

class AttachedLibrary {
 public:
  AttachedLibrary(const std::string& path, int32_t hookType) : hookType_(hookType) {
    library_ = LoadLibraryA(path.c_str());
    receiver_ = NewReceiver();
    if (!library_) return;
    auto attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library_, "AttachReceiver")));
    result_ = attach(hookType, receiver_, 0);
  }
  ~AttachedLibrary() {
    if (library_) {
      auto detach = reinterpret_cast<DetachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library_, "DetachReceiver")));
      detach(hookType_, receiver_);
      FreeLibrary(library_);
    }
    DestroyWindow(receiver_);
  }
  bool Attached() const { return library_ && result_ == 0; }
  const std::vector<Report>& Reports() const { return Received()[receiver_]; }

 private:
  int32_t hookType_;
  HMODULE library_ = nullptr;
  HWND receiver_ = nullptr;
  int32_t result_ = -100;
};

bool IsHelperKey(WPARAM vk) {
  return vk == VK_MENU || vk == '1' || vk == VK_F9 || vk == VK_RIGHT || vk == VK_SHIFT || vk == VK_TAB;
}

std::vector<Report> KeysOnly(const std::vector<Report>& reports) {
  std::vector<Report> keys;
  for (const Report& r : reports)
    if (r.message == WM_USER && IsHelperKey(r.wParam)) keys.push_back(r);
  return keys;
}

// Button reports (the helper's window is gone by now, so its clicks are told by their point).
std::vector<Report> ClicksAt(const std::vector<Report>& reports, int x, int y) {
  std::vector<Report> clicks;
  for (const Report& r : reports) {
    const UINT code = (r.message - WM_USER) & 15;
    if (code >= 1 && code <= 9 && r.wParam == static_cast<WPARAM>(PackMousePoint(x, y))) clicks.push_back(r);
  }
  return clicks;
}

}  // namespace

TEST(HookComparison, KeysOfAnotherProcessReportAlike) {
  AttachedLibrary lowLevel(HookLibraryPath(), kKeyboardHookType);
  AttachedLibrary injected(InjectedHookLibraryPath(), kKeyboardHookType);
  ASSERT_TRUE(lowLevel.Attached());
  ASSERT_TRUE(injected.Attached());
  HelperProcess helper("keys");
  ASSERT_TRUE(PumpUntil([&] { return helper.Exited(); }, 20000));
  PumpFor(300);
  ASSERT_EQ(helper.ExitCode(), 0) << "the helper window never got the focus";

  const std::vector<Report> classic = KeysOnly(injected.Reports());
  const std::vector<Report> rebuilt = KeysOnly(lowLevel.Reports());
  // Alt+1 (4), F9 held (10 + 1), Right (2), Shift+Tab (4).
  ASSERT_EQ(classic.size(), 21u);
  // Wine's classic hook sets bit 29 (Alt held) only on Alt's own press; the low-level hook
  // sets it on every key while Alt is held, as Windows does. All else must be equal.
  auto withoutAltBit = [](std::vector<Report> reports) {
    for (Report& r : reports) r.lParam &= ~(LPARAM{1} << 29);
    return reports;
  };
  EXPECT_EQ(withoutAltBit(rebuilt), withoutAltBit(classic));
  EXPECT_EQ(rebuilt.at(0).lParam, 0x20380001);
  EXPECT_EQ(rebuilt.at(1).lParam, 0x20020001);
  EXPECT_EQ(rebuilt.at(2).lParam, static_cast<LPARAM>(0xE0020001u));
  EXPECT_EQ(rebuilt.at(3).lParam, static_cast<LPARAM>(0xC0380001u));
}

TEST(HookComparison, ClicksOfAnotherProcessReportAlike) {
  AttachedLibrary lowLevel(HookLibraryPath(), kMouseHookType);
  AttachedLibrary injected(InjectedHookLibraryPath(), kMouseHookType);
  ASSERT_TRUE(lowLevel.Attached());
  ASSERT_TRUE(injected.Attached());
  HelperProcess helper("click");
  ASSERT_TRUE(PumpUntil([&] { return helper.Exited(); }, 20000));
  PumpFor(300);
  ASSERT_EQ(helper.ExitCode(), 0);

  const std::vector<Report> classic = ClicksAt(injected.Reports(), kClickX, kClickY);
  const std::vector<Report> rebuilt = ClicksAt(lowLevel.Reports(), kClickX, kClickY);
  // Down, up, double, up.
  ASSERT_EQ(classic.size(), 4u);
  EXPECT_EQ(rebuilt, classic);
  EXPECT_EQ(rebuilt.at(2).message, WM_USER + 3u);
}
