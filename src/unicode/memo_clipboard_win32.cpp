// The main window's clipboard road. Wine's EDIT window lays out every line of a text pasted or
// set into it: a 300000-character entry took 2.4 to 2.8 s to capture through the memo's paste,
// and as long to put back through its text when the entry had no clipboard snapshot. The
// hidden memo never shows its text, so the text skips the EDIT; the clipboard is opened in the
// memo's name, as its paste and copy did.
#include <windows.h>

#include <cstring>

#include "unicode/uni_memo_win32.h"

namespace unicode {

namespace {
// The clipboard opened in the memo's name. While this thread holds it open already (the
// capture opens it with the main window), opening fails but reading and writing work: it is
// used as it is and left open.
struct OpenedClipboard {
  bool opened;
  explicit OpenedClipboard(HWND owner) : opened(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (opened) CloseClipboard();
  }
};

std::u16string_view UpToFirstNul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }
}  // namespace

std::optional<std::u16string> ReadClipboardTextThroughMemo(TUniCustomMemo& memo) {
  if (!memo.HandleAllocated()) return std::nullopt;
  const OpenedClipboard clipboard(memo.Handle());
  HANDLE data = GetClipboardData(CF_UNICODETEXT);  // nothing while another program holds it
  if (!data) return std::nullopt;
  // Another program's block: read no further than its size, NUL or not.
  const size_t capacity = GlobalSize(data) / sizeof(char16_t);
  const auto* chars = static_cast<const char16_t*>(GlobalLock(data));
  if (!chars) return std::nullopt;
  std::u16string text(UpToFirstNul(std::u16string_view(chars, capacity)));
  GlobalUnlock(data);
  return text;
}

bool WriteClipboardTextThroughMemo(TUniCustomMemo& memo, std::u16string_view text) {
  text = UpToFirstNul(text);
  if (text.empty()) return true;  // nothing to write
  if (!memo.HandleAllocated()) return false;
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  auto* chars = static_cast<char16_t*>(GlobalLock(block));
  std::memcpy(chars, text.data(), text.size() * sizeof(char16_t));
  chars[text.size()] = u'\0';
  GlobalUnlock(block);
  const OpenedClipboard clipboard(memo.Handle());
  // Emptying fails while another program holds the clipboard: then nothing is written.
  if (!EmptyClipboard()) {
    GlobalFree(block);
    return false;
  }
  // Failing after the emptying leaves the clipboard empty: no success either.
  if (!SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

}  // namespace unicode
