#include "desktop/send_keys.h"

#include <algorithm>
#include <array>
#include <limits>

namespace desktop {

namespace {

constexpr std::array<SendKeyName, 41> kNames = {{
    {"BKSP", 8},     {"BS", 8},       {"BACKSPACE", 8}, {"BREAK", 3},   {"CAPSLOCK", 20},   {"CLEAR", 12},
    {"DEL", 46},     {"DELETE", 46},  {"DOWN", 40},     {"END", 35},    {"ENTER", 13},      {"ESC", 27},
    {"ESCAPE", 27},  {"F1", 112},     {"F10", 121},     {"F11", 122},   {"F12", 123},       {"F13", 124},
    {"F14", 125},    {"F15", 126},    {"F16", 127},     {"F2", 113},    {"F3", 114},        {"F4", 115},
    {"F5", 116},     {"F6", 117},     {"F7", 118},      {"F8", 119},    {"F9", 120},        {"HELP", 47},
    {"HOME", 36},    {"INS", 45},     {"LEFT", 37},     {"NUMLOCK", 144}, {"PGDN", 34},     {"PGUP", 33},
    {"PRTSC", 42},   {"RIGHT", 39},   {"SCROLLLOCK", 145}, {"TAB", 9},  {"UP", 38},
}};

constexpr uint16_t kShiftState = 0x100;
constexpr uint16_t kCtrlState = 0x200;
constexpr uint16_t kAltState = 0x400;
constexpr uint16_t kLeftBrace = kShiftState | 219;
constexpr uint16_t kRightBrace = kShiftState | 221;
constexpr size_t kMaxNameLength = 20;

constexpr char16_t kNoClose[] = u"No Close";
constexpr char16_t kInvalidKeyName[] = u"Invalid Key Name";
constexpr char16_t kNoKeyForCharacter[] = u"中文无法输入";

// One call's state: the modifiers held by "+", "^", "%" and the group flag of "(".
class KeySender {
 public:
  KeySender(SendKeysPlatform& platform, bool wait) : platform_(platform), wait_(wait) {}

  void HoldShift() { Hold(shiftHeld_, kVkShift); }
  void HoldCtrl() { Hold(ctrlHeld_, kVkControl); }
  void HoldAlt() { Hold(altHeld_, kVkMenu); }
  void OpenGroup() { group_ = true; }
  void CloseGroup() {
    group_ = false;
    ReleaseHeld();
  }

  // Shift, Ctrl, Alt in that order, each only when held; inside a group nothing.
  void ReleaseHeld() {
    if (group_) return;
    ReleaseAll();
  }
  // Every held modifier, also inside a group: before a message box or an error leaves the
  // call, so that no key stays down while the user reads it.
  void ReleaseAll() {
    Release(shiftHeld_, kVkShift);
    Release(ctrlHeld_, kVkControl);
    Release(altHeld_, kVkMenu);
  }

  void Message(std::u16string_view text) {
    ReleaseAll();
    platform_.ShowMessage(text);
  }

  // A VkKeyScan value: its shift state pressed around count presses of its key.
  void SendMapped(uint16_t mapped, uint16_t count) {
    const uint8_t vk = static_cast<uint8_t>(mapped & 0xFF);
    const bool shift = mapped & kShiftState, ctrl = mapped & kCtrlState, alt = mapped & kAltState;
    if (shift) Press(kVkShift, 1, false);
    if (ctrl) Press(kVkControl, 1, false);
    if (alt) Press(kVkMenu, 1, false);
    Press(vk, count, true);
    if (shift) Up(kVkShift);
    if (ctrl) Up(kVkControl);
    if (alt) Up(kVkMenu);
  }

 private:
  void Hold(bool& held, uint8_t vk) {
    Press(vk, 1, false);
    held = true;
  }
  void Release(bool& held, uint8_t vk) {
    if (!held) return;
    Up(vk);
    held = false;
  }

  void Event(uint8_t vk, uint8_t scan, uint32_t flags) {
    platform_.KeybdEvent(vk, scan, flags);
    if (wait_) platform_.PumpKeyMessages();
  }

