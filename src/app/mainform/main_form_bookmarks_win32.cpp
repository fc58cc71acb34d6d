// TForm1: bookmarks: set, remove all, jump from the bookmark menu, and the teal marks
// painted over the list after every paint, scroll and wheel message and after selections.
#include <windows.h>

#include "app/listfile/listfile_commands.h"
#include "app/mainform/main_form_win32.h"
#include "gui/dialogs.h"
#include "gui/gdi.h"

namespace app {

namespace {
constexpr COLORREF kMarkColor = RGB(0, 128, 128);  // teal
constexpr char16_t kFixedViewHasNoBookmarks[] = u"固定条目（收藏夹）不支持书签！";
}  // namespace

void TForm1::BindListReorder() {
  BindBookmarkCommands();
  BindDragMove();
  Bind(u"N42Click", [this] { N42Click(); });
  Bind(u"N178Click", [this] { N178Click(); });
}

void TForm1::BindBookmarkCommands() {
  Bind(u"menu_seweisuqianClick", [this] { menu_seweisuqianClick(); });
  Bind(u"cexiaosuoyousuqianClick", [this] { cexiaosuoyousuqianClick(); });
  Bind(u"huacusuqianziClick", [this] { huacusuqianziClick(); });
  CheckListBox1.OnAfterPaint = [this] { huacusuqianziClick(); };
}

void TForm1::menu_seweisuqianClick() {
  if (history_->setBookmark(SelectedRow()) == HistoryModel::BookmarkSet::FixedViewRefused) {
    gui::MessageBoxU(kFixedViewHasNoBookmarks, listtext::kErrorCaption, MB_OK);
  }
}

void TForm1::cexiaosuoyousuqianClick() { history_->removeAllBookmarks(); }

void TForm1::BookmarkMenuItemClick(int tag) {
  const int row = history_->bookmarkJumpRow(tag);
  if (row < 0) return;
  if (SelectedRow() == row) CheckListBox1.SetItemIndex(-1);
  CheckListBox1.SetItemIndex(row);
  huacusuqianziClick();
}

void TForm1::huacusuqianziClick() {
  if (!CheckListBox1.Handle()) return;
  const std::vector<int> rows = history_->bookmarkMarkRows();
  if (rows.empty()) return;
  HWND list = CheckListBox1.Handle();
  HDC dc = GetDC(list);
  gui::UniqueBrush brush(CreateSolidBrush(kMarkColor));
  HGDIOBJ oldBrush = SelectObject(dc, brush.get());
  for (const int row : rows) {
    const RECT item = CheckListBox1.ItemRect(row);
    if (item.bottom <= item.top) continue;
    const MarkRect mark = BookmarkMarkRect({item.left, item.top, item.right, item.bottom}, CheckListBox1.CheckWidth());
    Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
  }
  SelectObject(dc, oldBrush);
  ReleaseDC(list, dc);
}

}  // namespace app
