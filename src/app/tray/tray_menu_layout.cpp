#include "app/tray/tray_menu_layout.h"

#include "app/history/history_sink.h"
#include "gui/menu_pages.h"

namespace app {

namespace {
std::u16string Number(int n) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
  return text;
}
}  // namespace

TrayMenuPlace TrayPlaceOfEntry(int entry, int entryCount) {
  if (!gui::RowsArePaged(entryCount, TrayPageSize)) return {-1, TrayEntryBase + entry};
  return {gui::PageOfRow(entry, TrayPageSize), entry - gui::FirstRowOfPage(gui::PageOfRow(entry, TrayPageSize), TrayPageSize)};
}

int TrayEntryAtPlace(const TrayMenuPlace& place, int entryCount) {
  if (place.position < 0) return -1;
  if (place.page < 0) {
    // In pages the tray menu itself holds no entry rows.
    if (gui::RowsArePaged(entryCount, TrayPageSize)) return -1;
    const int entry = place.position - TrayEntryBase;
    return entry >= 0 && entry < entryCount ? entry : -1;
  }
  if (place.page >= gui::PageCount(entryCount, TrayPageSize)) return -1;
  const int entry = gui::FirstRowOfPage(place.page, TrayPageSize) + place.position;
  return entry < gui::EndRowOfPage(place.page, entryCount, TrayPageSize) ? entry : -1;
}

std::u16string TrayPageCaption(int page, int entryCount) {
  const int first = gui::FirstRowOfPage(page, TrayPageSize) + 1;
  const int last = gui::EndRowOfPage(page, entryCount, TrayPageSize);
  return u"第" + Number(first) + u"-" + Number(last) + u"条";
}

}  // namespace app
