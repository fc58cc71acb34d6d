#include "unicode/uni_check_list_box_win32.h"

#include <windowsx.h>

#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {
constexpr int kCheckBoxSize = 13;
constexpr int kCheckColumnMargin = 2;
const TCheckBoxState kDefaultState = TCheckBoxState::cbUnchecked;
}  // namespace

TUniCheckListBox::TUniCheckListBox() = default;

TUniCheckListBox::~TUniCheckListBox() { FinalizeHandle(); }

TUniWinControl::CreateParams TUniCheckListBox::GetCreateParams() const {
  CreateParams params = TUniCustomListBox::GetCreateParams();
  params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  return params;
}

int TUniCheckListBox::CheckWidth() const { return kCheckBoxSize + kCheckColumnMargin; }

// --- Row states -------------------------------------------------------------------------

const TUniCheckListBox::RowState* TUniCheckListBox::FindState(int index) const {
  const LPARAM data = RowData(index);
  if (data <= 0 || static_cast<size_t>(data) > slots_.size()) return nullptr;
  return &slots_[static_cast<size_t>(data) - 1];
}

TUniCheckListBox::RowState& TUniCheckListBox::EnsureState(int index) {
  const LPARAM data = RowData(index);
  if (data > 0 && static_cast<size_t>(data) <= slots_.size()) return slots_[static_cast<size_t>(data) - 1];
  LPARAM slot;
  if (!freeSlots_.empty()) {
    slot = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    slots_.emplace_back();
    slot = static_cast<LPARAM>(slots_.size());
  }
  slots_[static_cast<size_t>(slot) - 1] = RowState{};
  SetRowData(index, slot);
  return slots_[static_cast<size_t>(slot) - 1];
}

void TUniCheckListBox::RowDataReleased(LPARAM data) {
  if (data <= 0 || static_cast<size_t>(data) > slots_.size()) return;
  slots_[static_cast<size_t>(data) - 1] = RowState{};
  freeSlots_.push_back(data);
}

void TUniCheckListBox::RowsCleared() {
  slots_.clear();
  freeSlots_.clear();
}

void* TUniCheckListBox::ItemObject(int index) const {
  const RowState* state = FindState(index);
  return state != nullptr ? state->object : nullptr;
}

void TUniCheckListBox::SetItemObject(int index, void* object) {
  if (object == nullptr && FindState(index) == nullptr) return;
  EnsureState(index).object = object;
}

TCheckBoxState TUniCheckListBox::State(int index) const {
  const RowState* state = FindState(index);
  return state != nullptr ? state->state : kDefaultState;
}

void TUniCheckListBox::SetState(int index, TCheckBoxState state) {
  if (State(index) == state) return;
  EnsureState(index).state = state;
  InvalidateRow(index);
}

void TUniCheckListBox::SetChecked(int index, bool checked) {
  SetState(index, checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

bool TUniCheckListBox::ItemEnabled(int index) const {
  const RowState* state = FindState(index);
  return state == nullptr || state->enabled;
}

void TUniCheckListBox::SetItemEnabled(int index, bool enabled) {
  if (ItemEnabled(index) == enabled) return;
  EnsureState(index).enabled = enabled;
  InvalidateRow(index);
}

bool TUniCheckListBox::Header(int index) const {
  const RowState* state = FindState(index);
  return state != nullptr && state->header;
}

void TUniCheckListBox::SetHeader(int index, bool header) {
  if (Header(index) == header) return;
  EnsureState(index).header = header;
  InvalidateRow(index);
}

void TUniCheckListBox::SetHeaderColors(COLORREF text, COLORREF background) {
  headerColor_ = text;
  headerBackground_ = background;
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TUniCheckListBox::ToggleClickCheck(int index) {
  if (index < 0 || index >= RowCount() || !ItemEnabled(index) || Header(index)) return;
  TCheckBoxState next = TCheckBoxState::cbUnchecked;
  switch (State(index)) {
    case TCheckBoxState::cbUnchecked:
      next = AllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
      break;
    case TCheckBoxState::cbChecked: next = TCheckBoxState::cbUnchecked; break;
    case TCheckBoxState::cbGrayed: next = TCheckBoxState::cbChecked; break;
  }
  SetState(index, next);
  if (OnClickCheck) OnClickCheck();
}

// --- Input ------------------------------------------------------------------------------

bool TUniCheckListBox::InCheckBox(int x, int y, int& index) const {
  index = ItemAtPos(POINT{x, y}, true);
  if (index < 0) return false;
  const RECT r = ItemRect(index);
  return x >= r.left && x - r.left < CheckWidth();
}

bool TUniCheckListBox::TakeChar(wchar_t key) {
  if (key != L' ') return false;
  // The space toggles the selected row; the list's own type-ahead search does not see it.
  ToggleClickCheck(ItemIndex());
  return true;
}

LRESULT TUniCheckListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      int index = -1;
      const bool onBox = InCheckBox(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), index);
      // A double click on a box is a second click on it, not a double click on the row.
      const UINT pass = onBox ? WM_LBUTTONDOWN : msg;
      const LRESULT r = TUniCustomListBox::WndProc(pass, wp, lp);
      if (onBox && HandleAllocated()) ToggleClickCheck(index);
      return r;
    }
    case WM_PAINT:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
      const LRESULT r = TUniCustomListBox::WndProc(msg, wp, lp);
      if (OnAfterPaint && HandleAllocated()) OnAfterPaint();
      return r;
    }
    default:
      return TUniCustomListBox::WndProc(msg, wp, lp);
  }
}

