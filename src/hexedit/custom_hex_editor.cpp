#include "hexedit/custom_hex_editor.h"

#include <algorithm>
#include <cstdio>

#include "hexedit/hx_errors.h"
#include "unicode/codepage.h"
#include "unicode/uni_file_stream.h"

namespace hexedit {

namespace {
constexpr const char* kBadBytesPerLine = "Invalid bytes per line argument";
constexpr const char* kBadBytesPerColumn = "Invalid bytes per column argument";

bool ValidUnit(int v) { return v == 1 || v == 2 || v == 4 || v == 8; }

// Code page 936: a lead byte and the trail bytes that may follow it.
bool IsLeadByte(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
}  // namespace

TCustomHexEditor::TCustomHexEditor() { SetOffsetFormat("-!10:0x|"); }
TCustomHexEditor::~TCustomHexEditor() = default;

bool TCustomHexEditor::ByteChanged(std::size_t position) const {
  return position < changed_.size() && changed_[position];
}

void TCustomHexEditor::SetModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  InvalidateView();
}

void TCustomHexEditor::LoadFromBuffer(Bytes bytes) {
  data_.Assign(std::move(bytes));
  changed_.assign(data_.Size(), false);
  undo_.Clear();
  modified_ = false;
  caret_ = 0;
  charField_ = false;
  secondDigit_ = false;
  selAnchor_ = selStart_ = selEnd_ = -1;
  for (Bookmark& b : bookmarks_) b = Bookmark{};
  topRow_ = 0;
  LayoutChanged();
  InvalidateView();
  CaretMoved();
  PostSelectionChanged();
}

void TCustomHexEditor::LoadFromString(std::string_view ansi) {
  const bool wasProgramChange = programChange_;
  programChange_ = true;
  try {
    if (DataSize() > 0) SelectAll();
    const Bytes bytes = TranslateFromAnsi(translation_, ansi);
    if (HasSelection() || !bytes.empty()) ReplaceSelection(bytes);
    // A fresh load is read from the top.
    ResetSelection();
    MoveCaret(0, charField_, false, false);
  } catch (...) {
    programChange_ = wasProgramChange;
    throw;
  }
  programChange_ = wasProgramChange;
}

std::string TCustomHexEditor::GetSelectionAsHex() const {
  if (DataSize() == 0 || !HasSelection()) return {};
  return data_.AsHex(static_cast<std::size_t>(SelectionLow()), static_cast<std::size_t>(GetSelCount()), swapNibbles_);
}

std::string TCustomHexEditor::GetSelectionAsText() const {
  if (DataSize() == 0 || !HasSelection()) return {};
  const auto low = static_cast<std::size_t>(SelectionLow());
  const auto count = static_cast<std::size_t>(GetSelCount());
  data_.CheckBounds(low, count);
  return std::string(reinterpret_cast<const char*>(data_.Bytes().data() + low), count);
}

void TCustomHexEditor::LoadFromFile(const std::u16string& fileName) {
  unicode::TUniFileStream file(fileName, unicode::fmOpenRead | unicode::fmShareDenyWrite);
  const std::int64_t size = file.Seek(0, unicode::TSeekOrigin::soEnd);
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxLoadSize) throw EHexEditor("File too large to load");
  file.Seek(0, unicode::TSeekOrigin::soBeginning);
  Bytes bytes(static_cast<std::size_t>(size));
  if (file.Read(bytes.data(), bytes.size()) != bytes.size()) throw EHexEditor("Cannot read the whole file");
  LoadFromBuffer(std::move(bytes));
  FileName = fileName;
}

void TCustomHexEditor::SaveToFile(const std::u16string& fileName) {
  // The new content is written whole before the backup step touches the old file.
  unicode::TReplacingFile file(fileName);
  if (file.Stream().Write(data_.Bytes().data(), DataSize()) != DataSize()) throw EHexEditor("Cannot write the file");
  PrepareSaveToFile(fileName);
  file.Commit();
  FileName = fileName;
  changed_.assign(DataSize(), false);
  modified_ = false;
  undo_.Clear();  // what was saved is the new starting point
  InvalidateView();
}

void TCustomHexEditor::PrepareSaveToFile(const std::u16string&) {}

// ---- Properties

