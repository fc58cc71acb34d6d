// Where the tray menu shows history row i, and back, flat up to 1000 entries and in pages
// of 1000 above.
#include <gtest/gtest.h>

#include "app/history/history_sink.h"
#include "app/tray/tray_menu_layout.h"

using namespace app;

namespace {

void ExpectRoundTrip(int entry, int count) {
  const TrayMenuPlace place = TrayPlaceOfEntry(entry, count);
  EXPECT_EQ(TrayEntryAtPlace(place, count), entry) << "entry " << entry << " of " << count;
}

TEST(TrayMenuLayout, UpToAThousandEntriesFollowTheFixedRows) {
  for (int count : {1, 999, 1000}) {
    EXPECT_EQ(TrayPlaceOfEntry(0, count), (TrayMenuPlace{-1, TrayEntryBase}));
    EXPECT_EQ(TrayPlaceOfEntry(count - 1, count), (TrayMenuPlace{-1, TrayEntryBase + count - 1}));
    for (int entry : {0, count / 2, count - 1}) ExpectRoundTrip(entry, count);
  }
  // The fixed rows and places past the last entry hold no entry.
  for (int position = 0; position < TrayEntryBase; ++position) EXPECT_EQ(TrayEntryAtPlace({-1, position}, 999), -1);
  EXPECT_EQ(TrayEntryAtPlace({-1, TrayEntryBase + 999}, 999), -1);
  EXPECT_EQ(TrayEntryAtPlace({0, 0}, 999), -1);
}

TEST(TrayMenuLayout, AboveAThousandEntriesStandInPages) {
  EXPECT_EQ(TrayPlaceOfEntry(0, 1001), (TrayMenuPlace{0, 0}));
  EXPECT_EQ(TrayPlaceOfEntry(999, 1001), (TrayMenuPlace{0, 999}));
  EXPECT_EQ(TrayPlaceOfEntry(1000, 1001), (TrayMenuPlace{1, 0}));
  EXPECT_EQ(TrayPlaceOfEntry(99999, 100000), (TrayMenuPlace{99, 999}));
  EXPECT_EQ(TrayPlaceOfEntry(54321, 100000), (TrayMenuPlace{54, 321}));
  for (int entry : {0, 999, 1000}) ExpectRoundTrip(entry, 1001);
  for (int entry : {0, 1, 999, 1000, 1001, 50000, 99000, 99999}) ExpectRoundTrip(entry, 100000);
  // In pages the menu itself holds no entry row, and the last page ends with the entries.
  EXPECT_EQ(TrayEntryAtPlace({-1, TrayEntryBase}, 1001), -1);
  EXPECT_EQ(TrayEntryAtPlace({1, 1}, 1001), -1);
  EXPECT_EQ(TrayEntryAtPlace({100, 0}, 100000), -1);
  EXPECT_EQ(TrayEntryAtPlace({0, -1}, 100000), -1);
}

TEST(TrayMenuLayout, PageCaptionsCountFromOne) {
  EXPECT_EQ(TrayPageCaption(0, 1001), u"第1-1000条");
  EXPECT_EQ(TrayPageCaption(1, 1001), u"第1001-1001条");
  EXPECT_EQ(TrayPageCaption(99, 100000), u"第99001-100000条");
  EXPECT_EQ(TrayPageCaption(4, 4500), u"第4001-4500条");
}

}  // namespace
