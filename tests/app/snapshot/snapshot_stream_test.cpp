// The snapshot stream's byte layout and its reader's behaviour on hostile input. Runs
// natively and under Wine (code page 936 through the system tables there).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/snapshot/snapshot_formats.h"
#include "app/snapshot/snapshot_stream.h"
#include "app/snapshot/snapshot_values.h"

namespace app {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes TaggedInteger(std::int32_t value) {
  Bytes out;
  AppendTaggedInteger(out, value);
  return out;
}

Bytes TaggedString(std::string_view ansi) {
  Bytes out;
  AppendTaggedString(out, ansi);
  return out;
}

TEST(SnapshotValues, IntegersTakeTheShortestTag) {
  struct Case {
    std::int32_t value;
    Bytes bytes;
  };
  const Case cases[] = {
      {0, B({0x02, 0x00})},
      {127, B({0x02, 0x7F})},
      {-128, B({0x02, 0x80})},
      {128, B({0x03, 0x80, 0x00})},
      {-129, B({0x03, 0x7F, 0xFF})},
      {32767, B({0x03, 0xFF, 0x7F})},
      {-32768, B({0x03, 0x00, 0x80})},
      {32768, B({0x04, 0x00, 0x80, 0x00, 0x00})},
      {-32769, B({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
      {0xC0A5, B({0x04, 0xA5, 0xC0, 0x00, 0x00})},
      {2147483647, B({0x04, 0xFF, 0xFF, 0xFF, 0x7F})},
      {-2147483647 - 1, B({0x04, 0x00, 0x00, 0x00, 0x80})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TaggedInteger(c.value), c.bytes) << c.value;
    SnapshotValueReader reader(c.bytes);
    EXPECT_EQ(reader.ReadInteger(), c.value);
    EXPECT_EQ(reader.remaining(), 0u);
  }
}

TEST(SnapshotValues, StringFormsByContentAndLength) {
  EXPECT_EQ(TaggedString(""), B({0x06, 0x00}));
  EXPECT_EQ(TaggedString("HTML Format"), Cat({B({0x06, 11}), Text("HTML Format")}));
  const std::string longest_short(255, 'x');
  EXPECT_EQ(TaggedString(longest_short), Cat({B({0x06, 0xFF}), Text(longest_short)}));
  const std::string first_long(256, 'y');
  EXPECT_EQ(TaggedString(first_long), Cat({B({0x0C, 0x00, 0x01, 0x00, 0x00}), Text(first_long)}));
  // "中文" in code page 936 is written as its UTF-8 form.
  EXPECT_EQ(TaggedString("\xD6\xD0\xCE\xC4"), B({0x14, 6, 0, 0, 0, 0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}));
}

TEST(SnapshotValues, EveryStringFormReadsBackInCodePage936) {
  const std::string chinese = "\xD6\xD0\xCE\xC4";  // 中文
  const Bytes forms[] = {
      TaggedString(chinese),                                       // 0x14, UTF-8
      B({0x12, 2, 0, 0, 0, 0x2D, 0x4E, 0x87, 0x65}),               // 0x12, UTF-16LE
  };
  for (const auto& form : forms) {
    SnapshotValueReader reader(form);
    EXPECT_EQ(reader.ReadString(), chinese);
    EXPECT_EQ(reader.remaining(), 0u);
  }
  const std::string long_ascii(300, 'z');
  const Bytes long_form = TaggedString(long_ascii);
  SnapshotValueReader reader(long_form);
  EXPECT_EQ(reader.ReadString(), long_ascii);
  // A character that code page 936 cannot hold (U+1E9E) becomes '?'.
  const Bytes lossy_form = B({0x14, 5, 0, 0, 0, 'a', 0xE1, 0xBA, 0x9E, 'b'});
  SnapshotValueReader lossy(lossy_form);
  EXPECT_EQ(lossy.ReadString(), "a?b");
}

constexpr std::int32_t kHtmlFormatId = 0xC0A5;

TEST(SnapshotLayout, TextRecordAsTheClipboardGivesIt) {
  const Bytes block = Text(std::string("abc\0", 4));
  const SnapshotFormat text{1, "", block};
  EXPECT_EQ(EncodeSnapshot({&text, 1}), Cat({B({0x01, 0x02, 0x01, 0x06, 0x00, 0x02, 0x04}), block, B({0x00})}));
}

TEST(SnapshotLayout, EmptyClipboardIsStartAndEnd) {
  EXPECT_EQ(EncodeSnapshot({}), B({0x01, 0x00}));
  const Bytes empty = B({0x01, 0x00});
  const auto decoded = DecodeSnapshot(empty);
  EXPECT_TRUE(decoded.formats.empty());
  EXPECT_EQ(decoded.length, 2u);
}

TEST(SnapshotLayout, RegisteredFormatAndByteCountWidths) {
  const Bytes html = Text("Version:0.9\r\nStartHTML:00000097");
  const Bytes medium(1000, 0xAB);
  const Bytes large(40000, 0x00);
  const SnapshotFormat formats[] = {{kHtmlFormatId, "HTML Format", html}, {8, "", medium}, {0xC200, "Big", large}};
  const Bytes stream = EncodeSnapshot(formats);
  const Bytes expected = Cat({B({0x01}),
                              B({0x04, 0xA5, 0xC0, 0x00, 0x00, 0x06, 11}), Text("HTML Format"),
                              B({0x02, static_cast<int>(html.size())}), html,
                              B({0x02, 0x08, 0x06, 0x00, 0x03, 0xE8, 0x03}), medium,
                              B({0x04, 0x00, 0xC2, 0x00, 0x00, 0x06, 3}), Text("Big"),
                              B({0x04, 0x40, 0x9C, 0x00, 0x00}), large,
                              B({0x00})});
  EXPECT_EQ(stream, expected);
}

TEST(SnapshotLayout, DecodeGivesEveryRecordBackAsViews) {
  const Bytes binary = B({0x00, 0x01, 0x00, 0xFF, 0x00});
  const Bytes wide = B({'h', 0, 'i', 0, 0, 0});
  const SnapshotFormat formats[] = {{0xC1F0, "Quillora Private", binary}, {13, "", wide}, {0xC0A5, "\xD6\xD0", wide}};
  const Bytes stream = EncodeSnapshot(formats);
  const auto decoded = DecodeSnapshot(stream);
  ASSERT_EQ(decoded.formats.size(), 3u);
  EXPECT_EQ(decoded.length, stream.size());
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(decoded.formats[i].id, formats[i].id);
    EXPECT_EQ(decoded.formats[i].name, formats[i].name);
    EXPECT_EQ(Bytes(decoded.formats[i].data.begin(), decoded.formats[i].data.end()),
              Bytes(formats[i].data.begin(), formats[i].data.end()));
    EXPECT_GE(decoded.formats[i].data.data(), stream.data());
    EXPECT_LE(decoded.formats[i].data.data() + decoded.formats[i].data.size(), stream.data() + stream.size());
  }
}

TEST(SnapshotLayout, WriterLeavesNoRecordForAFormatWithoutData) {
  SnapshotWriter writer;
  writer.AddFormat(1, "", {});
  EXPECT_EQ(writer.format_count(), 0u);
  EXPECT_EQ(std::move(writer).Finish(), B({0x01, 0x00}));
}

TEST(SnapshotLayout, BytesBehindTheEndMarkerAreNotRead) {
  // A snapshot written over a longer older one: the old bytes behind 00 are garbage.
  const Bytes old_tail = B({0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x99, 0x13});
  const Bytes block = Text("new");
  const SnapshotFormat format{1, "", block};
  const Bytes fresh = EncodeSnapshot({&format, 1});
  const Bytes shared = Cat({fresh, old_tail});
  const auto decoded = DecodeSnapshot(shared);
  ASSERT_EQ(decoded.formats.size(), 1u);
  EXPECT_EQ(decoded.length, fresh.size());
  EXPECT_EQ(ValidateSnapshot(shared).length, fresh.size());
  EXPECT_EQ(*SnapshotUnicodeText(shared), u"new");
}

struct Hostile {
  const char* what;
  Bytes stream;
  const char* message;
};

TEST(SnapshotReader, HostileStreamsGiveTheirErrorFromDecodeAndValidate) {
  const Hostile cases[] = {
      {"nothing at all", {}, kStreamReadError},
      {"wrong list start", B({0x02, 0x00}), kInvalidPropertyValue},
      {"no list end", B({0x01}), kStreamReadError},
      {"unknown id tag", B({0x01, 0x05, 0x01, 0x06, 0x00, 0x02, 0x01, 0x41, 0x00}), kInvalidPropertyValue},
      {"64-bit byte count", B({0x01, 0x02, 0x01, 0x06, 0x00, 0x13, 1, 0, 0, 0, 0, 0, 0, 0, 0x41, 0x00}),
       kInvalidPropertyValue},
      {"string tag for the id", B({0x01, 0x06, 0x00, 0x06, 0x00, 0x02, 0x01, 0x41, 0x00}), kInvalidPropertyValue},
      {"integer tag for the name", B({0x01, 0x02, 0x01, 0x02, 0x00, 0x02, 0x01, 0x41, 0x00}),
       kInvalidPropertyValue},
      {"id above 65535", B({0x01, 0x04, 0x00, 0x00, 0x01, 0x00, 0x06, 0x00, 0x02, 0x01, 0x41, 0x00}),
       kInvalidPropertyValue},
      {"negative id", B({0x01, 0x02, 0xFF, 0x06, 0x00, 0x02, 0x01, 0x41, 0x00}), kInvalidPropertyValue},
      {"negative byte count", B({0x01, 0x02, 0x01, 0x06, 0x00, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}),
       kInvalidPropertyValue},
      {"negative string length", B({0x01, 0x02, 0x01, 0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x41, 0x00}),
       kInvalidPropertyValue},
      {"huge byte count", B({0x01, 0x02, 0x01, 0x06, 0x00, 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0x00}),
       kStreamReadError},
      {"byte count one past the end", B({0x01, 0x02, 0x01, 0x06, 0x00, 0x02, 0x03, 0x41, 0x42}), kStreamReadError},
      {"huge string length", B({0x01, 0x02, 0x01, 0x14, 0xFF, 0xFF, 0xFF, 0x7F, 0x41}), kStreamReadError},
      {"UTF-16 count that would wrap when doubled", B({0x01, 0x02, 0x01, 0x12, 0x00, 0x00, 0x00, 0x40, 0x41, 0x00}),
       kStreamReadError},
      {"cut inside an integer", B({0x01, 0x04, 0x00, 0xC0}), kStreamReadError},
      {"cut after the id", B({0x01, 0x02, 0x01}), kStreamReadError},
      {"cut inside the name", B({0x01, 0x02, 0x01, 0x06, 0x05, 'H', 'T'}), kStreamReadError},
      {"cut before the byte count", B({0x01, 0x02, 0x01, 0x06, 0x00}), kStreamReadError},
      {"cut after a whole record", B({0x01, 0x02, 0x01, 0x06, 0x00, 0x02, 0x01, 0x41}), kStreamReadError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      DecodeSnapshot(c.stream);
      ADD_FAILURE() << "decoded";
    } catch (const SnapshotReadError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    const SnapshotCheck check = ValidateSnapshot(c.stream);
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(check.error, c.message);
  }
}

TEST(SnapshotReader, AcceptsWhatOlderWritersProduced) {
  // A zero byte count and a format number 0 carry nothing but are readable.
  const Bytes stream = B({0x01, 0x02, 0x00, 0x06, 0x00, 0x02, 0x00, 0x02, 0x01, 0x12, 0x01, 0, 0, 0, 'A', 0,
                          0x02, 0x02, 0xAA, 0xBB, 0x00});
  const auto decoded = DecodeSnapshot(stream);
  ASSERT_EQ(decoded.formats.size(), 2u);
  EXPECT_TRUE(decoded.formats[0].data.empty());
  EXPECT_EQ(decoded.formats[1].name, "A");
  EXPECT_EQ(decoded.formats[1].data.size(), 2u);
  EXPECT_TRUE(ValidateSnapshot(stream).valid);
}

TEST(SnapshotText, PrefersUnicodeTextThenAnsiText) {
  const Bytes wide = B({0x2D, 0x4E, 0x87, 0x65, 'x', 0, 0, 0, 'y', 0});  // 中文x, zero, then junk
  const Bytes ansi = Text(std::string("\xD6\xD0\xCE\xC4!\0junk", 10));
  const SnapshotFormat both[] = {{1, "", ansi}, {13, "", wide}};
  EXPECT_EQ(*SnapshotUnicodeText(EncodeSnapshot(both)), u"中文x");
  const SnapshotFormat ansi_only[] = {{1, "", ansi}};
  EXPECT_EQ(*SnapshotUnicodeText(EncodeSnapshot(ansi_only)), u"中文!");
  const SnapshotFormat oem_only[] = {{7, "", ansi}};
  EXPECT_EQ(*SnapshotUnicodeText(EncodeSnapshot(oem_only)), u"中文!");
}

TEST(SnapshotText, NoTextFormatGivesNoText) {
  const Bytes data = B({1, 2, 3});
  // A registered format that happens to carry number 13 is not Unicode text.
  const SnapshotFormat formats[] = {{13, "Not Text", data}, {8, "", data}};
  EXPECT_FALSE(SnapshotUnicodeText(EncodeSnapshot(formats)).has_value());
  EXPECT_THROW(SnapshotUnicodeText(B({0x01})), SnapshotReadError);
}

TEST(SnapshotFormats, HandleFormatsAreNotRestorableFromBytes) {
  for (std::uint32_t id : {2u, 3u, 9u, 14u, 0x80u, 0x81u, 0x82u, 0x83u, 0x8Eu, 0x200u, 0x2FFu, 0x300u, 0x3FFu, 0u})
    EXPECT_FALSE(clipformat::ClipboardFormatHoldsData(id)) << id;
  for (std::uint32_t id : {1u, 7u, 8u, 13u, 15u, 16u, 17u, 0x1FFu, 0x400u, 0xC000u, 0xFFFFu})
    EXPECT_TRUE(clipformat::ClipboardFormatHoldsData(id)) << id;
  EXPECT_TRUE(clipformat::SnapshotRecordRestorable(0xC123, true));
  EXPECT_FALSE(clipformat::SnapshotRecordRestorable(0xC123, false));
  EXPECT_FALSE(clipformat::SnapshotRecordRestorable(2, false));
  EXPECT_TRUE(clipformat::SnapshotRecordRestorable(13, false));
}

}  // namespace
}  // namespace app
