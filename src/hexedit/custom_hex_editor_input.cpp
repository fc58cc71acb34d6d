// TCustomHexEditor: keys, typed characters and the mouse.
#include <algorithm>

#include "hexedit/custom_hex_editor.h"
#include "unicode/codepage.h"

namespace hexedit {

namespace {
int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}
}  // namespace

void TCustomHexEditor::MoveHorizontally(int direction, ShiftState shift) {
  std::int64_t pos = caret_;
  bool second = secondDigit_;
  if (shift.ctrl) {
    // Ctrl+Left: the row's first column; Ctrl+Right: its last.
    const std::int64_t rowStart = RowStart(caret_);
    pos = direction < 0 ? rowStart : std::min<std::int64_t>(rowStart + bytesPerRow_ - 1, MaxCaretPosition());
    second = direction > 0 && !charField_ && pos < static_cast<std::int64_t>(DataSize());
  } else if (shift.shift) {
    // Selecting moves by whole units.
    const std::int64_t unitStart = caret_ - caret_ % bytesPerUnit_;
    pos = direction < 0 ? (unitStart == caret_ ? caret_ - bytesPerUnit_ : unitStart) : unitStart + bytesPerUnit_;
    second = false;
  } else if (charField_) {
    pos += direction * (unicodeChars_ ? 2 : 1);
  } else if (direction < 0) {
    if (second) second = false;
    else if (pos > 0) { --pos; second = true; }
  } else {
    if (!second && pos < static_cast<std::int64_t>(DataSize())) second = true;
    else { ++pos; second = false; }
  }
  if (pos < 0) return;
  if (pos > MaxCaretPosition()) {
    if (!shift.shift) return;
    pos = MaxCaretPosition();
  }
  MoveCaret(pos, charField_, second, shift.shift);
}

void TCustomHexEditor::MoveVertically(std::int64_t rows, bool selecting) {
  std::int64_t target = caret_ + rows * bytesPerRow_;
  if (target < 0) {
    if (caret_ < bytesPerRow_) return;
    target = caret_ % bytesPerRow_;
  }
  if (target > MaxCaretPosition()) {
    // A shorter last row: its last position, when it is below the caret's row.
    if (RowStart(MaxCaretPosition()) <= RowStart(caret_)) return;
    target = MaxCaretPosition();
  }
  MoveCaret(target, charField_, secondDigit_, selecting);
}

