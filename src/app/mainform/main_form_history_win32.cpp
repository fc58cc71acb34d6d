// TForm1: the history list's commands, and the history model's decisions carried out on the
// list, the tray menu, the bookmark menu and the progress bar.
#include <windows.h>

#include "app/history/history_captions.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"

namespace app {

int TForm1::SelectedRow() const { return CheckListBox1.ItemIndex(); }

void TForm1::BindHistoryCommands() {
  Bind(u"sangyigeClick", [this] { history_->moveRow(SelectedRow(), MoveKind::Up); });
  Bind(u"xiayigeClick", [this] { history_->moveRow(SelectedRow(), MoveKind::Down); });
  Bind(u"dinbuClick", [this] { history_->moveRow(SelectedRow(), MoveKind::Top); });
  Bind(u"dibuClick", [this] { history_->moveRow(SelectedRow(), MoveKind::Bottom); });
  Bind(u"N229Click", [this] { history_->reverseRows(); });
  Bind(u"N27Click", [this] { history_->deleteUncheckedRows(); });
  Bind(u"N28Click", [this] { history_->deleteRow(SelectedRow()); });
  Bind(u"qinkongliebiaoClick", [this] {
    history_->deleteAllRows();
    PastePosition = SelectedRow();
  });
  Bind(u"mu_quanzeClick", [this] { history_->checkAll(); });
  Bind(u"mu_fanzeClick", [this] { history_->invertChecks(); });
  Bind(u"N236Click", [this] {
    const MergeOutcome merge = history_->mergeCheckedRows();
    // The merged text is not the program's own write: it is captured as a new entry.
    if (merge.merged) CopyTextThroughMemo(merge.text);
    else gui::MessageBoxU(merge.message, merge.caption, MB_OK);
  });
  Bind(u"menujianqielisiClick", [this] { history_->showRunHistory(); });
  Bind(u"dakaiClick", [this] { history_->toggleFolderMode(); });
  Bind(u"menuinterClick", [this] { history_->toggleWebAddressMode(); });
  Bind(u"menutopClick", [this] { history_->toggleStayOnTop(); });

  BitBtn2.OnClick = [this] { history_->deleteUncheckedRows(); };
  BitBtn3.OnClick = [this] { MainMenu1.DispatchCommand(MainMenu1.At(u"qinkongliebiao").id); };
  SpinButton1.OnUpClick = [this] { history_->moveRow(SelectedRow(), MoveKind::Up); };
  SpinButton1.OnDownClick = [this] { history_->moveRow(SelectedRow(), MoveKind::Down); };
  // The mode buttons flip themselves on a click; the handler sets menu and button together.
  auto modeButton = [](gui::SpeedButton& button, std::function<void()> handler) {
    button.OnClick = [&button, handler] {
      button.SetDown(!button.Down());
      handler();
    };
  };
  modeButton(speeddkwenjian, [this] { history_->toggleFolderMode(); });
  modeButton(speedwldizi, [this] { history_->toggleWebAddressMode(); });
  modeButton(speedcuangkouzui, [this] { history_->toggleStayOnTop(); });
  modeButton(speedmosiqiehuan, [this] { menutianbiaoClick(); });
  CheckListBox1.OnClickCheck = [this] {
    const int row = SelectedRow();
    if (row < 0 || row >= history_->rowCount()) return;
    const bool checked = CheckListBox1.Checked(row);
    history_->userSetChecked(row, checked);
    for (int r : rangeChecker_.ClickCheck(row, checked)) {
      history_->userSetChecked(r, true);
      CheckListBox1.SetChecked(r, true);
    }
  };
}

// ---- HistorySink ----------------------------------------------------------------------------

// The click hint names a row by its number: rows deleted, moved or cleared (every command that
// empties, reloads, reorders or deletes goes through these) leave it naming another entry
// or none, so it closes.
void TForm1::listInsertRow(int row, std::u16string_view caption) { CheckListBox1.Items().Insert(row, caption); }
void TForm1::listDeleteRow(int row) {
  CloseClickHint();
  CheckListBox1.Items().Delete(row);
}

void TForm1::listMoveRow(int from, int to) {
  CloseClickHint();
  CheckListBox1.Items().Move(from, to);  // keeps the check mark
}

void TForm1::listSetCaption(int row, std::u16string_view caption) { CheckListBox1.Items().Put(row, caption); }
void TForm1::listClear() {
  CloseClickHint();
  CheckListBox1.Items().Clear();
}
void TForm1::listSelect(int row) { CheckListBox1.SetItemIndex(row); }
void TForm1::listSetChecked(int row, bool checked) { CheckListBox1.SetChecked(row, checked); }

// The tray's entry rows are the history rows themselves: the menu asks the store for them
// when it is shown (see BuildMenus), so every change only marks the part it touches.
void TForm1::trayInsertRow(int menuIndex, std::u16string_view) {
  PopupMenu2.InvalidateVirtualRow(menuIndex - TrayEntryBase, true);
}
void TForm1::trayDeleteRow(int menuIndex) { PopupMenu2.InvalidateVirtualRow(menuIndex - TrayEntryBase, true); }
void TForm1::traySetCaption(int menuIndex, std::u16string_view) {
  PopupMenu2.InvalidateVirtualRow(menuIndex - TrayEntryBase, false);
}

std::u16string TForm1::TrayEntryCaption(int entry) const {
  return std::u16string(TrayRowCaption(history_->store().EntryTexts(entry)));
}

namespace {
gui::Menu::Row* BookmarkMenu(gui::Menu& menu) { return menu.Find(u"zuanyidaosuqian"); }
}  // namespace

void TForm1::bookmarkMenuClear() {
  if (gui::Menu::Row* parent = BookmarkMenu(PopupMenu1)) PopupMenu1.RemoveRows(parent, 0);
}

void TForm1::bookmarkMenuAddRow(std::u16string_view caption) {
  gui::Menu::Row* parent = BookmarkMenu(PopupMenu1);
  if (!parent) return;
  gui::Menu::Row* row = PopupMenu1.InsertRow(parent, -1, caption, nullptr, false, true);
  row->action = [this, row] { BookmarkMenuItemClick(PopupMenu1.RowTag(row)); };
  PopupMenu1.SetRowEnabled(row, true);  // the native row was made before it had its action
  PopupMenu1.SetRowTag(row, PopupMenu1.IndexOf(row));
}

void TForm1::bookmarkMenuRemoveRow(int k) {
  gui::Menu::Row* parent = BookmarkMenu(PopupMenu1);
  if (gui::Menu::Row* row = parent ? PopupMenu1.RowAt(parent, k) : nullptr) PopupMenu1.RemoveRow(row);
}

void TForm1::bookmarkMenuSetRow(int k, std::u16string_view caption) {
  gui::Menu::Row* parent = BookmarkMenu(PopupMenu1);
  if (gui::Menu::Row* row = parent ? PopupMenu1.RowAt(parent, k) : nullptr) {
    PopupMenu1.SetRowCaption(row, caption);
    PopupMenu1.SetRowTag(row, k);
  }
}

void TForm1::repaintBookmarks() { InvalidateRect(CheckListBox1.Handle(), nullptr, FALSE); }
void TForm1::playSound(std::u16string_view fileName) { PlaySoundFile(fileName); }

void TForm1::setHourglass(bool on) {
  if (on && !hourglass_) hourglass_ = std::make_unique<gui::WaitCursor>();
  if (!on) hourglass_.reset();
}

void TForm1::progressShow(int steps) {
  ++listBusy_;
  progressSteps_ = 0;
  progressShownAt_ = GetTickCount();
  ProgressBar1.SetRange(0, steps);
  ProgressBar1.SetPosition(0);
  ProgressBar1.SetVisible(true);
}

void TForm1::progressStep() {
  // Every step counts, but the bar is redrawn at most every 50 ms: each repaint costs
  // milliseconds under Wine. Only paint messages are handled meanwhile, so nothing can change
  // the rows under the walk.
  ++progressSteps_;
  if (GetTickCount() - progressShownAt_ < 50) return;
  progressShownAt_ = GetTickCount();
  ProgressBar1.SetPosition(progressSteps_);
  gui::Application::Instance().ProcessPaintMessages();
}

void TForm1::progressHide() {
  ProgressBar1.SetVisible(false);
  ProgressBar1.SetPosition(0);
  if (listBusy_ > 0) --listBusy_;
}

bool TForm1::confirm(std::u16string_view caption, std::u16string_view text) { return gui::Confirm(text, caption); }

void TForm1::showHistoryView() {
  SpeedButton_quanbu.SetDown(true);
  SpeedButton_gudin.SetDown(false);
  CheckListBox1.SetFontColor(ListTextColor());
  InvalidateRect(CheckListBox1.Handle(), nullptr, TRUE);
}

void TForm1::clearLastClipText() { capture_.LastClipText.clear(); }

void TForm1::emptyClipboard() {
  if (OpenClipboard(Handle())) {
    EmptyClipboard();
    CloseClipboard();
  }
}

void TForm1::listModesChanged(const ListModes& modes) {
  SetChecked(u"dakai", modes.dakai);
  SetChecked(u"menuinter", modes.menuinter);
  SetChecked(u"menutop", modes.menutop);
  speeddkwenjian.SetDown(modes.dakai);
  speedwldizi.SetDown(modes.menuinter);
  speedcuangkouzui.SetDown(modes.menutop);
  if (modes.fontStyle != listFontStyle_) {
    listFontStyle_ = modes.fontStyle;
    ApplyListFont();
    InvalidateRect(CheckListBox1.Handle(), nullptr, TRUE);
  }
}

void TForm1::applyStayOnTop(bool onTop) {
  // The window keeps its handle, and so its place in the clipboard viewer chain.
  SetStayOnTop(onTop);
}

}  // namespace app
