#include "app/reorder/entry_search.h"

namespace app {

std::u16string findtext::NotFoundText(std::u16string_view findText) {
  return u"没有找到指定文本！  " + std::u16string(findText);
}

FindOutcome FindEntry(FindState& state, std::u16string_view findText, bool wholeWord, int selected, int rowCount,
                      const std::function<std::u16string_view(int)>& entryText) {
  FindOutcome outcome;
  if (findText.empty()) {
    outcome.verdict = FindVerdict::EmptyText;
    return outcome;
  }
  if (findText != state.FindLastText) state.FindNextOffset = 0;
  state.FindLastText = std::u16string(findText);
  if (selected < 0 || selected >= rowCount) {
    outcome.verdict = FindVerdict::NoStart;
    return outcome;
  }
  for (int row = selected + state.FindNextOffset; row < rowCount; ++row) {
    const std::u16string_view text = entryText(row);
    if (wholeWord ? text == findText : text.find(findText) != std::u16string_view::npos) {
      state.FindNextOffset = 1;
      outcome.verdict = FindVerdict::Found;
      outcome.row = row;
      return outcome;
    }
  }
  outcome.verdict = FindVerdict::NotFound;
  return outcome;
}

void ResetFind(FindState& state) {
  state.FindNextOffset = 0;
  state.FindLastText.clear();
}

}  // namespace app
