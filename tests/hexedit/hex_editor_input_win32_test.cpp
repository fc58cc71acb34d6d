// The hex editor window with real key and mouse input: typing in both fields and modes,
// nibbles, undo, the read-only view, the mouse, the scroll bar and the drawn cells.
#include "control_fixture_win32.h"

namespace hexedit {
namespace {

TEST_F(EditorWindowTest, TypingInBothFieldsAndModesThenUndo) {
  editor_.LoadFromBuffer(Bytes{'A', 'B', 'C', 'D'});
  TypeText(u"4f");  // two nibbles of byte 0
  EXPECT_EQ(Text(editor_), "OBCD");
  TypeText(u"6");  // the first nibble of byte 1
  EXPECT_EQ(editor_.ByteAt(1), 0x62);
  EXPECT_TRUE(editor_.SecondDigit());
  PressKey(VK_TAB);
  ASSERT_TRUE(editor_.InCharField());
  TypeText(u"xy");
  EXPECT_EQ(Text(editor_), "OxyD");
  PressKey(VK_INSERT);
  ASSERT_TRUE(editor_.InsertMode());
  TypeText(u"中");
  EXPECT_EQ(Text(editor_), "Oxy\xD6\xD0" "D");
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  EXPECT_EQ(Text(editor_), "OxyD");
  PressKey('Z', {VK_CONTROL});
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(Text(editor_), "Oxy\xD6\xD0" "D");
  PressKey('Z', {VK_CONTROL, VK_SHIFT});  // redo the last undone step
  EXPECT_EQ(Text(editor_), "Oxy\xD6" "D");
  for (int i = 0; i < 8; ++i) PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(Text(editor_), "ABCD");
  EXPECT_FALSE(editor_.Modified());
  EXPECT_FALSE(editor_.CanUndo());
}

TEST_F(EditorWindowTest, TheViewersSettingsRefuseTypingDeleteBackspaceCutAndPaste) {
  // As the entry viewer sets its hex view up.
  editor_.SetPropertiesFromText(
      u"ReadOnlyView=True\r\nBytesPerRow=16\r\nTranslation=tkAsIs\r\nOffsetFormat=-!10:0x|\r\n"
      u"FocusFrame=True\r\nDrawGridLines=False\r\n");
  ASSERT_TRUE(editor_.ReadOnlyView());
  editor_.LoadFromString("\xD6\xD0\xCE\xC4" "abc");
  const std::string loaded = Text(editor_);
  ASSERT_EQ(loaded.size(), 7u);
  TypeText(u"12");
  PressKey(VK_TAB);
  TypeText(u"zz");
  PressKey(VK_INSERT);
  TypeText(u"zz");
  PressKey(VK_DELETE);
  PressKey(VK_DELETE, {VK_CONTROL});
  PressKey(VK_BACK);
  PressKey('A', {VK_CONTROL});
  EXPECT_EQ(editor_.GetSelCount(), 7);  // selecting works
  PressKey('X', {VK_CONTROL});
  PressKey(VK_DELETE);
  PressKey(VK_BACK);
  OpenClipboard(window_);
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(g), "xyz", 4);
  GlobalUnlock(g);
  SetClipboardData(CF_TEXT, g);
  CloseClipboard();
  PressKey('V', {VK_CONTROL});
  EXPECT_EQ(Text(editor_), loaded);
  EXPECT_EQ(editor_.UndoStorage().Count(), 1);  // the load alone
  // Moving and copying work.
  PressKey(VK_HOME, {VK_CONTROL});
  PressKey(VK_RIGHT, {VK_SHIFT});
  EXPECT_EQ(editor_.GetSelCount(), 2);
  PressKey('C', {VK_CONTROL});
  OpenClipboard(window_);
  HANDLE text = GetClipboardData(CF_TEXT);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "\xD6\xD0");
  GlobalUnlock(text);
  CloseClipboard();
}

