// TForm1: the history list's side of the entry-changed step. Many rows are rewritten in one
// pass: under Wine every row replaced in place moves every row after it twice (delete and
// insert), so a command that changes all 100000 entries would take minutes; the list is
// refilled instead, keeping check marks, top row and selection.
#include <windows.h>

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
  std::vector<std::u16string> captions(static_cast<std::size_t>(count));
  std::vector<bool> checked(static_cast<std::size_t>(count));
  std::size_t next = 0;
  for (int i = 0; i < count; ++i) {
    if (next < rows.size() && rows[next].first == i) {
      captions[i] = rows[next++].second;
    } else {
      captions[i] = items.Get(i);
    }
    checked[i] = CheckListBox1.Checked(i);
  }
  const int top = CheckListBox1.TopIndex();
  const int selected = CheckListBox1.ItemIndex();
  items.Clear();
  items.SetCapacity(count);
  for (const std::u16string& caption : captions) items.Add(caption);
  for (int i = 0; i < count; ++i) {
    if (checked[i]) CheckListBox1.SetChecked(i, true);
  }
  CheckListBox1.SetTopIndex(top);
  CheckListBox1.SetItemIndex(selected);
}

}  // namespace app
