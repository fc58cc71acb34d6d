// The history list's model: the history store, the run history store, the bookmarks that
// name rows, the view and list modes, and every command that reorders, deletes, checks,
// merges or restores entries. Each command changes the stores first and then tells the
// screen what to do through HistorySink, so that a sink that reads the model back (for
// example to save the rows to a file) always sees the final state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/history/history_bookmarks.h"
#include "app/history/history_sink.h"
#include "app/history/history_store.h"
#include "app/listfile/list_file_names.h"

namespace app {

// The fixed-entries file below the program folder: BaseDir + "\固定条目\固定条目.txt".
std::u16string FixedEntriesFile(std::u16string_view baseDir);

enum class MoveKind { Up, Down, Top, Bottom };

struct MergeOutcome {
  bool merged = false;
  std::u16string text;     // when merged: every checked entry followed by CR LF, in row order
  std::u16string caption;  // otherwise: the message box to show
  std::u16string message;
};

// What a click on a row puts on the clipboard: the snapshot when there is one to use,
// else the text.
struct ClipboardPayload {
  std::u16string text;
  Snapshot snapshot;  // null: the text alone
};

struct CaptureAppend {
  bool stored = false;  // false: the list was full, nothing was recorded
  int row = -1;         // the new row, or -1 when the fixed entries are shown
};

struct LoadedEntry {
  std::u16string text;
  Snapshot snapshot;  // null for entries read from text files
};

// One entry's new text, for the entry-changed step; a snapshot (the formatted view's save)
// comes with its text, else the entry becomes text only.
struct EntryTextChange {
  int row;
  std::u16string text;
  Snapshot snapshot = nullptr;
};

class ProgressSteps;

class HistoryModel {
 public:
  HistoryModel(HistorySink& sink, std::u16string fixedEntriesFile);
  HistoryModel(const HistoryModel&) = delete;
  HistoryModel& operator=(const HistoryModel&) = delete;

  const HistoryStore& store() const { return store_; }
  const RunHistoryStore& runHistory() const { return runHistory_; }
  int rowCount() const { return store_.size(); }

  // SpeedButton_gudin down: the list shows the fixed entries.
  bool fixedView() const { return fixedView_; }
  void setFixedView(bool down) { fixedView_ = down; }
  ListFileNames& files() { return files_; }
  const ListFileNames& files() const { return files_; }
  const std::u16string& fixedEntriesFile() const { return fixedEntriesFile_; }
  // AttachedListFile is the fixed-entries file: the rows are the fixed entries.
  bool rowsAreFixedEntries() const { return files_.AttachedListFile == fixedEntriesFile_; }
  BookmarkState& bookmarks() { return bookmarks_; }
  const BookmarkState& bookmarks() const { return bookmarks_; }
  const ListModes& listModes() const { return modes_; }

  // --- Commands of the history list; `selected` is the list's selected row (-1 for none).
  void moveRow(int selected, MoveKind kind);  // sangyigeClick, xiayigeClick, dinbuClick, dibuClick
  void reverseRows();                         // N229Click
  void deleteUncheckedRows();                 // N27Click
  void deleteRow(int selected);               // N28Click
  void deleteAllRows();                       // qinkongliebiaoClick
  void checkAll();                            // mu_quanzeClick
  void invertChecks();                        // mu_fanzeClick
  MergeOutcome mergeCheckedRows() const;      // N236Click
  void showRunHistory();                      // menujianqielisiClick
  // The row click's choice: with all formats (ziciwordhtm) and a snapshot, the snapshot.
  ClipboardPayload rowClickPayload(int row, bool allFormats) const;
  // yicunwenbenfasongClick: the row click with ziciwordhtm taken as unchecked.
  ClipboardPayload plainTextPayload(int row) const { return rowClickPayload(row, false); }
  void toggleFolderMode();      // dakaiClick
  void toggleWebAddressMode();  // menuinterClick
  void toggleStayOnTop();       // menutopClick
  void listModesOff();          // what the list loaders and the fixed view do
  // The user clicked a row's check box; the control already shows it.
  void userSetChecked(int row, bool checked) { store_.setChecked(row, checked); }

