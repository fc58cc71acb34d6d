// Offset formats and the gutter texts they give.
#include <gtest/gtest.h>

#include "hexedit/custom_hex_editor.h"
#include "hexedit/hx_errors.h"
#include "hexedit/hx_offset_format.h"

using namespace hexedit;

namespace {
std::string ErrorOf(std::string_view format, int bytesPerRow = 16) {
  try {
    ParseOffsetFormat(format, bytesPerRow, 2, 1);
  } catch (const EHexEditor& e) {
    return e.what();
  }
  return {};
}
}  // namespace

TEST(OffsetFormat, TheDefaultFormatGivesPrefixedHexOfTheNeededWidth) {
  const OffsetFormat f = ParseOffsetFormat("-!10:0x|", 16, 2, 1);
  EXPECT_TRUE(f.autoDigits);
  EXPECT_EQ(f.radix, 16);
  EXPECT_EQ(f.prefix, "0x");
  EXPECT_EQ(OffsetDigitCount(f, 0x9FFFF0), 6);
  EXPECT_EQ(FormatOffset(f, 0x10, OffsetDigitCount(f, 0x9FFFF0), false), "0x000010");
  EXPECT_EQ(FormatOffset(f, 0xAB0, 4, true), "0x0ab0");
}

TEST(OffsetFormat, DigitPartRadixPrefixAndSuffix) {
  const OffsetFormat eight = ParseOffsetFormat("8!10:|", 16, 2, 1);
  EXPECT_EQ(FormatOffset(eight, 0, OffsetDigitCount(eight, 0), false), "00000000");
  const OffsetFormat decimal = ParseOffsetFormat("4!A:[|]", 16, 2, 1);
  EXPECT_EQ(FormatOffset(decimal, 160, OffsetDigitCount(decimal, 0), false), "[0160]");
  const OffsetFormat units = ParseOffsetFormat("4%!10:|h", 16, 2, 1);
  EXPECT_EQ(units.bytesPerUnit, 4);
  EXPECT_EQ(FormatOffset(units, 32, 1, false), "8h");
  const OffsetFormat columns = ParseOffsetFormat("c%10:|", 16, 2, 1);
  EXPECT_EQ(FormatOffset(columns, 32, 1, false), "10");
  // Digits are left out only for offset 0 with a digit count of 0.
  const OffsetFormat none = ParseOffsetFormat("0!10:x|", 16, 2, 1);
  EXPECT_EQ(FormatOffset(none, 0, 0, false), "x");
  EXPECT_EQ(FormatOffset(none, 17, 0, false), "x11");
}

TEST(OffsetFormat, BadFormatsNameWhatIsWrong) {
  EXPECT_EQ(ErrorOf("r%10:|"), "Invalid bytes per unit value 16, allowed: 1,2,4,8");
  EXPECT_EQ(ErrorOf("r%10:|", 8), "");
  EXPECT_EQ(ErrorOf("-!10:0x"), "Missing char in offset format: |");
  EXPECT_EQ(ErrorOf("-!10"), "Missing char in offset format: :");
  EXPECT_EQ(ErrorOf("-!:|"), "Missing char in offset format: number radix");
  EXPECT_EQ(ErrorOf("11:|"), "Invalid radix in offset format (11h), allowed: 02h..10h");
  EXPECT_EQ(ErrorOf("1:|"), "Invalid radix in offset format (1h), allowed: 02h..10h");
  EXPECT_EQ(ErrorOf("3%10:|"), "Invalid bytes per unit value 3, allowed: 1,2,4,8");
  // No offset needs more than 64 digits (radix 2): a larger minimum would only pad every
  // gutter text with millions of zeros.
  EXPECT_EQ(ErrorOf("2f34621A!2:|"), "Invalid digit count in offset format (2f34621ah), allowed: 00h..40h");
  EXPECT_EQ(ErrorOf("41!2:|"), "Invalid digit count in offset format (41h), allowed: 00h..40h");
  const OffsetFormat widest = ParseOffsetFormat("40!2:|", 16, 2, 1);
  EXPECT_EQ(FormatOffset(widest, ~0ull, OffsetDigitCount(widest, 0), false), std::string(64, '1'));
}

TEST(OffsetFormat, TheEditorsGutterFollowsItsFormatAndLayout) {
  TCustomHexEditor editor;
  editor.LoadFromBuffer(Bytes(0x100, 0));
  EXPECT_EQ(editor.OffsetFormatText(), "-!10:0x|");  // the default
  EXPECT_EQ(editor.RowOffsetText(1), "0x10");
  EXPECT_EQ(editor.RowOffsetText(15), "0xF0");
  editor.SetHexLowerCase(true);
  EXPECT_EQ(editor.RowOffsetText(15), "0xf0");
  // A row-unit format follows later changes of the row length, with the same checks.
  editor.SetBytesPerRow(8);
  editor.SetOffsetFormat("r%10:|");
  EXPECT_EQ(editor.RowOffsetText(3), "3");
  EXPECT_THROW(editor.SetBytesPerRow(16), EHexEditor);
  EXPECT_EQ(editor.BytesPerRow(), 8);
  editor.OnGetOffsetText = [](std::uint64_t p) -> std::optional<std::string> { return "@" + std::to_string(p); };
  EXPECT_EQ(editor.GetOffsetString(24), "@24");
  editor.SetOffsetFormat("");
  editor.OnGetOffsetText = nullptr;
  EXPECT_EQ(editor.RowOffsetText(3), "");  // an empty format: no gutter texts
  EXPECT_EQ(editor.GetAnyOffsetString(0x20), "20");
}
