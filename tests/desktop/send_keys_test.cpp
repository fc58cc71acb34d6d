// The key-string sender on a US keyboard map: every event it sends, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/send_keys.h"

using namespace desktop;

namespace {

struct Event {
  uint8_t vk;
  bool up;
  bool extended;
  bool operator==(const Event&) const = default;
};

Event Down(uint8_t vk, bool extended = false) { return {vk, false, extended}; }
Event Up(uint8_t vk, bool extended = false) { return {vk, true, extended}; }

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << (e.up ? "up " : "down ") << int(e.vk) << (e.extended ? " ext" : "");
}

// A US layout: letters, digits, a few punctuation keys, Tab, Enter and Space.
class UsKeyboard : public SendKeysPlatform {
 public:
  int16_t KeyOfCharacter(char c) override {
    if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
    if (c >= '0' && c <= '9') return c;
    switch (c) {
      case ' ': return 0x20;
      case '\t': return 9;
      case '\r': return 13;
      case '[': return 219;
      case ']': return 221;
      case '{': return 0x100 | 219;
      case '}': return 0x100 | 221;
      case '!': return 0x100 | '1';
      default: return -1;
    }
  }
  uint8_t ScanCodeOf(uint8_t vk) override { return static_cast<uint8_t>(vk + 1); }
  bool IsLeadByte(char c) override {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
  }
  void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override {
    EXPECT_EQ(scan, vk + 1) << "scan code of " << int(vk);
    events.push_back({vk, (flags & kKeyEventKeyUp) != 0, (flags & kKeyEventExtendedKey) != 0});
    down[vk] = !(flags & kKeyEventKeyUp);
  }
  void ToggleNumLock() override { ++numLockToggles; }
  void PumpKeyMessages() override { ++pumps; }
  void ShowMessage(std::u16string_view text) override {
    // Nothing may be held down while the user reads a box.
    for (uint8_t modifier : {kVkShift, kVkControl, kVkMenu}) EXPECT_FALSE(down[modifier]) << int(modifier);
    messages.emplace_back(text);
  }
  bool AnyModifierDown() const { return down[kVkShift] || down[kVkControl] || down[kVkMenu]; }

  std::vector<Event> events;
  std::vector<std::u16string> messages;
  bool down[256] = {};
  int numLockToggles = 0;
  int pumps = 0;
};

std::vector<Event> Sent(std::string_view keys, bool* result = nullptr) {
  UsKeyboard keyboard;
  const bool ok = SendKeys(keys, false, keyboard);
  if (result) *result = ok;
  EXPECT_FALSE(keyboard.AnyModifierDown()) << keys;
  return keyboard.events;
}

std::vector<Event> Tabs(int n) {
  std::vector<Event> e;
  for (int i = 0; i < n; ++i) e.insert(e.end(), {Down(9), Up(9)});
  return e;
}

}  // namespace

TEST(SendKeys, ModifiersWrapTheNextKeyOnly) {
  EXPECT_EQ(Sent("^v"), (std::vector<Event>{Down(17), Down('V'), Up('V'), Up(17)}));
  EXPECT_EQ(Sent("^c"), (std::vector<Event>{Down(17), Down('C'), Up('C'), Up(17)}));
  // Released in the order Shift, Ctrl, Alt whatever order they were pressed in.
  EXPECT_EQ(Sent("%^+x"), (std::vector<Event>{Down(18), Down(17), Down(16), Down('X'), Up('X'), Up(16), Up(17),
                                              Up(18)}));
  EXPECT_EQ(Sent("^ab"), (std::vector<Event>{Down(17), Down('A'), Up('A'), Up(17), Down('B'), Up('B')}));
  // A capital letter brings its own Shift.
  EXPECT_EQ(Sent("A"), (std::vector<Event>{Down(16), Down('A'), Up('A'), Up(16)}));
  EXPECT_EQ(Sent("~"), (std::vector<Event>{Down(13), Up(13)}));
  bool ok = false;
  EXPECT_TRUE(Sent("", &ok).empty());
  EXPECT_TRUE(ok);
}

TEST(SendKeys, GroupsHoldModifiersAndDoNotNest) {
  EXPECT_EQ(Sent("+(ab)"), (std::vector<Event>{Down(16), Down('A'), Up('A'), Down('B'), Up('B'), Up(16)}));
  // The first ")" ends the group and lets go of everything held, also inside a second "(".
  EXPECT_EQ(Sent("^(a(b)c)"), (std::vector<Event>{Down(17), Down('A'), Up('A'), Down('B'), Up('B'), Up(17),
                                                   Down('C'), Up('C')}));
  // A group never closed still lets go at the end.
  EXPECT_EQ(Sent("+(a"), (std::vector<Event>{Down(16), Down('A'), Up('A'), Up(16)}));
}

