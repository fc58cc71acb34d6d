// The entry text and hex viewer, driven as a user does: opened from the history list's
// context menu, switched to the hex view, its selection copied as hex through the hex view's
// own context menu, the text edited in the memo and saved back into the entry.
#include <gtest/gtest.h>

#include <algorithm>

#include "program_fixture.h"
#include "screen_shot.h"
#include "window_parts.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kViewerCaption[] = L"查看/修改（单条记录，无格式）";

void TypeCharacter(wchar_t c) {
  INPUT input[2] = {};
  for (INPUT& i : input) {
    i.type = INPUT_KEYBOARD;
    i.ki.wScan = c;
    i.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
  e2e::WaitUntil([] { return false; }, 150ms);
}

int Red(COLORREF c) { return GetRValue(c); }
int Green(COLORREF c) { return GetGValue(c); }
int Blue(COLORREF c) { return GetBValue(c); }

class EntryViewer : public e2e::ProgramTest {
 protected:
  // Selects a row and opens the viewer from the row's context menu, as a user does.
  HWND OpenViewerOn(int row) {
    e2e::OpenListRowMenu(list_, row);
    if (!e2e::ChooseContextMenuRow(main_, kViewerCaption)) {
      ADD_FAILURE() << "the list's context menu did not open";
      return nullptr;
    }
    HWND viewer = nullptr;
    e2e::WaitUntil([&] {
      viewer = e2e::FindProcessWindow(program_.ProcessId(), L"TForm3");
      return viewer && IsWindowVisible(viewer);
    }, 10s);
    return viewer;
  }
  void ClickButton(HWND viewer, const std::wstring& caption) {
    HWND button = e2e::ChildWindow(viewer, L"Button", caption);
    ASSERT_NE(button, nullptr) << "no button";
    // A real click needs the viewer settled. A skin takes the window over by a message posted
    // on activation, and Wine's activation may come late: the skin's start then runs after the
    // click was queued and moves the buttons from under it. Input and activation events that
    // came while the program was busy are handled afterwards, each possibly activating another
    // window (a press whose window loses the activation loses its release). So the click waits
    // until the program has caught up and the viewer stays in front (unless it is behind the
    // main window on purpose), and for the button to be under the pointer.
    if (!e2e::WaitUntilSettledInFront(viewer, 5s)) e2e::WaitForIdle(viewer, 30s);
    ASSERT_TRUE(e2e::WaitUntil([&] { return WindowFromPoint(e2e::CentreOf(button)) == button; }, 10s))
        << "the button is covered";
    e2e::ClickAt(e2e::CentreOf(button));
    e2e::WaitUntil([] { return false; }, 200ms);
  }
  // Selects everything in the hex view and copies it as hex through its context menu;
  // the program takes the copy as a new row.
  std::wstring CopyHexOfEverything(HWND hexView) {
    const size_t rows = e2e::ListRows(list_).size();
    e2e::ClickAt(e2e::CentreOf(hexView));
    e2e::PressKey('A', {VK_CONTROL});
    e2e::ClickAt(e2e::CentreOf(hexView), true);
    EXPECT_TRUE(e2e::ChooseContextMenuRow(main_, L"拷贝选择的十六进制数据"));
    EXPECT_TRUE(e2e::WaitForRowCount(list_, static_cast<int>(rows) + 1));
    return e2e::ReadClipboardText().value_or(L"");
  }
};

using EntryViewerInEachLook = e2e::InEachLook<EntryViewer>;
INSTANTIATE_TEST_SUITE_P(Looks, EntryViewerInEachLook, e2e::EachLook(), e2e::LookName);

TEST_P(EntryViewerInEachLook, ShowsTheTextAndItsBytesAndSavesAnEditBackIntoTheEntry) {
  const std::wstring text = L"A中文";
  const std::string unicodeBytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  ASSERT_TRUE(e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", unicodeBytes}, {0, L"Quillora Test Private", "own"}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));

  HWND viewer = OpenViewerOn(1);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(e2e::WindowText(viewer), kViewerCaption);
  HWND memo = e2e::ChildWindow(viewer, L"Edit");
  ASSERT_NE(memo, nullptr);
  // The viewer shows itself first and then takes the text.
  e2e::WaitUntil([&] { return e2e::WindowText(memo) == text; }, 10s);
  EXPECT_EQ(e2e::WindowText(memo), text);

  // The hex view: the code page 936 bytes of the text.
  ClickButton(viewer, L"十六进制视图");
  HWND hexView = e2e::ChildWindow(viewer, L"THexEditorEx");
  ASSERT_TRUE(hexView && IsWindowVisible(hexView));
  e2e::WaitUntil([] { return false; }, 300ms);

  // What the user sees: offsets in the gutter, both column colours, and two different
  // Chinese characters in the character field.
  const e2e::ScreenShot shot = e2e::ScreenShot::OfClient(hexView);
  shot.Save("hex_view");
  const int rowTop = 3, rowBottom = 16;
  int gutterText = 0, blue = 0, navy = 0;
  std::vector<int> inkColumns;
  for (int x = 0; x < shot.Width(); ++x) {
    bool ink = false;
    for (int y = rowTop; y < rowBottom; ++y) {
      const COLORREF c = shot.At(x, y);
      if (x < 40 && Red(c) > 240 && Green(c) > 240 && Blue(c) > 240) ++gutterText;
      if (Blue(c) > 200 && Red(c) < 60 && Green(c) < 60) ++blue;
      if (Blue(c) > 100 && Blue(c) < 160 && Red(c) < 40 && Green(c) < 40) ++navy;
      if (x > 60 && Red(c) < 200) ink = true;
    }
    if (ink) inkColumns.push_back(x);
  }
  EXPECT_GT(gutterText, 5) << "the caret row's offset in the gutter";
  EXPECT_GT(blue, 5);
  EXPECT_GT(navy, 5);
  // Runs of inked columns; the last two are the two Chinese characters.
  std::vector<std::pair<int, int>> glyphs;
  for (int x : inkColumns) {
    if (glyphs.empty() || x - glyphs.back().second > 3) glyphs.push_back({x, x});
    else glyphs.back().second = x;
  }
  ASSERT_GE(glyphs.size(), 3u);
  const auto cell = [&](std::pair<int, int> g) {
    std::vector<bool> mask;
    for (int y = rowTop; y < rowBottom; ++y) {
      for (int x = g.first; x <= g.first + 10; ++x) mask.push_back(Red(shot.At(x, y)) < 200);
    }
    return mask;
  };
  EXPECT_NE(cell(glyphs[glyphs.size() - 2]), cell(glyphs.back()));

  EXPECT_EQ(CopyHexOfEverything(hexView), L"41D6D0CEC4");
  EXPECT_EQ(e2e::ListRows(list_).back(), L"41D6D0CEC4");

  // One character changed in the memo, as a user types it: one byte changes.
  ClickButton(viewer, L"十六进制视图");
  ASSERT_FALSE(IsWindowVisible(hexView));
  e2e::ClickAt(e2e::CentreOf(memo));
  e2e::PressKey(VK_HOME, {VK_CONTROL});
  e2e::PressKey(VK_RIGHT, {VK_SHIFT});
  TypeCharacter(L'B');
  ASSERT_EQ(e2e::WindowText(memo), L"B中文");
  ClickButton(viewer, L"十六进制视图");
  EXPECT_EQ(CopyHexOfEverything(hexView), L"42D6D0CEC4");

  // Saved: the row shows the new text, and a click puts only the text on the clipboard.
  ClickButton(viewer, L"保存修改");
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_)[1] == L"B中文"; }, 10s));
  // The row click is made again while the clipboard does not show it: once, on a loaded machine,
  // a late event of the real clicks before selected row 0 after it.
  ASSERT_TRUE(e2e::WaitUntil([&] {
    e2e::ClickListRow(list_, 1);
    e2e::WaitUntil([] { return false; }, 300ms);
    return e2e::ReadClipboardText() == L"B中文";
  }, 10s)) << "clipboard: " << e2e::Utf8(e2e::ReadClipboardText().value_or(L"(none)")) << "; selected row "
      << e2e::SelectedListRow(list_) << "; rows " << e2e::ListRows(list_).size() << "; boxes "
      << e2e::MessageBoxTexts(program_.ProcessId()).size();
  EXPECT_FALSE(e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"Quillora Test Private")).has_value());

  // Closed in the hex view, it opens again in the text view. The pointer waits on the row to be
  // opened: the viewer going away from under the pointer queues a move over the list there.
  const int rowHeight = static_cast<int>(SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0));
  POINT row1{80, rowHeight + rowHeight / 2};
  ClientToScreen(list_, &row1);
  e2e::MovePointer(row1);
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(viewer); }, 10s));
  e2e::WaitForIdle(main_, 10s);
  ASSERT_EQ(OpenViewerOn(1), viewer);
  EXPECT_FALSE(IsWindowVisible(hexView));
  EXPECT_EQ(SendMessageW(e2e::ChildWindow(viewer, L"Button", L"十六进制视图"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(e2e::WindowText(memo), L"B中文") << "selected row " << e2e::SelectedListRow(list_);

  // The exit record holds the saved text.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(20s));
  main_ = nullptr;
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");
  EXPECT_NE(exitRecord.find(e2e::Utf8(L"B中文")), std::string::npos);
}

TEST_F(EntryViewer, OpenedOnAnotherRowInTheHexViewShowsThatEntryThereAndFocusesIt) {
  Copy(L"A中文");
  Copy(L"XYZ");
  HWND viewer = OpenViewerOn(1);
  ASSERT_NE(viewer, nullptr);
  ClickButton(viewer, L"十六进制视图");
  HWND hexView = e2e::ChildWindow(viewer, L"THexEditorEx");
  ASSERT_TRUE(hexView && IsWindowVisible(hexView));

  // The viewer stays open (and on top), moved off the list's rows; the same menu row is
  // chosen for the other row. The pointer waits where that row will be: where it rested
  // before, the list would take a move over another row while a row click holds its capture.
  const int rowHeight = static_cast<int>(SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0));
  POINT row2{80, 2 * rowHeight + rowHeight / 2};
  ClientToScreen(list_, &row2);
  e2e::MovePointer(row2);
  RECT list{};
  GetWindowRect(list_, &list);
  SetWindowPos(viewer, nullptr, list.left + 160, list.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(e2e::WaitUntil([&] { return WindowFromPoint(row2) == list_; }, 10s));
  ASSERT_EQ(OpenViewerOn(2), viewer);
  // It was open already: the command is done once the memo holds the new entry.
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(e2e::ChildWindow(viewer, L"Edit")) == L"XYZ"; }, 30s))
      << "the viewer shows " << e2e::Utf8(e2e::WindowText(e2e::ChildWindow(viewer, L"Edit"))) << "; selected row "
      << e2e::SelectedListRow(list_);
  EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == viewer; }, 10s));
  e2e::WaitForIdle(viewer, 30s);
  EXPECT_TRUE(IsWindowVisible(hexView));
  EXPECT_EQ(e2e::FocusOf(viewer), hexView) << "the keys go to "
                                           << e2e::Utf8(e2e::WindowClass(e2e::FocusOf(viewer)));
  EXPECT_EQ(CopyHexOfEverything(hexView), L"58595A");
}

