// The decisions behind the drag move and the search, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/reorder/drag_move.h"
#include "app/reorder/entry_search.h"
#include "app/reorder/list_sort.h"

using namespace app;

TEST(DragMove, NewIndexOfTheDroppedEntry) {
  EXPECT_EQ(DragMoveNewIndex(2, 5), 4);
  EXPECT_EQ(DragMoveNewIndex(5, 2), 2);
  EXPECT_EQ(DragMoveNewIndex(0, 1), -1);  // dropped on the next row: it stays
  EXPECT_EQ(DragMoveNewIndex(3, 3), -1);
  EXPECT_EQ(DragMoveNewIndex(3, -1), -1);  // off the rows
  EXPECT_EQ(DragMoveNewIndex(-1, 3), -1);
}

TEST(DragGesture, OnlyAPressOnRowTextMovedBeyondTheDragDistanceDrags) {
  DragGesture g;
  g.Press(3, true, 50, 60);
  EXPECT_FALSE(g.Move(53, 62, true, 4, 4));  // within the distance: still a click
  EXPECT_FALSE(g.Dragging());
  EXPECT_EQ(g.Release(), -1);

  g.Press(3, true, 50, 60);
  EXPECT_TRUE(g.Move(50, 64, true, 4, 4));
  EXPECT_FALSE(g.Move(50, 90, true, 4, 4));  // starts once
  EXPECT_EQ(g.DragRow(), 3);
  EXPECT_EQ(g.Release(), 3);
  EXPECT_FALSE(g.Dragging());

  g.Press(3, false, 5, 60);  // on the check box
  EXPECT_FALSE(g.Move(5, 120, true, 4, 4));
  g.Press(-1, true, 50, 400);  // below the rows
  EXPECT_FALSE(g.Move(50, 100, true, 4, 4));
  g.Press(2, true, 50, 40);
  EXPECT_FALSE(g.Move(90, 40, false, 4, 4));  // the button went up unseen: no drag later
  EXPECT_FALSE(g.Move(90, 40, true, 4, 4));

  g.Press(2, true, 50, 40);
  ASSERT_TRUE(g.Move(50, 80, true, 4, 4));
  g.Cancel();  // Esc
  EXPECT_FALSE(g.Dragging());
  EXPECT_EQ(g.Release(), -1);
}

namespace {
struct Search {
  std::vector<std::u16string> texts;
  FindState state;
  FindOutcome find(std::u16string_view what, int selected, bool wholeWord = false) {
    return FindEntry(state, what, wholeWord, selected, static_cast<int>(texts.size()),
                     [&](int row) { return std::u16string_view(texts[static_cast<std::size_t>(row)]); });
  }
};
}  // namespace

TEST(EntrySearch, FromTheSelectedRowDownSameTextGoesOnBelowTheHit) {
  Search s{{u"alpha", u"beta Alpha", u"gamma alpha", u"alpha", u"delta"}, {}};
  FindOutcome hit = s.find(u"alpha", 1);
  EXPECT_EQ(hit.verdict, FindVerdict::Found);
  EXPECT_EQ(hit.row, 2);  // case counts: "Alpha" in row 1 is no match
  hit = s.find(u"alpha", 2);  // the same text again from the hit: one row below
  EXPECT_EQ(hit.row, 3);
  hit = s.find(u"gamma", 3);  // another text starts at the selected row
  EXPECT_EQ(hit.verdict, FindVerdict::NotFound);
  hit = s.find(u"alpha", 0, true);  // whole word: the entry must equal it
  EXPECT_EQ(hit.row, 0);
  hit = s.find(u"alpha", 0, true);
  EXPECT_EQ(hit.row, 3);
  ResetFind(s.state);
  EXPECT_EQ(s.find(u"alpha", 3).row, 3);
}

TEST(EntrySearch, EmptyTextAndNoStartRow) {
  Search s{{u"a", u"b"}, {}};
  EXPECT_EQ(s.find(u"", 0).verdict, FindVerdict::EmptyText);
  EXPECT_EQ(s.find(u"b", -1).verdict, FindVerdict::NoStart);
  EXPECT_EQ(s.state.FindLastText, u"b");
  EXPECT_EQ(findtext::NotFoundText(u"找"), u"没有找到指定文本！  找");
}

TEST(CaptionSort, StableAndCaseInsensitive) {
  const std::vector<std::u16string_view> captions = {u"b", u"A", u"a", u"B", u"a"};
  EXPECT_EQ(CaptionSortOrder(captions), (std::vector<int>{1, 2, 4, 0, 3}));
  EXPECT_EQ(InversePermutation(std::vector<int>{1, 2, 4, 0, 3}), (std::vector<int>{3, 0, 1, 4, 2}));
}
