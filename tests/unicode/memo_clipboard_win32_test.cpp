// The clipboard road of the main window through its hidden memo: text from other programs
// into the memo, and text from the memo onto the clipboard, with characters outside code
// page 936 and with a text of 80000 Chinese characters.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "test_window_win32.h"
#include "unicode/uni_memo_win32.h"

using testing_win32::Bounds;
using testing_win32::TestParent;
using unicode::TUniMemo;

namespace {

bool OpenClipboardPatiently(HWND owner) {
  for (int i = 0; i < 100; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

// What another program does: CF_UNICODETEXT placed directly.
void PutUnicodeText(const std::u16string& text) {
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(char16_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::u16string GetUnicodeText() {
  std::u16string text;
  if (!OpenClipboardPatiently(nullptr)) return u"<clipboard busy>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const char16_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::u16string LongChineseText() {
  std::u16string text;
  for (int i = 0; text.size() < 80000; ++i) text += static_cast<char16_t>(0x4E00 + (i * 37) % 0x5000);
  return text;
}

struct HiddenMemoFixture : testing::Test {
  HiddenMemoFixture() {
    parent.Add(&myUniMemo);
    myUniMemo.SetVisible(false);
    EXPECT_TRUE(myUniMemo.Create(parent.hwnd, 301, Bounds(0, 0, 100, 50), ES_AUTOHSCROLL));
  }
  TestParent parent;
  TUniMemo myUniMemo;
};

const std::u16string kOutside936 = u"\U0001F600 ẞ ŉ";
const std::u16string kLines = u"第一行\r\n\U0001F600 ẞ ŉ\r\n\r\n最后";

}  // namespace

TEST_F(HiddenMemoFixture, TextFromTheClipboardArrivesWhole) {
  EXPECT_FALSE(myUniMemo.Visible());
  for (const std::u16string& text : {kOutside936, kLines, LongChineseText()}) {
    PutUnicodeText(text);
    EXPECT_EQ(unicode::ReadClipboardTextThroughMemo(myUniMemo), text) << text.size();
  }
}

TEST_F(HiddenMemoFixture, TextFromTheMemoReachesTheClipboardWhole) {
  for (const std::u16string& text : {kOutside936, kLines, LongChineseText()}) {
    PutUnicodeText(u"something else");
    unicode::WriteClipboardTextThroughMemo(myUniMemo, text);
    EXPECT_EQ(GetUnicodeText(), text) << text.size();
  }
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));  // offered by the system for ANSI readers
  CloseClipboard();
}

TEST_F(HiddenMemoFixture, BothDirectionsInTurnKeepTheText) {
  PutUnicodeText(kLines);
  const std::u16string read = unicode::ReadClipboardTextThroughMemo(myUniMemo).value_or(u"<nothing>");
  PutUnicodeText(u"");
  unicode::WriteClipboardTextThroughMemo(myUniMemo, read);
  EXPECT_EQ(GetUnicodeText(), kLines);
  EXPECT_EQ(unicode::ReadClipboardTextThroughMemo(myUniMemo), kLines);
}

TEST_F(HiddenMemoFixture, PastingWorksWhileTheOwnWindowHoldsTheClipboardOpen) {
  // The capture opens the clipboard with the main window, then reads through the memo.
  PutUnicodeText(kOutside936);
  ASSERT_TRUE(OpenClipboardPatiently(parent.hwnd));
  const std::optional<std::u16string> read = unicode::ReadClipboardTextThroughMemo(myUniMemo);
  CloseClipboard();
  EXPECT_EQ(read, kOutside936);
}

TEST_F(HiddenMemoFixture, TheTextPassesWithoutEnteringTheMemo) {
  // A long entry held by the hidden EDIT would be laid out line by line on every exchange.
  PutUnicodeText(LongChineseText());
  EXPECT_EQ(unicode::ReadClipboardTextThroughMemo(myUniMemo).value_or(u"").size(), LongChineseText().size());
  EXPECT_TRUE(myUniMemo.Text().empty());
  unicode::WriteClipboardTextThroughMemo(myUniMemo, kLines);
  EXPECT_TRUE(myUniMemo.Text().empty());
  EXPECT_EQ(GetUnicodeText(), kLines);
}

TEST_F(HiddenMemoFixture, TextsEndAtTheirFirstNulAndAnEmptyTextCopiesNothing) {
  PutUnicodeText(u"之前");
  unicode::WriteClipboardTextThroughMemo(myUniMemo, std::u16string(u"前\0后", 3));
  EXPECT_EQ(GetUnicodeText(), u"前");
  unicode::WriteClipboardTextThroughMemo(myUniMemo, u"");
  unicode::WriteClipboardTextThroughMemo(myUniMemo, std::u16string(u"\0后", 2));
  EXPECT_EQ(GetUnicodeText(), u"前");
}

TEST_F(HiddenMemoFixture, AnEmptyTextIsReadButAClipboardWithoutTextOrHeldElsewhereGivesNothing) {
  PutUnicodeText(u"");
  EXPECT_EQ(unicode::ReadClipboardTextThroughMemo(myUniMemo), u"");
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(unicode::ReadClipboardTextThroughMemo(myUniMemo).has_value());

  // Another thread holds the clipboard open, as another program reading or writing it would:
  // the read fails instead of passing for an empty text, and works once the clipboard is free.
  PutUnicodeText(u"已复制");
  HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    if (OpenClipboardPatiently(nullptr)) {
      SetEvent(holding);
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    }
  });
  const bool held = WaitForSingleObject(holding, 5000) == WAIT_OBJECT_0;
  const std::optional<std::u16string> whileHeld = unicode::ReadClipboardTextThroughMemo(myUniMemo);
  SetEvent(release);
  other.join();  // also when the other thread never got the clipboard
  ASSERT_TRUE(held) << "the other thread did not get the clipboard";
  EXPECT_FALSE(whileHeld.has_value());
  EXPECT_EQ(unicode::ReadClipboardTextThroughMemo(myUniMemo), u"已复制");
  CloseHandle(holding);
  CloseHandle(release);
}
