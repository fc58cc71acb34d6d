// TForm1: entry-list text files: open, save, save as, single entry, the exit record, the
// autosave file, reload, recent files, sample tables and the rows that open text files in
// the system's editor.
#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "app/listfile/listfile_autosave.h"
#include "app/listfile/listfile_commands.h"
#include "app/listfile/listfile_io.h"
#include "app/listfile/listfile_recent.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/file_dialogs.h"
#include "gui/gdi.h"
#include "gui/wide.h"

namespace app {

namespace fs = std::filesystem;

namespace {
constexpr COLORREF kFixedViewColor = 128;  // maroon

using gui::FileExists;

}  // namespace

std::vector<std::u16string> TForm1::RowTexts() const {
  std::vector<std::u16string> texts;
  const HistoryStore& store = history_->store();
  texts.reserve(static_cast<size_t>(store.size()));
  for (int i = 0; i < store.size(); ++i) texts.emplace_back(store.EntryTexts(i));
  return texts;
}

std::vector<std::u16string> TForm1::RunHistoryTexts() const {
  std::vector<std::u16string> texts;
  const RunHistoryStore& run = history_->runHistory();
  texts.reserve(static_cast<size_t>(run.RunHistoryCount()));
  for (int j = 0; j < run.RunHistoryCount(); ++j) texts.emplace_back(run.RunHistoryTexts(j));
  return texts;
}

ListFileNames& TForm1::Files() { return history_->files(); }

void TForm1::ReportFileError(const std::error_code& error) {
  gui::MessageBoxU(FileErrorReason(error), gui::Application::Instance().Title(), MB_OK | MB_ICONERROR);
}

void TForm1::ReportWriteFailure(WrittenFile file, const std::u16string& path, const std::error_code& error) {
  ReportWriteFailure(file, path, FileErrorReason(error));
}

void TForm1::ReportWriteFailure(WrittenFile file, const std::u16string& path, std::u16string_view reason) {
  // At the session's end no one can answer a box, and one left open keeps Windows waiting
  // for this program's answer: the file simply stays as it was.
  if (SessionEnding) return;
  // Every writer replaces its file only when the new one is complete: what is there now is
  // the file as it was.
  gui::MessageBoxU(WriteFailureText(file, path, reason, FileExists(path)), gui::Application::Instance().Title(),
                   MB_OK | MB_ICONERROR);
}

// ---- Reading a list into the rows ------------------------------------------------------------

bool TForm1::ReadListIntoRows(ListReadResult read) {
  if (read.status == ListReadStatus::UnknownFormat) {
    gui::ShowMessage(listtext::kUnknownFormat);
    return false;
  }
  if (read.status == ListReadStatus::FileError) {
    ReportFileError(read.error);
    return false;
  }
  gui::WaitCursor hourglass;
  history_->bookmarksBeforeListLoad();
  CheckListBox1.SetFontColor(history_->fixedView() ? kFixedViewColor : ListTextColor());
  Files().AfterRead();
  const std::u16string caption = Caption();

  const BusyScope busy(listBusy_);  // the rows are being replaced: captures wait for the check timer
  std::optional<unicode::TUpdateScope> update(std::in_place, CheckListBox1.Items());
  history_->beginReplace();
  const int count = static_cast<int>(read.entries.size());
  // The progress bar and the caption count every 100 entries, but repaint at most every
  // 50 ms: under Wine each repaint costs milliseconds, which for 100000 entries would make
  // the counting slower than the loading. Only paint messages are handled meanwhile.
  DWORD lastShown = GetTickCount();
  struct Progress {
    TForm1& form;
    bool shown = false;
    ~Progress() {
      if (shown) form.progressHide();
    }
  } progress{*this};
  for (int r = 0; r < count; ++r) {
    if (r == 400) {
      progressShow(count - 400);
      progress.shown = true;
    }
    if (r > 400 && r % 100 == 0 && GetTickCount() - lastShown >= 50) {
      lastShown = GetTickCount();
      ProgressBar1.SetPosition(r - 400);
      if (r > 700) {
        SetCaption(gui::U(std::to_wstring(r)));
        gui::Application::Instance().ProcessPaintMessages();
      }
    }
    // Each parsed text is freed as soon as the store holds its own copy: the heap reuses the
    // block for the next entry, so a large list is never held twice.
    const auto at = static_cast<size_t>(r);
    std::u16string& entry = read.entries[at];
    history_->appendLoaded(entry, at < read.snapshots.size() ? read.snapshots[at] : nullptr);
    std::u16string().swap(entry);
  }
  std::vector<std::u16string>().swap(read.entries);
  update.reset();
  if (progress.shown) {
    progress.shown = false;
    progressHide();
  }
  CheckListBox1.SetTopIndex(0);
  CheckListBox1.SetItemIndex(-1);
  SetCaption(caption);
  for (ListMessage message : read.messages) gui::ShowMessage(ListMessageText(message));
  if (!read.tooMany) AddRecentFile(Files().CurrentListFile);
  return true;
}

// The autosave file keeps its own rule (an unmarked file of an older version is UTF-8),
// whichever command reads it: the import, the reload, a recent file, the open dialog.
bool TForm1::CurrentListFileIsAutoSave() const {
  return gui::SameFile(history_->files().CurrentListFile, paths_.AutoSaveFile);
}

void TForm1::ReadCurrentListFile(ListReader reader) {
  const fs::path file(Files().CurrentListFile);
  ReadListIntoRows(CurrentListFileIsAutoSave() ? ReadAutoSaveFile(file) : ReadListFile(file, reader));
}

void TForm1::ReadCurrentListFileByKind() {
  const fs::path file(Files().CurrentListFile);
  ReadListIntoRows(CurrentListFileIsAutoSave() ? ReadAutoSaveFile(file) : ReadListFileByKind(file));
}

void TForm1::PressHistoryView() {
  SpeedButton_quanbu.SetDown(true);
  SpeedButton_gudin.SetDown(false);
  history_->setFixedView(false);
}

// ---- Writing ----------------------------------------------------------------------------------

bool TForm1::WriteRows(ListWriterKind kind) {
  gui::WaitCursor hourglass;
  const std::error_code error = WriteListFile(fs::path(Files().SaveListFile), RowTexts(), kind);
  if (error) {
    const bool exitRecord = gui::SameFile(Files().SaveListFile, paths_.ExitRecordFile);
    ReportWriteFailure(exitRecord ? WrittenFile::ExitRecord : WrittenFile::ListFile, Files().SaveListFile, error);
    return false;
  }
  // The ANSI writer lists its file among the recent files; the UTF-8 writer does not.
  if (kind == ListWriterKind::Ansi) AddRecentFile(Files().SaveListFile);
  return true;
}

void TForm1::mybaocun() { WriteRows(ListWriterKind::Ansi); }
void TForm1::baocunutf8ziClick() { WriteRows(ListWriterKind::Utf8); }

// ---- Open, save, save as, single entry ---------------------------------------------------------

gui::FileDialogSpec TForm1::ListDialog(std::u16string_view filter, int filterIndex) const {
  gui::FileDialogSpec desc;
  desc.filter = std::u16string(filter);
  desc.filterIndex = filterIndex;
  desc.initialDir = paths_.BaseDir + u"\\保存";
  return desc;
}

void TForm1::menuopenClick(int filterIndex) {
  const gui::FileDialogResult chosen = gui::OpenFileDialog(Handle(), ListDialog(listtext::kOpenFilter, filterIndex));
  if (!chosen.ok) return;
  const bool wasHistoryView = SpeedButton_quanbu.Down();
  const std::u16string previous = Files().CurrentListFile;
  PressHistoryView();
  Files().CurrentListFile = chosen.file;
  std::error_code error;
  const TextFileFormat kind = GetTextFileFormat(fs::path(chosen.file), error);
  switch (OpenAction(chosen.filterIndex, chosen.file, kind)) {
    case ListFileAction::ReadAnsi:
      ReadCurrentListFile(ListReader::Ansi);
      history_->listModesOff();
      break;
    case ListFileAction::ReadUtf8:
      ReadCurrentListFile(ListReader::Utf8);
      history_->listModesOff();
      break;
    case ListFileAction::ReadDatabase:
      daorusujukeziClick();
      history_->listModesOff();
      break;
    case ListFileAction::Nothing:
      Files().CurrentListFile = previous;
      SpeedButton_quanbu.SetDown(wasHistoryView);
      break;
  }
}

void TForm1::menusaveClick() {
  ListFileNames& files = Files();
  files.SaveListFile = files.AttachedListFile;
  bool dialogShown = false;
  int filterIndex = 1;
  if (files.AttachedListFile.empty()) {
    gui::FileDialogSpec desc = ListDialog(listtext::kSaveFilter, 1);
    desc.defaultExtension = std::u16string(listtext::kSaveDefaultExtension);
    const gui::FileDialogResult chosen = gui::SaveFileDialog(Handle(), desc);
    if (!chosen.ok) return;
    dialogShown = true;
    filterIndex = chosen.filterIndex;
    files.SaveListFile = files.CurrentListFile = files.AttachedListFile = chosen.file;
  }
  if (SaveAsksConfirmation(dialogShown, history_->fixedView()) &&
      !gui::Confirm(SaveConfirmationText(files.SaveListFile), listtext::kSaveConfirmCaption)) {
    return;
  }
  ListSaveWriter writer;
  if (dialogShown) {
    writer = SaveWriterFromDialog(filterIndex);
  } else {
    std::error_code error;
    const TextFileFormat kind = GetTextFileFormat(fs::path(files.SaveListFile), error);
    writer = SaveWriterForExistingFile(files.SaveListFile, error ? std::nullopt : std::optional(kind));
  }
  WriteWith(writer);
}

void TForm1::WriteWith(ListSaveWriter writer) {
  switch (writer) {
    case ListSaveWriter::Ansi:
      mybaocun();
      break;
    case ListSaveWriter::Utf8:
      baocunutf8ziClick();
      break;
    case ListSaveWriter::Database:
      baocunweisujukuziClick();
      break;
  }
}

void TForm1::SaveAs(int filterIndex) {
  gui::FileDialogSpec desc = ListDialog(listtext::kSaveFilter, filterIndex);
  desc.defaultExtension = std::u16string(listtext::kSaveDefaultExtension);
  const gui::FileDialogResult chosen = gui::SaveFileDialog(Handle(), desc);
  if (!chosen.ok) return;
  const ListSaveWriter writer = SaveAsWriter(chosen.filterIndex);
  Files().SaveListFile = Files().AttachedListFile = chosen.file;
  WriteWith(writer);
  Files().CurrentListFile = chosen.file;
}

void TForm1::N234Click() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) {
    gui::MessageBoxU(listtext::kNoRowSelected, listtext::kErrorCaption, MB_OK);
    return;
  }
  gui::FileDialogSpec desc = ListDialog(listtext::kSaveFilter, 1);
  desc.defaultExtension = std::u16string(listtext::kSaveDefaultExtension);
  const gui::FileDialogResult chosen = gui::SaveFileDialog(Handle(), desc);
  if (!chosen.ok) return;
  Files().SingleEntryFile = chosen.file;
  const ListSaveWriter writer = SingleEntryWriter(chosen.filterIndex);
  if (writer == ListSaveWriter::Database) {
    danxiangbaocunweisujukuziClick();
    return;
  }
  const ListWriterKind kind = writer == ListSaveWriter::Ansi ? ListWriterKind::Ansi : ListWriterKind::Utf8;
  if (const std::error_code error =
          WriteSingleEntryFile(fs::path(chosen.file), history_->store().EntryTexts(row), kind)) {
    ReportWriteFailure(WrittenFile::SingleEntry, chosen.file, error);
  }
}

