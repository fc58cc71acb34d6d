// TForm1: searching the entries with the modeless find dialog.
#include <windows.h>

#include "app/mainform/main_form_win32.h"
#include "gui/dialogs.h"

namespace app {

void TForm1::N178Click() {
  if (history_->rowCount() == 0) return;
  if (SelectedRow() < 0) {
    gui::MessageBoxU(findtext::kNoStartRow, findtext::kErrorCaption, MB_OK);
    return;
  }
  if (!FindDialog1) {
    FindDialog1 = std::make_unique<gui::FindDialog>();
    // The search is case-sensitive and runs downwards: the dialog does not offer otherwise.
    FindDialog1->hideMatchCase = true;
    FindDialog1->hideDirection = true;
    FindDialog1->OnFind = [this] { FindDialog1Find(); };
    FindDialog1->OnClose = [this] { FindDialog1Close(); };
  }
  FindDialog1->Execute(Handle());
}

void TForm1::FindDialog1Find() {
  const HistoryStore& store = history_->store();
  const FindOutcome outcome =
      FindEntry(find_, FindDialog1->FindWhat(), FindDialog1->WholeWord(), SelectedRow(), store.size(),
                [&store](int row) { return store.EntryTexts(row); });
  switch (outcome.verdict) {
    case FindVerdict::EmptyText:
      gui::MessageBoxU(findtext::kEmptyFindText, findtext::kErrorCaption, MB_OK);
      FindDialog1->CloseDialog();
      break;
    case FindVerdict::NoStart:
      gui::MessageBoxU(findtext::kNoStartPosition, findtext::kErrorCaption, MB_OK);
      FindDialog1->CloseDialog();
      break;
    case FindVerdict::NotFound: {
      const std::u16string text = FindDialog1->FindWhat();
      FindDialog1->CloseDialog();
      gui::ShowMessage(findtext::NotFoundText(text));
      break;
    }
    case FindVerdict::Found:
      CheckListBox1.SetItemIndex(outcome.row);
      PastePosition = outcome.row;
      if (!history_->fixedView()) repaintBookmarks();
      PlaySoundFile(findtext::kFoundSound);
      break;
  }
}

void TForm1::FindDialog1Close() { ResetFind(find_); }

}  // namespace app