TEST_F(EditorWindowTest, MouseClicksPlaceTheCaretAndShiftClickSelects) {
  Bytes data(64);
  for (int i = 0; i < 64; ++i) data[i] = static_cast<std::uint8_t>(i);
  editor_.LoadFromBuffer(data);
  Click(editor_, editor_.CellOf(18, false, true));
  EXPECT_EQ(editor_.CaretPosition(), 18);
  EXPECT_TRUE(editor_.SecondDigit());
  Click(editor_, editor_.CellOf(40, true, false), {VK_SHIFT});
  EXPECT_EQ(editor_.SelectionLow(), 18);
  EXPECT_EQ(editor_.GetSelCount(), 23);
  // A plain click in the selection ends it there.
  Click(editor_, editor_.CellOf(30, false, false));
  EXPECT_FALSE(editor_.HasSelection());
  EXPECT_EQ(editor_.CaretPosition(), 30);
}

TEST_F(EditorWindowTest, CtrlWheelChangesTheRowLengthButNotBelowOne) {
  editor_.LoadFromBuffer(Bytes(100, 1));
  SendMessageW(editor_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(editor_.BytesPerRow(), 15);
  editor_.SetBytesPerRow(1);
  SendMessageW(editor_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(editor_.BytesPerRow(), 1);
  SendMessageW(editor_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL | MK_SHIFT, WHEEL_DELTA), 0);
  EXPECT_EQ(editor_.Font().Size, 12);
}

TEST_F(EditorWindowTest, TenMegabytesScrollByRowsWithThirtyTwoBitPositions) {
  editor_.LoadFromBuffer(Bytes(10 * 1024 * 1024, 0x5A));
  EXPECT_EQ(editor_.DataRowCount(), 655360);
  PressKey(VK_END, {VK_CONTROL});
  PumpFor(50);
  SCROLLINFO si{sizeof si};
  si.fMask = SIF_ALL;
  GetScrollInfo(editor_.Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 655359);
  EXPECT_EQ(si.nPos, editor_.TopRow());
  EXPECT_GT(si.nPos, 655000);
  SendMessageW(editor_.Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(editor_.TopRow(), 0);
}

TEST_F(EditorWindowTest, TwoChineseCharactersDrawAsTwoDifferentCellImages) {
  editor_.LoadFromString("\xD6\xD0\xCE\xC4");  // 中文
  editor_.Seek(3, 0);
  UpdateWindow(editor_.Handle());
  PumpFor(100);
  const auto image = [&](int position) {
    RECT r = editor_.CellRect(editor_.CellOf(position, true, false));
    r.right += r.right - r.left;  // the character covers two cells
    HDC dc = GetDC(editor_.Handle());
    std::vector<COLORREF> pixels;
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      for (int x = r.left + 1; x < r.right - 1; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(editor_.Handle(), dc);
    return pixels;
  };
  const std::vector<COLORREF> first = image(0), second = image(2);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  const auto inked = [](const std::vector<COLORREF>& p) {
    return std::count_if(p.begin(), p.end(), [&](COLORREF c) { return c != p.front(); });
  };
  EXPECT_GT(inked(first), 10);
  EXPECT_GT(inked(second), 10);
}

TEST_F(EditorWindowTest, BookmarkGlyphsMustBeTenByTwoHundredPixels) {
  HBITMAP wrong = CreateBitmap(10, 100, 1, 32, nullptr);
  EXPECT_THROW(editor_.SetBookmarkBitmap(wrong), EHexEditor);
  DeleteObject(wrong);
  HBITMAP right = CreateBitmap(10, 200, 1, 32, nullptr);
  EXPECT_NO_THROW(editor_.SetBookmarkBitmap(right));
  DeleteObject(right);
}

TEST_F(EditorWindowTest, ABurstOfSelectionChangesGivesOneEventThroughTheMessage) {
  editor_.LoadFromBuffer(Bytes(100, 0));
  PumpFor(30);
  int events = 0;
  editor_.OnSelectionChanged = [&] { ++events; };
  for (int i = 0; i < 10; ++i) editor_.SetSelStart(i);
  EXPECT_EQ(events, 0);
  PumpFor(50);
  EXPECT_EQ(events, 1);
}

}  // namespace
}  // namespace hexedit