// --- Drawing ----------------------------------------------------------------------------

bool TUniCheckListBox::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item->CtlType != ODT_LISTBOX || item->hwndItem == nullptr || item->hwndItem != Handle()) return false;
    if (rowPaintDeferrals_ > 0) {
      InvalidateRect(Handle(), &item->rcItem, FALSE);
      result = TRUE;
      return true;
    }
    DrawRow(*item);
    result = TRUE;
    return true;
  }
  if (msg == WM_CTLCOLORLISTBOX && IsOwnCommand(lp)) {
    // The area below the last row in the list's background colour.
    result = reinterpret_cast<LRESULT>(BackgroundBrush());
    return true;
  }
  return TUniCustomListBox::HandleParentMessage(msg, wp, lp, result);
}

void TUniCheckListBox::DrawRow(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  // A paint asks for every visible row, also those outside the part to repaint.
  if (!RectVisible(dc, &row)) return;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= RowCount()) {
    if (focused) DrawFocusRect(dc, &row);
    return;
  }
  const int index = static_cast<int>(item.itemID);
  const RowState* found = FindState(index);
  const RowState state = found != nullptr ? *found : RowState{};
  const std::u16string text = Items().Get(index);
  HFONT font = Font() != nullptr ? Font() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ oldFont = SelectObject(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);

  if (state.header) {
    const COLORREF back = headerBackground_ == kDefaultColor ? GetSysColor(COLOR_INFOBK) : headerBackground_;
    const COLORREF fore = headerColor_ == kDefaultColor ? GetSysColor(COLOR_INFOTEXT) : headerColor_;
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &row, brush);
    DeleteObject(brush);
    RECT textRect = row;
    textRect.left += 2;
    SetTextColor(dc, fore);
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  } else {
    RECT checkColumn = row;
    checkColumn.right = row.left + CheckWidth();
    FillRect(dc, &checkColumn, BackgroundBrush());
    RECT box;
    box.left = checkColumn.left + (CheckWidth() - kCheckBoxSize) / 2;
    box.top = row.top + (row.bottom - row.top - kCheckBoxSize) / 2;
    box.right = box.left + kCheckBoxSize;
    box.bottom = box.top + kCheckBoxSize;
    UINT boxState = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (state.state == TCheckBoxState::cbChecked) boxState |= DFCS_CHECKED;
    if (state.state == TCheckBoxState::cbGrayed) boxState = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
    if (!state.enabled) boxState |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, boxState);

    RECT textRect = row;
    textRect.left = checkColumn.right;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &textRect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : BackgroundBrush());
    if (OnDrawItem) {
      OnDrawItem(index, textRect, item.itemState, dc);
    } else {
      SetTextColor(dc, selected         ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                       : state.enabled ? FontColor()
                                       : GetSysColor(COLOR_GRAYTEXT));
      RECT inner = textRect;
      inner.left += 2;
      DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &inner,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (focused) DrawFocusRect(dc, &textRect);
  }
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace unicode