class LongEntryViewer : public EntryViewer {
 protected:
  void PrepareFolder() override {
    // A text limit that takes the long entry (the first line of the settings file). Skinned:
    // the skin takes the viewer over as it opens, which must not cost a second wrap of the
    // text nor move the viewer's buttons once it shows the text.
    e2e::SetSettingsLine(folder_, 1, "320000");
    e2e::SetSkinNumber(folder_, 2);
  }
};

TEST_F(LongEntryViewer, ALongTextWithLoneBreaksAndTabsSavesBackUnchangedAndAGoneEntryIsNotWritten) {
  std::wstring text;
  while (text.size() < 300000) text += L"行\r单独回车\n单独换行\t制表\r\n";
  text.resize(300000);
  const std::string unicodeBytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  ASSERT_TRUE(e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", unicodeBytes}, {0, L"Quillora Test Private", "own"}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2, 20000));
  // The click's text hint of so long an entry would cover the list.
  SetMenuSwitch(L"单击条目后出现文本提示框", false);

  HWND viewer = OpenViewerOn(1);
  ASSERT_NE(viewer, nullptr);
  // The viewer is done with the text once its memo answers with all of it.
  HWND memo = e2e::ChildWindow(viewer, L"Edit");
  ASSERT_TRUE(e2e::WaitUntil([&] {
    DWORD_PTR length = 0;
    return SendMessageTimeoutW(memo, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length) && length == text.size();
  }, 60s)) << "the viewer did not take the whole text";
  ClickButton(viewer, L"保存修改");
  // The program takes the real click when it gets to its input; row clicks sent meanwhile come
  // first, and each puts the long entry on the clipboard, so they are spaced to leave it time for
  // its input (sent without pause they kept it from the click for over 10 s on a loaded machine).
  // Once saved, a click on the row puts the text alone on the clipboard.
  const UINT privateFormat = e2e::RegisteredFormat(L"Quillora Test Private");
  EXPECT_TRUE(e2e::WaitUntil([&] {
    e2e::ClickListRow(list_, 0);
    e2e::ClickListRow(list_, 1);
    e2e::WaitUntil([] { return false; }, 700ms);
    return e2e::ReadClipboardText() == text && !e2e::ReadClipboardFormat(privateFormat).has_value();
  }, 30s)) << "clipboard holds " << e2e::ReadClipboardText().value_or(L"").size() << " characters, "
           << (e2e::ReadClipboardText() == text ? "the entry's" : "another text") << ", "
           << (e2e::ReadClipboardFormat(privateFormat).has_value() ? "with" : "without")
           << " the private format; the saved entry must be text only; in front: "
           << e2e::Utf8(e2e::WindowClass(GetForegroundWindow())) << "; viewer "
           << (IsWindowVisible(viewer) ? "shown" : "hidden") << (IsWindowEnabled(viewer) ? "" : ", disabled")
           << "; boxes: "
           << (e2e::MessageBoxTexts(program_.ProcessId()).empty()
                   ? std::string("none")
                   : e2e::Utf8(e2e::MessageBoxTexts(program_.ProcessId()).front()));

  // The row is deleted while the viewer is open: saving says so and changes no entry.
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"单项删除"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 1));
  ClickButton(viewer, L"保存修改");
  std::vector<std::wstring> boxes;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    boxes = e2e::MessageBoxTexts(program_.ProcessId());
    return !boxes.empty();
  }, 10s));
  EXPECT_NE(boxes.front().find(L"已被删除"), std::wstring::npos);
  EXPECT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"已被删除", IDOK));
  EXPECT_EQ(e2e::ListRows(list_), std::vector<std::wstring>{kFirstEntry});
}

}  // namespace
