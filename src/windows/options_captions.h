// The captions of the main window's menu rows that show a setting: the text limit, the
// paste key, the paste step and the jump key. The settings reader and the options dialog
// both write them.
#pragma once

#include <string>

namespace windows {

// `menucangdu`: "文本长度限制为 80000字符".
std::u16string TextLengthCaption(int maxTextLength);
// `xiayistep`: "连续粘贴时，数据每次下移 1 条。。。".
std::u16string PasteStepCaption(int pasteStep);
// `menurejiandinyi`: "热键定义为 F9", "热键定义为 Alt+F9".
std::u16string HotKeyCaption(int hotKeyIndex, bool alt);
// `menutiaogeseziwei`: Tab for 0, the right arrow for 1, Enter for any other value.
std::u16string JumpKeyCaption(int jumpKey);
// The item texts of the paste key and jump key lists.
std::u16string HotKeyName(int hotKeyIndex);  // "F1" ... "F12"; empty outside 0..11
inline constexpr int kHotKeyCount = 12;
inline constexpr const char16_t* kJumpKeyNames[] = {u"Tab键", u"方向键(→)", u"回车键Enter"};

}  // namespace windows
