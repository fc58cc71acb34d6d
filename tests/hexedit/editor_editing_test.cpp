// Editing the data: typing in both fields and modes, deleting, replacing, nibble shifts,
// and undo/redo bringing back data, caret, field, nibble, selection, modes and marks.
#include <gtest/gtest.h>

#include "editor_test_support.h"
#include "hexedit/hx_errors.h"

using namespace hexedit;

TEST(Typing, HexDigitsReplaceNibblesInOverwriteMode) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("ABCD"));
  e.Type(u"4f");
  EXPECT_EQ(e.Text(), "OBCD");  // 0x4F
  EXPECT_EQ(e.CaretPosition(), 1);
  EXPECT_FALSE(e.SecondDigit());
  e.Type(u"x");  // not a hex digit
  EXPECT_EQ(e.Text(), "OBCD");
  EXPECT_TRUE(e.ByteChanged(0));
  EXPECT_FALSE(e.ByteChanged(1));
  EXPECT_TRUE(e.Modified());
  // Swapped nibbles: the first digit typed is the low nibble.
  e.SetSwapNibbles(true);
  e.Type(u"1");
  EXPECT_EQ(e.ByteAt(1), 0x41);  // 'B' = 0x42: low nibble 1
}

TEST(Typing, HexDigitsInInsertModeStartNewUnits) {
  TestEditor e;
  e.SetInsertMode(true);
  e.Type(u"41");  // into the empty editor
  e.Type(u"4");
  EXPECT_EQ(e.Text(), std::string("A@"));  // the new unit holds 0x40 until its second digit
  e.Type(u"2");
  EXPECT_EQ(e.Text(), "AB");
  EXPECT_EQ(e.CaretPosition(), 2);
}

TEST(Typing, CharactersInBothModesAndAChineseCharacterTakesTwoBytes) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("abc"));
  e.Key(keys::Tab);
  ASSERT_TRUE(e.InCharField());
  e.Type(u"X");
  EXPECT_EQ(e.Text(), "Xbc");
  e.SetInsertMode(true);
  e.Type(u"中");
  EXPECT_EQ(e.Text(), "X\xD6\xD0" "bc");
  EXPECT_EQ(e.CaretPosition(), 3);
  // Control characters are ignored; a character the code page lacks is an invalid key.
  int invalid = 0;
  e.OnInvalidKey = [&] { ++invalid; };
  e.KeyPress(u'\x07');
  e.KeyPress(u'\u1E9E');
  EXPECT_EQ(invalid, 1);
  EXPECT_EQ(e.Text(), "X\xD6\xD0" "bc");
}

TEST(Typing, UnicodeModeWritesSixteenBitCharacters) {
  TestEditor e;
  e.LoadFromBuffer(Bytes{0x41, 0x00, 0x42, 0x00});
  e.SetUnicodeChars(true);
  EXPECT_EQ(e.BytesPerUnit(), 2);
  e.Key(keys::Tab);
  e.Type(u"中");
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x2D, 0x4E, 0x42, 0x00}));
  EXPECT_EQ(e.CaretPosition(), 2);
  e.SetUnicodeBigEndian(true);
  e.Type(u"A");
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x2D, 0x4E, 0x00, 0x41}));
  EXPECT_THROW(e.SetTranslation(THxTranslationKind::tkMac), EHexEditor);
  TestEditor odd;
  odd.LoadFromBuffer(Bytes{1, 2, 3});
  EXPECT_THROW(odd.SetUnicodeChars(true), EHexEditor);
}

TEST(Deleting, AtTheEdgesOfTheDataNothingHappens) {
  TestEditor e;
  e.SetInsertMode(true);
  e.Key(keys::Delete);
  e.Key(keys::Back);
  e.KeyPress(u'\b');
  EXPECT_EQ(e.DataSize(), 0u);
  e.LoadFromBuffer(BytesOf("ab"));
  e.SetInsertMode(true);
  e.Key(keys::Back);  // at the start
  EXPECT_EQ(e.Text(), "ab");
  e.Key(keys::End, false, true);
  EXPECT_EQ(e.CaretPosition(), 2);
  e.Key(keys::Delete);  // at the end
  EXPECT_EQ(e.Text(), "ab");
  e.Key(keys::Back);
  EXPECT_EQ(e.Text(), "a");
  EXPECT_EQ(e.CaretPosition(), 1);
}

