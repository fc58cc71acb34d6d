// TForm1: the entry database: its reader and writers on the rows, the database rows of the
// file menu, the exit database and its switch.
#include <windows.h>

#include "app/database/database_reader.h"
#include "app/database/database_texts.h"
#include "app/database/database_writer.h"
#include "app/listfile/listfile_commands.h"
#include "app/mainform/main_form_win32.h"
#include "gui/dialogs.h"
#include "gui/gdi.h"
#include "gui/wide.h"

namespace app {

std::u16string TForm1::DatabaseTemplateFile() const {
  return paths_.BaseDir + u"\\" + std::u16string(dbtext::kTemplateFileName);
}

bool TForm1::daorusujukeziClick() {
  DatabaseReadResult read;
  {
    gui::WaitCursor hourglass;
    read = ReadEntryDatabase(Files().CurrentListFile, ADOConnection1, ADOQuery1);
  }
  switch (read.status) {
    case DatabaseReadStatus::Missing:
    case DatabaseReadStatus::Empty:
      return read.status == DatabaseReadStatus::Empty;
    case DatabaseReadStatus::NotADatabase:
      gui::MessageBoxU(dbtext::kNotADatabase, listtext::kErrorCaption, MB_OK);
      return false;
    case DatabaseReadStatus::Read:
      break;
  }
  const bool loaded = ReadListIntoRows(read.list);
  if (!read.problem.empty()) gui::MessageBoxU(read.problem, listtext::kErrorCaption, MB_OK | MB_ICONWARNING);
  return loaded && read.complete();
}

bool TForm1::WriteDatabaseFile(const std::u16string& file, int onlyRow) {
  const HistoryStore& store = history_->store();
  std::vector<DatabaseRecord> records;
  if (onlyRow >= 0) {
    records.push_back({store.EntryTexts(onlyRow), store.EntrySnapshots(onlyRow)});
  } else {
    records.reserve(static_cast<std::size_t>(store.size()));
    for (int i = 0; i < store.size(); ++i) records.push_back({store.EntryTexts(i), store.EntrySnapshots(i)});
  }
  return WriteDatabaseRecords(file, records);
}

bool TForm1::WriteDatabaseRecords(const std::u16string& file, std::span<const DatabaseRecord> records,
                                  std::optional<WrittenFile> reportAs) {
  DatabaseWriteResult result;
  {
    gui::WaitCursor hourglass;
    result = WriteEntryDatabase(file, DatabaseTemplateFile(), records, ADOConnection1, ADOQuery1);
  }
  if (reportAs && result.status == DatabaseWriteStatus::Failed) {
    ReportWriteFailure(*reportAs, file, result.reason);
  } else if (!result.ok() && !SessionEnding) {  // no box at the session's end (ReportWriteFailure)
    gui::MessageBoxU(result.message, listtext::kErrorCaption, MB_OK | MB_ICONERROR);
  }
  return result.ok();
}

void TForm1::baocunweisujukuziClick() { WriteDatabaseFile(Files().SaveListFile, -1); }

void TForm1::danxiangbaocunweisujukuziClick() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return;
  WriteDatabaseFile(Files().SingleEntryFile, row);
}

void TForm1::tuicubaocunweisujukuClick() {
  Files().SaveListFile = paths_.ExitDatabaseFile;
  if (exitRecordIncomplete_) {
    // The exit database did not load whole: what it holds is kept beside it.
    MoveFileExW(gui::W(paths_.ExitDatabaseFile), gui::W(paths_.ExitDatabaseFile + u".bak"), MOVEFILE_REPLACE_EXISTING);
  }
  // The exit record is the history captured since start-up, whatever the list shows now
  // (the fixed entries, or a file opened since).
  const RunHistoryStore& run = history_->runHistory();
  std::vector<DatabaseRecord> records;
  records.reserve(static_cast<std::size_t>(run.RunHistoryCount()));
  for (int j = 0; j < run.RunHistoryCount(); ++j) records.push_back({run.RunHistoryTexts(j), run.RunHistorySnapshots(j)});
  const std::u16string caption = Caption();
  SetCaption(dbtext::kSavingExitDatabase);
  WriteDatabaseRecords(paths_.ExitDatabaseFile, records, WrittenFile::ExitDatabase);
  SetCaption(caption);
}

void TForm1::qidongjiazaituicusujukuClick() {
  PressHistoryView();
  Files().CurrentListFile = paths_.ExitDatabaseFile;
  const std::u16string caption = Caption();
  if (!gui::FileExists(paths_.ExitDatabaseFile)) {
    gui::MessageBoxU(dbtext::kExitDatabaseMissing, listtext::kErrorCaption, MB_OK);
    return;
  }
  SetCaption(dbtext::kLoadingExitDatabase);
  gui::WaitCursor hourglass;
  // A database that did not load whole is kept aside at the close instead of being written over.
  exitRecordIncomplete_ = !daorusujukeziClick();
  history_->refillRunHistory();
  SetCaption(caption);
}

void TForm1::BindDatabaseCommands() {
  Bind(u"daorusujukeziClick", [this] { daorusujukeziClick(); });
  Bind(u"baocunweisujukuziClick", [this] { baocunweisujukuziClick(); });
  Bind(u"danxiangbaocunweisujukuziClick", [this] { danxiangbaocunweisujukuziClick(); });
  Bind(u"daorusujukuClick", [this] { menuopenClick(2); });
  Bind(u"baocunweisujukuClick", [this] { SaveAs(3); });
  Bind(u"tuicubaocunweisujukuClick", [this] { tuicubaocunweisujukuClick(); });
  Bind(u"qidongjiazaituicusujukuClick", [this] { qidongjiazaituicusujukuClick(); });
  // The row's own click has switched it already.
  Bind(u"menu_tuicubaocunweisujukuClick", [this] {
    if (Checked(u"menu_tuicubaocunweisujuku")) {
      gui::MessageBoxU(dbtext::kExitDatabaseHint, listtext::kFriendlyCaption, MB_OK | MB_ICONINFORMATION);
    }
  });
}

}  // namespace app
