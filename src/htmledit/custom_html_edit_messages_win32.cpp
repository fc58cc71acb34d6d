// TCustomHtmlEdit answers the messages of a multi-line edit control (and three of a rich edit
// control) from the document, so that tools written for edit controls, a spelling checker
// above all, read lines, positions and the selection, replace words and mark misspelled ones.
// Pointers that come with a message are written only when they are this process's own
// writable memory: another program's pointer is answered with 0, never with an error box.
#include <richedit.h>

#include <algorithm>

#include "htmledit/custom_html_edit_win32.h"

namespace htmledit {

namespace {

constexpr int kNoWord = 2147483647;
constexpr COLORREF kMarkColor = RGB(255, 0, 0);

bool Writable(const void* p, size_t size) {
  if (!p) return false;
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT) return false;
  const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  if (!(info.Protect & writable) || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS))) return false;
  return static_cast<const char*>(p) + size <= static_cast<const char*>(info.BaseAddress) + info.RegionSize;
}

bool Readable(const void* p, size_t size) {
  if (!p) return false;
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT) return false;
  if (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
  return static_cast<const char*>(p) + size <= static_cast<const char*>(info.BaseAddress) + info.RegionSize;
}

bool RunningUnderWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

// Wine (8.0) hands an EM_GETLINE from another process a buffer it allocated without copying
// the size word into it: the buffer starts two bytes into a block of (size + 1) characters,
// and the word before the buffer, which Wine reads for the length of its reply, is left
// unset. The size is read from the block; true when the buffer is such a block.
bool WineMarshalledLine(WORD* buffer, size_t& room) {
  if (!buffer || !RunningUnderWine() || !(InSendMessageEx(nullptr) & ISMEX_SEND)) return false;
  void* block = reinterpret_cast<char*>(buffer) - sizeof(WORD);
  HANDLE heap = GetProcessHeap();
  if (!HeapValidate(heap, 0, block)) return false;
  const SIZE_T bytes = HeapSize(heap, 0, block);
  if (bytes == static_cast<SIZE_T>(-1) || bytes < 2 * sizeof(WORD)) return false;
  room = bytes / sizeof(wchar_t) - 1;
  return true;
}

// Letters and digits of any script: what a checker's words are made of.
bool IsWordCharacter(char16_t c) {
  if (c < 0x80) return (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z') || c == u'\'' || c == u'_';
  if (c == 0xA0 || c == kObjectPlaceholder) return false;
  if ((c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F)) return false;  // punctuation and blanks
  return !((c >= 0xFF00 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20));           // full-width punctuation
}

// The text of a display line as an edit control gives it: without its line break.
std::u16string LineText(IEngineDocument* doc, int line) {
  const int start = doc->LineIndex(line);
  if (start < 0) return {};
  const BodyText& layout = doc->Layout();
  int end = doc->LineIndex(line + 1);
  if (end < start) end = layout.Length();
  end = std::min(end, layout.Length());
  std::u16string text = layout.Text().substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
  while (!text.empty() && (text.back() == kParagraphBreak || text.back() == kCellLineBreak)) text.pop_back();
  return text;
}

}  // namespace