TEST(Deleting, DeleteNeedsInsertModeOrCtrlAndTakesTheSelectionFirst) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("abcdef"));
  e.Key(keys::Delete);
  EXPECT_EQ(e.Text(), "abcdef");  // overwrite mode, no Ctrl
  e.Key(keys::Delete, false, true);
  EXPECT_EQ(e.Text(), "bcdef");
  e.SetSelStart(1);
  e.SetSelEnd(3);
  e.Key(keys::Delete);
  EXPECT_EQ(e.Text(), "bf");
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.CaretPosition(), 1);
}

TEST(ReadOnlyView, RefusesEveryUserChangeButMovingSelectingAndLoading) {
  TestEditor e;
  e.SetReadOnlyView(true);
  e.LoadFromString("\xD6\xD0 text");  // a program load goes through
  EXPECT_EQ(e.Text(), "\xD6\xD0 text");
  const std::string before = e.Text();
  e.Type(u"41");
  e.Key(keys::Tab);
  e.Type(u"zz");
  e.SetInsertMode(true);
  e.Type(u"zz");
  e.Key(keys::Delete);
  e.Key(keys::Delete, false, true);
  e.Key(keys::Back);
  e.Key('A', false, true);
  e.Key('X', false, true);
  e.Key(keys::Delete);
  e.Key(keys::Back);
  EXPECT_FALSE(e.ReplaceSelection(BytesOf("q")));
  EXPECT_FALSE(e.Undo());
  EXPECT_EQ(e.Text(), before);
  EXPECT_EQ(e.GetSelCount(), 7);  // Ctrl+A still selects
  EXPECT_EQ(e.GetSelectionAsHex(), "D6D02074657874");
}

TEST(LoadFromString, ReplacesTheWholeDataAndTranslates) {
  TestEditor e;
  e.LoadFromString("first");
  e.LoadFromString("AB");
  EXPECT_EQ(e.Text(), "AB");
  EXPECT_EQ(e.CaretPosition(), 0);
  EXPECT_FALSE(e.Modified());  // a program load is no change of the user's
  EXPECT_FALSE(e.ByteChanged(0));
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.UndoDescription(), "Replace");
  e.SetTranslation(THxTranslationKind::tkBCD);
  e.LoadFromString("AB");
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0xC1, 0xC2}));
  e.LoadFromString("");
  EXPECT_EQ(e.DataSize(), 0u);
}

TEST(Selection, AsHexAndAsTextAreEmptyWithoutOne) {
  TestEditor e;
  EXPECT_EQ(e.GetSelectionAsHex(), "");
  e.LoadFromBuffer(Bytes{0x41, 0x00, 0x42});
  EXPECT_EQ(e.GetSelectionAsText(), "");
  e.SelectAll();
  EXPECT_EQ(e.GetSelectionAsHex(), "410042");
  EXPECT_EQ(e.GetSelectionAsText(), std::string("A\0B", 3));
  e.SetSwapNibbles(true);
  EXPECT_EQ(e.GetSelectionAsHex(), "140024");
}

TEST(NoSizeChange, OnlySameSizeChangesPass) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("abcd"));
  e.SetNoSizeChange(true);
  e.SetInsertMode(true);
  e.Key(keys::Tab);
  e.Type(u"z");
  EXPECT_EQ(e.Text(), "abcd");
  e.SetSelStart(0);
  e.SetSelEnd(1);
  EXPECT_TRUE(e.ReplaceSelection(BytesOf("XYZ")));  // cut to the selection's size
  EXPECT_EQ(e.Text(), "XYcd");
  EXPECT_FALSE(e.DeleteBytes(0, 1));
  EXPECT_FALSE(e.InsertNibble(0, true));
  EXPECT_FALSE(e.CanCut());
}

TEST(Nibbles, ShiftTheRestOfTheDataAndUndoExactly) {
  TestEditor e;
  e.LoadFromBuffer(Bytes{0x12, 0x34, 0x56});
  ASSERT_TRUE(e.InsertNibble(1, true));
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x03, 0x45, 0x60}));
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x34, 0x56}));
  ASSERT_TRUE(e.DeleteNibble(0, false));
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x13, 0x45}));
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x34, 0x56}));
  ASSERT_TRUE(e.DeleteNibble(2, true));  // the last byte's nibble
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x34}));
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x34, 0x56}));
  ASSERT_TRUE(e.Redo());
  EXPECT_EQ(e.Data().Bytes(), (Bytes{0x12, 0x34}));
}

