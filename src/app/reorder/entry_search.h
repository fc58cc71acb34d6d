// "查找": searching the entries' texts from the selected row down, with the find dialog.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace app {

namespace findtext {
inline constexpr std::u16string_view kErrorCaption = u"出错";
inline constexpr std::u16string_view kNoStartRow = u"你必须先指定一个开始查找的位置！";
inline constexpr std::u16string_view kEmptyFindText = u"查找数据不能为空！";
inline constexpr std::u16string_view kNoStartPosition = u"没有指定查找起始位置！";
inline constexpr std::u16string_view kFoundSound = u"查找成功.wav";
// "没有找到指定文本！  " + the find text.
std::u16string NotFoundText(std::u16string_view findText);
}  // namespace findtext

// FindLastText and FindNextOffset: a second search for the same text starts one row below
// the last hit.
struct FindState {
  std::u16string FindLastText;
  int FindNextOffset = 0;
};

enum class FindVerdict {
  EmptyText,  // kEmptyFindText; the dialog closes
  NoStart,    // kNoStartPosition; the dialog closes
  NotFound,   // the dialog closes, then NotFoundText
  Found,      // `row` becomes the selected row and PastePosition; the found sound plays
};

struct FindOutcome {
  FindVerdict verdict = FindVerdict::NotFound;
  int row = -1;
};

// `FindDialog1Find`: rows from (selected + FindNextOffset) to the last, in order; with
// whole word the entry must equal the find text, else contain it (case counts).
FindOutcome FindEntry(FindState& state, std::u16string_view findText, bool wholeWord, int selected, int rowCount,
                      const std::function<std::u16string_view(int)>& entryText);

// `FindDialog1Close`.
void ResetFind(FindState& state);

}  // namespace app
