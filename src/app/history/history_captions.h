// Captions of the rows that mirror a history entry: the list row, the tray row and the
// bookmark menu row each show the beginning of the entry's text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::size_t ListRowChars = 150;    // CheckListBox1 row
inline constexpr std::size_t TrayRowChars = 50;     // PopupMenu2 entry row
inline constexpr std::size_t BookmarkRowChars = 8;  // zuanyidaosuqian row

// The first `count` UTF-16 units of `text`. When the cut would fall between the two
// halves of a surrogate pair, the whole pair is left out, so that a caption never ends
// in half a character.
std::u16string_view FirstChars(std::u16string_view text, std::size_t count);

inline std::u16string_view ListRowCaption(std::u16string_view text) { return FirstChars(text, ListRowChars); }
inline std::u16string_view TrayRowCaption(std::u16string_view text) { return FirstChars(text, TrayRowChars); }

// A bookmark menu row: its index k in decimal, "--", and the first 8 characters of the entry.
std::u16string BookmarkMenuCaption(int k, std::u16string_view entryText);

}  // namespace app
