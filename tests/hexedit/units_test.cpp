// The unit routines: hex and radix text, translations, colours, the temporary name.
#include <gtest/gtest.h>

#include <set>

#include "hexedit/hx_errors.h"
#include "hexedit/hx_memory_stream.h"
#include "hexedit/hx_units.h"

using namespace hexedit;

TEST(HexText, SkipsNonDigitsAndDropsTheLoneLastDigit) {
  EXPECT_EQ(ConvertHexToBin(std::string_view("4A 4bzz 6"), false), (Bytes{0x4A, 0x4B}));
  EXPECT_EQ(ConvertHexToBin(std::u16string_view(u"4A 4bzz 6"), false), (Bytes{0x4A, 0x4B}));
  EXPECT_EQ(ConvertHexToBin(std::string_view("A4"), true), (Bytes{0x4A}));
  EXPECT_TRUE(ConvertHexToBin(std::string_view("xyz"), false).empty());
}

TEST(HexText, BytesGiveUpperCaseDigitsInEitherNibbleOrder) {
  const std::uint8_t bytes[] = {0x01, 0xAB};
  EXPECT_EQ(ConvertBinToHex(bytes, 2, false), "01AB");
  EXPECT_EQ(ConvertBinToHex(bytes, 2, true), "10BA");
  EXPECT_EQ(ConvertHexToBin(ConvertBinToHex(bytes, 2, true), true), (Bytes{0x01, 0xAB}));
}

TEST(RadixText, PadsAndConvertsBack) {
  EXPECT_EQ(IntToRadix(255, 16, 4), "00FF");
  EXPECT_EQ(IntToRadix(0, 16, 1), "0");
  EXPECT_EQ(IntToRadix(5, 2), "101");
  EXPECT_EQ(IntToRadix(35, 10, 3), "035");
  EXPECT_EQ(RadixToInt("fF", 16), 255u);
  EXPECT_EQ(RadixToInt("101", 2), 5u);
}

TEST(RadixText, ABadCharacterNamesItselfAndTheRadix) {
  try {
    RadixToInt("12", 2);
    FAIL() << "no exception";
  } catch (const EHexEditor& e) {
    EXPECT_STREQ(e.what(), "Invalid character 2, cannot convert using radix 2h");
  }
  EXPECT_THROW(RadixToInt("G", 16), EHexEditor);
}

TEST(Translations, TablesArePermutationsAndEachPairIsInverse) {
  for (const auto* pair : {&kAnsiToMac, &kAnsiToEbcdic}) {
    const auto& back = pair == &kAnsiToMac ? kMacToAnsi : kEbcdicToAnsi;
    std::set<int> seen;
    for (int b = 0; b < 256; ++b) {
      seen.insert((*pair)[b]);
      EXPECT_EQ(back[(*pair)[b]], b);
    }
    EXPECT_EQ(seen.size(), 256u);
  }
  // Familiar points of the two character sets.
  EXPECT_EQ(kAnsiToEbcdic['A'], 0xC1);
  EXPECT_EQ(kAnsiToEbcdic['0'], 0xF0);
  EXPECT_EQ(kAnsiToEbcdic[' '], 0x40);
  EXPECT_EQ(kAnsiToMac[0xE9], 0x8E);  // e acute
  EXPECT_EQ(kAnsiToMac['A'], 'A');
}

TEST(Translations, BufferConversionsRoundTrip) {
  const std::string ansi = "Hex \xD6\xD0\xCE\xC4 editor";  // with two code page 936 characters
  for (auto kind : {THxTranslationKind::tkAsIs, THxTranslationKind::tkDos8, THxTranslationKind::tkMac,
                    THxTranslationKind::tkBCD, THxTranslationKind::tkCustom}) {
    const Bytes there = TranslateFromAnsi(kind, ansi);
    ASSERT_EQ(there.size(), ansi.size());
    const Bytes back = TranslateToAnsi(kind, std::string_view(reinterpret_cast<const char*>(there.data()), there.size()));
    EXPECT_EQ(std::string(back.begin(), back.end()), ansi) << TranslationName(kind);
  }
  EXPECT_EQ(TranslateFromAnsi(THxTranslationKind::tkBCD, "AB"), (Bytes{0xC1, 0xC2}));
  EXPECT_EQ(CharToOem('a'), 'a');
  EXPECT_EQ(OemToChar('Z'), 'Z');
}

TEST(Translations, NamesAndShortNames) {
  EXPECT_EQ(TranslationName(THxTranslationKind::tkASCII), "ASCII 7 Bit");
  EXPECT_EQ(TranslationName(THxTranslationKind::tkMac), "Macintosh");
  EXPECT_EQ(TranslationName(THxTranslationKind::tkBCD), "EBCDIC Codepage 38");
  EXPECT_EQ(TranslationName(THxTranslationKind::tkCustom), "Custom Translation");
  const char* shortNames[] = {"WIN", "DOS", "ASC", "MAC", "BCD", "Cust"};
  for (int k = 0; k < kTranslationKinds; ++k) EXPECT_EQ(TranslationShortName(static_cast<THxTranslationKind>(k)), shortNames[k]);
}

TEST(Colours, InverseAndGreyResolveSystemColoursFirst) {
  const ColorResolver resolve = [](TColor c) { return c == static_cast<TColor>(0x80000005) ? 0xFFFFFF : 0; };
  EXPECT_EQ(InverseColor(0x00A8FFFF, resolve), 0x00570000);
  EXPECT_EQ(InverseColor(static_cast<TColor>(0x80000005), resolve), 0);
  // g = (r*74 + g*146 + b*36) div 256 for red 200, green 100, blue 50.
  const int g = (200 * 74 + 100 * 146 + 50 * 36) / 256;
  EXPECT_EQ(GrayColor(0x003264C8, resolve), g | g << 8 | g << 16);
  EXPECT_EQ(Swap16(0x1234), 0x3412);
}

TEST(TemporaryName, EightHexDigitsOfTheTickAndTheNextFreeOne) {
  std::set<std::u16string> existing = {u"C:\\T\\0000ABCD.HXT"};
  const auto name = TemporaryFileName(u"C:\\T", [] { return 0xABCDu; },
                                      [&](const std::u16string& n) { return existing.count(n) > 0; });
  EXPECT_EQ(name, u"C:\\T\\0000ABCE.HXT");
}

TEST(MemoryStream, EveryAccessIsBoundsChecked) {
  THxMemoryStream s;
  const std::uint8_t abc[] = {'a', 'b', 'c'};
  s.Insert(0, abc, 3);
  s.Seek(2);
  std::uint8_t out[3] = {};
  s.ReadAt(out, 1, 2);
  EXPECT_EQ(out[0], 'b');
  EXPECT_EQ(s.Position(), 2u);  // the position stays
  EXPECT_THROW(s.ReadAt(out, 2, 2), EHexEditor);
  EXPECT_THROW(s.WriteAt(abc, 4, 0), EHexEditor);
  EXPECT_THROW(s.At(3), EHexEditor);
  EXPECT_THROW(s.Move(1, 0, 3), EHexEditor);
  try {
    s.CheckBounds(0, 4);
  } catch (const EHexEditor& e) {
    EXPECT_STREQ(e.what(), "Data position/length out of data bounds");
  }
  s.Move(0, 1, 2);
  EXPECT_EQ(s.AsHex(0, 3, false), "626363");
}
