#include "unicode/uni_menu_text.h"

namespace unicode {

std::u16string_view FixedKeyName(uint8_t key) {
  switch (key) {
    case 8: return u"BkSp";
    case 9: return u"Tab";
    case 13: return u"Enter";
    case 27: return u"Esc";
    case 32: return u"Space";
    case 33: return u"PgUp";
    case 34: return u"PgDn";
    case 35: return u"End";
    case 36: return u"Home";
    case 37: return u"Left";
    case 38: return u"Up";
    case 39: return u"Right";
    case 40: return u"Down";
    case 45: return u"Ins";
    case 46: return u"Del";
    default: break;
  }
  if (key >= 112 && key <= 135) {
    static const std::u16string_view kFunctionKeys[] = {
        u"F1",  u"F2",  u"F3",  u"F4",  u"F5",  u"F6",  u"F7",  u"F8",  u"F9",  u"F10", u"F11", u"F12",
        u"F13", u"F14", u"F15", u"F16", u"F17", u"F18", u"F19", u"F20", u"F21", u"F22", u"F23", u"F24"};
    return kFunctionKeys[key - 112];
  }
  return {};
}

namespace {
bool TypesACharacter(uint8_t key) {
  return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 0x60 && key <= 0x69);
}
}  // namespace

std::u16string ShortCutToText(TShortCut shortcut, const KeyboardLayoutNames& layout) {
  const auto key = static_cast<uint8_t>(shortcut & 0xFF);
  if (key == 0) return {};
  std::u16string keyText(FixedKeyName(key));
  if (keyText.empty() && TypesACharacter(key) && layout.keyCharacter) {
    if (const char16_t c = layout.keyCharacter(key)) keyText.assign(1, c);
  }
  if (keyText.empty() && layout.keyName) keyText = layout.keyName(key);
  if (keyText.empty()) return {};
  std::u16string text;
  if (shortcut & scShift) text += u"Shift+";
  if (shortcut & scCtrl) text += u"Ctrl+";
  if (shortcut & scAlt) text += u"Alt+";
  return text + keyText;
}

std::u16string MenuRowText(std::u16string_view caption, std::u16string_view shortcutText, bool opensSubMenu,
                           bool barItem) {
  std::u16string text(caption);
  if (!opensSubMenu && !barItem && !shortcutText.empty()) {
    text += u'\t';
    text += shortcutText;
  }
  return text;
}

}  // namespace unicode
