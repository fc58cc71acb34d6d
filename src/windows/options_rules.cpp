#include "windows/options_rules.h"

#include "unicode/codepage.h"

namespace windows {

namespace {
// A plain decimal number of at most nine digits (the fields take six): nothing else counts.
std::optional<int> Number(std::u16string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}
}  // namespace

int TextLimitFromField(std::u16string_view text) {
  const std::optional<int> value = Number(text);
  if (!value || *value == 0 || *value > kTextLimitMax) return kTextLimitFallback;
  return *value;
}

std::optional<int> StepFromField(std::u16string_view text) {
  const std::optional<int> value = Number(text);
  if (!value || *value < kStepMin || *value > kStepMax) return std::nullopt;
  return value;
}

int StepFromFields(std::u16string_view edit3, std::u16string_view edit4) {
  const std::optional<int> paste = StepFromField(edit3);
  if (!paste || !StepFromField(edit4)) return kStepMin;
  return *paste;
}

bool HasIconExtension(std::u16string_view path) {
  if (path.size() < 4) return false;
  const std::u16string_view tail = path.substr(path.size() - 4);
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
  return tail[0] == u'.' && lower(tail[1]) == u'i' && lower(tail[2]) == u'c' && lower(tail[3]) == u'o';
}

bool FitsSettingsFile(std::u16string_view text) {
  return unicode::AnsiToUtf16(unicode::Utf16ToAnsi(text)) == text;
}

std::optional<std::u16string_view> RefuseOk(std::u16string_view iconPath, bool iconUsable,
                                            std::u16string_view title) {
  if (!iconUsable || !HasIconExtension(iconPath)) return optionstext::kBadIconPath;
  if (!FitsSettingsFile(iconPath) || !FitsSettingsFile(title)) return optionstext::kUnsavableText;
  return std::nullopt;
}

int RebasePastePosition(int pastePosition, int selectedRow, int oldStep, int newStep) {
  if (selectedRow == pastePosition) return pastePosition;
  const int moved = pastePosition - oldStep + newStep;
  return moved < 0 ? 0 : moved;
}

SwitchChanges DecideSwitches(bool pasteBox, bool pasteRow, bool copyBox, bool copyRow) {
  const bool pasteChanged = pasteBox != pasteRow;
  const bool copyChanged = copyBox != copyRow;
  SwitchChanges changes;
  if (pasteChanged && copyChanged) {
    changes.runPasteSwitch = pasteBox;
    changes.setCopyRow = copyBox;
  } else {
    changes.runPasteSwitch = pasteChanged;
    changes.setCopyRow = copyChanged;
  }
  return changes;
}

}  // namespace windows
