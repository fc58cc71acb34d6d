// The .xlsx reader and its zip and XML layers on archives made here: hostile sizes, damaged
// data, and the cell forms the fixtures do not hold.
#include <gtest/gtest.h>

#include "app/workbook/workbook_reader.h"
#include "app/workbook/xml_scanner.h"
#include "app/workbook/zip_archive.h"
#include "zip_builder.h"

namespace app {
namespace {

using namespace test;
using Texts = std::vector<std::u16string>;

TEST(XlsxParts, InlineStringsReferencesLeftOutAndIsoDates) {
  const std::string sheet =
      "<row r=\"2\"><c t=\"inlineStr\"><is><t>行</t><rPh><t>ぎょう</t></rPh></is></c><c><v>5</v></c></row>"
      "<row><c t=\"d\"><v>2024-01-05T13:45:00</v></c><c r=\"B3\"><f>SUM()</f></c></row>"
      "<row r=\"4\"><c r=\"A4\" t=\"str\"><v>&lt;&amp;&#x4E2D;&#25991;&gt;</v></c></row>";
  const WorkbookRead read = ReadWorkbook(ZipOf(XlsxParts(sheet)));
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  EXPECT_EQ(read.cells, (Texts{u"行", u"5", u"2024/1/5 13:45:00", u"", u"<&中文>", u""}));
}

TEST(XlsxParts, ADeclaredEntityIsNeverExpanded) {
  auto parts = XlsxParts("<row r=\"1\"><c r=\"A1\" t=\"str\"><v>&big;</v></c></row>");
  parts[4].data = "<!DOCTYPE w [<!ENTITY big \"xxxxxxxxxxxxxxxx\"><!ENTITY x2 \"&big;&big;\">]>" + parts[4].data;
  const WorkbookRead read = ReadWorkbook(ZipOf(parts));
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.cells, (Texts{u"&big;"}));
}

TEST(XlsxParts, AZipBombStopsAtTheLimit) {
  // 64 MB of markup in about 64 KB, read with a 4 MB limit for each part.
  std::string huge = "<worksheet><sheetData>" + std::string(64 << 20, ' ') + "</sheetData></worksheet>";
  auto parts = XlsxParts("");
  parts[4].data = std::move(huge);
  const std::string file = ZipOf(parts);
  EXPECT_LT(file.size(), 1000000u);
  WorkbookLimits limits;
  limits.maxPartBytes = 4 << 20;
  EXPECT_EQ(ReadWorkbook(file, limits).error, WorkbookError::TooLarge);
}

TEST(XlsxParts, DeclaredSizesAreNotTrusted) {
  // A member claiming 4 GB is read as the little it holds (its checksum still decides).
  auto parts = XlsxParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  parts[4].declaredSize = 0xFFFFFFF0;
  EXPECT_EQ(ReadWorkbook(ZipOf(parts)).cells, (Texts{u"1"}));
  const std::string stored = ZipOf({{"a", "stored data", false}});
  const ZipArchive zip(stored);  // it reads the bytes in place
  EXPECT_EQ(zip.read("a", 100), "stored data");
  EXPECT_THROW(zip.read("a", 5), WorkbookFailure);
  EXPECT_EQ(zip.read("missing", 100), std::nullopt);
}

TEST(XlsxParts, DamagedAndEncryptedMembers) {
  auto parts = XlsxParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  std::string file = ZipOf(parts);
  // A flipped byte inside the sheet's compressed data: bad data or a wrong checksum.
  std::string flipped = file;
  const std::size_t at = flipped.find("xl/worksheets/s.xml") + 21;
  flipped[at] = static_cast<char>(flipped[at] ^ 0x55);
  EXPECT_EQ(ReadWorkbook(flipped).error, WorkbookError::Damaged);
  parts[4].flags = 1;  // encrypted with the zip's own scheme
  EXPECT_EQ(ReadWorkbook(ZipOf(parts)).error, WorkbookError::Encrypted);
  // A cell naming a shared string that does not exist.
  EXPECT_EQ(ReadWorkbook(ZipOf(XlsxParts("<row><c r=\"A1\" t=\"s\"><v>3</v></c></row>"))).error,
            WorkbookError::Damaged);
  EXPECT_EQ(ReadWorkbook(ZipOf(XlsxParts("<row><c r=\"A0\"><v>3</v></c></row>"))).error, WorkbookError::Damaged);
  EXPECT_EQ(ReadWorkbook(ZipOf(XlsxParts("<row><c r=\"A1\"><v>3</v></c"))).error, WorkbookError::Damaged);
  EXPECT_EQ(ReadWorkbook(ZipOf({{"other.txt", "x"}})).error, WorkbookError::NotAWorkbook);
}

TEST(XmlScanner, TagsAttributesAndText) {
  XmlScanner scan("<?xml version=\"1.0\"?><!-- note --><a:root x:k='v&quot;' j=\"2\"><b/>t&amp;<![CDATA[<raw>]]></a:root>");
  EXPECT_EQ(scan.next(), XmlScanner::Token::StartTag);
  EXPECT_EQ(scan.name(), "root");
  EXPECT_EQ(scan.attribute("k"), "v\"");
  EXPECT_EQ(scan.attribute("j"), "2");
  EXPECT_EQ(scan.attribute("none"), std::nullopt);
  EXPECT_EQ(scan.next(), XmlScanner::Token::StartTag);
  EXPECT_TRUE(scan.selfClosing());
  EXPECT_EQ(scan.next(), XmlScanner::Token::EndTag);
  EXPECT_EQ(scan.next(), XmlScanner::Token::Text);
  EXPECT_EQ(scan.text(), "t&");
  EXPECT_EQ(scan.next(), XmlScanner::Token::Text);
  EXPECT_EQ(scan.text(), "<raw>");
  EXPECT_EQ(scan.next(), XmlScanner::Token::EndTag);
  EXPECT_EQ(scan.next(), XmlScanner::Token::End);
  EXPECT_EQ(DecodeXmlText("&#0;&#xD800;&#99999999;&unknown;"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD&unknown;");
  XmlScanner open("<a x=\"1>");
  EXPECT_THROW(open.next(), WorkbookFailure);
}

}  // namespace
}  // namespace app
