// The .xls reader on record streams made here: every number form, formula results, strings
// continued across records, and the compound files that must be refused.
#include <gtest/gtest.h>

#include "app/workbook/workbook_reader.h"
#include "compound_builder.h"

namespace app {
namespace {

using namespace test;
using Texts = std::vector<std::u16string>;

std::string Bof(std::uint16_t type) {
  std::string d;
  Put16(d, 0x0600);
  Put16(d, type);
  d.resize(16, '\0');
  return Record(0x0809, d);
}

std::string Cell(std::uint16_t row, std::uint16_t col, std::uint16_t xf) {
  std::string d;
  Put16(d, row);
  Put16(d, col);
  Put16(d, xf);
  return d;
}

std::uint32_t Rk(double value) {
  // Integers as 30-bit integers (bit 1), else the top 30 bits of the double.
  if (value == static_cast<std::int32_t>(value)) return static_cast<std::uint32_t>(static_cast<std::int32_t>(value)) << 2 | 2;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return static_cast<std::uint32_t>(bits >> 32) & 0xFFFFFFFC;
}

// A workbook: globals (XF 0 general, XF 1 a date), a shared-string table whose second string
// is split over a CONTINUE record (8-bit first half, 16-bit second half), and one or two sheets.
std::string Workbook(const std::vector<std::string>& sheets, std::uint16_t activeTab = 0, bool password = false) {
  std::string globals = Bof(0x0005);
  if (password) globals += Record(0x002F, std::string(6, '\0'));
  std::string window(18, '\0');
  window[10] = static_cast<char>(activeTab);
  globals += Record(0x003D, window);
  for (std::uint16_t format : {0, 14}) {
    std::string xf(20, '\0');
    xf[2] = static_cast<char>(format);
    globals += Record(0x00E0, xf);
  }
  std::string sst;
  Put32(sst, 2);
  Put32(sst, 2);
  Put16(sst, 2);
  sst += '\0';
  sst += "ab";
  Put16(sst, 4);  // "xy" + "中文", split after "xy"
  sst += '\0';
  sst += "xy";
  std::string more;
  more += '\x01';
  Put16(more, u'中');
  Put16(more, u'文');
  globals += Record(0x00FC, sst) + Record(0x003C, more);
  // BOUNDSHEET offsets are known once the globals' size is.
  std::string bound;
  std::size_t size = globals.size() + 4;  // + EOF
  size += sheets.size() * (4 + 8 + 2);
  std::size_t offset = size;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    std::string d;
    Put32(d, static_cast<std::uint32_t>(offset));
    Put16(d, 0);
    d += '\x01';  // one character
    d += '\0';
    d += static_cast<char>('A' + i);
    d.resize(8, '\0');
    // BOUNDSHEET data is 8 + name; our names are one 8-bit character, padded above: keep 8+2.
    d.resize(10, '\0');
    bound += Record(0x0085, d);
    offset += sheets[i].size();
  }
  std::string stream = globals + bound + Record(0x000A, "");
  for (const std::string& s : sheets) stream += s;
  return stream;
}

std::string SheetOf(const std::string& records) { return Bof(0x0010) + records + Record(0x000A, ""); }

TEST(XlsRecords, EveryNumberFormAndFormulaResult) {
  std::string r;
  std::string number = Cell(0, 0, 0);
  PutF64(number, 0.1);
  r += Record(0x0203, number);
  std::string rk = Cell(0, 1, 0);
  Put32(rk, Rk(-12));
  r += Record(0x027E, rk);
  std::string rk100 = Cell(0, 2, 0);
  Put32(rk100, Rk(1234) | 1);  // 12.34 as an integer times 100
  r += Record(0x027E, rk100);
  std::string mulrk = Cell(1, 0, 0).substr(0, 4);  // row 1, first column 0
  Put16(mulrk, 0);
  Put32(mulrk, Rk(1.5));
  Put16(mulrk, 1);
  Put32(mulrk, Rk(45296));  // a date by its XF
  Put16(mulrk, 0);
  Put32(mulrk, Rk(7));
  Put16(mulrk, 2);  // last column
  r += Record(0x00BD, mulrk);
  // Formulas: a number, a text (with its STRING record after a SHRFMLA), a boolean, an error, an empty text.
  auto formula = [&](std::uint16_t col, const std::string& result) {
    std::string d = Cell(2, col, 0) + result;
    d.resize(20, '\0');
    return Record(0x0006, d);
  };
  std::string numberResult;
  PutF64(numberResult, 3);
  r += formula(0, numberResult);
  r += formula(1, std::string("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8)) + Record(0x04BC, std::string(10, '\0'));
  std::string text;
  Put16(text, 2);
  text += '\x01';
  Put16(text, u'文');
  Put16(text, u'字');
  r += Record(0x0207, text);
  r += formula(2, std::string("\x01\x00\x01\x00\x00\x00\xFF\xFF", 8));
  r += formula(3, std::string("\x02\x00\x2A\x00\x00\x00\xFF\xFF", 8));
  r += formula(4, std::string("\x03\x00\x00\x00\x00\x00\xFF\xFF", 8));
  // Shared strings and a boolean cell.
  std::string label = Cell(3, 0, 0);
  Put32(label, 1);
  r += Record(0x00FD, label);
  std::string boolerr = Cell(3, 1, 0);
  boolerr += '\x00';
  boolerr += '\x00';
  r += Record(0x0205, boolerr);
  std::string error = Cell(3, 2, 0);
  error += '\x07';
  error += '\x01';
  r += Record(0x0205, error);

  const std::string stream = Workbook({SheetOf(r)});
  // The date style is XF 1: the MULRK's middle value uses it.
  std::string dated = stream;
  const std::size_t at = dated.find(mulrk) + 10;  // the second (xf, rk) pair's xf
  dated[at] = '\x01';
  const WorkbookRead read = ReadWorkbook(CompoundFileOf({{u"Workbook", dated}}));
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  EXPECT_EQ(read.cells, (Texts{u"0.1", u"-12", u"12.34", u"", u"",
                               u"1.5", u"2024/1/5", u"7", u"", u"",
                               u"3", u"文字", u"TRUE", u"#N/A", u"",
                               u"xy中文", u"FALSE", u"#DIV/0!", u"", u""}));
}

TEST(XlsRecords, TheActiveTabPicksTheSheet) {
  std::string first = Cell(0, 0, 0), second = Cell(4, 4, 0);
  Put32(first, 0);
  Put32(second, 0);
  const auto file = [&](std::uint16_t tab) {
    return CompoundFileOf({{u"Workbook", Workbook({SheetOf(Record(0x00FD, first)), SheetOf(Record(0x00FD, second))}, tab)}});
  };
  EXPECT_EQ(ReadWorkbook(file(0)).cells, (Texts{u"ab"}));
  EXPECT_EQ(ReadWorkbook(file(1)).cells, (Texts{u"ab"}));
  EXPECT_TRUE(ReadWorkbook(file(1)).ok());
  EXPECT_TRUE(ReadWorkbook(file(9)).ok());  // a tab past the sheets: the first
}

TEST(XlsRecords, RefusedFiles) {
  const std::string sheet = SheetOf("");
  EXPECT_EQ(ReadWorkbook(CompoundFileOf({{u"Workbook", Workbook({sheet}, 0, true)}})).error, WorkbookError::Encrypted);
  EXPECT_EQ(ReadWorkbook(CompoundFileOf({{u"EncryptionInfo", "x"}, {u"EncryptedPackage", "y"}})).error,
            WorkbookError::Encrypted);
  EXPECT_EQ(ReadWorkbook(CompoundFileOf({{u"Book", Workbook({sheet})}})).error, WorkbookError::OldFormat);
  std::string biff5 = Workbook({sheet});
  biff5[4] = 0x00;
  biff5[5] = 0x05;  // version 0x0500
  EXPECT_EQ(ReadWorkbook(CompoundFileOf({{u"Workbook", biff5}})).error, WorkbookError::OldFormat);
  EXPECT_EQ(ReadWorkbook(CompoundFileOf({{u"WordDocument", "text"}})).error, WorkbookError::NotAWorkbook);
}

TEST(XlsRecords, ALoopingSectorChainIsDamagedNotAHang) {
  std::string big = Workbook({SheetOf("")});
  big.resize(20000, '\0');
  const WorkbookRead read = ReadWorkbook(CompoundFileOf({{u"Workbook", big}}, true));
  EXPECT_EQ(read.error, WorkbookError::Damaged);
}

TEST(XlsRecords, ARecordRunningPastTheStreamIsDamaged) {
  std::string stream = Workbook({SheetOf("")});
  std::string cut = stream.substr(0, 30);
  cut[2] = '\x7F';  // the BOF claims more bytes than there are
  const WorkbookRead read = ReadWorkbook(CompoundFileOf({{u"Workbook", cut.substr(0, 24)}}));
  EXPECT_FALSE(read.ok());
}

}  // namespace
}  // namespace app
