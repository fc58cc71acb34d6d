// Shortcut texts of menu rows: the framework's key names, the layout's characters and key
// names, the modifiers' order, and where the text goes in the row.
#include <gtest/gtest.h>

#include "unicode/uni_menu_text.h"

using namespace unicode;

namespace {

// A layout that types Y on the Z key and Z on the Y key, and names every other key "Key<n>".
KeyboardLayoutNames SwappedLayout() {
  KeyboardLayoutNames names;
  names.keyCharacter = [](uint8_t key) -> char16_t {
    if (key == 'Z') return u'Y';
    if (key == 'Y') return u'Z';
    if (key >= 0x60 && key <= 0x69) return static_cast<char16_t>(u'0' + key - 0x60);
    return key;
  };
  names.keyName = [](uint8_t key) { return u"Key" + std::u16string(1, static_cast<char16_t>(u'0' + key % 10)); };
  return names;
}

TEST(ShortCutText, NamesTheKeyAfterItsModifiers) {
  const KeyboardLayoutNames layout = SwappedLayout();
  EXPECT_EQ(ShortCutToText(ShortCut('S', scCtrl), layout), u"Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(120), layout), u"F9");
  EXPECT_EQ(ShortCutToText(ShortCut(135), layout), u"F24");
  EXPECT_EQ(ShortCutToText(ShortCut(46, scAlt | scShift | scCtrl), layout), u"Shift+Ctrl+Alt+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(13), layout), u"Enter");
  EXPECT_EQ(ShortCutToText(scNone, layout), u"");
}

TEST(ShortCutText, LettersAndDigitsFollowTheLayout) {
  const KeyboardLayoutNames layout = SwappedLayout();
  EXPECT_EQ(ShortCutToText(ShortCut('Z', scCtrl), layout), u"Ctrl+Y");
  EXPECT_EQ(ShortCutToText(ShortCut('7', scAlt), layout), u"Alt+7");
  EXPECT_EQ(ShortCutToText(ShortCut(0x63), layout), u"3");  // numeric-pad 3
  // Any other key takes the layout's own name for it.
  EXPECT_EQ(ShortCutToText(ShortCut(0xBA, scCtrl), layout), u"Ctrl+Key6");
  // A key the layout has neither a character nor a name for gives no text.
  KeyboardLayoutNames silent;
  EXPECT_EQ(ShortCutToText(ShortCut(0xBA, scCtrl), silent), u"");
}

TEST(MenuRowText, AddsTheShortcutOnlyToPopupRowsWithoutSubMenus) {
  EXPECT_EQ(MenuRowText(u"保存(&S)", u"Ctrl+S", false, false), u"保存(&S)\tCtrl+S");
  EXPECT_EQ(MenuRowText(u"保存", u"Ctrl+S", true, false), u"保存");
  EXPECT_EQ(MenuRowText(u"文件", u"Ctrl+S", false, true), u"文件");
  EXPECT_EQ(MenuRowText(u"打开", u"", false, false), u"打开");
  // Characters outside code page 936 stay as they are.
  EXPECT_EQ(MenuRowText(u"\U0001F600 ä", u"", false, false), u"\U0001F600 ä");
}

}  // namespace