TEST(Undo, RestoresDataCaretFieldNibbleSelectionModesAndMarks) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("0123456789"));
  // A byte changed in the hex field, on its second digit.
  e.MoveCaret(2, false, true, false);
  e.Type(u"F");
  EXPECT_EQ(e.ByteAt(2), 0x3F);
  EXPECT_EQ(e.CaretPosition(), 3);
  // A selection deleted in insert mode from the character field.
  e.SetInsertMode(true);
  e.Key(keys::Tab);
  e.SetSelStart(5);
  e.SetSelEnd(7);
  e.SetTranslation(THxTranslationKind::tkMac);
  e.Key(keys::Delete);
  EXPECT_EQ(e.Text(), "01?3489");
  e.SetInsertMode(false);
  e.SetTranslation(THxTranslationKind::tkAsIs);

  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Text(), "01?3456789");
  EXPECT_TRUE(e.InsertMode());
  EXPECT_TRUE(e.InCharField());
  EXPECT_EQ(e.Translation(), THxTranslationKind::tkMac);
  EXPECT_EQ(e.GetSelStart(), 5);
  EXPECT_EQ(e.GetSelEnd(), 7);
  EXPECT_EQ(e.UndoDescription(), "Change Byte(s)");

  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Text(), "0123456789");
  EXPECT_EQ(e.CaretPosition(), 2);
  EXPECT_FALSE(e.InCharField());
  EXPECT_TRUE(e.SecondDigit());
  EXPECT_FALSE(e.InsertMode());
  EXPECT_FALSE(e.HasSelection());
  EXPECT_FALSE(e.ByteChanged(2));
  EXPECT_FALSE(e.Modified());
  EXPECT_FALSE(e.CanUndo());

  // Redo keeps one step: the last undone.
  ASSERT_TRUE(e.Redo());
  EXPECT_EQ(e.ByteAt(2), 0x3F);
  EXPECT_TRUE(e.ByteChanged(2));
  EXPECT_FALSE(e.Redo());
}

TEST(Undo, AGroupUndoesAsOneStep) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("abcdef"));
  e.BeginUndoUpdate("Data Moved");
  e.DeleteBytes(0, 2);
  e.InsertBuffer(BytesOf("ab"), 4);
  e.EndUndoUpdate();
  EXPECT_EQ(e.Text(), "cdefab");
  EXPECT_EQ(e.UndoDescription(), "Data Moved");
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Text(), "abcdef");
  EXPECT_FALSE(e.CanUndo());
  ASSERT_TRUE(e.Redo());
  EXPECT_EQ(e.Text(), "cdefab");
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.Text(), "abcdef");
}

TEST(Undo, ReplaceAppendAndConvertComeBack) {
  TestEditor e;
  e.LoadFromBuffer(BytesOf("hello"));
  e.SetSelStart(1);
  e.SetSelEnd(3);
  e.ReplaceSelection(BytesOf("EYYY"), "Paste from Clipboard");
  EXPECT_EQ(e.Text(), "hEYYYo");
  EXPECT_EQ(e.UndoDescription(), "Paste from Clipboard");
  e.AppendBuffer(BytesOf("!"));
  e.ConvertRange(0, 1, THxTranslationKind::tkAsIs, THxTranslationKind::tkBCD);
  EXPECT_EQ(e.ByteAt(0), 0x88);  // 'h' in EBCDIC
  e.Undo();
  EXPECT_EQ(e.Text(), "hEYYYo!");
  e.Undo();
  EXPECT_EQ(e.Text(), "hEYYYo");
  e.Undo();
  EXPECT_EQ(e.Text(), "hello");
  EXPECT_EQ(e.GetSelCount(), 3);
}

TEST(Undo, TheStorageNeverExceedsMaxUndo) {
  TestEditor e;
  e.LoadFromBuffer(Bytes(4096, 0));
  e.SetMaxUndo(1000);
  for (int i = 0; i < 200; ++i) {
    e.MoveCaret(i, false, false, false);
    e.Type(u"1");
    ASSERT_LE(e.UndoStorage().StorageSize(), 1000u);
  }
  int undone = 0;
  while (e.Undo()) ++undone;
  EXPECT_EQ(undone, 1000 / 31);
  EXPECT_EQ(e.ByteAt(199), 0);
  EXPECT_EQ(e.ByteAt(0), 0x10);  // trimmed away: no longer undoable
}
