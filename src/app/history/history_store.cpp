#include "app/history/history_store.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace app {

namespace {
[[noreturn]] void ThrowBadSlot(const char* store, int i) {
  throw std::out_of_range(std::string(store) + ": no slot " + std::to_string(i));
}
}  // namespace

SharedText::SharedText(std::u16string_view text) : size_(text.size()) {
  if (text.empty()) return;
  auto chars = std::make_shared_for_overwrite<char16_t[]>(text.size());
  std::copy(text.begin(), text.end(), chars.get());
  chars_ = std::move(chars);
}

int HistoryStore::findText(int hint, const std::shared_ptr<const void>& identity) const {
  const auto holds = [&](int i) { return slots_[static_cast<std::size_t>(i)].text.identity() == identity; };
  if (hint >= 0 && hint < size() && holds(hint)) return hint;
  if (!identity) return -1;
  for (int i = 0; i < size(); ++i) {
    if (holds(i)) return i;
  }
  return -1;
}

HistoryEntry& HistoryStore::at(int i) {
  if (i < 0 || i >= size()) ThrowBadSlot("history store", i);
  return slots_[static_cast<std::size_t>(i)];
}

const HistoryEntry& HistoryStore::at(int i) const {
  if (i < 0 || i >= size()) ThrowBadSlot("history store", i);
  return slots_[static_cast<std::size_t>(i)];
}

bool HistoryStore::append(HistoryEntry entry) {
  if (size() >= StoreSlots) return false;
  slots_.push_back(std::move(entry));
  return true;
}

bool HistoryStore::assign(std::vector<HistoryEntry> slots) {
  if (slots.size() > static_cast<std::size_t>(StoreSlots)) return false;
  slots_ = std::move(slots);
  return true;
}

void HistoryStore::erase(int i) {
  at(i);
  slots_.erase(slots_.begin() + i);
}

void HistoryStore::move(int from, int to) {
  at(from);
  at(to);
  const auto first = slots_.begin();
  if (to < from) {
    std::rotate(first + to, first + from, first + from + 1);
  } else if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  }
}

void HistoryStore::reverse() { std::reverse(slots_.begin(), slots_.end()); }

std::vector<int> HistoryStore::removeUnchecked() {
  std::vector<int> removedAt;
  // Sized once, before any entry is released.
  removedAt.reserve(static_cast<std::size_t>(
      std::count_if(slots_.begin(), slots_.end(), [](const HistoryEntry& e) { return !e.checked; })));
  std::size_t kept = 0;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].checked) {
      if (kept != i) slots_[kept] = std::move(slots_[i]);
      ++kept;
    } else {
      removedAt.push_back(static_cast<int>(kept));
    }
  }
  slots_.resize(kept);
  return removedAt;
}

void RunHistoryStore::checkIndex(int j) const {
  if (j < 0 || j >= RunHistoryCount()) ThrowBadSlot("run history store", j);
}

int RunHistoryStore::RunHistoryCount() const {
  return mirroring_ ? std::min(rows_.size(), StoreSlots) : static_cast<int>(records_.size());
}

const SharedText& RunHistoryStore::sharedText(int j) const {
  checkIndex(j);
  return mirroring_ ? rows_.entry(j).text : records_[static_cast<std::size_t>(j)].text;
}

const Snapshot& RunHistoryStore::RunHistorySnapshots(int j) const {
  checkIndex(j);
  return mirroring_ ? rows_.entry(j).snapshot : records_[static_cast<std::size_t>(j)].snapshot;
}

void RunHistoryStore::recordCapture(SharedText text, Snapshot snapshot) {
  detach();
  if (RunHistoryCount() >= MaxEntries) {
    // A copy of a loaded list may hold up to StoreSlots records; keep the newest MaxEntries - 1.
    records_.erase(records_.begin(), records_.begin() + (RunHistoryCount() - MaxEntries + 1));
  }
  records_.push_back(HistoryEntry{std::move(text), std::move(snapshot), false});
}

void RunHistoryStore::mirrorRows() {
  records_.clear();
  records_.shrink_to_fit();
  mirroring_ = true;
}

void RunHistoryStore::detach() {
  if (!mirroring_) return;
  const int n = RunHistoryCount();
  records_.clear();
  records_.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const HistoryEntry& e = rows_.entry(i);
    records_.push_back(HistoryEntry{e.text, e.snapshot, false});
  }
  mirroring_ = false;
}

void RunHistoryStore::takeOverRows(HistoryStore& rows) {
  if (mirroring_ && &rows == &rows_) {
    records_ = rows.takeAll();
    if (records_.size() > static_cast<std::size_t>(StoreSlots)) records_.resize(StoreSlots);
    mirroring_ = false;
  } else {
    rows.clear();
  }
}

void RunHistoryStore::moveIntoRows(HistoryStore& rows) {
  // A run history that mirrors the rows is the rows already.
  if (!mirroring_ || &rows != &rows_) rows.assign(std::exchange(records_, {}));
  mirroring_ = true;
}

void RunHistoryStore::clear() {
  records_.clear();
  mirroring_ = false;
}

}  // namespace app
