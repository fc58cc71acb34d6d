// Caret moves, selection, bookmarks, the selection-changed burst, the grid and the mouse.
#include <gtest/gtest.h>

#include <vector>

#include "editor_test_support.h"
#include "hexedit/hx_errors.h"

using namespace hexedit;

namespace {
void Load(TestEditor& e, std::size_t size) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(i);
  e.LoadFromBuffer(b);
}
}  // namespace

TEST(Keys, LeftAndRightStepDigitsInTheHexFieldAndBytesInTheCharacterField) {
  TestEditor e;
  Load(e, 40);
  e.Key(keys::Right);
  EXPECT_EQ(e.CaretPosition(), 0);
  EXPECT_TRUE(e.SecondDigit());
  e.Key(keys::Right);
  EXPECT_EQ(e.CaretPosition(), 1);
  EXPECT_FALSE(e.SecondDigit());
  e.Key(keys::Left);
  EXPECT_TRUE(e.SecondDigit());
  e.Key(keys::Tab);
  EXPECT_TRUE(e.InCharField());
  e.Key(keys::Right);
  EXPECT_EQ(e.CaretPosition(), 1);
  e.Key(keys::Right);
  EXPECT_EQ(e.CaretPosition(), 2);
  e.Key('T', false, true);
  EXPECT_FALSE(e.InCharField());
  // Ctrl+Right: the row's last column; Ctrl+Left: its first.
  e.Key(keys::Right, false, true);
  EXPECT_EQ(e.CaretPosition(), 15);
  e.Key(keys::Left, false, true);
  EXPECT_EQ(e.CaretPosition(), 0);
}

TEST(Keys, RowsPagesHomeEnd) {
  TestEditor e;
  Load(e, 100);  // 7 rows of 16, the last with 4 bytes
  e.SetVisibleRows(3);
  e.Key(keys::Down);
  EXPECT_EQ(e.CaretPosition(), 16);
  e.Key(keys::Right);
  e.Key(keys::Right);  // byte 17
  e.Key(keys::End);
  EXPECT_EQ(e.CaretPosition(), 31);
  e.Key(keys::Home);
  EXPECT_EQ(e.CaretPosition(), 16);
  e.Key(keys::PageDown);
  EXPECT_EQ(e.CaretPosition(), 64);
  e.Key(keys::Down);
  e.Key(keys::Down);  // row 6 holds bytes 96..99
  EXPECT_EQ(e.CaretPosition(), 96);
  e.Key(keys::Down);
  EXPECT_EQ(e.CaretPosition(), 96);
  e.Key(keys::Right, false, true);
  EXPECT_EQ(e.CaretPosition(), 99);
  e.Key(keys::Up);
  EXPECT_EQ(e.CaretPosition(), 83);
  e.Key(keys::PageUp, false, true);  // the top visible row
  EXPECT_EQ(e.CaretPosition() / 16, e.TopRow());
  e.Key(keys::Home, false, true);
  EXPECT_EQ(e.CaretPosition(), 0);
  EXPECT_EQ(e.TopRow(), 0);
}

TEST(Keys, CtrlEndStopsOnTheLastByteOrJustAfterIt) {
  TestEditor e;
  Load(e, 10);
  e.Key(keys::End, false, true);
  EXPECT_EQ(e.CaretPosition(), 9);
  e.Key(keys::Insert);
  EXPECT_TRUE(e.InsertMode());
  e.Key(keys::End, false, true);
  EXPECT_EQ(e.CaretPosition(), 10);
  e.Key(keys::Insert);
  EXPECT_EQ(e.CaretPosition(), 9);  // leaving insert mode brings the caret back onto the data
  e.SetAllowInsertMode(false);
  e.Key(keys::Insert);
  EXPECT_FALSE(e.InsertMode());
}

