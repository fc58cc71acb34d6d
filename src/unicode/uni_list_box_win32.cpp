#include "unicode/uni_list_box_win32.h"

#include <algorithm>

#include "unicode/compare_strings.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
LPARAM TextParam(const std::u16string& s) { return reinterpret_cast<LPARAM>(s.c_str()); }
const char16_t kInsertLineError[] = u"Unable to insert a line";
}  // namespace

// --- TUniCustomListBox: rows ------------------------------------------------------------

TUniCustomListBox::TUniCustomListBox() : items_(*this) {}

TUniCustomListBox::~TUniCustomListBox() { FinalizeHandle(); }

TUniWinControl::CreateParams TUniCustomListBox::GetCreateParams() const {
  return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
}

void TUniCustomListBox::CheckRow(int index) const {
  if (index < 0 || index >= RowCount()) throw EListError::IndexOutOfBounds(index);
}

// The row count and, for a list with a caption source, the inserts go straight to the list's own
// procedure: nothing of ours handles them, and a 100000-entry list makes both once a row
// (through the subclass chain they cost Wine twice as much).
int TUniCustomListBox::RowCount() const {
  if (!HandleAllocated()) return saved_.GetCount();
  return static_cast<int>(DefaultProc(LB_GETCOUNT, 0, 0));
}

std::u16string TUniCustomListBox::RowText(int index) const {
  if (captionSource_) {
    CheckRow(index);
    return std::u16string(SourceCaption(index));
  }
  if (!HandleAllocated()) return saved_.Get(index);
  const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) throw EListError::IndexOutOfBounds(index);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT copied = SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  if (copied == LB_ERR) return {};
  const size_t end = text.find(u'\0');
  text.resize(std::min<size_t>(end, static_cast<size_t>(copied)));
  return text;
}

int TUniCustomListBox::InsertRow(int index, std::u16string_view text) {
  if (captionSource_) text = {};  // the window keeps an empty string
  if (!HandleAllocated()) {
    const int at = index < 0 ? saved_.GetCount() : index;
    saved_.Insert(at, text);
    return at;
  }
  if (captionSource_) {
    const LRESULT result = index < 0 ? DefaultProc(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""))
                                     : DefaultProc(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(L""));
    if (result < 0) throw EOutOfResources(kInsertLineError);
    return static_cast<int>(result);
  }
  const std::u16string value(text);
  const LRESULT result = index < 0 ? SendMessageW(Handle(), LB_ADDSTRING, 0, TextParam(value))
                                   : SendMessageW(Handle(), LB_INSERTSTRING, index, TextParam(value));
  if (result < 0) throw EOutOfResources(kInsertLineError);
  return static_cast<int>(result);
}

void TUniCustomListBox::DeleteRow(int index) {
  CheckRow(index);
  const LPARAM data = RowData(index);
  if (data != 0) {
    SetRowData(index, 0);
    RowDataReleased(data);
  }
  if (!HandleAllocated()) {
    saved_.Delete(index);
    if (savedItemIndex_ >= saved_.GetCount()) savedItemIndex_ = -1;
    return;
  }
  SendMessageW(Handle(), LB_DELETESTRING, index, 0);
}

void TUniCustomListBox::ClearRows() {
  if (HandleAllocated()) SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  saved_.Clear();
  savedItemIndex_ = -1;
  savedTopIndex_ = 0;
  RowsCleared();
}

LPARAM TUniCustomListBox::RowData(int index) const {
  CheckRow(index);
  if (!HandleAllocated()) return reinterpret_cast<LPARAM>(saved_.Objects(index));
  return SendMessageW(Handle(), LB_GETITEMDATA, index, 0);
}

void TUniCustomListBox::SetRowData(int index, LPARAM data) {
  CheckRow(index);
  if (!HandleAllocated()) {
    saved_.PutObject(index, reinterpret_cast<void*>(data));
    return;
  }
  SendMessageW(Handle(), LB_SETITEMDATA, index, data);
}

std::u16string_view TUniCustomListBox::SourceCaption(int index) const {
  const std::u16string_view caption = captionSource_(index);
  return caption.substr(0, caption.find(u'\0'));
}

