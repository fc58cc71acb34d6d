// TForm1: the entry text and hex viewer's side of the main window. The viewer keeps its own
// entry (row and text identity); a save finds the entry where it now stands, or reports
// that it is gone, instead of writing into whatever row holds the old number.
#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "windows/entry_viewer_win32.h"

namespace app {

void TForm1::SetEntryViewer(windows::TForm3* viewer) {
  Form3 = viewer;
  if (viewer) viewer->SetHost(this);
}

void TForm1::N39Click() {
  if (SelectedRow() < 0) return;
  NeedWindow(SecondaryWindow::EntryViewer);
  if (Form3) Form3->ShowEntryOfSelectedRow();
}

std::optional<windows::ViewedEntry> TForm1::SelectedEntry() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return std::nullopt;
  return windows::ViewedEntry{row, history_->store().entry(row).text.identity()};
}

std::u16string TForm1::EntryText(const windows::ViewedEntry& entry) {
  const int row = history_->store().findText(entry.row, entry.identity);
  return row < 0 ? std::u16string() : std::u16string(history_->store().EntryTexts(row));
}

std::optional<windows::ViewedEntry> TForm1::SaveEntryText(const windows::ViewedEntry& entry, std::u16string_view text) {
  const int row = history_->store().findText(entry.row, entry.identity);
  if (row < 0) return std::nullopt;
  history_->changeEntryText(row, text);
  return windows::ViewedEntry{row, history_->store().entry(row).text.identity()};
}

}  // namespace app