TEST(Keys, ShiftMovesSelectByUnits) {
  TestEditor e;
  Load(e, 64);
  e.Key(keys::Right, true);
  EXPECT_EQ(e.GetSelCount(), 2);
  EXPECT_EQ(e.SelectionLow(), 0);
  e.Key(keys::Down, true);
  EXPECT_EQ(e.GetSelEnd(), 17);
  e.Key(keys::Left);  // a plain key ends the selection
  EXPECT_FALSE(e.HasSelection());
  e.SetBytesPerUnit(4);
  e.Seek(5, 0);
  e.Key(keys::Right, true);
  EXPECT_EQ(e.CaretPosition(), 8);  // to the next unit boundary
  e.Key(keys::Right, true);
  EXPECT_EQ(e.CaretPosition(), 12);
  EXPECT_EQ(e.GetSelCount(), 8);
}

TEST(Selection, StartEndAllAndSeek) {
  TestEditor e;
  e.SelectAll();  // empty: nothing
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.Seek(3, 0), -1);
  Load(e, 20);
  EXPECT_THROW(e.SetSelStart(20), EHexEditor);
  EXPECT_THROW(e.SetSelStart(-1), EHexEditor);
  EXPECT_THROW(e.SetSelEnd(20), EHexEditor);
  EXPECT_THROW(e.SetSelEnd(-2), EHexEditor);
  e.SetSelStart(10);
  e.SetSelEnd(4);
  EXPECT_EQ(e.GetSelStart(), 10);
  EXPECT_EQ(e.GetSelEnd(), 4);
  EXPECT_EQ(e.GetSelCount(), 7);
  e.SetSelEnd(-1);
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.GetSelCount(), 0);
  EXPECT_EQ(e.Seek(-3, 2), 17);
  EXPECT_EQ(e.Seek(100, 1), 19);
  EXPECT_EQ(e.Seek(-100, 1), 0);
  e.SelectAll();
  EXPECT_EQ(e.CaretPosition(), 19);
  EXPECT_EQ(e.GetSelCount(), 20);
}

TEST(Selection, ABurstOfChangesGivesOneEvent) {
  TestEditor e;
  Load(e, 100);
  e.DeliverMessages();
  int events = 0;
  e.OnSelectionChanged = [&] { ++events; };
  const int posted = e.postedSelectionMessages;
  for (int i = 0; i < 10; ++i) e.SetSelStart(i);
  EXPECT_EQ(e.postedSelectionMessages - posted, 1);
  e.DeliverMessages();
  EXPECT_EQ(events, 1);
  e.SetSelEnd(50);
  e.DeliverMessages();
  EXPECT_EQ(events, 2);
}

TEST(Bookmarks, SetGoToggleAndFollowTheData) {
  TestEditor e;
  Load(e, 50);
  int changes = 0;
  e.OnBookmarkChanged = [&] { ++changes; };
  e.Seek(20, 0);
  e.Key('3', true, true);
  EXPECT_EQ(e.GetBookmark(3), (Bookmark{20, false}));
  e.Seek(0, 0);
  e.Key('3', false, true);
  EXPECT_EQ(e.CaretPosition(), 20);
  e.Key('3', true, true);  // standing on it: removed
  EXPECT_EQ(e.GetBookmark(3).position, -1);
  EXPECT_THROW(e.GetBookmark(10), EHexEditor);
  EXPECT_THROW(e.SetBookmark(-1, 0, false), EHexEditor);
  e.SetBookmark(1, 30, true);
  e.SetBookmark(2, 49, false);
  changes = 0;
  e.InsertBuffer(BytesOf("abc"), 10);
  EXPECT_EQ(e.GetBookmark(1).position, 33);
  EXPECT_EQ(e.GetBookmark(2).position, 52);
  e.DeleteBytes(0, 40);  // bookmark 1 would move before the data
  EXPECT_EQ(e.GetBookmark(1).position, -1);
  EXPECT_EQ(e.GetBookmark(2).position, 12);
  EXPECT_EQ(changes, 2);
}