  // --- The capture: the text and its snapshot go to slot n (n = the row count) with a list
  // row, selected, and a tray row, and to the run history. With the fixed entries shown only
  // the run history records it: the list rows are the fixed entries then, and slot n is
  // outside them, so nothing would ever read it. Nothing is stored once the list holds
  // MaxEntries rows.
  CaptureAppend appendCapture(std::u16string_view text, Snapshot snapshot);

  // --- The list loaders replace the slots from 0: beginReplace clears the rows, then each
  // appendLoaded takes the next slot (false, nothing stored, once slot 100000 is used).
  void beginReplace();
  bool appendLoaded(std::u16string_view text, Snapshot snapshot);
  // Both in one; returns the number of entries taken.
  int replaceAll(std::vector<LoadedEntry> entries);

  // --- Changes of an entry's text (viewers, encryption, text conversions).
  // The text becomes text only (no snapshot) and its list and tray rows are rewritten.
  void setEntryText(int row, std::u16string_view text);
  // The entry-changed step, which every command that changes entry texts ends with: each
  // changed entry takes its new text and becomes text only (its snapshot flag cleared), or
  // takes the change's snapshot with it, and its list row and tray row
  // are rewritten (the list rows in one pass); then, once, outside the fixed view the run
  // history becomes a copy of the rows, and with the fixed entries shown their file is saved
  // and reloaded. Rows must be ascending and distinct; a bad row changes nothing
  // (std::out_of_range).
  void changeEntryTexts(std::vector<EntryTextChange> changes);
  void changeEntryText(int row, std::u16string_view text) {
    changeEntryTexts({EntryTextChange{row, std::u16string(text)}});
  }
  // The run history store becomes a copy of the rows; RunHistoryCount := the row count.
  void refillRunHistory() { runHistory_.mirrorRows(); }

  // The bookmarks are removed without a question and without a sound (set aside first when a
  // list load asked for it).
  void clearBookmarksWithoutAsking();
  // What a list load does first: the bookmarks are set aside (unless ClearBookmarksOnLoad
  // was cleared for this load) and ClearBookmarksOnLoad is set again.
  void bookmarksBeforeListLoad();

  // --- Bookmarks (history_bookmark_commands.cpp).
  enum class BookmarkSet { Nothing, FixedViewRefused, Set };
  BookmarkSet setBookmark(int selected);  // menu_seweisuqianClick
  void removeAllBookmarks();              // cexiaosuoyousuqianClick, asking when BookmarkAskFlag is set
  // BookmarkMenuItemClick: the row of the bookmark with this menu tag, or -1 when it is not a row.
  int bookmarkJumpRow(int tag) const;
  // huacusuqianziClick: the rows that carry a mark now (none in the fixed view).
  std::vector<int> bookmarkMarkRows() const;

  // --- Reordering (history_reorder_commands.cpp).
  // CheckListBox1DragDrop: the entry of row `dragRow` dropped on row `dropRow` (-1: not on a row).
  void dragMove(int dragRow, int dropRow);
  // N42Click: the rows in the order of their captions, every entry with its snapshot and
  // check mark, bookmarks following their entries.
  void sortRows();

 private:
  void clearRows(ProgressSteps* progress);
  void addRow(int row);
  void saveFixedEntries();
  void rewriteEntry(int row, std::u16string_view text);
  void keepRunHistoryUnlessRefilled();
  void rebuildBookmarkMenu();
  void moveEntry(int from, int to);

  HistorySink& sink_;
  HistoryStore store_;
  RunHistoryStore runHistory_;
  BookmarkState bookmarks_;
  ListFileNames files_;
  ListModes modes_;
  std::u16string fixedEntriesFile_;
  bool fixedView_ = false;
};

}  // namespace app