bool TCustomHexEditor::KeyDown(int key, ShiftState shift) {
  if (OnKeyDown) {
    OnKeyDown(key, shift);
    if (key == 0) return true;
  }
  if (key == keys::Shift) {
    shiftAnchor_ = true;
    return true;
  }
  // A plain key (no modifier) ends the selection, except Delete, which acts on it, and in
  // insert mode, where typing replaces it; moving the caret always ends it.
  const bool plain = !shift.shift && !shift.ctrl && !shift.alt;
  const bool moveKey = key == keys::Left || key == keys::Right || key == keys::Up || key == keys::Down ||
                       key == keys::Home || key == keys::End || key == keys::PageUp || key == keys::PageDown;
  if (HasSelection() && ((plain && !insertMode_ && key != keys::Delete && key != keys::Control) ||
                         (!shift.shift && moveKey))) {
    ResetSelection();
  }
  const bool selecting = shift.shift;
  const auto size = static_cast<std::int64_t>(DataSize());
  switch (key) {
    case keys::Left:
      MoveHorizontally(-1, shift);
      return true;
    case keys::Right:
      MoveHorizontally(1, shift);
      return true;
    case keys::Up:
      if (!shift.ctrl) MoveVertically(-1, selecting);
      return true;
    case keys::Down:
      if (!shift.ctrl) MoveVertically(1, selecting);
      return true;
    case keys::PageUp:
      if (shift.ctrl) {
        MoveCaret(static_cast<std::int64_t>(topRow_) * bytesPerRow_ + caret_ % bytesPerRow_, charField_, secondDigit_, selecting);
      } else {
        const std::int64_t target = caret_ - static_cast<std::int64_t>(visibleRows_) * bytesPerRow_;
        MoveCaret(target < 0 ? caret_ % bytesPerRow_ : target, charField_, secondDigit_, selecting);
        SetTopRow(topRow_ - visibleRows_);
      }
      return true;
    case keys::PageDown:
      if (shift.ctrl) {
        const std::int64_t bottom = static_cast<std::int64_t>(topRow_ + visibleRows_ - 1) * bytesPerRow_ + caret_ % bytesPerRow_;
        MoveCaret(std::min(bottom, MaxCaretPosition()), charField_, secondDigit_, selecting);
      } else {
        SetTopRow(topRow_ + visibleRows_);
        MoveCaret(std::min(caret_ + static_cast<std::int64_t>(visibleRows_) * bytesPerRow_, MaxCaretPosition()), charField_,
                  secondDigit_, selecting);
      }
      return true;
    case keys::Home:
      MoveCaret(shift.ctrl ? 0 : RowStart(caret_), charField_, false, selecting);
      return true;
    case keys::End:
      if (shift.ctrl) {
        MoveCaret(MaxCaretPosition(), charField_, false, selecting);
      } else {
        MoveCaret(std::min<std::int64_t>(RowStart(caret_) + bytesPerRow_ - 1, MaxCaretPosition()), charField_, false,
                  selecting);
      }
      return true;
    case keys::Tab:
      if (!WantTabs() || shift.ctrl || shift.alt) return false;
      MoveCaret(caret_, !charField_, false, false);
      return true;
    case keys::Insert:
      if (!shift.shift && !shift.ctrl) SetInsertMode(!insertMode_);
      return true;
    case keys::Delete:
      if (ReadOnlyView()) return true;
      if (HasSelection()) {
        DeleteSelection();
      } else if ((insertMode_ || shift.ctrl) && caret_ < size) {
        DeleteBytes(caret_ - caret_ % bytesPerUnit_, bytesPerUnit_);
      }
      return true;
    case keys::Back:
      if (ReadOnlyView() || !insertMode_) return true;
      if (HasSelection()) {
        DeleteSelection();
      } else if (caret_ > 0 && caret_ <= size) {
        const std::int64_t from = std::max<std::int64_t>(0, caret_ - bytesPerUnit_);
        DeleteBytes(from, caret_ - from);
      }
      return true;
    default:
      break;
  }
  if (shift.ctrl && key == 'T') {
    MoveCaret(caret_, !charField_, false, false);
    return true;
  }
  if (shift.ctrl && key >= '0' && key <= '9') {
    const int index = key - '0';
    if (shift.shift) {
      const Bookmark here{caret_, charField_};
      SetBookmark(index, bookmarks_[index] == here ? -1 : caret_, charField_);
    } else {
      GotoBookmark(index);
    }
    return true;
  }
  return false;
}

void TCustomHexEditor::KeyUp(int key, ShiftState) {
  if (key == keys::Shift) shiftAnchor_ = false;
}

std::optional<Bytes> TCustomHexEditor::CharBytes(char16_t ch) const {
  if (unicodeChars_) {
    std::uint16_t unit = ch;
    if (unicodeBigEndian_) unit = Swap16(unit);
    return Bytes{static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)};
  }
  const std::string ansi = unicode::Utf16ToAnsi(std::u16string_view(&ch, 1));
  if (ansi.empty() || (ansi == "?" && ch != u'?')) return std::nullopt;  // not in the code page
  if (translation_ == THxTranslationKind::tkAsIs) return Bytes(ansi.begin(), ansi.end());
  if (ansi.size() != 1) return std::nullopt;
  if (translation_ == THxTranslationKind::tkASCII && ch >= 128) return std::nullopt;
  Bytes b = TranslateFromAnsi(translation_, ansi);
  if (b.size() != 1 || b[0] < 32) return std::nullopt;
  return b;
}

bool TCustomHexEditor::TypeIntoCharField(char16_t ch) {
  const std::optional<Bytes> bytes = CharBytes(ch);
  if (!bytes) {
    if (OnInvalidKey) OnInvalidKey();
    return false;
  }
  const auto size = static_cast<std::int64_t>(DataSize());
  const auto n = static_cast<std::int64_t>(bytes->size());
  const std::int64_t at = caret_;
  bool done;
  if (insertMode_) {
    done = ReplaceSelection(*bytes);
    if (done) return true;  // the caret already stands after the new bytes
  } else if (at + n <= size) {
    done = ChangeBytes(at, *bytes);
  } else {
    // A two-byte character on the last byte: it replaces what is left.
    selAnchor_ = selStart_ = at;
    selEnd_ = size - 1;
    done = ReplaceSelection(*bytes);
    if (done) MoveCaret(std::min(at + n, MaxCaretPosition()), true, false, false);
    return done;
  }
  if (done) MoveCaret(std::min(at + n, MaxCaretPosition()), true, false, false);
  return done;
}