TEST(Bookmarks, OneOnADeletedByteGoesAwayAndTheOthersShift) {
  TestEditor e;
  Load(e, 40);
  const auto positions = [&] {
    std::vector<std::int64_t> p;
    for (int i = 0; i < 5; ++i) p.push_back(e.GetBookmark(i).position);
    return p;
  };
  const auto mark = [&](std::vector<std::int64_t> at) {
    for (int i = 0; i < 5; ++i) e.SetBookmark(i, at[static_cast<std::size_t>(i)], false);
  };
  mark({5, 10, 15, 19, 25});
  e.DeleteBytes(10, 10);
  EXPECT_EQ(positions(), (std::vector<std::int64_t>{5, -1, -1, -1, 15}));
  // A replace that shrinks: the bytes written over keep their bookmarks, the ones cut off lose them.
  Load(e, 40);
  mark({5, 10, 12, 13, 25});
  e.SetSelStart(10);
  e.SetSelEnd(14);
  e.ReplaceSelection(BytesOf("abc"));
  EXPECT_EQ(positions(), (std::vector<std::int64_t>{5, 10, 12, -1, 23}));
  // Undoing an insert deletes the inserted bytes, and the bookmarks set on them.
  Load(e, 40);
  e.InsertBuffer(BytesOf("abcd"), 10);
  mark({5, 11, 13, 14, 30});
  e.Undo();
  EXPECT_EQ(positions(), (std::vector<std::int64_t>{5, -1, -1, 10, 26}));
}

TEST(Grid, RowsColumnsAndCells) {
  TestEditor e;
  EXPECT_EQ(e.RowCount(), 3);
  EXPECT_EQ(e.ColCount(), 3 * 16 + 3);
  Load(e, 32);
  EXPECT_EQ(e.RowCount(), 4);
  e.SetInsertMode(true);
  EXPECT_EQ(e.RowCount(), 5);  // the position after the last byte gets a row
  EXPECT_EQ(e.CellOf(17, false, true), (GridCell{2 + 2 + 1, 3}));
  EXPECT_EQ(e.CellOf(17, true, false), (GridCell{2 + 32 + 1 + 1, 3}));
  const auto target = e.TargetOf({2 + 32 + 1 + 5, 2});
  ASSERT_TRUE(target);
  EXPECT_EQ(target->position, 5);
  EXPECT_TRUE(target->charField);
  EXPECT_FALSE(e.TargetOf({1, 2}));
  EXPECT_FALSE(e.TargetOf({2 + 32, 2}));  // the separator
  EXPECT_FALSE(e.TargetOf({5, 1}));
  EXPECT_EQ(e.HexDigitOf(17, false), '1');
  EXPECT_EQ(e.HexDigitOf(26, true), 'A');
  e.SetHexLowerCase(true);
  EXPECT_EQ(e.HexDigitOf(26, true), 'a');
  EXPECT_THROW(e.SetBytesPerRow(0), EHexEditor);
  EXPECT_THROW(e.SetBytesPerColumn(257), EHexEditor);
  EXPECT_THROW(e.SetRulerBytesPerUnit(3), EHexEditor);
  e.SetRulerBytesPerUnit(2);
  EXPECT_EQ(e.RulerText(3), u"0003");
}

TEST(Grid, ChineseBytesShareTwoCellsOnlyWithinOneRow) {
  TestEditor e;
  e.SetBytesPerRow(4);
  // "A中文" then a lead byte at the end of row 1 whose trail starts row 2.
  e.LoadFromBuffer(Bytes{'A', 0xD6, 0xD0, 0xCE, 0xC4, 0x01, 'c', 0xD6, 0xD0, 0x01});
  std::vector<CharCell> row = e.CharCellsOfRow(0);
  EXPECT_EQ(row[0].text, u"A");
  EXPECT_EQ(row[1].text, u"中");
  EXPECT_EQ(row[1].span, 2);
  EXPECT_EQ(row[2].span, 0);
  EXPECT_EQ(row[3].text, u".");  // 0xCE: its trail byte is in the next row
  row = e.CharCellsOfRow(1);
  EXPECT_EQ(row[0].text, u".");  // 0xC4 alone
  EXPECT_EQ(row[3].text, u".");
  row = e.CharCellsOfRow(2);
  EXPECT_EQ(row[0].text, u".");  // 0xD0 alone: no pair in its row
  EXPECT_EQ(row[1].text, u".");  // control byte
  EXPECT_EQ(row[2].text, u"");
  e.SetMaskChar(u'*');
  EXPECT_EQ(e.CharCellsOfRow(2)[1].text, u"*");
}

