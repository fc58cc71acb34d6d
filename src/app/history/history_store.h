// The history store (one slot per row of the history list) and the run history store
// (every capture since start-up). Both keep an entry's text and its clipboard snapshot
// behind shared pointers to immutable data: reordering, deleting and copying between the
// two stores move or share ownership and never copy text or snapshot bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "app/snapshot/snapshot_buffer.h"

namespace app {

// The clipboard snapshot stream of one entry. Once taken it never changes; a new
// snapshot replaces the pointer.
using Snapshot = SharedSnapshot;

// An entry's text, immutable and shared. The characters live in one block with their
// reference count: a list of 100000 entries costs one allocation per text, which keeps
// deleting many entries at once cheap.
class SharedText {
 public:
  SharedText() = default;  // the empty text, without allocation
  explicit SharedText(std::u16string_view text);
  std::u16string_view view() const { return {chars_.get(), size_}; }
  operator std::u16string_view() const { return view(); }
  // The characters' block: the same for copies of one text, different for texts made
  // apart (null for the empty text). Holding it keeps the block, so it is never reused.
  std::shared_ptr<const void> identity() const { return chars_; }

 private:
  std::shared_ptr<const char16_t[]> chars_;
  std::size_t size_ = 0;
};

inline constexpr int MaxEntries = 100000;          // the most rows the list takes
inline constexpr int StoreSlots = MaxEntries + 1;  // slot indexes 0 to 100000

// One slot of the history store: EntryTexts[i], EntrySnapshots[i] and EntryHasSnapshot[i]
// kept together, with the check mark of list row i. The snapshot flag is the presence of
// the snapshot, so the two cannot disagree.
struct HistoryEntry {
  SharedText text;
  Snapshot snapshot;
  bool checked = false;
};

class HistoryStore {
 public:
  int size() const { return static_cast<int>(slots_.size()); }
  bool empty() const { return slots_.empty(); }

  std::u16string_view EntryTexts(int i) const { return at(i).text; }
  const Snapshot& EntrySnapshots(int i) const { return at(i).snapshot; }
  bool EntryHasSnapshot(int i) const { return at(i).snapshot != nullptr; }
  bool checked(int i) const { return at(i).checked; }
  const HistoryEntry& entry(int i) const { return at(i); }
  // The row whose text is this very text (see SharedText::identity), trying `hint` first;
  // -1 when no row holds it. An empty text is found only at `hint`.
  int findText(int hint, const std::shared_ptr<const void>& identity) const;

  // Adds slot size(); false (nothing stored) when every slot is in use.
  bool append(HistoryEntry entry);
  void erase(int i);
  void clear() { slots_.clear(); }
  std::vector<HistoryEntry> takeAll() { return std::exchange(slots_, {}); }
  // Replaces every slot; false (nothing changed) when there are more than StoreSlots.
  bool assign(std::vector<HistoryEntry> slots);
  // Moves the entry of slot `from` to slot `to`; the slots between shift by one towards `from`.
  void move(int from, int to);
  void reverse();
  // Removes every unchecked slot, keeping the order of the others; returns, for each removed
  // slot in walking order, its index at the moment of its removal (the row to delete).
  std::vector<int> removeUnchecked();

  void setText(int i, std::u16string_view text) { at(i).text = SharedText(text); }
  void setText(int i, SharedText text) { at(i).text = std::move(text); }
  void setSnapshot(int i, Snapshot snapshot) { at(i).snapshot = std::move(snapshot); }
  void setChecked(int i, bool checked) { at(i).checked = checked; }

 private:
  HistoryEntry& at(int i);
  const HistoryEntry& at(int i) const;
  std::vector<HistoryEntry> slots_;
};

// RunHistoryTexts, RunHistorySnapshots, RunHistoryHasSnapshot and RunHistoryCount.
//
// Most commands end by making the run history a copy of the rows. Rather than copy, the run
// history then mirrors the history store it was built with: it reads the rows themselves
// until the two must part (the rows change while the run history must stay, for example when
// a file is loaded or the fixed entries are edited); only then does it take its own copy.
class RunHistoryStore {
 public:
  explicit RunHistoryStore(const HistoryStore& rows) : rows_(rows) {}
  RunHistoryStore(const RunHistoryStore&) = delete;
  RunHistoryStore& operator=(const RunHistoryStore&) = delete;

  int RunHistoryCount() const;
  std::u16string_view RunHistoryTexts(int j) const { return sharedText(j); }
  const Snapshot& RunHistorySnapshots(int j) const;
  bool RunHistoryHasSnapshot(int j) const { return RunHistorySnapshots(j) != nullptr; }
  const SharedText& sharedText(int j) const;

  // Records one capture. The run history keeps at most MaxEntries captures, so that showing
  // it never gives the list more rows than it takes: once full, the oldest capture is
  // dropped to make room for the new one (the newest captures are the ones worth keeping),
  // and no slot beyond 100000 is ever written.
  void recordCapture(SharedText text, Snapshot snapshot);
  // Becomes a copy of the rows (text, flag, snapshot): from now on it mirrors them.
  void mirrorRows();
  bool mirrorsRows() const { return mirroring_; }
  // The rows are about to change on their own: the run history keeps what it holds now.
  void detach();
  // The rows are about to be replaced: a run history that mirrors them takes them over
  // (no copy); otherwise they are dropped.
  void takeOverRows(HistoryStore& rows);
  // The rows become the run history (taken over, no copy), and the run history mirrors them.
  void moveIntoRows(HistoryStore& rows);
  void clear();

 private:
  void checkIndex(int j) const;

  const HistoryStore& rows_;
  bool mirroring_ = false;
  std::vector<HistoryEntry> records_;  // check marks unused
};

}  // namespace app
