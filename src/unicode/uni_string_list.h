// A stand-alone list of (UTF-16 string, object) pairs, optionally sorted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "unicode/wide_strings.h"

namespace unicode {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TUniStringList : public TUniStrings {
 public:
  std::u16string Get(int index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  void Insert(int index, std::u16string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  void* Objects(int index) const override;
  void Put(int index, std::u16string_view s) override;
  void PutObject(int index, void* object) override;
  int GetCapacity() const override { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity) override;
  void SetUpdateState(bool updating) override;

  // In a sorted list Add places the string by CompareStrings and applies Duplicates.
  int Add(std::u16string_view s) override;
  void Exchange(int index1, int index2) override;
  int IndexOf(std::u16string_view s) const override;

  // Binary search of a sorted list; index is where s is or would be.
  virtual bool Find(std::u16string_view s, int& index) const;
  virtual void Sort();
  // compare(list, i, j) < 0 when row i belongs before row j.
  virtual void CustomSort(const std::function<int(const TUniStringList&, int, int)>& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates = TDuplicates::dupIgnore;

  std::function<void()> OnChange;
  std::function<void()> OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int index, std::u16string_view s);

 private:
  struct Item {
    std::u16string text;
    void* object = nullptr;
  };
  void QuickSort(int low, int high, const std::function<int(const TUniStringList&, int, int)>& compare);
  void CheckIndex(int index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
};

}  // namespace unicode
