#include "unicode/uni_memo_win32.h"

#include <algorithm>

#include "unicode/line_breaks.h"
#include "unicode/uni_string_list.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
LPARAM TextParam(const std::u16string& s) { return reinterpret_cast<LPARAM>(s.c_str()); }

constexpr int kMaxLineLength = 65535;  // EM_GETLINE takes the buffer size in one word
}  // namespace

// --- TUniMemoStrings --------------------------------------------------------------------

HWND TUniMemoStrings::Window() const { return memo_.Handle(); }

template <typename Edit>
void TUniMemoStrings::EditOffline(Edit&& edit) {
  TUniStringList lines;
  lines.SetTextStr(memo_.pendingText_);
  edit(lines);
  memo_.pendingText_ = lines.GetTextStr();
}

std::u16string TUniMemoStrings::Get(int index) const {
  HWND w = Window();
  if (w == nullptr) {
    TUniStringList lines;
    lines.SetTextStr(memo_.pendingText_);
    return lines.Get(index);
  }
  const LRESULT start = index < 0 ? -1 : SendMessageW(w, EM_LINEINDEX, index, 0);
  if (start < 0) throw EListError::IndexOutOfBounds(index);
  const LRESULT length = SendMessageW(w, EM_LINELENGTH, start, 0);
  if (length == 0) return {};
  if (length > kMaxLineLength) throw EOutOfResources(u"Line too long");
  std::u16string line(static_cast<size_t>(length) + 1, u'\0');
  line[0] = static_cast<char16_t>(length);
  const LRESULT copied = SendMessageW(w, EM_GETLINE, index, reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<size_t>(copied < 0 ? 0 : std::min<LRESULT>(copied, length)));
  return line;
}

int TUniMemoStrings::GetCount() const {
  HWND w = Window();
  if (w == nullptr) {
    TUniStringList lines;
    lines.SetTextStr(memo_.pendingText_);
    return lines.GetCount();
  }
  int count = static_cast<int>(SendMessageW(w, EM_GETLINECOUNT, 0, 0));
  if (count > 0 && SendMessageW(w, EM_LINELENGTH, SendMessageW(w, EM_LINEINDEX, count - 1, 0), 0) == 0) --count;
  return count;
}

void TUniMemoStrings::Put(int index, std::u16string_view s) {
  HWND w = Window();
  if (w == nullptr) {
    EditOffline([&](TUniStringList& lines) { lines.Put(index, s); });
    return;
  }
  const LRESULT start = index < 0 ? -1 : SendMessageW(w, EM_LINEINDEX, index, 0);
  if (start < 0) return;
  const LRESULT length = SendMessageW(w, EM_LINELENGTH, start, 0);
  SendMessageW(w, EM_SETSEL, start, start + length);
  const std::u16string text(s);
  SendMessageW(w, EM_REPLACESEL, 0, TextParam(text));
}

void TUniMemoStrings::Insert(int index, std::u16string_view s) {
  if (index < 0) return;
  HWND w = Window();
  if (w == nullptr) {
    EditOffline([&](TUniStringList& lines) { lines.Insert(std::min(index, lines.GetCount()), s); });
    return;
  }
  LRESULT start = SendMessageW(w, EM_LINEINDEX, index, 0);
  std::u16string text;
  if (start >= 0) {
    text = std::u16string(s) + u"\r\n";
  } else {
    // Past the last line: append after the last line's text, with a break in front.
    const LRESULT previous = SendMessageW(w, EM_LINEINDEX, index - 1, 0);
    if (previous < 0) return;
    const LRESULT length = SendMessageW(w, EM_LINELENGTH, previous, 0);
    if (length == 0) return;
    start = previous + length;
    text = u"\r\n" + std::u16string(s);
  }
  SendMessageW(w, EM_SETSEL, start, start);
  SendMessageW(w, EM_REPLACESEL, 0, TextParam(text));
}

void TUniMemoStrings::Delete(int index) {
  HWND w = Window();
  if (w == nullptr) {
    EditOffline([&](TUniStringList& lines) { lines.Delete(index); });
    return;
  }
  const LRESULT start = index < 0 ? -1 : SendMessageW(w, EM_LINEINDEX, index, 0);
  if (start < 0) return;
  LRESULT end = SendMessageW(w, EM_LINEINDEX, index + 1, 0);
  if (end < 0) end = start + SendMessageW(w, EM_LINELENGTH, start, 0);
  SendMessageW(w, EM_SETSEL, start, end);
  SendMessageW(w, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L""));
}

void TUniMemoStrings::Clear() { memo_.Clear(); }

