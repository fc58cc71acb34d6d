// The own clipboard block, the text renderings and the decoding of pasted blocks.
#include <gtest/gtest.h>

#include "hexedit/hx_clipboard_data.h"

using namespace hexedit;

namespace {
const RegisteredFormats kRegistered{0xC101, 0xC102, 0xC103, 0xC104, 0xC105};
}

TEST(OwnBlock, HeaderCountAndBytes) {
  const Bytes block = BuildOwnBlock(Bytes{0x41, 0x00, 0x42});
  EXPECT_EQ(block, (Bytes{'H', 'X', 'T', 'H', 0x01, 0x00, 0x01, 0x00, 3, 0, 0, 0, 0x41, 0x00, 0x42}));
  EXPECT_EQ(DecodeOwnBlock(block.data(), block.size()), (Bytes{0x41, 0x00, 0x42}));
  // Global blocks may be larger than asked for: trailing bytes do not count.
  Bytes padded = block;
  padded.resize(32, 0xEE);
  EXPECT_EQ(DecodeOwnBlock(padded.data(), padded.size()), (Bytes{0x41, 0x00, 0x42}));
}

TEST(OwnBlock, ShortOrForeignBlocksAreUnusable) {
  Bytes block = BuildOwnBlock(Bytes(10, 7));
  EXPECT_FALSE(DecodeOwnBlock(block.data(), block.size() - 1));  // the count says more than the block holds
  EXPECT_FALSE(DecodeOwnBlock(block.data(), 11));
  EXPECT_FALSE(DecodeOwnBlock(nullptr, 0));
  block[8] = 0xFF;
  block[11] = 0xFF;  // a count near 4 GB
  EXPECT_FALSE(DecodeOwnBlock(block.data(), block.size()));
  Bytes other = BuildOwnBlock({1});
  other[4] = 2;  // another version
  EXPECT_FALSE(DecodeOwnBlock(other.data(), other.size()));
}

TEST(TextRendering, StopsAtTheZeroByteOrGivesHex) {
  EXPECT_EQ(RenderTextFormat(Bytes{0x41, 0x00, 0x42}, false, false), (Bytes{'A', 0}));
  EXPECT_EQ(RenderTextFormat(Bytes{0x41, 0x00, 0x42}, true, false), (Bytes{'4', '1', '0', '0', '4', '2', 0}));
  EXPECT_EQ(RenderTextFormat(Bytes{0xAB}, true, true), (Bytes{'B', 'A', 0}));
  EXPECT_EQ(VirtualFileName(u"C:\\数据\\dump.one.dat"), u"Dump of dump.one.bin");
  EXPECT_EQ(VirtualFileName(u""), u"Dump of .bin");
  EXPECT_EQ(VirtualFileName(std::u16string(400, u'x')).size(), 259u);
}

TEST(PasteChoice, OwnFormatAndFilesFirstThenOneOrAChoice) {
  const auto offer = [](std::initializer_list<unsigned> ids) {
    std::vector<OfferedFormat> out;
    for (unsigned id : ids) out.push_back({id, {}});
    return out;
  };
  PasteChoice c = ChoosePasteFormat(offer({cf::TEXT, kRegistered.own, cf::HDROP}), true, kRegistered);
  EXPECT_EQ(c.kind, PasteChoice::Kind::Take);
  EXPECT_EQ(c.format, kRegistered.own);
  c = ChoosePasteFormat(offer({cf::TEXT, cf::HDROP}), false, kRegistered);
  EXPECT_EQ(c.format, cf::HDROP);
  c = ChoosePasteFormat(offer({cf::DIB}), true, kRegistered);
  EXPECT_EQ(c.kind, PasteChoice::Kind::Take);
  EXPECT_EQ(c.format, cf::DIB);
  // Plain text from another program: the system offers it in four formats.
  c = ChoosePasteFormat(offer({cf::UNICODETEXT, cf::LOCALE, cf::TEXT, cf::OEMTEXT, 0xC999}), true, kRegistered);
  ASSERT_EQ(c.kind, PasteChoice::Kind::Ask);
  ASSERT_EQ(c.candidates.size(), 4u);
  EXPECT_EQ(c.candidates[0].id, cf::TEXT);
  EXPECT_EQ(c.candidates[1].id, cf::UNICODETEXT);
  EXPECT_EQ(c.candidates[2].id, cf::OEMTEXT);
  EXPECT_EQ(c.candidates[3].id, cf::LOCALE);
  EXPECT_EQ(ChoosePasteFormat(offer({cf::TEXT}), false, kRegistered).kind, PasteChoice::Kind::None);
  EXPECT_EQ(ChoosePasteFormat({}, true, kRegistered).kind, PasteChoice::Kind::None);
  EXPECT_EQ(FormatDisplayName({cf::UNICODETEXT, {}}), u"Unicode Text");
  EXPECT_EQ(FormatDisplayName({cf::BITMAP, {}}), u"Bitmap Picture");
  EXPECT_EQ(FormatDisplayName({0xC103, u"Rich Text Format"}), u"Rich Text Format");
}

TEST(PastedBlocks, DecodedWithinTheirSize) {
  const Bytes text{'h', 'i', 0, 'x'};
  EXPECT_EQ(DecodePastedBlock(cf::TEXT, text.data(), text.size(), false, false, kRegistered), (Bytes{'h', 'i'}));
  // A text block without its zero ends at the block's end.
  const Bytes unterminated{'a', 'b', 'c'};
  EXPECT_EQ(DecodePastedBlock(cf::OEMTEXT, unterminated.data(), 3, false, false, kRegistered), unterminated);
  const Bytes hex{'4', '1', ' ', 'f', 'F', 0};
  EXPECT_EQ(DecodePastedBlock(cf::TEXT, hex.data(), hex.size(), true, false, kRegistered), (Bytes{0x41, 0xFF}));
  const Bytes unicodeText{'A', 0, 0x2D, 0x4E, 0, 0, 'z', 0};
  EXPECT_EQ(DecodePastedBlock(cf::UNICODETEXT, unicodeText.data(), unicodeText.size(), false, false, kRegistered),
            (Bytes{'A', 0, 0x2D, 0x4E}));
  const Bytes odd{'A', 0, 'B'};  // half a character at the end is dropped
  EXPECT_EQ(DecodePastedBlock(cf::UNICODETEXT, odd.data(), odd.size(), false, false, kRegistered), (Bytes{'A', 0}));
  const Bytes picture{1, 0, 2};
  EXPECT_EQ(DecodePastedBlock(cf::DIB, picture.data(), 3, false, false, kRegistered), picture);
  const Bytes own = BuildOwnBlock({9, 8});
  EXPECT_EQ(DecodePastedBlock(kRegistered.own, own.data(), own.size(), true, false, kRegistered), (Bytes{9, 8}));
  EXPECT_FALSE(DecodePastedBlock(kRegistered.own, own.data(), 12, false, false, kRegistered));
  EXPECT_EQ(FileNamesAsBytes({u"a.txt", u"中"}), (Bytes{'a', '.', 't', 'x', 't', 0, 0xD6, 0xD0, 0}));
}
