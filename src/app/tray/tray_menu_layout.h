// Where the tray menu PopupMenu2 shows history row i. Its fixed rows come first; up to 1000
// entries each entry row follows them (native position TrayEntryBase + i). Above 1000 entries
// the entry rows stand in sub-menus of 1000 ("第1-1000条", "第1001-2000条", ...) that follow the
// fixed rows. As data the menu keeps PopupMenu2.Items[i + TrayEntryBase] as history row i.
#pragma once

#include <string>

namespace app {

inline constexpr int TrayPageSize = 1000;

struct TrayMenuPlace {
  int page = -1;      // -1: the tray menu itself; otherwise the sub-menu of that page
  int position = 0;   // the native position in that menu
  bool operator==(const TrayMenuPlace&) const = default;
};

// The place of history row `entry` among `entryCount` entries.
TrayMenuPlace TrayPlaceOfEntry(int entry, int entryCount);
// The history row shown at a place; -1 for a fixed row, a page's own row or a place past the entries.
int TrayEntryAtPlace(const TrayMenuPlace& place, int entryCount);
// The caption of a page's row: "第" first "-" last "条", counting from 1.
std::u16string TrayPageCaption(int page, int entryCount);

}  // namespace app
