// The texts a Unicode menu row shows beside its caption: the shortcut's text in the keyboard
// layout of the moment, and the row's whole text (caption, tab, shortcut) as the platform
// menu keeps it. Portable: the layout's answers come in through KeyboardLayoutNames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace unicode {

// A menu shortcut as the window framework encodes it: the virtual key in the low byte and
// the modifiers in the high bits.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

constexpr TShortCut ShortCut(uint8_t virtualKey, TShortCut modifiers = 0) {
  return static_cast<TShortCut>(virtualKey | modifiers);
}

// What the current keyboard layout says about a key: the character it types (0 when none)
// and the key's own name (the layout's name for its scan code).
struct KeyboardLayoutNames {
  std::function<char16_t(uint8_t virtualKey)> keyCharacter;
  std::function<std::u16string(uint8_t virtualKey)> keyName;
};

// The framework's names of the keys whose text does not depend on the layout: Backspace,
// Tab, Enter, Esc, Space, the page, end, home and arrow keys, Insert, Delete, F1 to F24.
// Empty for every other key.
std::u16string_view FixedKeyName(uint8_t virtualKey);

// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's text: the framework's name for the
// keys above, the layout's character for digits, letters and numeric-pad digits, the layout's
// key name for the rest. Empty for no shortcut.
std::u16string ShortCutToText(TShortCut shortcut, const KeyboardLayoutNames& layout);

// The text the platform menu keeps for a row: the caption, and for a row that opens no
// sub-menu, has a shortcut and is not an item of a menu bar, a tab and the shortcut's text.
std::u16string MenuRowText(std::u16string_view caption, std::u16string_view shortcutText, bool opensSubMenu,
                           bool barItem);

}  // namespace unicode
