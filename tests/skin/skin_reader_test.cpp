// The skin archive: versions, the name list, look-ups, and damaged files refused whole.
#include <gtest/gtest.h>

#include <string>

#include "skin/lzh.h"
#include "skin/skin_reader.h"
#include "skin_test_support.h"

using namespace skin_test;
using skin::SkinReadStatus;
using skin::TSkinReader;

TEST(SkinReader, EveryVersionSkipsItsOwnBlock) {
  for (uint32_t version : skin::kSkinVersions) {
    TSkinReader reader;
    ASSERT_TRUE(Load(reader, RawSkin(version, "a.ini\r\nb.bmp\r\n", {3, 2}, "INIbm"))) << version;
    EXPECT_EQ(reader.Header()[0], version);
    EXPECT_EQ(reader.Count(), 2);
    EXPECT_EQ(Entry(reader, u"a.ini"), "INI");
    EXPECT_EQ(Entry(reader, u"b.bmp"), "bm");
    EXPECT_EQ(reader.Sizes()[0], 3u);
    EXPECT_EQ(reader.Data().size(), 5u);
  }
  EXPECT_EQ(skin::SkinVersionBlockSize(30000), 256);
  EXPECT_EQ(skin::SkinVersionBlockSize(40000), 80);
  EXPECT_EQ(skin::SkinVersionBlockSize(50000), 48);
  EXPECT_EQ(skin::SkinVersionBlockSize(60000), 117);
  EXPECT_EQ(skin::SkinVersionBlockSize(70000), 69);
}

TEST(SkinReader, NamesSplitAtCrLfAndCrLfAndAreLowerCased) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, RawSkin(20000, "One.INI\rTWO.bmp\nthree.bmp\r\nFour.bmp", {1, 1, 1, 1}, "1234")));
  EXPECT_EQ(reader.Names(), (std::vector<std::u16string>{u"one.ini", u"two.bmp", u"three.bmp", u"four.bmp"}));
  EXPECT_EQ(Entry(reader, u"FOUR.BMP"), "4");
  EXPECT_EQ(Entry(reader, u"Two.Bmp"), "2");
  EXPECT_EQ(Entry(reader, u"missing.bmp"), "");

  unicode::TMemoryStream found;
  std::u16string name = u"unchanged";
  reader.FindEntry(u".ini", found, name);
  EXPECT_EQ(name, u"one.ini");
  EXPECT_EQ(found.Position(), 0);
  EXPECT_EQ(found.Size(), 1);
  reader.FindEntry(u".txt", found, name);
  EXPECT_EQ(name, u"one.ini");
  EXPECT_EQ(found.Size(), 0);
}

TEST(SkinReader, ChineseNamesAndEmptyEntries) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, SkinFile({{u"皮肤.INI", Text("[x]")}, {u"空.bmp", {}}, {u"B.bmp", Text("b")}})));
  EXPECT_EQ(reader.Names()[0], u"皮肤.ini");
  EXPECT_EQ(Entry(reader, u"皮肤.ini"), "[x]");
  EXPECT_EQ(Entry(reader, u"空.bmp"), "");
  EXPECT_EQ(Entry(reader, u"b.bmp"), "b");
}

TEST(SkinReader, UnknownVersionKeepsWhatWasRead) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, RawSkin(60000, "a.ini", {2}, "ok")));
  EXPECT_FALSE(Load(reader, RawSkin(10000, "b.ini", {3}, "new", 0)));
  EXPECT_EQ(reader.Status(), SkinReadStatus::UnknownVersion);
  EXPECT_EQ(reader.Message(), u"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.Names(), std::vector<std::u16string>{u"a.ini"});
  EXPECT_EQ(Entry(reader, u"a.ini"), "ok");
  EXPECT_EQ(reader.Header()[0], 60000u);
}

TEST(SkinReader, DamagedFilesAreRefusedWholeAndTheOldContentStays) {
  std::string manyNames;
  for (int i = 0; i < 1002; ++i) manyNames += "e" + std::to_string(i) + "\r\n";
  const std::vector<uint32_t> manySizes(1002, 0);

  Bytes hugeSize = {0x00, 0x00, 0x00, 0x10};  // 256 MB from nothing at all
  Bytes cutHeader = skin::PackSkinFile({0x20, 0x4E, 0, 0, 5});
  Bytes endsEarly = RawSkin(70000, "a.ini", {2}, "ok");
  endsEarly[0] = 0xFF;  // asks for far more than the stream holds
  endsEarly[1] = 0xFF;
  endsEarly[2] = 0x0F;
  const std::vector<Bytes> damaged = {
      {},
      {1, 0},
      hugeSize,
      endsEarly,
      cutHeader,
      RawSkin(70000, "a.ini", {2}, "ok", -1, 500),  // name list longer than the data
      RawSkin(70000, manyNames, manySizes, ""),      // more names than Sizes holds
      RawSkin(70000, "a.ini\r\nb.ini", {2}, ""),     // the size table is cut off
      RawSkin(70000, "a.ini", {3000000000u}, "ok"),  // a body larger than the data
      RawSkin(30000, "a.ini", {2}, "ok", 100),       // the version block is cut short
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    TSkinReader reader;
    ASSERT_TRUE(Load(reader, RawSkin(40000, "keep.ini", {4}, "kept")));
    EXPECT_FALSE(Load(reader, damaged[i])) << i;
    EXPECT_EQ(reader.Status(), SkinReadStatus::Damaged) << i;
    EXPECT_EQ(reader.Message().rfind(u"皮肤文件", 0), 0u) << i;
    EXPECT_EQ(Entry(reader, u"keep.ini"), "kept") << i;
    EXPECT_EQ(reader.Count(), 1) << i;
  }
}

TEST(SkinReader, ExactlyAThousandAndOneEntriesAreRead) {
  std::vector<skin::SkinArchiveEntry> entries;
  for (int i = 0; i < 1001; ++i) entries.push_back({u"e" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)), Text("x")});
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, SkinFile(entries)));
  EXPECT_EQ(reader.Count(), 1001);
  EXPECT_EQ(reader.Sizes()[1000], 1u);
  entries.push_back({u"one.more", {}});
  EXPECT_THROW(skin::BuildSkinArchive(70000, entries), std::invalid_argument);
}

TEST(SkinReader, StreamCutShortStillReadsWhenItsSizeFits) {
  // A cut stream reads zeros for its missing bytes: the archive keeps its shape, only the
  // last bytes decoded from zeros differ.
  const Bytes whole = RawSkin(50000, "a.ini", {5}, "hello");
  Bytes cut(whole.begin(), whole.end() - 1);
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, cut));
  EXPECT_EQ(Entry(reader, u"a.ini").substr(0, 4), "hell");
  EXPECT_EQ(Entry(reader, u"a.ini").size(), 5u);
}

TEST(SkinArchiveWriter, RefusesWhatTheReaderCouldNotTake) {
  EXPECT_THROW(skin::BuildSkinArchive(12345, {}), std::invalid_argument);
  EXPECT_THROW(skin::BuildSkinArchive(70000, {{u"a\r\nb", {}}}), std::invalid_argument);
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, SkinFile({})));
  EXPECT_EQ(reader.Count(), 0);
}
