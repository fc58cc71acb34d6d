// TForm1: the fixed entries (favourites): their menu rows, the Alt+digit paste, the append
// from the history list, and the fixed view of the list.
#include <windows.h>

#include "app/listfile/listfile_commands.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/wide.h"

namespace app {

namespace fs = std::filesystem;

// ---- Reload and menu rows -------------------------------------------------------------------

void TForm1::LoadFixedEntries() { suaxingudinClick(); }

void TForm1::suaxingudinClick() { ReloadFixedEntries(true); }

void TForm1::ReloadFixedEntries(bool reportProblems) {
  const FixedLoadResult read = LoadFixedEntriesFile(fs::path(FixedFile()));
  switch (read.status) {
    case FixedLoadStatus::Missing:
      if (reportProblems) gui::ShowMessage(std::u16string(fixedtext::kMissingFile) + FixedFile());
      return;
    case FixedLoadStatus::UnknownFormat:
      if (reportProblems) gui::ShowMessage(fixedtext::kUnknownFormat);
      return;
    case FixedLoadStatus::FileError:
      if (reportProblems) ReportFileError(read.error);
      return;
    case FixedLoadStatus::Loaded:
      break;
  }
  if (gui::Menu::Row* parent = MainMenu1.Find(u"gudintiaomu")) MainMenu1.RemoveRows(parent, 0);
  fixed_.Assign(read.entries);
  for (int n = 1; n <= fixed_.FixedEntryCount(); ++n) AddFixedMenuRow(n);
  if (reportProblems) {
    for (const std::u16string& message : read.messages) gui::ShowMessage(message);
  }
}

void TForm1::FixedEntriesFollowTheView() {
  // The rows have just been read from the fixed-entry file (another program may have changed
  // it): the menu and Alt+1..9 take the same entries. The list's read reported the file's
  // problems already.
  if (history_->fixedView()) ReloadFixedEntries(false);
}

void TForm1::AddFixedMenuRow(int n) {
  gui::Menu::Row* parent = MainMenu1.Find(u"gudintiaomu");
  if (!parent) return;
  // The entry's text shown as it stands: an "&" in it is no accelerator mark.
  gui::Menu::Row* row = MainMenu1.InsertRow(parent, -1, FixedMenuCaption(n, fixed_.FixedEntryTexts(n)),
                                            [this, n] { gudintiaomuziClick(n); }, false, true);
  MainMenu1.SetRowTag(row, n);
  MainMenu1.SetRowImage(row, 5);
}

void TForm1::gudintiaomuziClick(int n) {
  const std::u16string text(fixed_.FixedEntryTexts(n));
  bool placed = false;
  WriteClipboardOwn([&] {
    capture_.LastClipText = text;
    placed = CopyTextThroughMemo(text);
  });
  if (!placed) return ReportEntryNotPut();
  if (!Checked(u"menutop")) gui::Application::Instance().Minimize();
}

void TForm1::PasteFixedEntry(int n) {
  const std::u16string text(fixed_.FixedEntryTexts(n));
  bool placed = false;
  WriteClipboardOwn([&] {
    capture_.LastClipText = text;
    placed = CopyTextThroughMemo(text);
  });
  // Ctrl+V would paste what the clipboard held before.
  if (!placed) return SoundEntryNotPut();
  // The target gets a moment to take the clipboard's new state before Ctrl+V; the GUI
  // thread goes on meanwhile.
  FixedPasteTimer.OnTimer = [this] {
    FixedPasteTimer.SetEnabled(false);
    SendKeyString("^v", true);
    PlaySoundFile(u"固定条目快捷键.wav");
  };
  FixedPasteTimer.SetEnabled(false);
  FixedPasteTimer.SetEnabled(true);
}

// ---- Append from the history list ----------------------------------------------------------------

void TForm1::tianjiadaogudintiaomuClick() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount() || history_->fixedView()) return;
  const std::u16string& file = FixedFile();
  if (!gui::FileExists(file)) {
    gui::ShowMessage(std::u16string(fixedtext::kMissingFile) + file);
    return;
  }
  const std::u16string text(history_->store().EntryTexts(row));
  // Checked before anything is written: a full table must not grow the file past what the
  // reload keeps.
  if (fixed_.Full()) {
    gui::ShowMessage(fixedtext::kTooMany);
    return;
  }
  std::error_code error;
  if (GetTextFileFormat(fs::path(file), error) != TextFileFormat::tfUtf8) {
    gui::MessageBoxU(fixedtext::kConvertToUtf8, fixedtext::kFriendlyCaption, MB_OK);
    SpeedButton_gudinClick();
    // Only rows that are the fixed entries may be written over their file.
    if (!history_->fixedView() || !history_->rowsAreFixedEntries()) return;
    Files().SaveListFile = file;
    if (!WriteRows(ListWriterKind::Utf8)) return;
  }
  if (const std::error_code appended = AppendFixedEntry(fs::path(file), text)) {
    ReportWriteFailure(WrittenFile::FixedEntries, file, appended);
    return;
  }
  if (history_->fixedView()) {
    history_->appendLoaded(text, nullptr);
    const int added = history_->rowCount() - 1;
    listSelect(added);
    PastePosition = added;
  }
  fixed_.Append(text);
  AddFixedMenuRow(fixed_.FixedEntryCount());
  PlaySoundFile(u"海浪.wav");
}