// ---- The exit record and the autosave file ------------------------------------------------------

void TForm1::LoadExitRecord() {
  if (!Checked(u"qidongjiazaisangcibaocun")) return;
  daorutempClick();
}

void TForm1::daorutempClick() {
  PressHistoryView();
  history_->listModesOff();
  if (Checked(u"menu_tuicubaocunweisujuku")) {
    qidongjiazaituicusujukuClick();
    return;
  }
  const fs::path file(paths_.ExitRecordFile);
  std::optional<ListReadResult> prefetched = exitRecordPrefetch_.Take(file);
  ListReadResult read = prefetched ? std::move(*prefetched) : ReadExitRecord(file);
  // No exit record yet (the first start): the rows stay as they are, nothing becomes a recent file.
  if (read.missing || !FileExists(paths_.ExitRecordFile)) return;
  // An exit record that could not be read whole is kept aside at the next close instead of
  // being overwritten by the rows that did load.
  exitRecordIncomplete_ = read.status != ListReadStatus::Read || read.tooMany;
  Files().CurrentListFile = paths_.ExitRecordFile;
  ReadListIntoRows(std::move(read));
  history_->refillRunHistory();
}

void TForm1::SaveExitRecord() {
  if (Checked(u"menu_tuicubaocunweisujuku")) {
    tuicubaocunweisujukuClick();
    return;
  }
  Files().SaveListFile = paths_.ExitRecordFile;
  if (exitRecordIncomplete_) {
    const std::u16string kept = paths_.ExitRecordFile + u".bak";
    MoveFileExW(gui::W(paths_.ExitRecordFile), gui::W(kept), MOVEFILE_REPLACE_EXISTING);
  }
  // The exit record is the history captured since start-up, whatever the list shows now
  // (the fixed entries, or a file opened since).
  if (const std::error_code error = WriteExitRecord(fs::path(paths_.ExitRecordFile), RunHistoryTexts())) {
    ReportWriteFailure(WrittenFile::ExitRecord, paths_.ExitRecordFile, error);
  }
}

