// Decisions of the history list's interaction: the click hint's text, range checking with
// Shift, and what a double click may open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The hint text of a clicked entry: the text itself when it has at most 255 characters,
// else its first 255 characters, a blank and six ideographic full stops.
std::u16string ClickHintText(std::u16string_view entryText);
// What the hint window shows for row `row` (0-based): the row number and character count,
// a blank line and the hint text.
std::u16string ClickHintCaption(int row, std::u16string_view entryText);

// Range checking: a row checked with Shift held checks every row between it and the anchor
// (the row last checked without Shift).
class RangeChecker {
 public:
  void ShiftDown(bool exactlyShift) { if (exactlyShift) shiftPending_ = true; }
  void KeyUp() { shiftPending_ = false; }
  // A row's box was toggled to `checked`. Returns the rows to check as well (empty for none).
  std::vector<int> ClickCheck(int row, bool checked);
  int anchor() const { return anchor_; }
  bool shiftPending() const { return shiftPending_; }

 private:
  bool shiftPending_ = false;  // ShiftCheckPending
  int anchor_ = 0;             // CheckAnchorRow
};

// The trimmed text, as the double click opens it.
std::u16string TrimBlanks(std::u16string_view text);

// Whether a text is a web address that may be handed to the shell: http, https or ftp with
// a host, or a host name starting with "www.". Anything else (a program, a command line, a
// path) is not opened in web-address mode.
bool IsWebAddress(std::u16string_view text);

}  // namespace app
