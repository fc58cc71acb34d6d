// Texts copied by another program become history entries; a click puts an entry back on the
// clipboard with every format it had; the program never captures its own write.
#include <gtest/gtest.h>

#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

// The list starts with the exit record's one row (see ProgramTest).
class Capture : public e2e::ProgramTest {
 protected:
  const std::wstring kExitRecordEntry = kFirstEntry;
  // Copies a text as another program does and waits for the list to reach `rows`.
  void Copy(const std::wstring& text, int rows) {
    ASSERT_TRUE(e2e::SetClipboardText(text));
    ASSERT_TRUE(e2e::WaitForRowCount(list_, rows)) << "rows: " << e2e::ListRows(list_).size();
  }
};

using CaptureInEachLook = e2e::InEachLook<Capture>;
INSTANTIATE_TEST_SUITE_P(Looks, CaptureInEachLook, e2e::EachLook(), e2e::LookName);

TEST_P(CaptureInEachLook, CopiedTextsBecomeEntriesInOrder) {
  Copy(L"hello", 2);
  Copy(L"中文文本，复制到剪切板", 3);
  Copy(L"第一行\r\n第二行\r\n", 4);
  const std::vector<std::wstring> rows = e2e::ListRows(list_);
  EXPECT_EQ(rows[0], kExitRecordEntry);
  EXPECT_EQ(rows[1], L"hello");
  EXPECT_EQ(rows[2], L"中文文本，复制到剪切板");
  EXPECT_EQ(rows[3], L"第一行\r\n第二行\r\n");
  EXPECT_EQ(e2e::SelectedListRow(list_), 3);  // the new row is selected

  // A click puts the entry back; the program does not capture its own write.
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([] { return e2e::ReadClipboardText() == L"hello"; }, 10s));
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(e2e::ListRows(list_).size(), 4u);
}

TEST_F(Capture, LongTextsUpToTheLimitAreStoredWhole) {
  std::wstring limit(80000, L'汉');
  limit[0] = L'A';
  Copy(limit, 2);
  EXPECT_EQ(e2e::ListRows(list_)[1], limit.substr(0, 150));  // the row shows 150 characters
  // One character more is not stored; the next text shows that nothing was added meanwhile.
  ASSERT_TRUE(e2e::SetClipboardText(std::wstring(80001, L'字')));
  Copy(L"after", 3);
  EXPECT_EQ(e2e::ListRows(list_)[2], L"after");

  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == limit; }, 10s));
}

TEST_F(Capture, ARepeatIsRefusedOnlyWhileTheLastRowIsSelected) {
  Copy(L"repeat", 2);
  ASSERT_TRUE(e2e::SetClipboardText(L"repeat"));
  Copy(L"marker", 3);  // the repeat was refused: the marker is the next row
  EXPECT_EQ(e2e::ListRows(list_)[1], L"repeat");
  EXPECT_EQ(e2e::ListRows(list_)[2], L"marker");

  // With another row selected the same text is taken again.
  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([] { return e2e::ReadClipboardText() == L"repeat"; }, 10s));
  Copy(L"marker", 4);
  EXPECT_EQ(e2e::ListRows(list_)[3], L"marker");
}

TEST_F(Capture, ClickingAnEmptyEntryDoesNotSwallowTheNextCopy) {
  // An empty entry writes nothing to the clipboard, so no change comes back for the program's
  // own-write flag: the next copy must still be taken.
  e2e::WriteFile(folder_ / "temp.txt", "\r\nx\r\n");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"导入上次退出保存记录"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == std::vector<std::wstring>{L"", L"x"}; }, 10s));
  e2e::ClickListRow(list_, 0);
  e2e::WaitUntil([] { return false; }, 500ms);
  ASSERT_TRUE(e2e::SetClipboardText(L"after the empty entry"));
  const DWORD copied = GetClipboardSequenceNumber();
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 3));
  // Taken as a change of its own, not caught up later by the check timer (which would have
  // written the clipboard again).
  EXPECT_EQ(GetClipboardSequenceNumber(), copied);
}

TEST_F(Capture, AClickRestoresEveryFormatByteForByte) {
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>((i * 37) & 0xFF));
  binary[10] = '\0';
  const std::string html = "Version:0.9\r\nStartHTML:00000097\r\n<html><body><b>粗体</b></body></html>";
  const std::wstring text = L"带格式的文本";
  const std::string unicodeBytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  ASSERT_TRUE(e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", unicodeBytes},
                                        {0, L"Quillora Test Binary", binary},
                                        {0, L"HTML Format", html}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));
  Copy(L"something else", 3);

  e2e::ClickListRow(list_, 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == text; }, 10s));
  const auto restoredBinary = e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"Quillora Test Binary"));
  ASSERT_TRUE(restoredBinary.has_value());
  EXPECT_EQ(restoredBinary->substr(0, binary.size()), binary);
  const auto restoredHtml = e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"HTML Format"));
  ASSERT_TRUE(restoredHtml.has_value());
  EXPECT_EQ(restoredHtml->substr(0, html.size()), html);
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(e2e::ListRows(list_).size(), 3u);  // its own write was not captured
}

}  // namespace
