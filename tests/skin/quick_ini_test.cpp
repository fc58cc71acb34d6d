// The INI reader's rules: trimming, comments, sections in any letter case, first match wins.
#include <gtest/gtest.h>

#include "skin/quick_ini.h"

using skin::TQuickIni;

namespace {
TQuickIni Ini(std::u16string_view text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}
}  // namespace

TEST(QuickIni, KeysAndValuesAreTrimmedAndKeysMatchInAnyCase) {
  const TQuickIni ini = Ini(u"[Main]\r\n  Width  =  12  \r\nNAME=Big Blue\r\n");
  EXPECT_EQ(ini.ReadString(u"Main", u"width", u"-"), u"12");
  EXPECT_EQ(ini.ReadString(u"MAIN", u"Name", u"-"), u"Big Blue");
  EXPECT_EQ(ini.ReadString(u"main", u"missing", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"other", u"width", u"-"), u"-");
}

TEST(QuickIni, SectionsCommentsAndBlankLines) {
  const TQuickIni ini = Ini(
      u"; top comment\n"
      u"[ Spaced ]\n"
      u"a=1\n"
      u"[first]\n"
      u"\n"
      u"; b=commented\n"
      u"   \t\n"
      u"b=2\n"
      u"b=3\n"
      u"[FIRST]\n"
      u"c=4\n"
      u"[last]\r"
      u"tail=5");
  // A blank inside the brackets answers no request, but the section list shows it trimmed.
  EXPECT_EQ(ini.ReadString(u"Spaced", u"a", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u" Spaced ", u"a", u"-"), u"1");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"Spaced", u"first", u"FIRST", u"last"}));
  // Comments and blank lines are dropped; the first of repeated keys and sections wins.
  EXPECT_EQ(ini.ReadString(u"first", u"b", u"-"), u"2");
  EXPECT_EQ(ini.ReadString(u"First", u"c", u"-"), u"-");
  EXPECT_EQ(ini.SectionIndex(u"FIRST"), 2);
  EXPECT_EQ(ini.SectionIndex(u"none"), -1);
  // A key after the last section belongs to it until the end of the text.
  EXPECT_EQ(ini.ReadString(u"last", u"tail", u"-"), u"5");
  EXPECT_EQ(ini.Lines().size(), 9u);
}

TEST(QuickIni, EmptyValuesAndLinesWithoutEquals) {
  const TQuickIni ini = Ini(u"[s]\nnoequals\nempty=\nx = a = b\n");
  EXPECT_EQ(ini.ReadString(u"s", u"empty", u"dflt"), u"dflt");
  EXPECT_EQ(ini.ReadString(u"s", u"x", u""), u"a = b");
  EXPECT_EQ(ini.ReadString(u"s", u"noequals", u"-"), u"-");
  EXPECT_EQ(Ini(u"").ReadString(u"s", u"x", u"d"), u"d");
}

TEST(QuickIni, ReadInteger) {
  const TQuickIni ini = Ini(
      u"[n]\nhex=0x1F\nHEX=0X1f\ndollar=$1F\ndec=12\nneg=-7\nword=abc\nbare=0x\nbig=2147483648\n"
      u"min=-2147483648\nhexbig=0x1FFFFFFFF\nallbits=$FFFFFFFF\nsigned=0x-1\nspace=1 2\n");
  auto read = [&](std::u16string_view key) { return ini.ReadInteger(u"n", key, -99); };
  EXPECT_EQ(read(u"hex"), 31);
  EXPECT_EQ(read(u"HEX"), 31);
  EXPECT_EQ(read(u"dollar"), 31);
  EXPECT_EQ(read(u"dec"), 12);
  EXPECT_EQ(read(u"neg"), -7);
  EXPECT_EQ(read(u"word"), -99);
  EXPECT_EQ(read(u"bare"), -99);
  EXPECT_EQ(read(u"big"), -99);
  EXPECT_EQ(read(u"min"), INT32_MIN);
  EXPECT_EQ(read(u"hexbig"), -99);
  EXPECT_EQ(read(u"allbits"), -1);
  EXPECT_EQ(read(u"signed"), -99);
  EXPECT_EQ(read(u"space"), -99);
  EXPECT_EQ(read(u"missing"), -99);
}

TEST(QuickIni, StreamInCodePage936FromItsPosition) {
  // "[皮肤]\r\n名字=新式绿皮" in code page 936, after two bytes the reader must skip.
  const std::string bytes =
      "xx[\xC6\xA4\xB7\xF4]\r\n\xC3\xFB\xD7\xD6=\xD0\xC2\xCA\xBD\xC2\xCC\xC6\xA4";
  unicode::TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  stream.SetPosition(2);
  TQuickIni ini;
  ini.LoadFromStream(stream);
  EXPECT_EQ(ini.ReadString(u"皮肤", u"名字", u""), u"新式绿皮");
}
