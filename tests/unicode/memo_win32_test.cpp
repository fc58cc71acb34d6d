// The Unicode memo: its text and its lines as the EDIT window holds them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "test_window_win32.h"
#include "unicode/codepage.h"
#include "unicode/uni_file_stream.h"
#include "unicode/uni_memo_win32.h"
#include "unicode/wide_exceptions.h"

using testing_win32::Bounds;
using testing_win32::PumpMessages;
using testing_win32::TestParent;
using unicode::TUniMemo;

namespace {

struct MemoFixture : testing::Test {
  MemoFixture() {
    parent.Add(&memo);
    EXPECT_TRUE(memo.Create(parent.hwnd, 201, Bounds(0, 0, 300, 200), WS_VSCROLL | ES_AUTOHSCROLL));
  }
  std::u16string WindowText() {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(memo.Handle())) + 1, u'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(memo.Handle(), reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
  }
  TestParent parent;
  TUniMemo memo;
};

}  // namespace

TEST_F(MemoFixture, AddingALineAppendsItWithABreak) {
  memo.Lines().Add(u"x");
  EXPECT_EQ(WindowText(), u"x\r\n");
  EXPECT_EQ(memo.Lines().Count(), 1);
  memo.Lines().Add(u"中文 \U0001F600");
  EXPECT_EQ(WindowText(), u"x\r\n中文 \U0001F600\r\n");
  EXPECT_EQ(memo.Lines()[1], u"中文 \U0001F600");
}

TEST_F(MemoFixture, LineTextGetsCrLfBreaks) {
  memo.Lines().SetText(u"a\nb");
  EXPECT_EQ(WindowText(), u"a\r\nb");
  EXPECT_EQ(memo.Lines().Count(), 2);
  memo.Lines().SetText(u"c\rd\n\re");
  EXPECT_EQ(memo.Text(), u"c\r\nd\r\n\r\ne");
  EXPECT_EQ(memo.Lines().Text(), memo.Text());  // the whole text, not rebuilt from lines
}

TEST_F(MemoFixture, SettingTheSameTextChangesNothing) {
  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  memo.SetText(u"同一个文本");
  EXPECT_EQ(changes, 1);
  memo.SetText(u"同一个文本");
  memo.Lines().SetText(u"同一个文本");
  EXPECT_EQ(changes, 1);
  memo.Clear();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(memo.Text(), u"");
}

TEST_F(MemoFixture, LinesAreEditedInPlace) {
  memo.SetText(u"one\r\ntwo\r\nthree");
  memo.Lines().Put(1, u"二");
  EXPECT_EQ(memo.Text(), u"one\r\n二\r\nthree");
  memo.Lines().Insert(0, u"zero");
  EXPECT_EQ(memo.Text(), u"zero\r\none\r\n二\r\nthree");
  memo.Lines().Insert(4, u"four");  // past the last line: a break in front
  EXPECT_EQ(memo.Text(), u"zero\r\none\r\n二\r\nthree\r\nfour");
  memo.Lines().Delete(0);
  EXPECT_EQ(memo.Text(), u"one\r\n二\r\nthree\r\nfour");
  EXPECT_THROW(memo.Lines().Get(9), unicode::EListError);
  memo.Lines().Clear();
  EXPECT_EQ(memo.Lines().Count(), 0);
}

TEST_F(MemoFixture, ALongLineIsRefusedByLinesButNotByText) {
  const std::u16string longLine(70000, u'长');
  memo.SetText(u"short\r\n" + longLine);
  EXPECT_EQ(memo.Lines()[0], u"short");
  try {
    memo.Lines().Get(1);
    FAIL() << "no error";
  } catch (const unicode::EOutOfResources& e) {
    EXPECT_EQ(e.Message(), u"Line too long");
  }
  EXPECT_EQ(memo.Text(), u"short\r\n" + longLine);
}

TEST_F(MemoFixture, TypingAndReplacingPassTheOldTextLimit) {
  // An EDIT window starts with a limit of some 30000 characters; the memo lifts it.
  memo.SetText(std::u16string(40000, u'字'));
  memo.SetSelStart(40000);
  memo.SetSelText(u"尾");
  EXPECT_EQ(memo.Text().size(), 40001u);
  memo.SetSelStart(2);
  memo.SetSelLength(3);
  EXPECT_EQ(memo.SelStart(), 2);
  EXPECT_EQ(memo.SelLength(), 3);
  EXPECT_EQ(memo.SelText(), u"字字字");
}

TEST_F(MemoFixture, TheTextWaitsForTheWindowAndSurvivesRecreation) {
  TUniMemo later;
  later.SetText(u"先有文本 \U0001F600");
  later.Lines().Add(u"再加一行");
  EXPECT_EQ(later.Lines().Count(), 2);
  parent.Add(&later);
  ASSERT_TRUE(later.Create(parent.hwnd, 202, Bounds(0, 0, 100, 100)));
  EXPECT_EQ(later.Text(), u"先有文本 \U0001F600\r\n再加一行\r\n");
  ASSERT_TRUE(later.RecreateWnd());
  EXPECT_EQ(later.Text(), u"先有文本 \U0001F600\r\n再加一行\r\n");
}

TEST_F(MemoFixture, LinesLoadATextFileByItsMark) {
  const std::u16string name = unicode::Utf8ToUtf16(QUILL_SCRATCH_DIR) + u"\\memo-be.txt";
  {
    unicode::TUniFileStream file(name, unicode::fmCreate);
    file.WriteBuffer("\xFE\xFF\x4E\x2D\x00\x0A\xD8\x3D\xDE\x00", 10);
  }
  memo.Lines().LoadFromFile(name);
  EXPECT_EQ(memo.Text(), u"中\r\n\U0001F600");
  EXPECT_EQ(memo.Lines().LastFileCharSet, unicode::TStreamCharSet::scUtf16Be);
}

TEST_F(MemoFixture, KeyPressSeesWideCharactersFromTheMessageLoop) {
  std::u16string typed;
  memo.OnKeyPress = [&](wchar_t& key) {
    typed += static_cast<char16_t>(key);
    if (key == L'x') key = 0;  // a handler can swallow a key
  };
  PostMessageW(memo.Handle(), WM_CHAR, 0x6C49, 0);
  PostMessageW(memo.Handle(), WM_CHAR, L'x', 0);
  PostMessageW(memo.Handle(), WM_CHAR, 0x5B57, 0);
  PumpMessages();
  EXPECT_EQ(typed, u"汉x字");
  EXPECT_EQ(memo.Text(), u"汉字");
}