// The window's own search, over the source's captions: case-insensitive, a prefix match
// also after a leading "[" or "[-" (the drive and folder rows of a file list).
int TUniCustomListBox::FindCaption(int start, std::u16string_view text, bool exact) const {
  const int count = RowCount();
  if (text.empty() || count == 0) return LB_ERR;
  const auto startsWith = [&text](std::u16string_view caption) {
    return caption.size() >= text.size() && CompareStringsIgnoreCase(caption.substr(0, text.size()), text) == 0;
  };
  int index = start + 1 >= 0 && start + 1 < count ? start + 1 : 0;
  for (int i = 0; i < count; ++i, ++index) {
    if (index == count) index = 0;
    const std::u16string_view caption = SourceCaption(index);
    if (exact) {
      if (CompareStringsIgnoreCase(caption, text) == 0) return index;
      continue;
    }
    if (startsWith(caption)) return index;
    if (!caption.empty() && caption[0] == u'[') {
      if (startsWith(caption.substr(1))) return index;
      if (caption.size() > 1 && caption[1] == u'-' && startsWith(caption.substr(2))) return index;
    }
  }
  return LB_ERR;
}

void TUniCustomListBox::TypeAhead(wchar_t key) {
  HWND w = Handle();
  const LONG style = GetWindowLongW(w, GWL_STYLE);
  const int focus = static_cast<int>(SendMessageW(w, LB_GETCARETINDEX, 0, 0));
  int row = -1;
  if (style & LBS_WANTKEYBOARDINPUT) {
    row = static_cast<int>(
        SendMessageW(GetParent(w), WM_CHARTOITEM, MAKEWPARAM(key, focus), reinterpret_cast<LPARAM>(w)));
    if (row == -2) return;
  }
  if (row == -1) row = FindCaption(focus, std::u16string_view(reinterpret_cast<const char16_t*>(&key), 1), false);
  if (row < 0 || row >= RowCount()) return;
  if (MultiSelect()) SendMessageW(w, LB_SETCARETINDEX, row, FALSE);
  else SendMessageW(w, LB_SETCURSEL, row, 0);
  if (style & LBS_NOTIFY) {
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), LBN_SELCHANGE), reinterpret_cast<LPARAM>(w));
  }
}

LRESULT TUniCustomListBox::PassChar(wchar_t key, LPARAM lp) {
  if (!captionSource_ || !HandleAllocated()) return DefaultProc(WM_CHAR, key, lp);
  TypeAhead(key);
  return 0;
}

LRESULT TUniCustomListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    wchar_t key = static_cast<wchar_t>(wp);
    if (OnKeyPress) {
      OnKeyPress(key);
      if (key == 0 || !HandleAllocated()) return 0;
    }
    if (TakeChar(key)) return 0;
    return PassChar(key, lp);
  }
  if (!captionSource_) return TUniWinControl::WndProc(msg, wp, lp);
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
      return DefaultProc(msg, wp, reinterpret_cast<LPARAM>(L""));
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
      // Other programs' requests too: Wine sizes a cross-process LB_GETTEXT by LB_GETTEXTLEN
      // when the list has LBS_HASSTRINGS, which it keeps for that.
      const int index = static_cast<int>(wp);
      if (index < 0 || index >= RowCount()) return LB_ERR;
      const std::u16string_view caption = SourceCaption(index);
      if (msg == LB_GETTEXT && lp != 0) {
        auto* out = reinterpret_cast<char16_t*>(lp);
        std::copy(caption.begin(), caption.end(), out);
        out[caption.size()] = u'\0';
      }
      return static_cast<LRESULT>(caption.size());
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      if (lp == 0) return LB_ERR;
      const int found =
          FindCaption(static_cast<int>(wp), reinterpret_cast<const char16_t*>(lp), msg == LB_FINDSTRINGEXACT);
      if (msg == LB_SELECTSTRING && found != LB_ERR) {
        SetItemIndex(found);
        if (MultiSelect()) SendMessageW(Handle(), LB_SETSEL, TRUE, found);
      }
      return found;
    }
    default:
      return TUniWinControl::WndProc(msg, wp, lp);
  }
}

void TUniCustomListBox::InvalidateRow(int index) {
  if (!HandleAllocated()) return;
  RECT r = ItemRect(index);
  if (r.bottom > r.top) InvalidateRect(Handle(), &r, FALSE);
}

void* TUniCustomListBox::ItemObject(int index) const { return reinterpret_cast<void*>(RowData(index)); }

void TUniCustomListBox::SetItemObject(int index, void* object) { SetRowData(index, reinterpret_cast<LPARAM>(object)); }

// --- TUniCustomListBox: window ----------------------------------------------------------

