// SendKeys: turns a key string such as "^v", "{RIGHT}" or "+(ab)" into synthesised key
// events for the window that has the keyboard focus. The reading of the string is here,
// portable; the keyboard layout, the events and the message boxes come from a platform
// (send_keys_win32.h gives the real one), so that tests see every event in order.
//
// Syntax: "+", "^", "%" hold Shift, Ctrl, Alt for the next key; "(" ... ")" holds them over
// a group; "~" is Enter; "{NAME}" or "{NAME count}" is a named key or a single character
// repeated; "{{}" and "{}}" are the braces themselves. Every other character is typed.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace desktop {

// keybd_event flags.
inline constexpr uint32_t kKeyEventExtendedKey = 0x0001;
inline constexpr uint32_t kKeyEventKeyUp = 0x0002;

inline constexpr uint8_t kVkShift = 16;
inline constexpr uint8_t kVkControl = 17;
inline constexpr uint8_t kVkMenu = 18;
inline constexpr uint8_t kVkNumLock = 144;

class SendKeysPlatform {
 public:
  virtual ~SendKeysPlatform() = default;
  // VkKeyScanA: the virtual key in the low byte, the shift state (1 Shift, 2 Ctrl, 4 Alt) in
  // the high byte; -1 when the character has no key.
  virtual int16_t KeyOfCharacter(char c) = 0;
  // MapVirtualKeyA(code, 0): the scan code.
  virtual uint8_t ScanCodeOf(uint8_t vk) = 0;
  // True for the first byte of a two-byte character of the ANSI code page.
  virtual bool IsLeadByte(char c) = 0;
  virtual void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
  // NUMLOCK is keyboard state of the calling thread, not an event.
  virtual void ToggleNumLock() = 0;
  // Handles the calling thread's pending keyboard messages (Wait).
  virtual void PumpKeyMessages() = 0;
  // A message box captioned "SendKeys".
  virtual void ShowMessage(std::u16string_view text) = 0;
};

struct SendKeyName {
  std::string_view name;
  uint8_t vk;
};
// The 41 key names, in table order.
std::span<const SendKeyName> SendKeyNames();

// Extended keys are sent with KEYEVENTF_EXTENDEDKEY: PGUP to DOWN, INS and DEL.
bool IsExtendedKey(uint8_t vk);

// A repeat count that is not a number. Raised after every held modifier was released.
class SendKeysCountError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Sends the keys; false only when a "{" has no closing "}". Keys is ANSI (code page 936).
// With Wait, the calling thread's keyboard messages are handled after every event.
bool SendKeys(std::string_view Keys, bool Wait, SendKeysPlatform& platform);

}  // namespace desktop
