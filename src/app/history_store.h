// The history store (one slot per row of the history list) and the run history store
// (every capture since start-up). Both keep an entry's text and its clipboard snapshot
// behind shared pointers to immutable data: reordering, deleting and copying between the
// two stores move or share ownership and never copy text or snapshot bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace app {

// The clipboard snapshot stream of one entry. Once taken it never changes; a new
// snapshot replaces the pointer.
using Snapshot = std::shared_ptr<const std::vector<std::uint8_t>>;
using SharedText = std::shared_ptr<const std::u16string>;

inline constexpr int MaxEntries = 100000;         // the most rows the list takes
inline constexpr int StoreSlots = MaxEntries + 1;  // slot indexes 0 to 100000

SharedText MakeText(std::u16string text);

// One slot of the history store: EntryTexts[i], EntrySnapshots[i] and EntryHasSnapshot[i]
// kept together, with the check mark of list row i. The snapshot flag is the presence of
// the snapshot, so the two cannot disagree.
struct HistoryEntry {
  SharedText text = MakeText({});
  Snapshot snapshot;
  bool checked = false;
};

class HistoryStore {
 public:
  int size() const { return static_cast<int>(slots_.size()); }
  bool empty() const { return slots_.empty(); }

  const std::u16string& EntryTexts(int i) const { return *at(i).text; }
  const Snapshot& EntrySnapshots(int i) const { return at(i).snapshot; }
  bool EntryHasSnapshot(int i) const { return at(i).snapshot != nullptr; }
  bool checked(int i) const { return at(i).checked; }
  const HistoryEntry& entry(int i) const { return at(i); }

  // Adds slot size(); false (nothing stored) when every slot is in use.
  bool append(HistoryEntry entry);
  void erase(int i);
  void clear() { slots_.clear(); }
  // Moves the entry of slot `from` to slot `to`; the slots between shift by one towards `from`.
  void move(int from, int to);
  void reverse();
  // Removes every unchecked slot, keeping the order of the others; returns, for each removed
  // slot in walking order, its index at the moment of its removal (the row to delete).
  std::vector<int> removeUnchecked();

  void setText(int i, std::u16string text) { at(i).text = MakeText(std::move(text)); }
  void setSnapshot(int i, Snapshot snapshot) { at(i).snapshot = std::move(snapshot); }
  void setChecked(int i, bool checked) { at(i).checked = checked; }

 private:
  HistoryEntry& at(int i);
  const HistoryEntry& at(int i) const;
  std::vector<HistoryEntry> slots_;
};

// RunHistoryTexts, RunHistorySnapshots, RunHistoryHasSnapshot and RunHistoryCount.
class RunHistoryStore {
 public:
  struct Record {
    SharedText text;
    Snapshot snapshot;
  };

  int RunHistoryCount() const { return static_cast<int>(records_.size()); }
  const std::u16string& RunHistoryTexts(int j) const { return *at(j).text; }
  const Snapshot& RunHistorySnapshots(int j) const { return at(j).snapshot; }
  bool RunHistoryHasSnapshot(int j) const { return at(j).snapshot != nullptr; }
  const Record& record(int j) const { return at(j); }

  // Records one capture. The run history keeps at most MaxEntries captures, so that showing
  // it never gives the list more rows than it takes: once full, the oldest capture is
  // dropped to make room for the new one (the newest captures are the ones worth keeping),
  // and no slot beyond 100000 is ever written.
  void recordCapture(SharedText text, Snapshot snapshot);
  // Becomes a copy of the history store's slots (text, flag, snapshot), sharing their data.
  void refillFrom(const HistoryStore& store);
  void clear() { records_.clear(); }

 private:
  const Record& at(int j) const;
  std::vector<Record> records_;
};

}  // namespace app
