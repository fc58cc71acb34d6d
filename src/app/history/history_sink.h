// What the history commands ask of the screen. The history model decides; the main window
// implements this interface and carries the decisions out on CheckListBox1, the tray menu
// PopupMenu2, the bookmark menu, the progress bar and the other controls.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace app {

inline constexpr int TrayEntryBase = 6;  // the tray menu's fixed rows come before the entry rows

enum class ListFontStyle { Plain, Bold, Underlined };

// The list modes: folder mode (dakai, button speeddkwenjian), web-address mode (menuinter,
// button speedwldizi) and stay on top (menutop, button speedcuangkouzui). Each button's down
// state is the same as its menu row's check.
struct ListModes {
  bool dakai = false;
  bool menuinter = false;
  bool menutop = false;
  ListFontStyle fontStyle = ListFontStyle::Plain;
};

class HistorySink {
 public:
  virtual ~HistorySink() = default;

  // CheckListBox1. Captions are the first 150 characters of the entry.
  virtual void listInsertRow(int row, std::u16string_view caption) = 0;  // unchecked
  virtual void listDeleteRow(int row) = 0;
  virtual void listMoveRow(int from, int to) = 0;  // the row keeps its check mark
  virtual void listSetCaption(int row, std::u16string_view caption) = 0;
  // Several rows' captions at once (rows ascending, each row once): a list control may rewrite
  // them in one pass. By default one listSetCaption per row.
  virtual void listSetCaptions(const std::vector<std::pair<int, std::u16string_view>>& rows) {
    for (const auto& [row, caption] : rows) listSetCaption(row, caption);
  }
  virtual void listClear() = 0;
  virtual void listSelect(int row) = 0;
  virtual void listSetChecked(int row, bool checked) = 0;

  // PopupMenu2 entry rows, by menu index (entry row i is at i + TrayEntryBase). Captions are
  // the first 50 characters; the row has image index 1 and the handler TForm1.mytuopanClick.
  virtual void trayInsertRow(int menuIndex, std::u16string_view caption) = 0;
  virtual void trayDeleteRow(int menuIndex) = 0;
  virtual void traySetCaption(int menuIndex, std::u16string_view caption) = 0;

  // The bookmark menu zuanyidaosuqian (row k has the tag k) and the marks on the list.
  virtual void bookmarkMenuClear() = 0;
  virtual void bookmarkMenuAddRow(std::u16string_view caption) = 0;
  virtual void bookmarkMenuRemoveRow(int k) = 0;
  virtual void bookmarkMenuSetRow(int k, std::u16string_view caption) = 0;
  virtual void repaintBookmarks() = 0;

  // A wave file of the sound folder, played when it exists.
  virtual void playSound(std::u16string_view fileName) = 0;
  virtual void setHourglass(bool on) = 0;
  virtual void progressShow(int steps) = 0;  // ProgressBar1 from 0 to `steps`
  virtual void progressStep() = 0;
  virtual void progressHide() = 0;
  // An OK/Cancel question (flags 4129); true for OK.
  virtual bool confirm(std::u16string_view caption, std::u16string_view text) = 0;

  // Writes the rows to the fixed-entries file and reloads the fixed entries and their menu.
  virtual void saveAndReloadFixedEntries() = 0;
  // Presses SpeedButton_quanbu and gives the list the font colour ListFontColor.
  virtual void showHistoryView() = 0;
  virtual void clearLastClipText() = 0;
  virtual void emptyClipboard() = 0;
  // Menu checks, buttons and the list font style of the list modes.
  virtual void listModesChanged(const ListModes& modes) = 0;
  // Form style stay-on-top (or normal); the window is recreated, so it joins the clipboard
  // viewer chain again.
  virtual void applyStayOnTop(bool onTop) = 0;
};

}  // namespace app