void TUniMemoStrings::SetUpdateState(bool updating) {
  HWND w = Window();
  if (w == nullptr) return;
  SendMessageW(w, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) InvalidateRect(w, nullptr, TRUE);
}

std::u16string TUniMemoStrings::GetTextStr() const { return memo_.Text(); }

void TUniMemoStrings::SetTextStr(std::u16string_view text) {
  const std::u16string adjusted = AdjustLineBreaksToCrLf(text);
  if (adjusted != memo_.Text()) memo_.SetText(adjusted);
}

// --- TUniCustomMemo ---------------------------------------------------------------------

TUniCustomMemo::TUniCustomMemo() : lines_(*this) {}

TUniCustomMemo::~TUniCustomMemo() { FinalizeHandle(); }

TUniWinControl::CreateParams TUniCustomMemo::GetCreateParams() const {
  return {L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE};
}

void TUniCustomMemo::CreateWnd() {
  // EDIT windows start with a text limit (about 30000 characters under Wine): a pasted
  // or typed text must pass whole.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
  if (!pendingText_.empty()) {
    SetWindowTextW(Handle(), W(pendingText_));
    pendingText_.clear();
  }
}

void TUniCustomMemo::DestroyWnd() { pendingText_ = Text(); }

namespace {
std::function<void(HWND)>& PasteHandler() {
  static std::function<void(HWND)> paste;
  return paste;
}
}  // namespace

void TUniCustomMemo::SetPasteHandler(std::function<void(HWND)> paste) { PasteHandler() = std::move(paste); }

LRESULT TUniCustomMemo::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const bool shiftInsert = msg == WM_KEYDOWN && wp == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) &&
                           !(GetKeyState(VK_CONTROL) & 0x8000);
  if ((msg == WM_PASTE || shiftInsert) && PasteHandler()) {
    PasteHandler()(Handle());
    return 0;
  }
  return TUniWinControl::WndProc(msg, wp, lp);
}

std::u16string TUniCustomMemo::Text() const {
  if (!HandleAllocated()) return pendingText_;
  const int length = GetWindowTextLengthW(Handle());
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(Handle(), reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(std::max(0, std::min(copied, length))));
  return text;
}

void TUniCustomMemo::SetText(std::u16string_view text) {
  if (!HandleAllocated()) {
    pendingText_ = text;
    return;
  }
  if (Text() == text) return;
  ApplyWindowText(std::u16string(text));
}

void TUniCustomMemo::ApplyWindowText(const std::u16string& text) {
  // A multi-line EDIT window need not report EN_CHANGE for WM_SETTEXT: the change is
  // reported here then, once either way.
  settingText_ = true;
  changeReported_ = false;
  SetWindowTextW(Handle(), W(text));
  settingText_ = false;
  if (!changeReported_ && OnChange) OnChange();
}

int TUniCustomMemo::SelStart() const {
  if (!HandleAllocated()) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TUniCustomMemo::SetSelStart(int start) {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, start, start);
}

int TUniCustomMemo::SelLength() const {
  if (!HandleAllocated()) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TUniCustomMemo::SetSelLength(int length) {
  if (!HandleAllocated()) return;
  const int start = SelStart();
  SendMessageW(Handle(), EM_SETSEL, start, start + length);
}

std::u16string TUniCustomMemo::SelText() const {
  const std::u16string text = Text();
  const size_t start = std::min<size_t>(static_cast<size_t>(SelStart()), text.size());
  return text.substr(start, static_cast<size_t>(SelLength()));
}

void TUniCustomMemo::SetSelText(std::u16string_view text) {
  if (!HandleAllocated()) return;
  const std::u16string value(text);
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, TextParam(value));
}

void TUniCustomMemo::Clear() {
  if (HandleAllocated()) ApplyWindowText(std::u16string());
  else pendingText_.clear();
}

void TUniCustomMemo::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TUniCustomMemo::PasteFromClipboard() {
  if (HandleAllocated()) SendMessageW(Handle(), WM_PASTE, 0, 0);
}

void TUniCustomMemo::CopyToClipboard() {
  if (HandleAllocated()) SendMessageW(Handle(), WM_COPY, 0, 0);
}

void TUniCustomMemo::CutToClipboard() {
  if (HandleAllocated()) SendMessageW(Handle(), WM_CUT, 0, 0);
}

bool TUniCustomMemo::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && IsOwnCommand(lp) && HIWORD(wp) == EN_CHANGE) {
    if (settingText_) changeReported_ = true;
    if (OnChange) OnChange();
    result = 0;
    return true;
  }
  return TUniWinControl::HandleParentMessage(msg, wp, lp, result);
}

}  // namespace unicode
