// The undo storage of one hex editor: a byte buffer of undo records appended one after the
// other. Each record starts and ends with its own size, so the storage can be walked from
// either end. Layout of a record (little-endian):
//   size u32 | flags u32 | caret u32 | position u32 | count u32 | further count u32 |
//   translation u8 | bytes per unit u8 | saved bytes | [description, its length u32] |
//   [selection anchor, start, end: 3 x u32] | size u32
// A record without saved bytes, description or selection is 30 bytes long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "hexedit/hx_units.h"

namespace hexedit {

enum class UndoKind : std::uint8_t {
  ChangeBytes = 0,
  RemoveData = 1,
  InsertBuffer = 2,
  Replace = 3,
  AppendBuffer = 4,
  InsertNibble = 5,
  DeleteNibble = 6,
  Convert = 7,
  CursorMove = 8,
  Group = 9,
  AllSaved = 10,
};
inline constexpr int kUndoKinds = 11;

// "Change Byte(s)", "Remove Data", ...
std::string_view UndoKindText(UndoKind kind);

// Flag bits besides 1 << kind.
inline constexpr std::uint32_t kUndoMarkedAtPos = 0x800;
inline constexpr std::uint32_t kUndoMarkedAfter = 0x1000;
inline constexpr std::uint32_t kUndoModified = 0x2000;
inline constexpr std::uint32_t kUndoSecondNibble = 0x4000;
inline constexpr std::uint32_t kUndoCharField = 0x8000;
inline constexpr std::uint32_t kUndoSelection = 0x10000;
inline constexpr std::uint32_t kUndoInsertMode = 0x20000;
inline constexpr std::uint32_t kUndoUnicode = 0x40000;
inline constexpr std::uint32_t kUndoBigEndian = 0x80000;
inline constexpr std::uint32_t kUndoDescription = 0x100000;

inline constexpr std::size_t kUndoRecordBaseSize = 30;
inline constexpr std::size_t kDefaultMaxUndo = 1048576;

// What a record keeps of the editor as it stood before the change.
struct UndoEditorState {
  std::uint32_t caret = 0;
  bool secondNibble = false;
  bool charField = false;
  bool modified = false;
  bool insertMode = false;
  bool unicode = false;
  bool bigEndian = false;
  bool markedAtPos = false;
  bool markedAfter = false;
  THxTranslationKind translation = THxTranslationKind::tkAsIs;
  std::uint8_t bytesPerUnit = 1;
  bool hasSelection = false;
  std::uint32_t selAnchor = 0, selStart = 0, selEnd = 0;
};

struct UndoRecord {
  UndoKind kind = UndoKind::ChangeBytes;
  UndoEditorState state;
  std::uint32_t position = 0;
  std::uint32_t count = 0;
  std::uint32_t furtherCount = 0;
  Bytes saved;
  std::string description;  // empty: none
};

// Encoding and decoding of one record; Decode raises EHexEditor on a malformed record.
Bytes EncodeUndoRecord(const UndoRecord& record);
UndoRecord DecodeUndoRecord(const std::uint8_t* bytes, std::size_t size);

class THxUndoStorage {
 public:
  explicit THxUndoStorage(std::size_t maxUndo = kDefaultMaxUndo) : maxUndo_(maxUndo) {}

  std::size_t MaxUndo() const { return maxUndo_; }
  void SetMaxUndo(std::size_t maxUndo);

  // Appends a record (a member of the open group while the nesting counter is above 0),
  // forgets the redo record, then trims to MaxUndo.
  void Add(const UndoRecord& record);

  // Grouped changes. The group record (kind 9, its count the number of member records
  // before it, its state the editor's at the start) is written when the outermost group
  // closes with members; a group without members leaves nothing.
  void BeginGroup(const UndoEditorState& state, std::string description);
  void EndGroup();
  int Nesting() const { return nesting_; }
  bool GroupUsed() const { return groupUsed_; }
  void MarkGroupUsed() { groupUsed_ = true; }

  bool CanUndo() const { return !index_.empty() && nesting_ == 0; }
  // The last step: its records newest first; for a group the group record comes last.
  std::vector<UndoRecord> TakeLast();

  // The redo side keeps one step, as the editor hands it over after an undo.
  struct RedoStep {
    std::vector<UndoRecord> records;  // in the order to re-apply
    std::string description;          // the group's, when the step was a group
    bool group = false;
  };
  bool CanRedo() const { return !redo_.records.empty(); }
  void SetRedo(RedoStep step) { redo_ = std::move(step); }
  RedoStep TakeRedo();

  // The last record's description, or its kind's text; empty when there is none.
  const std::string& Description() const { return description_; }
  int Count() const { return static_cast<int>(index_.size()); }
  std::size_t StorageSize() const { return buffer_.size() - head_; }
  // The stored bytes, oldest record first.
  Bytes StoredBytes() const { return Bytes(buffer_.begin() + static_cast<std::ptrdiff_t>(head_), buffer_.end()); }

  void Clear();

 private:
  struct Entry {
    std::uint32_t size;
    bool member;  // belongs to a group whose record follows it
  };
  void Append(const Bytes& encoded, bool member);
  void Trim();
  void DropOldest();
  void RefreshDescription();
  UndoRecord RecordAtEnd(std::size_t back) const;  // back = 0: the newest

  std::vector<std::uint8_t> buffer_;
  std::size_t head_ = 0;  // the oldest record starts here; the space before is reclaimed lazily
  std::deque<Entry> index_;
  std::size_t maxUndo_;
  int nesting_ = 0;
  bool groupUsed_ = false;
  bool groupBroken_ = false;  // trimming reached into the open group
  int groupMembers_ = 0;
  UndoEditorState groupState_;
  std::string groupDescription_;
  RedoStep redo_;
  std::string description_;
};

}  // namespace hexedit
