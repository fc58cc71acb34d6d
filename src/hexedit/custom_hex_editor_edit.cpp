// TCustomHexEditor: the editing operations, their undo records, undo and redo.
#include <algorithm>

#include "hexedit/custom_hex_editor.h"
#include "hexedit/hx_errors.h"

namespace hexedit {

namespace {
// Nibbles from a byte sequence and back (n nibbles, n even).
std::vector<std::uint8_t> ToNibbles(const std::uint8_t* bytes, std::size_t count) {
  std::vector<std::uint8_t> out(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    out[2 * i] = bytes[i] >> 4;
    out[2 * i + 1] = bytes[i] & 15;
  }
  return out;
}
Bytes FromNibbles(const std::vector<std::uint8_t>& nibbles) {
  Bytes out(nibbles.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  return out;
}
}  // namespace

bool TCustomHexEditor::IsModificationAllowed(UndoKind kind, std::int64_t position, std::int64_t count) {
  if (DataSize() == 0) return kind == UndoKind::InsertBuffer || kind == UndoKind::AppendBuffer || kind == UndoKind::AllSaved;
  if (NoSizeChange()) {
    switch (kind) {
      case UndoKind::RemoveData:
      case UndoKind::InsertBuffer:
      case UndoKind::AppendBuffer:
      case UndoKind::InsertNibble:
      case UndoKind::DeleteNibble:
        return false;
      default:
        break;
    }
  }
  return true;
}

bool TCustomHexEditor::Allowed(UndoKind kind, std::int64_t position, std::int64_t count) {
  if (ReadOnlyView() && !programChange_) return false;
  return IsModificationAllowed(kind, position, count);
}

UndoEditorState TCustomHexEditor::CurrentUndoState(std::int64_t position) const {
  UndoEditorState s;
  s.caret = static_cast<std::uint32_t>(caret_);
  s.secondNibble = secondDigit_;
  s.charField = charField_;
  s.modified = modified_;
  s.insertMode = insertMode_;
  s.unicode = unicodeChars_;
  s.bigEndian = unicodeBigEndian_;
  s.markedAtPos = position >= 0 && ByteChanged(static_cast<std::size_t>(position));
  s.markedAfter = position >= 0 && ByteChanged(static_cast<std::size_t>(position) + 1);
  s.translation = translation_;
  s.bytesPerUnit = static_cast<std::uint8_t>(bytesPerUnit_);
  s.hasSelection = HasSelection();
  if (s.hasSelection) {
    s.selAnchor = static_cast<std::uint32_t>(selAnchor_);
    s.selStart = static_cast<std::uint32_t>(selStart_);
    s.selEnd = static_cast<std::uint32_t>(selEnd_);
  }
  return s;
}

void TCustomHexEditor::Record(UndoKind kind, std::int64_t position, std::int64_t count, std::int64_t furtherCount,
                              Bytes saved, const std::string& description) {
  UndoRecord r;
  r.kind = kind;
  r.state = CurrentUndoState(position);
  r.position = static_cast<std::uint32_t>(position);
  r.count = static_cast<std::uint32_t>(count);
  r.furtherCount = static_cast<std::uint32_t>(furtherCount);
  r.saved = std::move(saved);
  r.description = description;
  undo_.Add(r);
}

void TCustomHexEditor::WriteBufferAt(const std::uint8_t* bytes, std::int64_t position, std::int64_t count) {
  data_.WriteAt(bytes, static_cast<std::size_t>(position), static_cast<std::size_t>(count));
}

void TCustomHexEditor::MarkChanged(std::int64_t position, std::int64_t count) {
  if (programChange_) return;  // what the program loads is no change of the user's
  for (std::int64_t i = 0; i < count; ++i) changed_[static_cast<std::size_t>(position + i)] = true;
}

void TCustomHexEditor::InsertRaw(std::int64_t position, const Bytes& bytes, bool marked) {
  const auto at = static_cast<std::size_t>(position);
  const Bytes zeros(bytes.size(), 0);
  data_.Insert(at, zeros.data(), zeros.size());
  changed_.insert(changed_.begin() + static_cast<std::ptrdiff_t>(at), bytes.size(), marked && !programChange_);
  WriteBufferAt(bytes.data(), position, static_cast<std::int64_t>(bytes.size()));
}

void TCustomHexEditor::EraseRaw(std::int64_t position, std::int64_t count) {
  const auto at = static_cast<std::size_t>(position);
  data_.Erase(at, static_cast<std::size_t>(count));
  const auto first = changed_.begin() + static_cast<std::ptrdiff_t>(at);
  changed_.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void TCustomHexEditor::AfterSizeChange(std::int64_t position, std::int64_t delta) {
  ShiftBookmarks(position, delta);
  ClampCaret();
  LayoutChanged();
}

void TCustomHexEditor::AfterReplace(std::int64_t position, std::int64_t oldCount, std::int64_t newCount) {
  // The bytes written over keep their bookmarks; the size changes after them.
  AfterSizeChange(position + std::min(oldCount, newCount), newCount - oldCount);
}

bool TCustomHexEditor::ChangeBytes(std::int64_t position, const Bytes& bytes, const std::string& description) {
  const auto count = static_cast<std::int64_t>(bytes.size());
  if (count == 0 || position < 0) return false;
  data_.CheckBounds(static_cast<std::size_t>(position), bytes.size());
  if (!Allowed(UndoKind::ChangeBytes, position, count)) return false;
  Bytes saved(bytes.size());
  data_.ReadAt(saved.data(), static_cast<std::size_t>(position), bytes.size());
  Record(UndoKind::ChangeBytes, position, count, 0, std::move(saved), description);
  WriteBufferAt(bytes.data(), position, count);
  MarkChanged(position, count);
  if (!programChange_) modified_ = true;
  InvalidateView();
  Changed();
  return true;
}

bool TCustomHexEditor::InsertRecorded(UndoKind kind, std::int64_t position, const Bytes& bytes,
                                      const std::string& description) {
  const auto count = static_cast<std::int64_t>(bytes.size());
  if (!Allowed(kind, position, count)) return false;
  Record(kind, position, count, 0, {}, description);
  InsertRaw(position, bytes, true);
  if (!programChange_) modified_ = true;
  AfterSizeChange(position, count);
  InvalidateView();
  Changed();
  return true;
}

bool TCustomHexEditor::InsertBuffer(const Bytes& bytes, std::int64_t position, const std::string& description) {
  if (bytes.empty() || position < 0 || position > static_cast<std::int64_t>(DataSize())) return false;
  if (position == static_cast<std::int64_t>(DataSize())) return AppendBuffer(bytes, description);
  return InsertRecorded(UndoKind::InsertBuffer, position, bytes, description);
}

bool TCustomHexEditor::AppendBuffer(const Bytes& bytes, const std::string& description) {
  if (bytes.empty()) return false;
  return InsertRecorded(UndoKind::AppendBuffer, static_cast<std::int64_t>(DataSize()), bytes, description);
}

bool TCustomHexEditor::DeleteBytes(std::int64_t position, std::int64_t count, const std::string& description) {
  const auto size = static_cast<std::int64_t>(DataSize());
  if (position < 0 || position >= size || count <= 0) return false;  // nothing there to delete
  count = std::min(count, size - position);
  if (!Allowed(UndoKind::RemoveData, position, count)) return false;
  Bytes saved(static_cast<std::size_t>(count));
  data_.ReadAt(saved.data(), static_cast<std::size_t>(position), saved.size());
  Record(UndoKind::RemoveData, position, count, 0, std::move(saved), description);
  ResetSelection();
  EraseRaw(position, count);
  if (!programChange_) modified_ = true;
  AfterSizeChange(position, -count);
  MoveCaret(position, charField_, false, false);
  InvalidateView();
  Changed();
  return true;
}

bool TCustomHexEditor::DeleteSelection(const std::string& description) {
  if (!HasSelection() || DataSize() == 0) return false;
  return DeleteBytes(SelectionLow(), GetSelCount(), description);
}

bool TCustomHexEditor::ReplaceSelection(const Bytes& input, const std::string& description) {
  Bytes bytes = input;
  if (!HasSelection() || DataSize() == 0) {
    if (NoSizeChange()) return false;
    const std::int64_t at = std::min<std::int64_t>(caret_, static_cast<std::int64_t>(DataSize()));
    if (!InsertBuffer(bytes, at, description)) return false;
    MoveCaret(at + static_cast<std::int64_t>(bytes.size()), charField_, false, false);
    return true;
  }
  const std::int64_t position = SelectionLow();
  const std::int64_t oldCount = GetSelCount();
  if (NoSizeChange() && static_cast<std::int64_t>(bytes.size()) > oldCount) bytes.resize(static_cast<std::size_t>(oldCount));
  const auto newCount = static_cast<std::int64_t>(bytes.size());
  if (NoSizeChange() && newCount != oldCount) return false;
  if (!Allowed(UndoKind::Replace, position, oldCount)) return false;
  Bytes saved(static_cast<std::size_t>(oldCount));
  data_.ReadAt(saved.data(), static_cast<std::size_t>(position), saved.size());
  Record(UndoKind::Replace, position, oldCount, newCount, std::move(saved), description);
  ResetSelection();
  EraseRaw(position, oldCount);
  if (newCount > 0) InsertRaw(position, bytes, true);
  if (!programChange_) modified_ = true;
  AfterReplace(position, oldCount, newCount);
  MoveCaret(position + newCount, charField_, false, false);
  InvalidateView();
  Changed();
  return true;
}

void TCustomHexEditor::InsertNibbleRaw(std::int64_t position, bool highNibble) {
  const auto at = static_cast<std::size_t>(position);
  const std::size_t tailBytes = DataSize() - at;
  std::vector<std::uint8_t> nibbles = ToNibbles(data_.Bytes().data() + at, tailBytes);
  nibbles.insert(nibbles.begin() + (highNibble ? 0 : 1), 0);
  nibbles.push_back(0);
  const Bytes tail = FromNibbles(nibbles);
  data_.SetSize(at + tail.size());
  data_.WriteAt(tail.data(), at, tail.size());
  changed_.resize(DataSize(), false);
  MarkChanged(position, static_cast<std::int64_t>(tail.size()));
}

void TCustomHexEditor::DeleteNibbleRaw(std::int64_t position, bool highNibble) {
  const auto at = static_cast<std::size_t>(position);
  const std::size_t tailBytes = DataSize() - at;
  std::vector<std::uint8_t> nibbles = ToNibbles(data_.Bytes().data() + at, tailBytes);
  nibbles.erase(nibbles.begin() + (highNibble ? 0 : 1));
  nibbles.pop_back();
  const Bytes tail = FromNibbles(nibbles);
  data_.SetSize(at + tail.size());
  if (!tail.empty()) data_.WriteAt(tail.data(), at, tail.size());
  changed_.resize(DataSize(), false);
  MarkChanged(position, static_cast<std::int64_t>(tail.size()));
}

bool TCustomHexEditor::InsertNibble(std::int64_t position, bool highNibble) {
  const auto size = static_cast<std::int64_t>(DataSize());
  if (position < 0 || position > size || (position == size && !highNibble)) return false;
  if (!Allowed(UndoKind::InsertNibble, position, 1)) return false;
  Record(UndoKind::InsertNibble, position, 1, highNibble ? 1 : 0, {}, {});
  InsertNibbleRaw(position, highNibble);
  if (!programChange_) modified_ = true;
  AfterSizeChange(position, 1);
  InvalidateView();
  Changed();
  return true;
}

bool TCustomHexEditor::DeleteNibble(std::int64_t position, bool highNibble) {
  const auto size = static_cast<std::int64_t>(DataSize());
  if (position < 0 || position >= size) return false;
  if (!Allowed(UndoKind::DeleteNibble, position, 1)) return false;
  // The byte holding the nibble and the last byte, whose low nibble falls off the end.
  Bytes saved{data_.At(static_cast<std::size_t>(position)), data_.At(static_cast<std::size_t>(size - 1))};
  Record(UndoKind::DeleteNibble, position, 1, highNibble ? 1 : 0, std::move(saved), {});
  DeleteNibbleRaw(position, highNibble);
  if (!programChange_) modified_ = true;
  AfterSizeChange(position, -1);
  InvalidateView();
  Changed();
  return true;
}

bool TCustomHexEditor::ConvertRange(std::int64_t from, std::int64_t to, THxTranslationKind fromKind,
                                    THxTranslationKind toKind) {
  if (from > to) std::swap(from, to);
  const std::int64_t count = to - from + 1;
  if (from < 0) return false;
  data_.CheckBounds(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
  if (!Allowed(UndoKind::Convert, from, count)) return false;
  Bytes saved(static_cast<std::size_t>(count));
  data_.ReadAt(saved.data(), static_cast<std::size_t>(from), saved.size());
  const std::string_view old(reinterpret_cast<const char*>(saved.data()), saved.size());
  const Bytes ansi = TranslateToAnsi(fromKind, old);
  const Bytes converted = TranslateFromAnsi(toKind, std::string_view(reinterpret_cast<const char*>(ansi.data()), ansi.size()));
  Record(UndoKind::Convert, from, count, 0, std::move(saved), {});
  WriteBufferAt(converted.data(), from, count);
  MarkChanged(from, count);
  if (!programChange_) modified_ = true;
  InvalidateView();
  Changed();
  return true;
}

void TCustomHexEditor::BeginUndoUpdate(const std::string& description) {
  undo_.BeginGroup(CurrentUndoState(caret_), description);
}

void TCustomHexEditor::EndUndoUpdate() { undo_.EndGroup(); }

// ---- Undo and redo

void TCustomHexEditor::ApplyUndo(const UndoRecord& r, THxUndoStorage::RedoStep& redo) {
  const std::int64_t pos = r.position;
  const auto at = static_cast<std::size_t>(pos);
  UndoRecord again = r;  // what redo needs: the data as it stands after the change
  again.saved.clear();
  switch (r.kind) {
    case UndoKind::ChangeBytes:
    case UndoKind::Convert: {
      again.saved.resize(r.saved.size());
      data_.ReadAt(again.saved.data(), at, r.saved.size());
      data_.WriteAt(r.saved.data(), at, r.saved.size());
      for (std::size_t i = 0; i < r.saved.size(); ++i) changed_[at + i] = false;
      break;
    }
    case UndoKind::RemoveData:
      InsertRaw(pos, r.saved, false);
      AfterSizeChange(pos, static_cast<std::int64_t>(r.saved.size()));
      break;
    case UndoKind::InsertBuffer:
    case UndoKind::AppendBuffer:
      again.saved.resize(r.count);
      data_.ReadAt(again.saved.data(), at, r.count);
      EraseRaw(pos, r.count);
      AfterSizeChange(pos, -static_cast<std::int64_t>(r.count));
      break;
    case UndoKind::Replace:
      again.saved.resize(r.furtherCount);
      data_.ReadAt(again.saved.data(), at, r.furtherCount);
      EraseRaw(pos, r.furtherCount);
      InsertRaw(pos, r.saved, false);
      AfterReplace(pos, r.furtherCount, r.count);
      break;
    case UndoKind::InsertNibble: {
      // The nibble inserted and the padding nibble at the end go again.
      std::vector<std::uint8_t> nibbles = ToNibbles(data_.Bytes().data() + at, DataSize() - at);
      nibbles.erase(nibbles.begin() + (r.furtherCount ? 0 : 1));
      nibbles.pop_back();
      const Bytes tail = FromNibbles(nibbles);
      data_.SetSize(at + tail.size());
      if (!tail.empty()) data_.WriteAt(tail.data(), at, tail.size());
      changed_.resize(DataSize(), false);
      AfterSizeChange(pos, -1);
      break;
    }
    case UndoKind::DeleteNibble: {
      if (r.saved.size() != 2) throw EHexEditor(kCannotUpdateUndo);
      const std::size_t tailBytes = DataSize() - at;
      Bytes tail;
      if (tailBytes == 0) {
        tail = {r.saved[0]};  // the nibble deleted took the whole last byte
      } else {
        std::vector<std::uint8_t> nibbles = ToNibbles(data_.Bytes().data() + at, tailBytes);
        const bool high = r.furtherCount != 0;
        nibbles.insert(nibbles.begin() + (high ? 0 : 1), high ? r.saved[0] >> 4 : r.saved[0] & 15);
        nibbles.push_back(r.saved[1] & 15);
        tail = FromNibbles(nibbles);
      }
      data_.SetSize(at + tail.size());
      data_.WriteAt(tail.data(), at, tail.size());
      changed_.resize(DataSize(), false);
      AfterSizeChange(pos, 1);
      break;
    }
    case UndoKind::CursorMove:
    case UndoKind::Group:
    case UndoKind::AllSaved:
      break;
  }
  redo.records.insert(redo.records.begin(), std::move(again));
}

void TCustomHexEditor::RestoreState(const UndoRecord& r) {
  const UndoEditorState& s = r.state;
  insertMode_ = s.insertMode && allowInsertMode_;
  unicodeChars_ = s.unicode;
  unicodeBigEndian_ = s.bigEndian;
  translation_ = s.translation;
  if (s.bytesPerUnit == 1 || s.bytesPerUnit == 2 || s.bytesPerUnit == 4 || s.bytesPerUnit == 8) bytesPerUnit_ = s.bytesPerUnit;
  modified_ = s.modified;
  const auto size = static_cast<std::int64_t>(DataSize());
  if (r.kind != UndoKind::Group && r.kind != UndoKind::CursorMove) {
    if (r.position < size) changed_[r.position] = s.markedAtPos;
    if (r.position + 1 < size) changed_[r.position + 1] = s.markedAfter;
  }
  if (s.hasSelection && s.selEnd < size && s.selAnchor < size) {
    selAnchor_ = s.selAnchor;
    selStart_ = s.selStart;
    selEnd_ = s.selEnd;
  } else {
    selStart_ = selEnd_ = -1;
  }
  caret_ = std::min<std::int64_t>(s.caret, MaxCaretPosition());
  charField_ = s.charField;
  secondDigit_ = s.secondNibble && caret_ < size;
  if (!HasSelection()) selAnchor_ = caret_;
}

bool TCustomHexEditor::Undo() {
  if (ReadOnlyView() || !undo_.CanUndo()) return false;
  std::vector<UndoRecord> step = undo_.TakeLast();
  if (step.empty()) return false;
  THxUndoStorage::RedoStep redo;
  const bool group = step.back().kind == UndoKind::Group;
  if (group) {
    redo.group = true;
    redo.description = step.back().description;
  }
  for (const UndoRecord& r : step) {
    if (r.kind != UndoKind::Group) ApplyUndo(r, redo);
  }
  // The oldest record of the step holds the state from before it.
  RestoreState(group ? step.back() : step.front());
  if (group && step.size() > 1) {
    // Marks of the first member's bytes come from the member itself.
    const UndoRecord& first = step[step.size() - 2];
    const auto size = static_cast<std::int64_t>(DataSize());
    if (first.position < size) changed_[first.position] = first.state.markedAtPos;
    if (first.position + 1 < size) changed_[first.position + 1] = first.state.markedAfter;
  }
  undo_.SetRedo(std::move(redo));
  LayoutChanged();
  EnsureCaretVisible();
  InvalidateView();
  CaretMoved();
  Changed();
  return true;
}

void TCustomHexEditor::ReapplyRedo(const UndoRecord& r) {
  switch (r.kind) {
    case UndoKind::ChangeBytes:
      ChangeBytes(r.position, r.saved, r.description);
      break;
    case UndoKind::Convert: {
      // Written back as the bytes the conversion gave.
      const std::int64_t count = static_cast<std::int64_t>(r.saved.size());
      if (!Allowed(UndoKind::Convert, r.position, count)) break;
      Bytes saved(r.saved.size());
      data_.ReadAt(saved.data(), r.position, saved.size());
      Record(UndoKind::Convert, r.position, count, 0, std::move(saved), r.description);
      WriteBufferAt(r.saved.data(), r.position, count);
      MarkChanged(r.position, count);
      if (!programChange_) modified_ = true;
      Changed();
      break;
    }
    case UndoKind::RemoveData:
      DeleteBytes(r.position, r.count, r.description);
      break;
    case UndoKind::InsertBuffer:
      InsertBuffer(r.saved, r.position, r.description);
      break;
    case UndoKind::AppendBuffer:
      AppendBuffer(r.saved, r.description);
      break;
    case UndoKind::Replace:
      selAnchor_ = selStart_ = r.position;
      selEnd_ = static_cast<std::int64_t>(r.position) + r.count - 1;
      if (r.count == 0) selStart_ = selEnd_ = -1;
      ReplaceSelection(r.saved, r.description);
      break;
    case UndoKind::InsertNibble:
      InsertNibble(r.position, r.furtherCount != 0);
      break;
    case UndoKind::DeleteNibble:
      DeleteNibble(r.position, r.furtherCount != 0);
      break;
    default:
      break;
  }
}

bool TCustomHexEditor::Redo() {
  if (ReadOnlyView() || !undo_.CanRedo()) return false;
  THxUndoStorage::RedoStep step = undo_.TakeRedo();
  if (step.group) BeginUndoUpdate(step.description);
  try {
    for (const UndoRecord& r : step.records) ReapplyRedo(r);
  } catch (...) {
    if (step.group) EndUndoUpdate();
    throw;
  }
  if (step.group) EndUndoUpdate();
  LayoutChanged();
  InvalidateView();
  return true;
}

}  // namespace hexedit