  void Press(uint8_t vk, uint16_t count, bool release) {
    if (vk == kVkNumLock) {
      platform_.ToggleNumLock();
      return;
    }
    const uint8_t scan = platform_.ScanCodeOf(vk);
    const uint32_t flags = IsExtendedKey(vk) ? kKeyEventExtendedKey : 0;
    for (uint16_t i = 0; i < count; ++i) {
      Event(vk, scan, flags);
      if (release) Event(vk, scan, flags | kKeyEventKeyUp);
    }
  }

  void Up(uint8_t vk) { Event(vk, platform_.ScanCodeOf(vk), kKeyEventKeyUp); }

  SendKeysPlatform& platform_;
  bool wait_;
  bool shiftHeld_ = false, ctrlHeld_ = false, altHeld_ = false;
  bool group_ = false;
};

// A decimal count with an optional sign, as a 32-bit integer; false for anything else.
bool ParseCount(std::string_view text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

}  // namespace

std::span<const SendKeyName> SendKeyNames() { return kNames; }

bool IsExtendedKey(uint8_t vk) { return (vk >= 33 && vk <= 40) || vk == 45 || vk == 46; }

bool SendKeys(std::string_view Keys, bool Wait, SendKeysPlatform& platform) {
  KeySender sender(platform, Wait);
  size_t i = 0;
  while (i < Keys.size()) {
    const char c = Keys[i];
    switch (c) {
      case '+': sender.HoldShift(); ++i; continue;
      case '^': sender.HoldCtrl(); ++i; continue;
      case '%': sender.HoldAlt(); ++i; continue;
      case '(': sender.OpenGroup(); ++i; continue;
      case ')': sender.CloseGroup(); ++i; continue;
      case '~':
        sender.SendMapped(13, 1);
        sender.ReleaseHeld();
        ++i;
        continue;
      case '{': break;
      default: {
        const int16_t mapped = platform.KeyOfCharacter(c);
        if (mapped == -1) {
          // A two-byte character is one character: one message, both bytes skipped.
          sender.Message(kNoKeyForCharacter);
          i += platform.IsLeadByte(c) && i + 1 < Keys.size() ? 2 : 1;
          continue;
        }
        sender.SendMapped(static_cast<uint16_t>(mapped), 1);
        sender.ReleaseHeld();
        ++i;
        continue;
      }
    }

    // A braced key.
    if (Keys.substr(i, 3) == "{{}") {
      sender.SendMapped(kLeftBrace, 1);
      sender.ReleaseHeld();
      i += 3;
      continue;
    }
    const size_t close = Keys.find('}', i + 1);
    if (close == std::string_view::npos) {
      sender.Message(kNoClose);
      return false;
    }
    if (close + 1 < Keys.size() && Keys[close + 1] == '}') {
      sender.SendMapped(kRightBrace, 1);
      sender.ReleaseHeld();
      i = close + 2;
      continue;
    }
    std::string name = UpperAscii(Keys.substr(i + 1, close - i - 1)).substr(0, kMaxNameLength);
    i = close + 1;
    uint16_t count = 1;
    if (const size_t blank = name.find(' '); blank != std::string::npos) {
      int32_t value = 0;
      if (!ParseCount(std::string_view(name).substr(blank + 1), value)) {
        sender.ReleaseAll();
        throw SendKeysCountError("'" + name.substr(blank + 1) + "' is not a valid integer value");
      }
      // A negative count sends nothing (kept as 16 bits it would be tens of thousands of keys).
      count = value < 0 ? 0 : static_cast<uint16_t>(value);
      name.resize(blank);
    }
    uint16_t mapped = 0;
    if (name.size() == 1) {
      const int16_t scanned = platform.KeyOfCharacter(name[0]);
      if (scanned == -1) continue;
      mapped = static_cast<uint16_t>(scanned);
    } else {
      const auto found = std::find_if(kNames.begin(), kNames.end(), [&](const SendKeyName& k) { return k.name == name; });
      if (found == kNames.end()) {
        sender.Message(kInvalidKeyName);
        continue;
      }
      mapped = found->vk;
    }
    sender.SendMapped(mapped, count);
    sender.ReleaseHeld();
  }
  // Also a group that was never closed lets go of its modifiers.
  sender.ReleaseAll();
  return true;
}

}  // namespace desktop