void TForm1::AppendAutoSaveRecord(const std::u16string& text) {
  // A failure is reported like any other failure of a capture (the capture stops there).
  if (const std::error_code error = app::AppendAutoSaveRecord(fs::path(paths_.AutoSaveFile), text)) {
    throw std::system_error(error);
  }
}

void TForm1::meClick() {
  if (!gui::Confirm(listtext::kOverwriteAutoSave, listtext::kOverwriteAutoSaveCaption)) return;
  Files().SaveListFile = paths_.AutoSaveFile;
  baocunutf8ziClick();
}

void TForm1::OpenSampleTable(const std::u16string& file, ListModeRequest mode) {
  Files().CurrentListFile = file;
  PressHistoryView();
  ReadCurrentListFileByKind();
  history_->listModesOff();
  if (mode == ListModeRequest::Folder) {
    history_->toggleFolderMode();
    Memo1.SetText(u"这是文件夹列表：双击一行即可打开那个文件夹。");
  } else if (mode == ListModeRequest::WebAddress) {
    history_->toggleWebAddressMode();
    Memo1.SetText(u"这是网络地址列表：双击一行即可用浏览器打开那个网址。");
  }
}

// ---- Reload and recent files ---------------------------------------------------------------------

void TForm1::genxinzairuClick() {
  const std::u16string file = Files().CurrentListFile;
  if (file.empty()) return;
  std::error_code error;
  const TextFileFormat kind = GetTextFileFormat(fs::path(file), error);
  switch (ReloadAction(file, kind)) {
    case ListFileAction::ReadAnsi:
      ReadCurrentListFile(ListReader::Ansi);
      break;
    case ListFileAction::ReadUtf8:
      ReadCurrentListFile(ListReader::Utf8);
      break;
    case ListFileAction::ReadDatabase:
      daorusujukeziClick();
      break;
    case ListFileAction::Nothing:
      return;
  }
  FixedEntriesFollowTheView();
}