TEST(Mouse, PressMovesDragSelectsAndAClickInTheSelectionEndsIt) {
  TestEditor e;
  Load(e, 64);
  e.MouseDown({2 + 2 * 3, 2}, {}, false);  // byte 3, first digit
  EXPECT_EQ(e.CaretPosition(), 3);
  e.MouseMove({2 + 2 * 5, 3});  // byte 21
  e.MouseUp({2 + 2 * 5, 3});
  EXPECT_EQ(e.SelectionLow(), 3);
  EXPECT_EQ(e.GetSelCount(), 19);
  // Beyond the view: the selection stops at the data's edge.
  e.MouseDown({2 + 2 * 3, 2}, {true, false, false}, false);
  e.MouseMove({999, 999});
  e.MouseUp({999, 999});
  EXPECT_EQ(e.GetSelEnd(), 63);
  // A press inside the selection may start a drag; released in place it ends the selection.
  e.MouseDown({2 + 2 * 10, 2}, {}, false);
  EXPECT_TRUE(e.DragPending());
  EXPECT_TRUE(e.HasSelection());
  e.MouseUp({2 + 2 * 10, 2});
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.CaretPosition(), 10);
  // The gutter and the ruler do nothing.
  e.MouseDown({0, 4}, {}, false);
  e.MouseDown({5, 0}, {}, false);
  EXPECT_EQ(e.CaretPosition(), 10);
}

TEST(CellStyle, ColumnColoursChangesSelectionAndTheCaretFrame) {
  TestEditor e;
  Load(e, 32);
  const ColorResolver resolve = [](TColor) { return 0xFFFFFF; };
  EXPECT_EQ(e.StyleOf(0, false, true, resolve).text, e.Colors().OddColumn);
  EXPECT_EQ(e.StyleOf(2, false, true, resolve).text, e.Colors().EvenColumn);
  EXPECT_TRUE(e.StyleOf(0, false, true, resolve).frame);
  EXPECT_FALSE(e.StyleOf(0, true, true, resolve).frame);
  e.SetFocusFrame(true);
  EXPECT_TRUE(e.StyleOf(0, true, true, resolve).frame);
  EXPECT_FALSE(e.StyleOf(0, false, false, resolve).frame);
  e.SetShowPositionIfNotFocused(true);
  EXPECT_EQ(e.StyleOf(0, false, false, resolve).frameColor, e.Colors().NonFocusCursorFrame);
  e.ChangeBytes(4, {9});
  EXPECT_EQ(e.StyleOf(4, false, true, resolve).background, e.Colors().ChangedBackground);
  e.SetSelStart(8);
  e.SetSelEnd(9);
  const CellStyle selected = e.StyleOf(8, false, true, resolve);
  EXPECT_EQ(selected.background, 0);  // the resolved window colour inverted
  EXPECT_EQ(selected.text, InverseColor(e.Colors().OddColumn, resolve));
  e.SetGraySelectionIfNotFocused(true);
  const CellStyle grey = e.StyleOf(8, false, false, resolve);
  EXPECT_EQ(grey.text, GrayColor(InverseColor(e.Colors().OddColumn, resolve), resolve));
  e.SetHideSelection(true);
  EXPECT_EQ(e.StyleOf(8, false, false, resolve).background, e.Colors().Background);
}
