#include "unicode/uni_string_list.h"

#include <utility>

#include "unicode/wide_exceptions.h"

namespace unicode {

void TUniStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) throw EListError::IndexOutOfBounds(index);
}

std::u16string TUniStringList::Get(int index) const {
  CheckIndex(index);
  return items_[index].text;
}

void* TUniStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[index].object;
}

void TUniStringList::Insert(int index, std::u16string_view s) {
  if (sorted_) throw EListError(u"Operation not allowed on sorted list");
  if (index < 0 || index > GetCount()) throw EListError::IndexOutOfBounds(index);
  InsertItem(index, s);
}

void TUniStringList::InsertItem(int index, std::u16string_view s) {
  Changing();
  items_.insert(items_.begin() + index, Item{std::u16string(s), nullptr});
  Changed();
}

void TUniStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TUniStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TUniStringList::Put(int index, std::u16string_view s) {
  if (sorted_) throw EListError(u"Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  items_[index].text = s;
  Changed();
}

void TUniStringList::PutObject(int index, void* object) {
  CheckIndex(index);
  Changing();
  items_[index].object = object;
  Changed();
}

void TUniStringList::SetCapacity(int capacity) {
  if (capacity > GetCount()) items_.reserve(capacity);
}

void TUniStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

void TUniStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange();
}

void TUniStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging();
}

int TUniStringList::Add(std::u16string_view s) {
  if (!sorted_) {
    const int index = GetCount();
    InsertItem(index, s);
    return index;
  }
  int index = 0;
  if (Find(s, index)) {
    if (Duplicates == TDuplicates::dupIgnore) return index;
    if (Duplicates == TDuplicates::dupError) throw EListError(u"String list does not allow duplicates");
  }
  InsertItem(index, s);
  return index;
}

void TUniStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

int TUniStringList::IndexOf(std::u16string_view s) const {
  if (!sorted_) return TUniStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

bool TUniStringList::Find(std::u16string_view s, int& index) const {
  int low = 0;
  int high = GetCount() - 1;
  bool found = false;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int c = CompareStrings(items_[middle].text, s);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        // Among equal strings the first one, unless duplicates are kept as they come.
        if (Duplicates != TDuplicates::dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

void TUniStringList::Sort() {
  CustomSort([](const TUniStringList& list, int i, int j) {
    return list.CompareStrings(list.items_[i].text, list.items_[j].text);
  });
}

void TUniStringList::CustomSort(const std::function<int(const TUniStringList&, int, int)>& compare) {
  if (GetCount() < 2) return;
  Changing();
  QuickSort(0, GetCount() - 1, compare);
  Changed();
}

void TUniStringList::QuickSort(int low, int high, const std::function<int(const TUniStringList&, int, int)>& compare) {
  // Recurses into the smaller part only, so the depth stays logarithmic.
  while (low < high) {
    int i = low;
    int j = high;
    int pivot = low + (high - low) / 2;
    while (i <= j) {
      while (compare(*this, i, pivot) < 0) ++i;
      while (compare(*this, j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) {
          std::swap(items_[i], items_[j]);
          if (pivot == i) pivot = j;
          else if (pivot == j) pivot = i;
        }
        ++i;
        --j;
      }
    }
    if (j - low < high - i) {
      QuickSort(low, j, compare);
      low = i;
    } else {
      QuickSort(i, high, compare);
      high = j;
    }
  }
}

void TUniStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

}  // namespace unicode
