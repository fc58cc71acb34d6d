// TForm1: the history list's side of the entry-changed step. The list reads its captions from
// the history store (see SetCaptionSource), which holds the new texts already: the rows that
// changed only need repainting, and once many did, the list is repainted as a whole.
#include <windows.h>

#include "app/mainform/main_form_win32.h"

namespace app {

namespace {
constexpr std::size_t kRowsRepaintedOneByOne = 256;
}  // namespace

void TForm1::listSetCaptions(const std::vector<std::pair<int, std::u16string_view>>& rows) {
  if (rows.size() <= kRowsRepaintedOneByOne) {
    for (const auto& [row, caption] : rows) CheckListBox1.Items().Put(row, caption);
    return;
  }
  if (CheckListBox1.Handle()) InvalidateRect(CheckListBox1.Handle(), nullptr, FALSE);
}

}  // namespace app