void TForm1::AddRecentFile(const std::u16string& file) {
  if (!recentFiles_.Add(file)) return;
  gui::Menu::Row* parent = MainMenu1.Find(u"menuzuijinwenjian");
  if (!parent) return;
  gui::Menu::Row* row = MainMenu1.InsertRow(parent, -1, RecentFileList::RowCaption(file), nullptr, false, true);
  row->action = [this, row] { lastjianClick(MainMenu1.IndexOf(row)); };
}

void TForm1::lastjianClick(int menuPlace) {
  const std::u16string file = recentFiles_.FileAtMenuRow(menuPlace);
  if (file.empty()) return;
  std::error_code error;
  const TextFileFormat kind = GetTextFileFormat(fs::path(file), error);
  PressHistoryView();
  Files().CurrentListFile = file;
  if (RecentFileAction(file, kind) == ListFileAction::ReadDatabase) daorusujukeziClick();
  else ReadCurrentListFileByKind();
}

void TForm1::qinkonglisiwenClick() {
  if (gui::Menu::Row* parent = MainMenu1.Find(u"menuzuijinwenjian")) {
    MainMenu1.RemoveRows(parent, RecentFileList::kFixedMenuRows);
  }
  recentFiles_.Clear();
}

// ---- Text files in the system's editor -----------------------------------------------------------

