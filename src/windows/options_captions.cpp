#include "windows/options_captions.h"

namespace windows {

namespace {
std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string TextLengthCaption(int maxTextLength) { return u"文本长度限制为 " + Decimal(maxTextLength) + u"字符"; }

std::u16string PasteStepCaption(int pasteStep) {
  return u"连续粘贴时，数据每次下移 " + Decimal(pasteStep) + u" 条。。。";
}

std::u16string HotKeyName(int hotKeyIndex) {
  if (hotKeyIndex < 0 || hotKeyIndex >= kHotKeyCount) return {};
  return u"F" + Decimal(hotKeyIndex + 1);
}

std::u16string HotKeyCaption(int hotKeyIndex, bool alt) {
  return u"热键定义为 " + std::u16string(alt ? u"Alt+" : u"") + HotKeyName(hotKeyIndex);
}

std::u16string JumpKeyCaption(int jumpKey) {
  if (jumpKey == 0) return u"跳格键设置为： TAB键";
  if (jumpKey == 1) return u"跳格键设置为： 方向键(→)";
  return u"跳格键设置为： 回车键Enter";
}

}  // namespace windows