bool TCustomHexEditor::TypeIntoHexField(int digit) {
  const auto size = static_cast<std::int64_t>(DataSize());
  const bool high = secondDigit_ == swapNibbles_;
  const std::int64_t at = caret_;
  bool done = false;
  if (insertMode_ && (HasSelection() || (!secondDigit_ && at % bytesPerUnit_ == 0))) {
    // A new unit holding the digit.
    Bytes unit(static_cast<std::size_t>(bytesPerUnit_), 0);
    unit[0] = static_cast<std::uint8_t>(high ? digit << 4 : digit);
    const std::int64_t position = HasSelection() ? SelectionLow() : at;
    done = ReplaceSelection(unit);
    if (done) MoveCaret(position, false, true, false);
    return done;
  }
  if (at >= size) return false;
  const std::uint8_t old = data_.At(static_cast<std::size_t>(at));
  const auto value = static_cast<std::uint8_t>(high ? (old & 0x0F) | (digit << 4) : (old & 0xF0) | digit);
  done = ChangeBytes(at, Bytes{value});
  if (!done) return false;
  if (!secondDigit_) MoveCaret(at, false, true, false);
  else if (at + 1 <= MaxCaretPosition()) MoveCaret(at + 1, false, false, false);
  return true;
}

bool TCustomHexEditor::KeyPress(char16_t ch) {
  if (OnKeyPress) {
    OnKeyPress(ch);
    if (ch == 0) return true;
  }
  if (ReadOnlyView() || ch < 32) return false;
  const auto size = static_cast<std::int64_t>(DataSize());
  if (caret_ >= size && !insertMode_) return false;
  if (charField_) return TypeIntoCharField(ch);
  const int digit = HexValue(ch);
  if (digit < 0) {
    if (OnInvalidKey) OnInvalidKey();
    return false;
  }
  return TypeIntoHexField(digit);
}

namespace {
// A mouse cell outside the data area is brought to the nearest data cell.
GridCell ClampToData(GridCell cell, int rows, int separator, int cols) {
  cell.row = std::clamp(cell.row, 2, std::max(2, rows - 1));
  cell.col = std::clamp(cell.col, 2, cols - 1);
  if (cell.col == separator) cell.col = separator - 1;
  return cell;
}
}  // namespace

void TCustomHexEditor::MouseDown(GridCell cell, ShiftState shift, bool doubleClick) {
  if (cell.row < 2 || cell.col < 2) return;  // the gutter and the ruler
  const std::optional<CellTarget> target = TargetOf(ClampToData(cell, RowCount(), SeparatorColumn(), ColCount()));
  if (!target) return;
  const std::int64_t pos = std::min(target->position, MaxCaretPosition());
  if (IsSelected(pos) && !doubleClick && !shift.shift) {
    dragPending_ = true;
    dragPressPosition_ = pos;
    return;
  }
  if (shift.shift) {
    MoveCaret(pos, target->charField, false, true);
    mouseSelecting_ = true;
    return;
  }
  ResetSelection();
  MoveCaret(pos, target->charField, target->secondDigit && pos == target->position, false);
  selAnchor_ = std::min<std::int64_t>(pos, std::max<std::int64_t>(static_cast<std::int64_t>(DataSize()) - 1, 0));
  mouseSelecting_ = !doubleClick;
}

void TCustomHexEditor::MouseMove(GridCell cell) {
  if (!mouseSelecting_) return;
  const std::optional<CellTarget> target = TargetOf(ClampToData(cell, RowCount(), SeparatorColumn(), ColCount()));
  if (!target) return;
  const std::int64_t pos = std::min(target->position, MaxCaretPosition());
  if (pos == caret_ && !HasSelection()) return;
  MoveCaret(pos, charField_, false, true);
}

void TCustomHexEditor::MouseUp(GridCell cell) {
  if (dragPending_) {
    dragPending_ = false;
    const std::optional<CellTarget> target = TargetOf(ClampToData(cell, RowCount(), SeparatorColumn(), ColCount()));
    if (target && std::min(target->position, MaxCaretPosition()) == dragPressPosition_) {
      ResetSelection();
      MoveCaret(dragPressPosition_, target->charField, false, false);
    }
  }
  mouseSelecting_ = false;
}

}  // namespace hexedit