bool TCustomHtmlEdit::HandleEditMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT:
    case WM_SETTEXT:
      return true;  // the control has no window text of its own
    case CN_BASE + WM_CHAR:
      return true;
    case EM_GETFIRSTVISIBLELINE:
      return true;
    case EM_LINESCROLL:
    case EM_SCROLLCARET:
      wordStart_ = 0;
      wordEnd_ = kNoWord;
      wordSelected_ = false;
      markLineStart_ = markLineEnd_ = -1;
      return true;
    default:
      break;
  }
  if (msg != EM_GETLINECOUNT && msg != EM_LINEFROMCHAR && msg != EM_LINEINDEX && msg != EM_GETLINE &&
      msg != EM_GETSEL && msg != EM_SETSEL && msg != EM_EXGETSEL && msg != EM_REPLACESEL && msg != EM_GETSELTEXT &&
      msg != EM_CHARFROMPOS && msg != EM_POSFROMCHAR && msg != EM_LINELENGTH)
    return false;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return true;
  struct Release {
    IEngineDocument* d;
    ~Release() { d->Release(); }
  } release{doc};
  int selStart = 0, selEnd = 0;
  doc->GetSelection(selStart, selEnd);
  // A line request names the line whose words the checker marks next by their positions.
  auto lineRequested = [&](int line) {
    wordSelected_ = false;
    wordStart_ = 0;
    wordEnd_ = kNoWord;
    markLineStart_ = doc->LineIndex(line);
    markLineEnd_ = markLineStart_ < 0 ? -1 : markLineStart_ + static_cast<int>(LineText(doc, line).size());
  };
  switch (msg) {
    case EM_GETLINECOUNT:
      if (clientMode_ == 0) clientMode_ = 1;
      result = doc->LineCount();
      return true;
    case EM_LINEFROMCHAR: {
      const int pos = static_cast<int>(wp) < 0 ? std::min(selStart, selEnd) : static_cast<int>(wp);
      result = doc->LineFromPosition(pos);
      lineRequested(static_cast<int>(result));
      return true;
    }
    case EM_LINEINDEX: {
      const int line = static_cast<int>(wp) < 0 ? doc->LineFromPosition(std::min(selStart, selEnd)) : static_cast<int>(wp);
      result = doc->LineIndex(line);
      lineRequested(line);
      return true;
    }
    case EM_LINELENGTH: {
      const int pos = static_cast<int>(wp) < 0 ? std::min(selStart, selEnd) : static_cast<int>(wp);
      result = static_cast<LRESULT>(LineText(doc, doc->LineFromPosition(pos)).size());
      lineRequested(doc->LineFromPosition(pos));
      return true;
    }
    case EM_GETLINE: {
      // The buffer's first word holds its size in characters.
      auto* buffer = reinterpret_cast<WORD*>(lp);
      size_t room = 0;
      const bool marshalled = WineMarshalledLine(buffer, room);
      if (!marshalled) {
        if (!Readable(buffer, sizeof(WORD))) return true;
        room = *buffer;
      }
      if (room == 0 || !Writable(buffer, room * sizeof(wchar_t))) return true;
      const std::u16string text = LineText(doc, static_cast<int>(wp));
      lineRequested(static_cast<int>(wp));
      const size_t n = std::min(room, text.size());
      std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), reinterpret_cast<char16_t*>(buffer));
      // Wine sends back as many characters as the word before the buffer says.
      if (marshalled) buffer[-1] = static_cast<WORD>(n);
      result = static_cast<LRESULT>(n);
      return true;
    }
    case EM_GETSEL:
      if (wp && Writable(reinterpret_cast<void*>(wp), sizeof(DWORD))) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(std::min(selStart, selEnd));
      if (lp && Writable(reinterpret_cast<void*>(lp), sizeof(DWORD))) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(std::max(selStart, selEnd));
      return true;
    case EM_SETSEL: {
      const int length = doc->Layout().Length();
      int start = static_cast<int>(wp), end = static_cast<int>(lp);
      if (start < 0) start = end = std::min(selStart, selEnd);  // -1: no selection, the caret stays
      if (end < 0 || end > length) end = length;
      if (start > length) start = length;
      doc->SetSelection(start, end);
      // The word a checker selected is the one it marks next.
      wordStart_ = std::min(start, end);
      wordEnd_ = std::max(start, end);
      wordSelected_ = true;
      return true;
    }
    case EM_EXGETSEL:
      if (clientMode_ == 0) clientMode_ = 2;
      if (Writable(reinterpret_cast<void*>(lp), sizeof(CHARRANGE))) reinterpret_cast<CHARRANGE*>(lp)->cpMin = 0;
      return true;
    case EM_REPLACESEL: {
      std::u16string text;
      const auto* p = reinterpret_cast<const char16_t*>(lp);
      for (size_t i = 0; p && Readable(p + i, sizeof(char16_t)) && p[i] && i < (size_t{32} << 20); ++i) text += p[i];
      ReplaceSel(text);
      return true;
    }
    case EM_GETSELTEXT: {
      std::u16string text;
      GetSelText(text);
      auto* out = reinterpret_cast<char16_t*>(lp);
      if (!Writable(out, (text.size() + 1) * sizeof(char16_t))) return true;
      std::copy(text.begin(), text.end(), out);
      out[text.size()] = u'\0';
      result = static_cast<LRESULT>(text.size());
      return true;
    }
    case EM_CHARFROMPOS: {
      clientMode_ = 3;
      // The rich edit form passes a point structure, the edit form the point itself.
      const bool structure = Readable(reinterpret_cast<void*>(lp), sizeof(POINTL));
      POINT p = structure ? POINT{reinterpret_cast<POINTL*>(lp)->x, reinterpret_cast<POINTL*>(lp)->y}
                          : POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      charFromPos_ = p;
      if (HWND view = doc->DocumentWindow()) MapWindowPoints(hwnd_, view, &p, 1);
      const int pos = doc->PositionFromPoint(p);
      lineRequested(doc->LineFromPosition(pos));
      result = structure ? pos : MAKELONG(pos, doc->LineFromPosition(pos));
      return true;
    }
    case EM_POSFROMCHAR: {
      // The point must be a structure of this process that can take the answer; a pointer
      // from another program gets 0 (it would otherwise stop that program behind an error).
      auto* point = reinterpret_cast<POINTL*>(wp);
      if (!Writable(point, sizeof(POINTL))) return true;
      if (HWND view = doc->DocumentWindow()) {
        POINTL at{0, 0};
        SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), std::clamp(static_cast<int>(lp), 0, doc->Layout().Length()));
        POINT p{at.x, at.y};
        MapWindowPoints(view, hwnd_, &p, 1);
        point->x = p.x;
        point->y = p.y;
      }
      // The word of the last selection request gets the mark until the next paint; after a
      // line request, the word of that line at the position asked for (once).
      if (drawingMark_) return true;
      if (!wordSelected_) {
        const int pos = static_cast<int>(lp);
        if (markLineStart_ < 0 || pos < markLineStart_ || pos >= markLineEnd_) return true;
        if (wordEnd_ != kNoWord && pos >= wordStart_ && pos < wordEnd_) return true;  // marked already
        const std::u16string& text = doc->Layout().Text();
        if (pos >= static_cast<int>(text.size()) || !IsWordCharacter(text[static_cast<size_t>(pos)])) return true;
        int start = pos, end = pos + 1;
        while (start > markLineStart_ && IsWordCharacter(text[static_cast<size_t>(start - 1)])) --start;
        while (end < markLineEnd_ && IsWordCharacter(text[static_cast<size_t>(end)])) ++end;
        wordStart_ = start;
        wordEnd_ = end;
      }
      if (wordEnd_ == kNoWord || wordEnd_ <= wordStart_) return true;
      drawingMark_ = true;
      if (const int id = doc->AddHighlight(wordStart_, wordEnd_, kMarkColor)) highlights_.push_back(id);
      drawingMark_ = false;
      return true;
    }
    default:
      return false;
  }
}

void TCustomHtmlEdit::AfterDocumentPaint() {
  // The paint took the marks away: a checker marks its words again, from their positions too.
  if (!wordSelected_) {
    wordStart_ = 0;
    wordEnd_ = kNoWord;
  }
  if (highlights_.empty()) return;
  IEngineDocument* doc = nullptr;
  std::vector<int> marks;
  marks.swap(highlights_);
  if (!GetDocument(&doc)) return;
  for (int id : marks) doc->RemoveHighlight(id);
  doc->Release();
}

}  // namespace htmledit
