#include "app/workbook/workbook_reader.h"

#include <gtest/gtest.h>

#include "workbook_fixture.h"

namespace app {
namespace {

using Texts = std::vector<std::u16string>;

class BothFormats : public ::testing::TestWithParam<const char*> {
 protected:
  WorkbookRead Read(const std::string& stem) {
    const std::string bytes = test::ReadFixture(stem + GetParam());
    EXPECT_FALSE(bytes.empty()) << stem << GetParam();
    return ReadWorkbook(bytes);
  }
};

TEST_P(BothFormats, ThreeRowsTwoColumnsGiveSixEntriesInRowOrder) {
  const WorkbookRead read = Read("grid_3x2");
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  EXPECT_EQ(read.cells, (Texts{u"甲", u"乙", u"丙", u"丁", u"戊", u"己"}));
}

TEST_P(BothFormats, UsedRangeStartsAtItsFirstCell) {
  const WorkbookRead read = Read("range_c3");
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.cells, (Texts{u"甲", u"乙", u"丙", u"丁", u"戊", u"己"}));
}

TEST_P(BothFormats, TextsKeepEveryCharacterAndLine) {
  const WorkbookRead read = Read("texts");
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  ASSERT_EQ(read.cells.size(), 1505u);
  EXPECT_EQ(read.cells[0], u"中文文本");
  EXPECT_EQ(read.cells[1], u"第一行\n第二行");
  EXPECT_EQ(read.cells[2], u"한국어 ÄÖ € 😀");
  EXPECT_EQ(read.cells[3], u"");  // an empty cell inside the range
  EXPECT_EQ(read.cells[4], u"plain");
  // The shared strings run over several records in the .xls: every one still in place.
  EXPECT_EQ(read.cells[5], u"字符串0000号");
  EXPECT_EQ(read.cells[5 + 6], u"字符串0006号长长长长长长");
  for (int i = 0; i < 1500; ++i) {
    std::u16string expected = u"字符串";
    const std::string n = (i < 1000 ? "0" : "") + std::string(i < 100 ? "0" : "") + std::string(i < 10 ? "0" : "") +
                          std::to_string(i);
    expected += std::u16string(n.begin(), n.end()) + u"号" + std::u16string(i % 7, u'长');
    ASSERT_EQ(read.cells[5 + i], expected) << i;
  }
}

TEST_P(BothFormats, NumbersDatesBooleansErrorsAndEmptyCells) {
  const WorkbookRead read = Read("values");
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  EXPECT_EQ(read.cells, (Texts{u"42", u"2024/1/5",
                               u"-7", u"2024/1/5 13:45:00",
                               u"0.1", u"TRUE",
                               u"0.333333333333333", u"FALSE",
                               u"2.5E20", u"#N/A",
                               u"1.5E-7", u"#DIV/0!",
                               u"123456789012345", u"",
                               u"0.3", u"45000",
                               u"100000.5", u"12:00:00"}));
}

TEST_P(BothFormats, DatesOfThe1904System) {
  const WorkbookRead read = Read("dates_1904");
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.cells, (Texts{u"2024/1/5"}));
}

TEST_P(BothFormats, TheActiveSheetIsRead) {
  const WorkbookRead read = Read("second_active");
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.cells, (Texts{u"第二页的数据", u"", u"", u"2"}));
}

INSTANTIATE_TEST_SUITE_P(Workbook, BothFormats, ::testing::Values(".xlsx", ".xls"),
                         [](const auto& info) { return std::string(info.param + 1); });

TEST(XlsxReader, CachedFormulaResults) {
  const WorkbookRead read = ReadWorkbook(test::ReadFixture("formulas.xlsx"));
  ASSERT_TRUE(read.ok()) << static_cast<int>(read.error);
  EXPECT_EQ(read.cells, (Texts{u"1", u"3", u"2", u"文字", u"", u"FALSE", u"", u"#DIV/0!"}));
}

TEST(WorkbookReader, AMillionRowRangeIsTooMany) {
  const WorkbookRead read = ReadWorkbook(test::ReadFixture("million_rows.xlsx"));
  EXPECT_EQ(read.error, WorkbookError::TooManyCells);
  EXPECT_TRUE(read.cells.empty());
  // Fewer cells may pass: the limit is the caller's.
  WorkbookLimits limits;
  limits.maxCells = 1000000;
  EXPECT_EQ(ReadWorkbook(test::ReadFixture("million_rows.xlsx"), limits).cells.size(), 1000000u);
}

TEST(WorkbookReader, ChoosesByContentAndNamesWhatItRefuses) {
  EXPECT_EQ(ReadWorkbook(test::ReadFixture("sheet.ods")).error, WorkbookError::OpenDocument);
  EXPECT_EQ(ReadWorkbook(test::ReadFixture("table.csv")).error, WorkbookError::NotAWorkbook);
  EXPECT_EQ(ReadWorkbook("").error, WorkbookError::NotAWorkbook);
  // An Excel 4 sheet: bare records starting with a BOF record.
  EXPECT_EQ(ReadWorkbook(std::string("\x09\x04\x06\x00\x00\x00\x10\x00", 8)).error, WorkbookError::OldFormat);
  for (WorkbookError e : {WorkbookError::NotAWorkbook, WorkbookError::OldFormat, WorkbookError::Encrypted,
                          WorkbookError::OpenDocument, WorkbookError::Damaged, WorkbookError::TooLarge,
                          WorkbookError::TooManyCells}) {
    EXPECT_TRUE(WorkbookErrorText(e).starts_with(u"无法导入！"));
  }
}

TEST(WorkbookReader, TruncatedFilesAreDamagedNotCrashes) {
  for (const char* name : {"values.xlsx", "texts.xlsx", "values.xls", "texts.xls"}) {
    const std::string whole = test::ReadFixture(name);
    // (A compound file's last sector may lose unused bytes without harm: cut deeper.)
    for (std::size_t keep : {whole.size() - 600, whole.size() / 2, std::size_t(600), std::size_t(30)}) {
      const WorkbookRead read = ReadWorkbook(whole.substr(0, keep));
      EXPECT_FALSE(read.ok()) << name << " " << keep;
      EXPECT_TRUE(read.cells.empty());
    }
  }
}

TEST(UsedRange, SpansFirstToLastRowAndColumnWithAValue) {
  std::vector<SheetCell> cells{{5, 3, u"b"}, {2, 4, u"a"}, {5, 4, u"c"}};
  EXPECT_EQ(UsedRangeTexts(cells, 100), (Texts{u"", u"a", u"", u"", u"", u"", u"b", u"c"}));
  EXPECT_TRUE(UsedRangeTexts({}, 100).empty());
  EXPECT_THROW(UsedRangeTexts(cells, 7), WorkbookFailure);
}

}  // namespace
}  // namespace app