void TForm1::OpenInEditor(const std::u16string& file) {
  if (!FileExists(file)) {
    gui::ShowMessage(MissingFileText(file));
    return;
  }
  ShellExecuteW(Handle(), L"open", gui::W(file), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void TForm1::BindFileCommands() {
  Bind(u"menuopenClick", [this] { menuopenClick(1); });
  Bind(u"Unicode1Click", [this] { menuopenClick(1); });
  Bind(u"menusaveClick", [this] { menusaveClick(); });
  Bind(u"menulincunClick", [this] { SaveAs(1); });
  Bind(u"N142Click", [this] { SaveAs(2); });
  Bind(u"N234Click", [this] { N234Click(); });
  Bind(u"danxiangmybaocunClick", [this] {
    const int row = SelectedRow();
    if (row < 0 || row >= history_->rowCount()) return;
    if (const std::error_code error =
            WriteSingleEntryFile(fs::path(Files().SingleEntryFile), history_->store().EntryTexts(row),
                                 ListWriterKind::Ansi)) {
      ReportWriteFailure(WrittenFile::SingleEntry, Files().SingleEntryFile, error);
    }
  });
  Bind(u"baocunutf8ziClick", [this] { baocunutf8ziClick(); });
  Bind(u"daoruutf8ziClick", [this] { ReadCurrentListFile(ListReader::Utf8); });
  Bind(u"daorutempClick", [this] { daorutempClick(); });
  Bind(u"meClick", [this] { meClick(); });
  Bind(u"menuquangClick", [this] { SetChecked(u"menuquang", !Checked(u"menuquang")); });
  Bind(u"daoruzidongClick", [this] { OpenSampleTable(paths_.AutoSaveFile, ListModeRequest::Off); });
  Bind(u"genxinzairuClick", [this] { genxinzairuClick(); });
  Bind(u"genxincongzaiClick", [this] { genxinzairuClick(); });
  Bind(u"qinkonglisiwenClick", [this] { qinkonglisiwenClick(); });
  BindDatabaseCommands();
  Bind(u"xiansiwenjianminClick", [this] { gui::ShowMessage(CurrentFileNameText(Files().CurrentListFile)); });

  const auto& samples = paths_.SampleTableFiles;
  const std::pair<const char16_t*, int> openRows[] = {{u"mu_dakaiyangliClick", 0}, {u"N210Click", 1},
                                                      {u"N310Click", 2}, {u"N410Click", 3}};
  for (const auto& [handler, index] : openRows) {
    Bind(handler, [this, &samples, index = index] { OpenSampleTable(samples[index], ListModeRequest::Off); });
  }
  Bind(u"menudakaiwenjianjiaClick", [this, &samples] { OpenSampleTable(samples[4], ListModeRequest::Folder); });
  Bind(u"menuopen3Click", [this, &samples] { OpenSampleTable(samples[5], ListModeRequest::WebAddress); });

  const std::u16string help = paths_.HelpDir + u"\\";
  const std::pair<const char16_t*, std::u16string> editorRows[] = {
      {u"readmeClick", help + u"readme.txt"},
      {u"kuaisutianxuliehaoClick", help + u"如何快速填序列号.txt"},
      {u"kuaisutianbiaoClick", help + u"如何快速填上网表格.txt"},
      {u"menubiao1Click", samples[0]},
      {u"N211Click", samples[1]},
      {u"N311Click", samples[2]},
      {u"N100Click", samples[3]},
      {u"menubiao2Click", samples[4]},
      {u"menubiao3Click", samples[5]},
      {u"menuzibaoClick", paths_.AutoSaveFile},
      {u"temp1Click", paths_.ExitRecordFile},
  };
  for (const auto& [handler, file] : editorRows) Bind(handler, [this, file = file] { OpenInEditor(file); });
  for (const char16_t* handler : {u"bianjidangqianClick", u"bianjidangqClick"}) {
    Bind(handler, [this] {
      if (Files().CurrentListFile.empty()) gui::ShowMessage(listtext::kFileNotSaved);
      else OpenInEditor(Files().CurrentListFile);
    });
  }
  Bind(u"menuqitaClick", [this] {
    const gui::FileDialogResult chosen = gui::OpenFileDialog(Handle(), ListDialog(listtext::kOpenFilter, 1));
    if (chosen.ok) OpenInEditor(chosen.file);
  });
}

}  // namespace app