void TUniCustomListBox::CreateWnd() {
  HWND w = Handle();
  SendMessageW(w, LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
  const int count = saved_.GetCount();
  if (count > 0) {
    SendMessageW(w, WM_SETREDRAW, FALSE, 0);
    SendMessageW(w, LB_INITSTORAGE, count, static_cast<LPARAM>(count) * 64);
    for (int i = 0; i < count; ++i) {
      const std::u16string text = saved_.Get(i);
      const LRESULT at = SendMessageW(w, LB_ADDSTRING, 0, TextParam(text));
      if (at < 0) break;  // out of memory: keep what fits
      const auto data = reinterpret_cast<LPARAM>(saved_.Objects(i));
      if (data != 0) SendMessageW(w, LB_SETITEMDATA, at, data);
    }
    SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    saved_.Clear();
    SendMessageW(w, LB_SETTOPINDEX, savedTopIndex_, 0);
    SetItemIndex(savedItemIndex_);
    InvalidateRect(w, nullptr, TRUE);
  }
  savedTopIndex_ = 0;
  savedItemIndex_ = -1;
}

void TUniCustomListBox::DestroyWnd() {
  HWND w = Handle();
  const int count = static_cast<int>(SendMessageW(w, LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  saved_.Clear();
  saved_.SetCapacity(count);
  for (int i = 0; i < count; ++i) {
    saved_.AddObject(captionSource_ ? std::u16string() : RowText(i), reinterpret_cast<void*>(SendMessageW(w, LB_GETITEMDATA, i, 0)));
  }
  savedTopIndex_ = static_cast<int>(SendMessageW(w, LB_GETTOPINDEX, 0, 0));
  savedItemIndex_ = ItemIndex();
  // The window's rows go with it; their data words live on in the kept rows.
}

bool TUniCustomListBox::MultiSelect() const {
  if (!HandleAllocated()) return false;
  return (GetWindowLongW(Handle(), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

int TUniCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return savedItemIndex_;
  return static_cast<int>(SendMessageW(Handle(), MultiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TUniCustomListBox::SetItemIndex(int index) {
  if (!HandleAllocated()) {
    savedItemIndex_ = index >= 0 && index < saved_.GetCount() ? index : -1;
    return;
  }
  if (MultiSelect()) SendMessageW(Handle(), LB_SETCARETINDEX, index, FALSE);
  else SendMessageW(Handle(), LB_SETCURSEL, index, 0);
}

int TUniCustomListBox::TopIndex() const {
  if (!HandleAllocated()) return savedTopIndex_;
  return static_cast<int>(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0));
}

void TUniCustomListBox::SetTopIndex(int index) {
  if (!HandleAllocated()) savedTopIndex_ = index;
  else SendMessageW(Handle(), LB_SETTOPINDEX, index, 0);
}

void TUniCustomListBox::SetItemHeight(int height) {
  if (height <= 0 || height > 255) return;  // the window keeps row heights in one byte
  itemHeight_ = height;
  if (HandleAllocated()) {
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

bool TUniCustomListBox::Selected(int index) const {
  CheckRow(index);
  if (!HandleAllocated()) return index == savedItemIndex_;
  return SendMessageW(Handle(), LB_GETSEL, index, 0) > 0;
}

void TUniCustomListBox::SetSelected(int index, bool selected) {
  CheckRow(index);
  if (!HandleAllocated()) {
    if (selected) savedItemIndex_ = index;
    else if (savedItemIndex_ == index) savedItemIndex_ = -1;
  } else if (MultiSelect()) {
    SendMessageW(Handle(), LB_SETSEL, selected, index);
  } else if (selected) {
    SendMessageW(Handle(), LB_SETCURSEL, index, 0);
  } else if (ItemIndex() == index) {
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

RECT TUniCustomListBox::ItemRect(int index) const {
  RECT r{};
  if (HandleAllocated()) SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

int TUniCustomListBox::ItemAtPos(POINT point, bool existing) const {
  const int count = RowCount();
  if (HandleAllocated()) {
    // Computed from the fixed row height: LB_ITEMFROMPOINT answers in 16 bits only.
    RECT client;
    GetClientRect(Handle(), &client);
    if (PtInRect(&client, point) && itemHeight_ > 0) {
      const int index = TopIndex() + point.y / itemHeight_;
      if (index < count) return index;
    }
  }
  return existing ? -1 : count;
}

void TUniCustomListBox::AddItem(std::u16string_view item, void* object) { items_.AddObject(item, object); }

void TUniCustomListBox::CopySelection(TWideStrings& destination) const {
  if (MultiSelect()) {
    for (int i = 0; i < RowCount(); ++i) {
      if (Selected(i)) destination.AddObject(items_.Get(i), items_.Objects(i));
    }
    return;
  }
  const int index = ItemIndex();
  if (index >= 0 && index < RowCount()) destination.AddObject(items_.Get(index), items_.Objects(index));
}

bool TUniCustomListBox::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && IsOwnCommand(lp)) {
    if (HIWORD(wp) == LBN_SELCHANGE && OnClick) OnClick();
    else if (HIWORD(wp) == LBN_DBLCLK && OnDblClick) OnDblClick();
    result = 0;
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    // Also sent while the window is being created, before its handle is known: the id tells.
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (measure->CtlType == ODT_LISTBOX && static_cast<int>(measure->CtlID) == Id()) {
      measure->itemHeight = static_cast<UINT>(itemHeight_);
      result = TRUE;
      return true;
    }
    return false;
  }
  return TUniWinControl::HandleParentMessage(msg, wp, lp, result);
}

// --- TUniListBoxStrings -----------------------------------------------------------------

std::u16string TUniListBoxStrings::Get(int index) const { return listBox_.RowText(index); }

int TUniListBoxStrings::GetCount() const { return listBox_.RowCount(); }

void* TUniListBoxStrings::Objects(int index) const { return listBox_.ItemObject(index); }

void TUniListBoxStrings::PutObject(int index, void* object) { listBox_.SetItemObject(index, object); }

void TUniListBoxStrings::Put(int index, std::u16string_view s) {
  listBox_.CheckRow(index);
  if (listBox_.HasCaptionSource()) {  // the source has the new caption already
    listBox_.InvalidateRow(index);
    return;
  }
  const int selected = listBox_.ItemIndex();
  const LPARAM data = listBox_.RowData(index);
  listBox_.SetRowData(index, 0);
  const TUpdateScope update(*this);
  listBox_.DeleteRow(index);
  listBox_.InsertRow(index, s);
  listBox_.SetRowData(index, data);
  listBox_.SetItemIndex(selected);
}

int TUniListBoxStrings::Add(std::u16string_view s) { return listBox_.InsertRow(-1, s); }

void TUniListBoxStrings::Insert(int index, std::u16string_view s) {
  if (index < 0 || index > GetCount()) throw EListError::IndexOutOfBounds(index);
  listBox_.InsertRow(index, s);
}

void TUniListBoxStrings::Delete(int index) { listBox_.DeleteRow(index); }

void TUniListBoxStrings::Clear() { listBox_.ClearRows(); }

void TUniListBoxStrings::Exchange(int index1, int index2) {
  listBox_.CheckRow(index1);
  listBox_.CheckRow(index2);
  if (index1 == index2) return;
  const TUpdateScope update(*this);
  const int selected = listBox_.ItemIndex();
  const std::u16string s1 = Get(index1);
  const std::u16string s2 = Get(index2);
  const LPARAM d1 = listBox_.RowData(index1);
  const LPARAM d2 = listBox_.RowData(index2);
  Put(index1, s2);
  Put(index2, s1);
  listBox_.SetRowData(index1, d2);
  listBox_.SetRowData(index2, d1);
  if (selected == index1) listBox_.SetItemIndex(index2);
  else if (selected == index2) listBox_.SetItemIndex(index1);
}

int TUniListBoxStrings::IndexOf(std::u16string_view s) const {
  if (listBox_.HasCaptionSource()) {
    const int found = listBox_.FindCaption(-1, s, true);
    return found < 0 ? -1 : found;
  }
  if (!listBox_.HandleAllocated()) return listBox_.saved_.IndexOf(s);
  const std::u16string value(s);
  const LRESULT found =
      SendMessageW(listBox_.Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), TextParam(value));
  return found == LB_ERR ? -1 : static_cast<int>(found);
}

void TUniListBoxStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  listBox_.CheckRow(curIndex);
  if (newIndex < 0 || newIndex >= GetCount()) throw EListError::IndexOutOfBounds(newIndex);
  const TUpdateScope update(*this);
  const std::u16string s = Get(curIndex);
  const LPARAM data = listBox_.RowData(curIndex);
  listBox_.SetRowData(curIndex, 0);
  listBox_.DeleteRow(curIndex);
  listBox_.InsertRow(newIndex, s);
  listBox_.SetRowData(newIndex, data);
}

void TUniListBoxStrings::SetCapacity(int capacity) {
  const int more = capacity - GetCount();
  if (more <= 0) return;
  if (listBox_.HandleAllocated()) {
    SendMessageW(listBox_.Handle(), LB_INITSTORAGE, more, static_cast<LPARAM>(more) * 64);
  } else {
    listBox_.saved_.SetCapacity(capacity);
  }
}

void TUniListBoxStrings::AddStrings(const TWideStrings& strings) {
  const TUpdateScope update(*this);
  SetCapacity(GetCount() + strings.GetCount());
  TUniStrings::AddStrings(strings);
}

void TUniListBoxStrings::SetUpdateState(bool updating) {
  if (!listBox_.HandleAllocated()) return;
  SendMessageW(listBox_.Handle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) InvalidateRect(listBox_.Handle(), nullptr, TRUE);
}

}  // namespace unicode
