// The fixed-entry file: its reload with every kind and message, the menu captions and the
// append, as the main window uses them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/fixed/fixed_entries.h"
#include "unicode/codepage.h"

using namespace app;
namespace fs = std::filesystem;

namespace {

std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "entry " + std::to_string(i) + "\r\n";
  return text;
}

std::string Utf16Le(std::u16string_view text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

fs::path Scratch(const char* name) {
  const fs::path path = fs::path(QUILL_SCRATCH_DIR) / name;
  fs::remove(path);
  return path;
}

}  // namespace

TEST(FixedEntriesReload, AtMost512WithTheLimitMessage) {
  const FixedLoadResult full = ParseFixedEntries(Lines(512));
  EXPECT_EQ(full.entries.size(), 512u);
  EXPECT_TRUE(full.messages.empty());

  const FixedLoadResult over = ParseFixedEntries(Lines(513));
  ASSERT_EQ(over.entries.size(), 512u);
  EXPECT_EQ(over.entries[8], u"entry 9");
  EXPECT_EQ(over.messages, std::vector<std::u16string>{u"固定条目数太多，超过最大数512"});
  FixedEntryTable table;
  table.Assign(over.entries);
  EXPECT_EQ(table.FixedEntryTexts(9), u"entry 9");
  EXPECT_TRUE(table.Full());
  EXPECT_FALSE(table.Append(u"more"));
  EXPECT_EQ(table.FixedEntryTexts(513), u"");
}

TEST(FixedEntriesReload, MarkerErrors) {
  const FixedLoadResult unended = ParseFixedEntries("one\r\n [[begin]] \r\nline a\r\n  line b\r\n");
  EXPECT_EQ(unended.entries, (std::vector<std::u16string>{u"one", u"line a\r\n  line b"}));
  EXPECT_EQ(unended.messages,
            std::vector<std::u16string>{u"文件数据格式错误！多行数据格式标识符 [[end]] 没找到，显示可能不正确！"});

  // A "[[begin]]" on the last line opens a block that the end of the file cuts, whatever the kind.
  const FixedLoadResult lastLine = ParseFixedEntries("\xEF\xBB\xBF" "one\r\n[[begin]]");
  EXPECT_EQ(lastLine.entries, (std::vector<std::u16string>{u"one", u""}));
  EXPECT_EQ(lastLine.messages.size(), 1u);

  const FixedLoadResult twice = ParseFixedEntries("[[begin]]\r\na\r\n[[begin]]\r\nb\r\n[[end]]\r\nc\r\n");
  ASSERT_GE(twice.messages.size(), 1u);
  EXPECT_EQ(twice.messages[0], u"文件数据格式错误！多行数据格式标识符 [[begin]] 重复，显示可能不正确！");
  EXPECT_EQ(twice.entries.front(), u"a");
  EXPECT_EQ(twice.entries.back(), u"c");
}

TEST(FixedEntriesReload, EveryKind) {
  const std::string chinese = unicode::Utf16ToAnsi(u"你好");
  const FixedLoadResult ansi = ParseFixedEntries(chinese + "\r\nb\r\n");
  EXPECT_EQ(ansi.format, TextFileFormat::tfANSI);
  EXPECT_EQ(ansi.entries, (std::vector<std::u16string>{u"你好", u"b"}));

  const FixedLoadResult utf8 = ParseFixedEntries("\xEF\xBB\xBF" + unicode::Utf16ToUtf8(u"世界\nx"));
  EXPECT_EQ(utf8.format, TextFileFormat::tfUtf8);
  EXPECT_EQ(utf8.entries, (std::vector<std::u16string>{u"世界", u"x"}));

  const FixedLoadResult utf16 = ParseFixedEntries(Utf16Le(u"甲\r\n乙"));
  EXPECT_EQ(utf16.entries, (std::vector<std::u16string>{u"甲", u"乙"}));

  const FixedLoadResult bigEndian = ParseFixedEntries(Utf16Le(u"甲", true));
  EXPECT_EQ(bigEndian.status, FixedLoadStatus::UnknownFormat);
  EXPECT_TRUE(bigEndian.entries.empty());

  EXPECT_EQ(LoadFixedEntriesFile(Scratch("no_fixed_file.txt")).status, FixedLoadStatus::Missing);
}

TEST(FixedMenuCaption, FirstNineCarryTheirAltKey) {
  EXPECT_EQ(FixedMenuCaption(1, u"短"), u"短    （alt+1）");
  EXPECT_EQ(FixedMenuCaption(9, u"x"), u"x    （alt+9）");
  EXPECT_EQ(FixedMenuCaption(10, u"tenth"), u"tenth");
  const std::u16string long_(60, u'长');
  EXPECT_EQ(FixedMenuCaption(12, long_), std::u16string(50, u'长'));
  EXPECT_EQ(FixedMenuCaption(2, long_), std::u16string(50, u'长') + u"    （alt+2）");
}

TEST(FixedAppend, BlocksLineBreaksAndRereading) {
  EXPECT_EQ(FixedAppendBytes(u"one", "\xEF\xBB\xBF" "a\r\n"), "one\r\n");
  // A last line without its line break gets one first.
  EXPECT_EQ(FixedAppendBytes(u"one", "\xEF\xBB\xBF" "a"), "\r\none\r\n");
  EXPECT_EQ(FixedAppendBytes(u"one", "\xEF\xBB\xBF"), "one\r\n");
  // Any line break, also a lone CR or LF, makes a block.
  EXPECT_EQ(FixedAppendBytes(u"a\nb", ""), "[[begin]]\r\na\nb\r\n[[end]]\r\n");
  EXPECT_EQ(FixedAppendBytes(u"a\rb", ""), "[[begin]]\r\na\rb\r\n[[end]]\r\n");

  const fs::path file = Scratch("fixed_append.txt");
  std::ofstream(file, std::ios::binary) << "\xEF\xBB\xBF" << "first";
  ASSERT_FALSE(AppendFixedEntry(file, u"第二\r\n两行"));
  ASSERT_FALSE(AppendFixedEntry(file, u"third"));
  const FixedLoadResult back = LoadFixedEntriesFile(file);
  EXPECT_EQ(back.entries, (std::vector<std::u16string>{u"first", u"第二\r\n两行", u"third"}));
  EXPECT_TRUE(back.messages.empty());

  EXPECT_TRUE(AppendFixedEntry(Scratch("fixed_absent.txt"), u"x"));
  EXPECT_FALSE(fs::exists(fs::path(QUILL_SCRATCH_DIR) / "fixed_absent.txt"));
}
