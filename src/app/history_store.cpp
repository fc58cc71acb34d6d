#include "app/history_store.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace app {

namespace {
[[noreturn]] void ThrowBadSlot(const char* store, int i) {
  throw std::out_of_range(std::string(store) + ": no slot " + std::to_string(i));
}
}  // namespace

SharedText MakeText(std::u16string text) {
  // The many empty texts share one string.
  static const SharedText empty = std::make_shared<const std::u16string>();
  if (text.empty()) return empty;
  return std::make_shared<const std::u16string>(std::move(text));
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
  if (!entry.text) entry.text = MakeText({});
  slots_.push_back(std::move(entry));
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

const RunHistoryStore::Record& RunHistoryStore::at(int j) const {
  if (j < 0 || j >= RunHistoryCount()) ThrowBadSlot("run history store", j);
  return records_[static_cast<std::size_t>(j)];
}

void RunHistoryStore::recordCapture(SharedText text, Snapshot snapshot) {
  if (!text) text = MakeText({});
  if (RunHistoryCount() >= MaxEntries) {
    // A refill may have left up to StoreSlots records; keep the newest MaxEntries - 1.
    records_.erase(records_.begin(), records_.begin() + (RunHistoryCount() - MaxEntries + 1));
  }
  records_.push_back({std::move(text), std::move(snapshot)});
}

void RunHistoryStore::refillFrom(const HistoryStore& store) {
  const int n = std::min(store.size(), StoreSlots);
  records_.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const HistoryEntry& e = store.entry(i);
    Record& r = records_[static_cast<std::size_t>(i)];
    r.text = e.text;
    r.snapshot = e.snapshot;
  }
}

}  // namespace app
