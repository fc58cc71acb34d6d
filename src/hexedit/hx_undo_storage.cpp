#include "hexedit/hx_undo_storage.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "hexedit/hx_errors.h"

namespace hexedit {

namespace {

void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t StateFlags(const UndoEditorState& s) {
  std::uint32_t f = 0;
  if (s.markedAtPos) f |= kUndoMarkedAtPos;
  if (s.markedAfter) f |= kUndoMarkedAfter;
  if (s.modified) f |= kUndoModified;
  if (s.secondNibble) f |= kUndoSecondNibble;
  if (s.charField) f |= kUndoCharField;
  if (s.hasSelection) f |= kUndoSelection;
  if (s.insertMode) f |= kUndoInsertMode;
  if (s.unicode) f |= kUndoUnicode;
  if (s.bigEndian) f |= kUndoBigEndian;
  return f;
}

}  // namespace

std::string_view UndoKindText(UndoKind kind) {
  static constexpr std::string_view kTexts[kUndoKinds] = {
      "Change Byte(s)", "Remove Data", "Insert Buffer", "Replace", "Append Buffer", "Insert Nibble",
      "Delete Nibble", "Convert", "Cursor movement", "Multiple Modification", "All data saved"};
  const auto i = static_cast<std::size_t>(kind);
  return i < kUndoKinds ? kTexts[i] : std::string_view();
}

Bytes EncodeUndoRecord(const UndoRecord& r) {
  const bool hasDescription = !r.description.empty();
  const std::size_t size = kUndoRecordBaseSize + r.saved.size() + (hasDescription ? r.description.size() + 4 : 0) +
                           (r.state.hasSelection ? 12 : 0);
  if (size > 0xFFFFFFFFu) throw EHexEditor(kCannotUpdateUndo);
  Bytes out;
  out.reserve(size);
  std::uint32_t flags = (1u << static_cast<unsigned>(r.kind)) | StateFlags(r.state);
  if (hasDescription) flags |= kUndoDescription;
  PutU32(out, static_cast<std::uint32_t>(size));
  PutU32(out, flags);
  PutU32(out, r.state.caret);
  PutU32(out, r.position);
  PutU32(out, r.count);
  PutU32(out, r.furtherCount);
  out.push_back(static_cast<std::uint8_t>(r.state.translation));
  out.push_back(r.state.bytesPerUnit);
  out.insert(out.end(), r.saved.begin(), r.saved.end());
  if (hasDescription) {
    out.insert(out.end(), r.description.begin(), r.description.end());
    PutU32(out, static_cast<std::uint32_t>(r.description.size()));
  }
  if (r.state.hasSelection) {
    PutU32(out, r.state.selAnchor);
    PutU32(out, r.state.selStart);
    PutU32(out, r.state.selEnd);
  }
  PutU32(out, static_cast<std::uint32_t>(size));
  return out;
}

UndoRecord DecodeUndoRecord(const std::uint8_t* p, std::size_t size) {
  const auto bad = [] { return EHexEditor(kCannotUpdateUndo); };
  if (size < kUndoRecordBaseSize || GetU32(p) != size || GetU32(p + size - 4) != size) throw bad();
  UndoRecord r;
  const std::uint32_t flags = GetU32(p + 4);
  int kind = -1;
  for (int k = 0; k < kUndoKinds; ++k) {
    if (flags & (1u << k)) {
      kind = k;
      break;
    }
  }
  if (kind < 0) throw bad();
  r.kind = static_cast<UndoKind>(kind);
  UndoEditorState& s = r.state;
  s.markedAtPos = flags & kUndoMarkedAtPos;
  s.markedAfter = flags & kUndoMarkedAfter;
  s.modified = flags & kUndoModified;
  s.secondNibble = flags & kUndoSecondNibble;
  s.charField = flags & kUndoCharField;
  s.hasSelection = flags & kUndoSelection;
  s.insertMode = flags & kUndoInsertMode;
  s.unicode = flags & kUndoUnicode;
  s.bigEndian = flags & kUndoBigEndian;
  s.caret = GetU32(p + 8);
  r.position = GetU32(p + 12);
  r.count = GetU32(p + 16);
  r.furtherCount = GetU32(p + 20);
  if (p[24] >= kTranslationKinds) throw bad();
  s.translation = static_cast<THxTranslationKind>(p[24]);
  s.bytesPerUnit = p[25];
  std::size_t end = size - 4;
  if (s.hasSelection) {
    if (end < 26 + 12) throw bad();
    end -= 12;
    s.selAnchor = GetU32(p + end);
    s.selStart = GetU32(p + end + 4);
    s.selEnd = GetU32(p + end + 8);
  }
  if (flags & kUndoDescription) {
    if (end < 26 + 4) throw bad();
    const std::uint32_t length = GetU32(p + end - 4);
    if (length > end - 4 - 26) throw bad();
    end -= 4 + length;
    r.description.assign(reinterpret_cast<const char*>(p + end), length);
  }
  r.saved.assign(p + 26, p + end);
  return r;
}

void THxUndoStorage::SetMaxUndo(std::size_t maxUndo) {
  maxUndo_ = maxUndo;
  Trim();
}

void THxUndoStorage::Add(const UndoRecord& record) {
  redo_ = {};
  const bool member = nesting_ > 0;
  Append(EncodeUndoRecord(record), member);
  if (member) {
    ++groupMembers_;
    groupUsed_ = true;
  }
  Trim();
  RefreshDescription();
}

void THxUndoStorage::Append(const Bytes& encoded, bool member) {
  try {
    buffer_.insert(buffer_.end(), encoded.begin(), encoded.end());
  } catch (const std::bad_alloc&) {
    throw EHexEditor(kCannotUpdateUndo);
  }
  index_.push_back({static_cast<std::uint32_t>(encoded.size()), member});
}

void THxUndoStorage::BeginGroup(const UndoEditorState& state, std::string description) {
  if (nesting_++ > 0) return;
  groupUsed_ = false;
  groupBroken_ = false;
  groupMembers_ = 0;
  groupState_ = state;
  groupDescription_ = std::move(description);
}

void THxUndoStorage::EndGroup() {
  if (nesting_ == 0) return;
  if (--nesting_ > 0) return;
  if (groupBroken_) {
    // Part of the group was trimmed away: what is left could not be undone as one step.
    Clear();
    return;
  }
  if (groupMembers_ == 0) return;
  UndoRecord group;
  group.kind = UndoKind::Group;
  group.state = groupState_;
  group.count = static_cast<std::uint32_t>(groupMembers_);
  group.description = groupDescription_;
  Append(EncodeUndoRecord(group), false);
  groupMembers_ = 0;
  Trim();
  RefreshDescription();
}

void THxUndoStorage::Trim() {
  while (!index_.empty() && StorageSize() > maxUndo_) DropOldest();
  // Reclaim the space of dropped records once it is most of the buffer.
  if (head_ > 0 && head_ >= buffer_.size() / 2) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
}

void THxUndoStorage::DropOldest() {
  // A group goes as a whole: its members come first, its record last.
  for (;;) {
    if (GetU32(buffer_.data() + head_) < kUndoRecordBaseSize) {
      Clear();
      return;
    }
    const Entry oldest = index_.front();
    head_ += oldest.size;
    index_.pop_front();
    if (!oldest.member) return;
    if (index_.empty()) {
      // The members of a group still open: the group can no longer be undone whole.
      groupBroken_ = nesting_ > 0;
      groupMembers_ = 0;
      return;
    }
    if (nesting_ > 0 && static_cast<int>(index_.size()) < groupMembers_) {
      groupBroken_ = true;
      groupMembers_ = static_cast<int>(index_.size());
    }
  }
}

UndoRecord THxUndoStorage::RecordAtEnd(std::size_t back) const {
  std::size_t end = buffer_.size();
  for (std::size_t i = 0; i < back; ++i) end -= index_[index_.size() - 1 - i].size;
  const std::uint32_t size = index_[index_.size() - 1 - back].size;
  return DecodeUndoRecord(buffer_.data() + end - size, size);
}

std::vector<UndoRecord> THxUndoStorage::TakeLast() {
  std::vector<UndoRecord> step;
  if (!CanUndo()) return step;
  UndoRecord last = RecordAtEnd(0);
  std::size_t take = 1;
  if (last.kind == UndoKind::Group) take = std::min<std::size_t>(last.count + 1, index_.size());
  for (std::size_t i = 0; i < take; ++i) step.push_back(RecordAtEnd(i));
  // The group record is the newest; hand it over last.
  if (last.kind == UndoKind::Group) std::rotate(step.begin(), step.begin() + 1, step.end());
  for (std::size_t i = 0; i < take; ++i) {
    buffer_.resize(buffer_.size() - index_.back().size);
    index_.pop_back();
  }
  if (index_.empty()) {
    buffer_.clear();
    head_ = 0;
  }
  RefreshDescription();
  return step;
}

THxUndoStorage::RedoStep THxUndoStorage::TakeRedo() { return std::exchange(redo_, {}); }

void THxUndoStorage::RefreshDescription() {
  if (index_.empty()) {
    description_.clear();
    return;
  }
  const UndoRecord last = RecordAtEnd(0);
  description_ = last.description.empty() ? std::string(UndoKindText(last.kind)) : last.description;
}

void THxUndoStorage::Clear() {
  buffer_.clear();
  head_ = 0;
  index_.clear();
  redo_ = {};
  description_.clear();
  groupMembers_ = 0;
  groupBroken_ = nesting_ > 0;
}

}  // namespace hexedit
