// The file stream and the list's file operations on real files (the native file system,
// or Windows files under Wine), names outside code page 936 included.
#include <gtest/gtest.h>

#include <string>

#include "unicode/codepage.h"
#include "unicode/uni_file_stream.h"
#include "unicode/uni_string_list.h"
#include "unicode/wide_exceptions.h"

using unicode::TUniFileStream;
using unicode::TUniStringList;

namespace {

#ifdef _WIN32
constexpr char16_t kSeparator = u'\\';
#else
constexpr char16_t kSeparator = u'/';
#endif

std::u16string Scratch(std::u16string_view name) {
  return unicode::Utf8ToUtf16(QUILL_SCRATCH_DIR) + kSeparator + std::u16string(name);
}

void WriteBytes(const std::u16string& name, std::string_view bytes) {
  TUniFileStream stream(name, unicode::fmCreate);
  stream.WriteBuffer(bytes.data(), bytes.size());
}

std::string ReadBytes(const std::u16string& name) {
  TUniFileStream stream(name, unicode::fmOpenRead | unicode::fmShareDenyNone);
  std::string bytes(static_cast<size_t>(stream.Size()), '\0');
  stream.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace

TEST(UniFileStream, NamesOutsideTheAnsiCodePage) {
  const std::u16string name = Scratch(u"固定条目 \U0001F600 ẞ.txt");
  WriteBytes(name, "abc");
  EXPECT_EQ(ReadBytes(name), "abc");
  TUniFileStream stream(name, unicode::fmOpenReadWrite);
  EXPECT_EQ(stream.Size(), 3);
  EXPECT_EQ(stream.Seek(-1, unicode::TSeekOrigin::soEnd), 2);
  stream.WriteBuffer("XY", 2);
  EXPECT_EQ(stream.Size(), 4);
  stream.Close();
  EXPECT_EQ(ReadBytes(name), "abXY");
}

TEST(UniFileStream, OpenAndCreateFailuresNameTheFileAndTheReason) {
  const std::u16string missing = Scratch(u"没有这个文件.txt");
  try {
    TUniFileStream stream(missing, unicode::fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const unicode::EWideFOpenError& e) {
    const std::u16string prefix = u"Cannot open file \"" + missing + u"\". ";
    EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
    EXPECT_GT(e.Message().size(), prefix.size());  // the system's reason follows
  }
  const std::u16string inMissingFolder = Scratch(u"没有目录") + kSeparator + u"x.txt";
  try {
    TUniFileStream stream(inMissingFolder, unicode::fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const unicode::EWideFCreateError& e) {
    const std::u16string prefix = u"Cannot create file \"" + inMissingFolder + u"\". ";
    EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
    EXPECT_GT(e.Message().size(), prefix.size());
    EXPECT_NE(e.SystemError(), 0);
  }
  EXPECT_THROW(TUniFileStream(Scratch(u""), unicode::fmOpenRead), unicode::EWideFOpenError);
}

TEST(UniStringsFile, LoadRecordsTheCharacterSetAndKeepsTheListOnFailure) {
  const std::u16string name = Scratch(u"be.txt");
  WriteBytes(name, std::string("\xFE\xFF\x00\x41\x00\x0D\x00\x0A", 8));
  TUniStringList list;
  list.LoadFromFile(name);
  EXPECT_EQ(list.LastFileCharSet, unicode::TStreamCharSet::scUtf16Be);
  EXPECT_EQ(list.Text(), u"A\r\n");
  WriteBytes(name, "\xFF\xFE");
  list.LoadFromFile(name);
  EXPECT_EQ(list.LastFileCharSet, unicode::TStreamCharSet::scUtf16Le);
  EXPECT_EQ(list.Count(), 0);
  WriteBytes(name, "A");
  list.LoadFromFile(name);
  EXPECT_EQ(list.LastFileCharSet, unicode::TStreamCharSet::scAnsi);
  EXPECT_EQ(list.Text(), u"A\r\n");

  list.SetText(u"kept");
  EXPECT_THROW(list.LoadFromFile(Scratch(u"missing.txt")), unicode::EWideFOpenError);
  EXPECT_EQ(list.Text(), u"kept\r\n");
  EXPECT_EQ(list.LastFileCharSet, unicode::TStreamCharSet::scAnsi);
}

TEST(UniStringsFile, SaveReplacesTheFileWholeAndLeavesNoTemporary) {
  const std::u16string name = Scratch(u"保存 \U0001F600.txt");
  WriteBytes(name, "an older and longer content");
  TUniStringList list;
  list.SetText(u"a\r\nb");
  list.SaveToFile(name);
  EXPECT_EQ(ReadBytes(name), std::string("\xFF\xFE\x61\x00\x0D\x00\x0A\x00\x62\x00\x0D\x00\x0A\x00", 14));
  EXPECT_THROW(TUniFileStream(name + u".tmp~", unicode::fmOpenRead), unicode::EWideFOpenError);
  TUniStringList back;
  back.LoadFromFile(name);
  EXPECT_EQ(back.Text(), u"a\r\nb\r\n");
}

TEST(UniStringsFile, ASaveThatFailsLeavesTheOldFileAndNoTemporary) {
  const std::u16string name = Scratch(u"keep.txt");
  WriteBytes(name, "old");
  class FailingList : public TUniStringList {
   public:
    void SaveToStream(unicode::TStream& stream) override {
      stream.WriteBuffer("xx", 2);
      throw unicode::WideException(u"disk full");
    }
  };
  FailingList list;
  EXPECT_THROW(list.SaveToFile(name), unicode::WideException);
  EXPECT_EQ(ReadBytes(name), "old");
  EXPECT_THROW(TUniFileStream(name + u".tmp~", unicode::fmOpenRead), unicode::EWideFOpenError);
  // A target in a missing folder: the creation error names the target.
  const std::u16string nowhere = Scratch(u"没有目录") + kSeparator + u"x.txt";
  try {
    TUniStringList().SaveToFile(nowhere);
    FAIL() << "saved into a missing folder";
  } catch (const unicode::EWideFCreateError& e) {
    EXPECT_EQ(e.Message().substr(0, nowhere.size() + 23), u"Cannot create file \"" + nowhere + u"\". ");
  }
}
