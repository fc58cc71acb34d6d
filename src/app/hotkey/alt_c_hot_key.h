// The Alt+C hot key that brings the main window to the front from any program.
#pragma once

#include <cstdint>

namespace app {

inline constexpr char16_t kHotKeyAtomName[] = u"UserDefineHotKey";
inline constexpr uint32_t kModAlt = 1;
inline constexpr uint32_t kKeyC = 67;

// The hot key's id made from its global atom (0xC000 and up): 0 to 0x3FFF.
constexpr int HotKeyIdFromAtom(uint16_t atom) { return static_cast<int>(atom) - 0xC000; }
constexpr uint16_t AtomOfHotKeyId(int id) { return static_cast<uint16_t>(id + 0xC000); }

// WM_HOTKEY's lParam: the modifiers in the low word, the virtual key in the high word. Only
// Alt alone with C is this hot key.
constexpr bool IsAltCHotKey(uint32_t lParam) { return (lParam & 0xFFFF) == kModAlt && (lParam >> 16) == kKeyC; }

}  // namespace app
