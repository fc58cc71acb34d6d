// TForm1: the history list's side of the entry-changed step. Many rows are rewritten in one
// pass: a row replaced in place moves every row after it twice (delete and insert), which made
// the encryption of 100000 entries take 5.8 s under Wine; refilling the list, keeping check
// marks, top row and selection, brings it to 2.3 s. The new captions are not copied on the
// way: 100000 fresh strings cost seconds more in Wine's heap.
#include <windows.h>

#include <algorithm>

#include "app/mainform/main_form_win32.h"

namespace app {

namespace {
// Up to this many rows are cheaper to replace one by one than to refill the whole list.
constexpr std::size_t kRowsReplacedInPlace = 256;
}  // namespace

void TForm1::listSetCaptions(const std::vector<std::pair<int, std::u16string_view>>& rows) {
  unicode::TUniListBoxStrings& items = CheckListBox1.Items();
  const unicode::TUpdateScope update(items);
  if (rows.size() <= kRowsReplacedInPlace) {
    for (const auto& [row, caption] : rows) items.Put(row, caption);
    return;
  }
  const int count = items.GetCount();
  // The new captions are used where they are; only the rows that keep theirs are copied.
  std::vector<std::u16string> kept;
  kept.reserve(static_cast<std::size_t>(count) - std::min(rows.size(), static_cast<std::size_t>(count)));
  std::vector<std::u16string_view> captions(static_cast<std::size_t>(count));
  std::vector<bool> checked(static_cast<std::size_t>(count));
  std::size_t next = 0;
  for (int i = 0; i < count; ++i) {
    if (next < rows.size() && rows[next].first == i) {
      captions[i] = rows[next++].second;
    } else {
      captions[i] = kept.emplace_back(items.Get(i));
    }
    checked[i] = CheckListBox1.Checked(i);
  }
  const int top = CheckListBox1.TopIndex();
  const int selected = CheckListBox1.ItemIndex();
  items.Clear();
  items.SetCapacity(count);
  for (const std::u16string_view caption : captions) items.Add(caption);
  for (int i = 0; i < count; ++i) {
    if (checked[i]) CheckListBox1.SetChecked(i, true);
  }
  CheckListBox1.SetTopIndex(top);
  CheckListBox1.SetItemIndex(selected);
}

}  // namespace app