void TCustomHexEditor::SetBytesPerRow(int value) {
  // Rows wider than kMaxBytesPerRow would only overflow the grid's column numbers.
  if (value < 1 || value > kMaxBytesPerRow || (unicodeChars_ && value % 2 != 0)) throw EHexEditor(kBadBytesPerLine);
  if (value == bytesPerRow_) return;
  const int old = bytesPerRow_;
  bytesPerRow_ = value;
  try {
    ReloadOffsetFormat();
  } catch (...) {
    bytesPerRow_ = old;
    throw;
  }
  LayoutChanged();
  EnsureCaretVisible();
  InvalidateView();
}

void TCustomHexEditor::SetBytesPerColumn(int value) {
  if (value < 1 || value > 256 || (unicodeChars_ && value % 2 != 0)) throw EHexEditor(kBadBytesPerColumn);
  if (value == bytesPerColumn_) return;
  const int old = bytesPerColumn_;
  bytesPerColumn_ = value;
  try {
    ReloadOffsetFormat();
  } catch (...) {
    bytesPerColumn_ = old;
    throw;
  }
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetBytesPerUnit(int value) {
  if (!ValidUnit(value)) {
    char message[80];
    std::snprintf(message, sizeof message, "Invalid bytes per unit value %d, allowed: 1,2,4,8", value);
    throw EHexEditor(message);
  }
  if (unicodeChars_ && value != 2) throw EHexEditor("BytesPerUnit must be set to 2 in unicode mode");
  if (value == bytesPerUnit_) return;
  const int old = bytesPerUnit_;
  bytesPerUnit_ = value;
  try {
    ReloadOffsetFormat();
  } catch (...) {
    bytesPerUnit_ = old;
    throw;
  }
  InvalidateView();
}

void TCustomHexEditor::SetRulerBytesPerUnit(int value) {
  if (value != -1 && !ValidUnit(value)) {
    char message[96];
    std::snprintf(message, sizeof message, "Invalid ruler bytes per unit value %d, allowed: -1,1,2,4,8", value);
    throw EHexEditor(message);
  }
  rulerBytesPerUnit_ = value;
  InvalidateView();
}

void TCustomHexEditor::SetBytesPerBlock(int value) {
  // A block longer than the widest row never shows a gap; its size only overflows the layout.
  if (value > kMaxBytesPerRow) {
    char message[96];
    std::snprintf(message, sizeof message, "Invalid bytes per block value %d, allowed: -1..%d", value, kMaxBytesPerRow);
    throw EHexEditor(message);
  }
  bytesPerBlock_ = value < 1 ? -1 : value;
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetTranslation(THxTranslationKind kind) {
  if (unicodeChars_ && kind != THxTranslationKind::tkAsIs) throw EHexEditor("Translations cannot be used in unicode mode");
  translation_ = kind;
  InvalidateView();
}

void TCustomHexEditor::SetUnicodeChars(bool on) {
  if (on == unicodeChars_) return;
  if (on) {
    if (bytesPerRow_ % 2 != 0) throw EHexEditor(kBadBytesPerLine);
    if (bytesPerColumn_ % 2 != 0) throw EHexEditor(kBadBytesPerColumn);
    if (DataSize() % 2 != 0) throw EHexEditor("Cannot use unicode mode with odd-sized files");
    translation_ = THxTranslationKind::tkAsIs;
    unicodeChars_ = true;
    bytesPerUnit_ = 2;
    ReloadOffsetFormat();
    if (caret_ % 2 != 0) --caret_;
  } else {
    unicodeChars_ = false;
  }
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetUnicodeBigEndian(bool on) {
  unicodeBigEndian_ = on;
  InvalidateView();
}

void TCustomHexEditor::SetOffsetFormat(std::string_view format) {
  offsetFormat_ = ParseOffsetFormat(format, bytesPerRow_, bytesPerColumn_, bytesPerUnit_);
  offsetFormatText_ = std::string(format);
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::ReloadOffsetFormat() {
  UpdateOffsetUnit(offsetFormat_, bytesPerRow_, bytesPerColumn_, bytesPerUnit_);
}

void TCustomHexEditor::SetCaretKind(TCaretKind kind) {
  caretKind_ = kind;
  CaretMoved();
}

void TCustomHexEditor::SetColors(const THxColors& colors) {
  colors_ = colors;
  InvalidateView();
}

void TCustomHexEditor::SetMaskChar(char16_t c) {
  maskChar_ = c;
  InvalidateView();
}

void TCustomHexEditor::SetInsertMode(bool on) {
  if (on && !allowInsertMode_) on = false;
  if (on == insertMode_) return;
  insertMode_ = on;
  ClampCaret();
  LayoutChanged();
  CaretMoved();
  InvalidateView();
}

void TCustomHexEditor::SetAllowInsertMode(bool on) {
  allowInsertMode_ = on;
  if (!on) SetInsertMode(false);
}

void TCustomHexEditor::SetGutterWidth(int value) {
  if (value > kMaxGutterWidth) {
    char message[96];
    std::snprintf(message, sizeof message, "Invalid gutter width %d, allowed: -1..%d", value, kMaxGutterWidth);
    throw EHexEditor(message);
  }
  gutterWidth_ = value < 0 ? -1 : value;
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetFont(const THxFont& font) {
  font_ = font;
  FontChanged();
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetSwapNibbles(bool on) {
  swapNibbles_ = on;
  InvalidateView();
}

void TCustomHexEditor::SetShowRuler(bool on) {
  showRuler_ = on;
  LayoutChanged();
  InvalidateView();
}

void TCustomHexEditor::SetHexLowerCase(bool on) {
  hexLowerCase_ = on;
  InvalidateView();
}

// ---- Caret and selection

std::int64_t TCustomHexEditor::MaxCaretPosition() const {
  const auto size = static_cast<std::int64_t>(DataSize());
  return insertMode_ ? size : std::max<std::int64_t>(size - 1, 0);
}

std::int64_t TCustomHexEditor::GetSelStart() const { return HasSelection() ? selStart_ : caret_; }
std::int64_t TCustomHexEditor::GetSelEnd() const { return HasSelection() ? selEnd_ : caret_; }
std::int64_t TCustomHexEditor::GetSelCount() const {
  return HasSelection() ? std::llabs(selEnd_ - selAnchor_) + 1 : 0;
}
std::int64_t TCustomHexEditor::SelectionLow() const {
  return HasSelection() ? std::min(selAnchor_, selEnd_) : caret_;
}

bool TCustomHexEditor::IsSelected(std::int64_t position) const {
  if (!HasSelection()) return false;
  return position >= std::min(selAnchor_, selEnd_) && position <= std::max(selAnchor_, selEnd_);
}

void TCustomHexEditor::SetSelStart(std::int64_t position) {
  if (position < 0 || position >= static_cast<std::int64_t>(DataSize())) throw EHexEditor("Invalid selection start");
  ResetSelection();
  MoveCaret(position, charField_, false, false);
  selAnchor_ = position;
}

void TCustomHexEditor::SetSelEnd(std::int64_t position) {
  if (position < -1 || position >= static_cast<std::int64_t>(DataSize())) throw EHexEditor("Invalid selection end");
  if (position == -1) {
    ResetSelection();
    return;
  }
  if (selAnchor_ < 0 || selAnchor_ >= static_cast<std::int64_t>(DataSize())) selAnchor_ = std::min(caret_, MaxCaretPosition());
  selStart_ = selAnchor_;
  selEnd_ = position;
  InvalidateView();
  PostSelectionChanged();
}

void TCustomHexEditor::SelectAll() {
  if (DataSize() == 0) return;
  MoveCaret(MaxCaretPosition(), charField_, false, false);
  selAnchor_ = selStart_ = 0;
  selEnd_ = static_cast<std::int64_t>(DataSize()) - 1;
  InvalidateView();
  PostSelectionChanged();
}

void TCustomHexEditor::ResetSelection() {
  if (!HasSelection()) return;
  selStart_ = selEnd_ = -1;
  selAnchor_ = caret_;
  InvalidateView();
  PostSelectionChanged();
}

std::int64_t TCustomHexEditor::Seek(std::int64_t offset, int origin) {
  if (DataSize() == 0) return -1;
  const auto last = static_cast<std::int64_t>(DataSize()) - 1;
  std::int64_t target = origin == 0 ? offset : origin == 1 ? caret_ + offset : last + 1 + offset;
  target = std::clamp<std::int64_t>(target, 0, last);
  ResetSelection();
  MoveCaret(target, charField_, false, false);
  return target;
}

void TCustomHexEditor::MoveCaret(std::int64_t position, bool charField, bool secondDigit, bool selecting) {
  position = std::clamp<std::int64_t>(position, 0, MaxCaretPosition());
  if (unicodeChars_ && charField && position % 2 != 0) --position;
  const auto size = static_cast<std::int64_t>(DataSize());
  if (selecting && size > 0) {
    if (!HasSelection()) selAnchor_ = std::min(caret_, size - 1);
    selStart_ = selAnchor_;
    selEnd_ = std::min(position, size - 1);
    InvalidateView();
  }
  if (position >= size) secondDigit = false;
  const bool moved = position != caret_ || charField != charField_ || secondDigit != secondDigit_;
  caret_ = position;
  charField_ = charField;
  secondDigit_ = secondDigit;
  if (!HasSelection()) selAnchor_ = caret_;
  EnsureCaretVisible();
  if (moved || selecting) {
    InvalidateView();
    CaretMoved();
    PostSelectionChanged();
  }
}

void TCustomHexEditor::ClampCaret() {
  if (caret_ > MaxCaretPosition()) caret_ = MaxCaretPosition();
  if (caret_ >= static_cast<std::int64_t>(DataSize())) secondDigit_ = false;
  if (HasSelection()) {
    const auto last = static_cast<std::int64_t>(DataSize()) - 1;
    if (last < 0) {
      selAnchor_ = selStart_ = selEnd_ = -1;
    } else {
      selAnchor_ = std::min(selAnchor_, last);
      selStart_ = std::min(selStart_, last);
      selEnd_ = std::min(selEnd_, last);
    }
  }
}

Bookmark TCustomHexEditor::GetBookmark(int index) const {
  if (index < 0 || index >= kBookmarkCount) throw EHexEditor("Invalid bookmark index");
  return bookmarks_[index];
}

void TCustomHexEditor::SetBookmark(int index, std::int64_t position, bool charField) {
  if (index < 0 || index >= kBookmarkCount) throw EHexEditor("Invalid bookmark index");
  bookmarks_[index] = position < 0 ? Bookmark{} : Bookmark{position, charField};
  InvalidateView();
  BookmarkChanged();
}

void TCustomHexEditor::GotoBookmark(int index) {
  const Bookmark mark = GetBookmark(index);
  if (mark.position < 0) return;
  if (mark.position > MaxCaretPosition() || (mark.position >= static_cast<std::int64_t>(DataSize()) && !insertMode_)) {
    SetBookmark(index, -1, false);
    return;
  }
  ResetSelection();
  MoveCaret(mark.position, mark.charField, false, false);
}

void TCustomHexEditor::ShiftBookmarks(std::int64_t position, std::int64_t delta) {
  bool changed = false;
  const auto size = static_cast<std::int64_t>(DataSize());
  for (Bookmark& mark : bookmarks_) {
    if (mark.position < 0 || mark.position < position) continue;
    // A bookmark on a deleted byte goes with it rather than landing on an unrelated one.
    if (delta < 0 && mark.position < position - delta) {
      mark = Bookmark{};
    } else {
      mark.position += delta;
      if (mark.position > size || (mark.position == size && !insertMode_)) mark = Bookmark{};
    }
    changed = true;
  }
  if (changed) BookmarkChanged();
}

void TCustomHexEditor::PostSelectionChanged() {
  if (selectionChangedPending_ == 0) PostSelectionMessage();
  ++selectionChangedPending_;
}

void TCustomHexEditor::SelectionMessageArrived() {
  selectionChangedPending_ = 0;
  if (OnSelectionChanged) OnSelectionChanged();
}

void TCustomHexEditor::Changed() {
  if (OnChange) OnChange();
  PostSelectionChanged();
}

void TCustomHexEditor::BookmarkChanged() {
  if (OnBookmarkChanged) OnBookmarkChanged();
}

std::string TCustomHexEditor::GetOffsetString(std::uint64_t position) {
  if (OnGetOffsetText && !inOffsetEvent_) {
    inOffsetEvent_ = true;
    std::optional<std::string> text;
    try {
      text = OnGetOffsetText(position);
    } catch (...) {
      inOffsetEvent_ = false;
      throw;
    }
    inOffsetEvent_ = false;
    if (text) return *text;
  }
  if (offsetFormat_.empty) return {};
  const std::uint64_t largest = DataSize() > 0 ? RowStart(static_cast<std::int64_t>(DataSize()) - 1) : 0;
  return FormatOffset(offsetFormat_, position, OffsetDigitCount(offsetFormat_, largest), hexLowerCase_);
}

std::string TCustomHexEditor::GetAnyOffsetString(std::uint64_t position) {
  if (offsetFormat_.empty) return IntToRadix(position, 16);
  return GetOffsetString(position);
}

// ---- Layout

int TCustomHexEditor::ColCount() const { return FirstCharColumn() + CharColumns(); }

int TCustomHexEditor::RowCount() const {
  const auto size = static_cast<std::int64_t>(DataSize());
  if (size == 0) return 3;
  std::int64_t rows = (size + bytesPerRow_ - 1) / bytesPerRow_;
  if (insertMode_ && size % bytesPerRow_ == 0) ++rows;
  return static_cast<int>(std::min<std::int64_t>(rows, 0x7FFFFFF0) + 2);
}

void TCustomHexEditor::SetTopRow(int row) {
  row = std::clamp(row, 0, std::max(0, DataRowCount() - visibleRows_));
  if (row == topRow_) return;
  topRow_ = row;
  InvalidateView();
  if (OnTopLeftChanged) OnTopLeftChanged();
}

void TCustomHexEditor::SetVisibleRows(int rows) {
  visibleRows_ = std::max(1, rows);
  SetTopRow(topRow_);
}

void TCustomHexEditor::EnsureCaretVisible() {
  const int row = static_cast<int>(caret_ / bytesPerRow_);
  if (row < topRow_) SetTopRow(row);
  else if (row >= topRow_ + visibleRows_) SetTopRow(row - visibleRows_ + 1);
}

GridCell TCustomHexEditor::CellOf(std::int64_t position, bool charField, bool secondDigit) const {
  GridCell cell;
  cell.row = 2 + static_cast<int>(position / bytesPerRow_);
  const int inRow = static_cast<int>(position % bytesPerRow_);
  if (charField) {
    cell.col = FirstCharColumn() + (unicodeChars_ ? inRow / 2 : inRow);
  } else {
    cell.col = FirstHexColumn() + 2 * inRow + (secondDigit ? 1 : 0);
  }
  return cell;
}

std::optional<CellTarget> TCustomHexEditor::TargetOf(GridCell cell) const {
  if (cell.row < 2 || cell.row >= RowCount() || cell.col < FirstHexColumn() || cell.col >= ColCount() ||
      cell.col == SeparatorColumn()) {
    return std::nullopt;
  }
  CellTarget target;
  const std::int64_t rowStart = static_cast<std::int64_t>(cell.row - 2) * bytesPerRow_;
  if (cell.col < SeparatorColumn()) {
    const int digit = cell.col - FirstHexColumn();
    target.position = rowStart + digit / 2;
    target.secondDigit = digit % 2 != 0;
  } else {
    const int index = cell.col - FirstCharColumn();
    target.position = rowStart + (unicodeChars_ ? 2 * index : index);
    target.charField = true;
  }
  return target;
}

char TCustomHexEditor::HexDigitOf(std::int64_t position, bool secondDigit) const {
  if (position < 0 || position >= static_cast<std::int64_t>(DataSize())) return '\0';
  const std::uint8_t b = data_.Bytes()[static_cast<std::size_t>(position)];
  const bool high = secondDigit == swapNibbles_;
  const int nibble = high ? b >> 4 : b & 15;
  return (hexLowerCase_ ? "0123456789abcdef" : "0123456789ABCDEF")[nibble];
}

std::vector<CharCell> TCustomHexEditor::CharCellsOfRow(int dataRow) const {
  std::vector<CharCell> cells(static_cast<std::size_t>(CharColumns()));
  const std::int64_t start = static_cast<std::int64_t>(dataRow) * bytesPerRow_;
  const auto size = static_cast<std::int64_t>(DataSize());
  const std::uint8_t* bytes = data_.Bytes().data();
  const std::u16string mask(1, maskChar_);
  for (int i = 0; i < CharColumns(); ++i) {
    CharCell& cell = cells[static_cast<std::size_t>(i)];
    if (unicodeChars_) {
      const std::int64_t p = start + 2 * i;
      if (p + 1 >= size) {
        cell.text.clear();
        continue;
      }
      std::uint16_t unit = static_cast<std::uint16_t>(bytes[p] | bytes[p + 1] << 8);
      if (unicodeBigEndian_) unit = Swap16(unit);
      cell.text = unit < 32 ? mask : std::u16string(1, static_cast<char16_t>(unit));
      continue;
    }
    const std::int64_t p = start + i;
    if (p >= size) {
      cell.text.clear();
      continue;
    }
    const std::uint8_t b = bytes[p];
    switch (translation_) {
      case THxTranslationKind::tkAsIs: {
        if (b < 32) {
          cell.text = mask;
        } else if (b < 0x80) {
          cell.text = std::u16string(1, static_cast<char16_t>(b));
        } else if (IsLeadByte(b) && i + 1 < CharColumns() && p + 1 < size && IsTrailByte(bytes[p + 1])) {
          // A lead and trail byte in one row: one character over both cells.
          const std::u16string ch = unicode::AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(bytes + p), 2));
          if (ch.size() == 1 && ch[0] != 0xFFFD) {
            cell.text = ch;
            cell.span = 2;
            cells[static_cast<std::size_t>(i) + 1].span = 0;
            ++i;
          } else {
            cell.text = mask;
          }
        } else {
          const std::u16string ch = unicode::AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(bytes + p), 1));
          // A byte of no pair: lead bytes alone and unmapped bytes show the mask.
          cell.text = (ch.size() == 1 && ch[0] != 0xFFFD && !IsLeadByte(b)) ? ch : mask;
        }
        break;
      }
      case THxTranslationKind::tkDos8:
      case THxTranslationKind::tkASCII: {
        if (translation_ == THxTranslationKind::tkASCII && b >= 128) {
          cell.text = mask;
          break;
        }
        const std::uint8_t a = OemToChar(b);
        cell.text = a < 32 ? mask : (a < 0x80 ? std::u16string(1, static_cast<char16_t>(a)) : mask);
        break;
      }
      default: {
        const std::uint8_t a = TranslateToAnsi(translation_, std::string_view(reinterpret_cast<const char*>(&b), 1))[0];
        // The tables map to Western ANSI bytes, shown as their Latin-1 characters.
        cell.text = a < 32 ? mask : std::u16string(1, static_cast<char16_t>(a));
        break;
      }
    }
  }
  return cells;
}

std::u16string TCustomHexEditor::RulerText(int unitIndex) const {
  const int unit = rulerBytesPerUnit_ == -1 ? bytesPerUnit_ : rulerBytesPerUnit_;
  std::string digits = IntToRadix(static_cast<std::uint64_t>(unitIndex), 16, 2 * unit);
  if (digits.size() > static_cast<std::size_t>(2 * unit)) digits = digits.substr(digits.size() - 2 * unit);
  std::u16string text;
  for (char c : digits) text += static_cast<char16_t>(hexLowerCase_ ? std::tolower(c) : c);
  return text;
}

bool TCustomHexEditor::OddColumnGroup(std::int64_t position) const {
  return ((position % bytesPerRow_) / bytesPerColumn_) % 2 == 0;
}

CellStyle TCustomHexEditor::StyleOf(std::int64_t position, bool charField, bool focused,
                                   const ColorResolver& resolve) const {
  CellStyle style;
  style.background = colors_.Background;
  style.text = OddColumnGroup(position) ? colors_.OddColumn : colors_.EvenColumn;
  if (position >= 0 && ByteChanged(static_cast<std::size_t>(position))) {
    style.background = colors_.ChangedBackground;
    style.text = colors_.ChangedText;
  }
  const bool showSelection = focused || !HideSelection();
  if (IsSelected(position) && showSelection) {
    style.background = InverseColor(style.background, resolve);
    style.text = InverseColor(style.text, resolve);
    if (!focused && GraySelectionIfNotFocused()) {
      style.background = GrayColor(style.background, resolve);
      style.text = GrayColor(style.text, resolve);
    }
  }
  // The caret's cell is framed, with FocusFrame its twin in the other field too; without
  // the focus only when ShowPositionIfNotFocused.
  const bool caretHere = position == caret_ && (charField == charField_ || FocusFrame());
  if (caretHere && (focused || ShowPositionIfNotFocused())) {
    style.frame = true;
    style.frameColor = focused ? colors_.CursorFrame : colors_.NonFocusCursorFrame;
  }
  return style;
}

std::string TCustomHexEditor::RowOffsetText(int dataRow) {
  return GetOffsetString(static_cast<std::uint64_t>(dataRow) * static_cast<std::uint64_t>(bytesPerRow_));
}

int TCustomHexEditor::AutoGutterWidth(int charWidth) {
  if (gutterWidth_ >= 0) return gutterWidth_;
  const std::string last = RowOffsetText(std::max(0, DataRowCount() - 1));
  return (static_cast<int>(last.size()) + 1) * charWidth + 21;
}

}  // namespace hexedit
