#include "desktop/send_keys_win32.h"

#include <windows.h>

#include <string>

#include "gui/modal_loop.h"

namespace desktop {

namespace {

class Win32SendKeys : public SendKeysPlatform {
 public:
  int16_t KeyOfCharacter(char c) override { return VkKeyScanA(c); }
  uint8_t ScanCodeOf(uint8_t vk) override { return static_cast<uint8_t>(MapVirtualKeyA(vk, 0)); }
  bool IsLeadByte(char c) override { return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }
  void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override { keybd_event(vk, scan, flags, 0); }
  void ToggleNumLock() override {
    BYTE state[256] = {};
    const bool on = GetKeyState(VK_NUMLOCK) & 1;
    GetKeyboardState(state);
    state[VK_NUMLOCK] = on ? (state[VK_NUMLOCK] & ~1) : (state[VK_NUMLOCK] | 1);
    SetKeyboardState(state);
  }
  void PumpKeyMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void ShowMessage(std::u16string_view text) override {
    const std::wstring wide(text.begin(), text.end());
    const gui::ModalLoopScope modal;
    MessageBoxW(nullptr, wide.c_str(), L"SendKeys", MB_OK);
  }
};

}  // namespace

SendKeysPlatform& Win32SendKeysPlatform() {
  static Win32SendKeys platform;
  return platform;
}

bool SendKeys(std::string_view Keys, bool Wait) { return SendKeys(Keys, Wait, Win32SendKeysPlatform()); }

}  // namespace desktop