TEST(SendKeys, NamedKeysCountsAndExtendedKeys) {
  EXPECT_EQ(Sent("{RIGHT}"), (std::vector<Event>{Down(39, true), Up(39, true)}));
  EXPECT_EQ(Sent("{right}"), (std::vector<Event>{Down(39, true), Up(39, true)}));
  EXPECT_EQ(Sent("{TAB 3}"), Tabs(3));
  EXPECT_TRUE(Sent("{TAB 0}").empty());
  EXPECT_TRUE(Sent("{TAB -2}").empty());
  for (const char* backspace : {"{BS}", "{BKSP}", "{BACKSPACE}"})
    EXPECT_EQ(Sent(backspace), (std::vector<Event>{Down(8), Up(8)})) << backspace;
  EXPECT_EQ(Sent("{DEL}{INS}{HOME}{F9}"), (std::vector<Event>{Down(46, true), Up(46, true), Down(45, true),
                                                               Up(45, true), Down(36, true), Up(36, true), Down(120),
                                                               Up(120)}));
  // The name is upper-cased before it is mapped: "{a}" is Shift+A.
  EXPECT_EQ(Sent("{a}"), (std::vector<Event>{Down(16), Down('A'), Up('A'), Up(16)}));
  EXPECT_EQ(Sent("{x 2}"), (std::vector<Event>{Down(16), Down('X'), Up('X'), Down('X'), Up('X'), Up(16)}));
  EXPECT_EQ(Sent("{{}"), (std::vector<Event>{Down(16), Down(219), Up(219), Up(16)}));
  EXPECT_EQ(Sent("{}}"), (std::vector<Event>{Down(16), Down(221), Up(221), Up(16)}));
  EXPECT_EQ(Sent("^{ENTER}"), (std::vector<Event>{Down(17), Down(13), Up(13), Up(17)}));
  EXPECT_EQ(SendKeyNames().size(), 41u);
}

TEST(SendKeys, NumLockIsStateNotEvents) {
  UsKeyboard keyboard;
  EXPECT_TRUE(SendKeys("{NUMLOCK 3}", false, keyboard));
  EXPECT_EQ(keyboard.numLockToggles, 1);
  EXPECT_TRUE(keyboard.events.empty());
}

TEST(SendKeys, WaitHandlesKeyMessagesAfterEveryEvent) {
  UsKeyboard keyboard;
  EXPECT_TRUE(SendKeys("^v", true, keyboard));
  EXPECT_EQ(keyboard.pumps, 4);
  UsKeyboard noWait;
  SendKeys("^v", false, noWait);
  EXPECT_EQ(noWait.pumps, 0);
}

TEST(SendKeys, ErrorsReleaseHeldModifiersFirst) {
  UsKeyboard keyboard;
  EXPECT_FALSE(SendKeys("^{ENTER", false, keyboard));
  EXPECT_EQ(keyboard.messages, std::vector<std::u16string>{u"No Close"});
  EXPECT_EQ(keyboard.events, (std::vector<Event>{Down(17), Up(17)}));

  UsKeyboard unknown;
  EXPECT_TRUE(SendKeys("+({NOPE}a)", false, unknown));
  EXPECT_EQ(unknown.messages, std::vector<std::u16string>{u"Invalid Key Name"});
  // The rest is read on: "a" comes after the box, without the Shift let go for it.
  EXPECT_EQ(unknown.events, (std::vector<Event>{Down(16), Up(16), Down('A'), Up('A')}));

  UsKeyboard count;
  EXPECT_THROW(SendKeys("%(x{TAB many})", false, count), SendKeysCountError);
  EXPECT_FALSE(count.AnyModifierDown());

  // A one-character name without a key is skipped silently.
  UsKeyboard silent;
  EXPECT_TRUE(SendKeys("{#}b", false, silent));
  EXPECT_TRUE(silent.messages.empty());
  EXPECT_EQ(silent.events, (std::vector<Event>{Down('B'), Up('B')}));
}

TEST(SendKeys, ACharacterWithoutAKeyIsReportedOncePerCharacter) {
  UsKeyboard keyboard;
  // "中文" in code page 936 (four bytes, two characters), then "a".
  EXPECT_TRUE(SendKeys("^\xD6\xD0\xCE\xC4" "a", false, keyboard));
  EXPECT_EQ(keyboard.messages, (std::vector<std::u16string>{u"中文无法输入", u"中文无法输入"}));
  EXPECT_EQ(keyboard.events, (std::vector<Event>{Down(17), Up(17), Down('A'), Up('A')}));
}