void TForm1::saveAndReloadFixedEntries() {
  Files().SaveListFile = FixedFile();
  std::error_code error;
  const TextFileFormat kind = GetTextFileFormat(fs::path(FixedFile()), error);
  WriteWith(SaveWriterForExistingFile(FixedFile(), error ? std::nullopt : std::optional(kind)));
  suaxingudinClick();
}

// ---- The fixed view ------------------------------------------------------------------------------

void TForm1::gudindiaoruliebiaokuangClick() {
  SpeedButton_gudin.SetDown(true);
  SpeedButton_quanbu.SetDown(false);
  history_->setFixedView(true);
  history_->listModesOff();
  Files().CurrentListFile = FixedFile();
  std::error_code error;
  const TextFileFormat kind = GetTextFileFormat(fs::path(FixedFile()), error);
  ReadCurrentListFile(kind == TextFileFormat::tfANSI ? ListReader::Ansi : ListReader::Utf8);
  FixedEntriesFollowTheView();
}

void TForm1::SpeedButton_gudinClick() {
  if (!history_->fixedView()) HistoryViewRow = SelectedRow();
  gudindiaoruliebiaokuangClick();
  if (history_->rowCount() > 0 && FixedViewRow >= 0 && FixedViewRow < history_->rowCount()) listSelect(FixedViewRow);
}

void TForm1::SpeedButton_quanbuClick() {
  if (history_->fixedView()) FixedViewRow = SelectedRow();
  history_->showRunHistory();
  if (history_->rowCount() > 0 && HistoryViewRow >= 0 && HistoryViewRow < history_->rowCount())
    listSelect(HistoryViewRow);
}

void TForm1::BindFixedCommands() {
  Bind(u"suaxingudinClick", [this] { suaxingudinClick(); });
  Bind(u"tianjiadaogudintiaomuClick", [this] { tianjiadaogudintiaomuClick(); });
  Bind(u"gudindiaoruliebiaokuangClick", [this] { gudindiaoruliebiaokuangClick(); });
  Bind(u"bianjigudinClick", [this] { OpenInEditor(FixedFile()); });
  Bind(u"N115Click", [this] { OpenInEditor(FixedFile()); });
  Bind(u"N133Click", [this] { OpenInEditor(paths_.HelpDir + u"\\什么是固定条目.txt"); });
  SpeedButton_gudin.OnClick = [this] { SpeedButton_gudinClick(); };
  SpeedButton_quanbu.OnClick = [this] { SpeedButton_quanbuClick(); };
}

}  // namespace app
