#include "app/workbook/cell_text.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CellText, NumbersInTheirShortestFormOfAtMost15Digits) {
  EXPECT_EQ(NumberText(0), u"0");
  EXPECT_EQ(NumberText(-0.0), u"0");
  EXPECT_EQ(NumberText(42), u"42");
  EXPECT_EQ(NumberText(-7.25), u"-7.25");
  EXPECT_EQ(NumberText(0.1 + 0.2), u"0.3");
  EXPECT_EQ(NumberText(1.0 / 3), u"0.333333333333333");
  EXPECT_EQ(NumberText(2.0 / 3), u"0.666666666666667");
  EXPECT_EQ(NumberText(123456789012345), u"123456789012345");
  EXPECT_EQ(NumberText(1234567890123456), u"1.23456789012346E15");
  EXPECT_EQ(NumberText(1e20), u"1E20");
  EXPECT_EQ(NumberText(0.00001), u"0.00001");
  EXPECT_EQ(NumberText(0.000015), u"0.000015");
  EXPECT_EQ(NumberText(0.0000015), u"1.5E-6");
  EXPECT_EQ(NumberText(-2.5e-7), u"-2.5E-7");
  EXPECT_EQ(NumberText(1000), u"1000");
}

TEST(CellText, DatesAndTimesOfBothSystems) {
  EXPECT_EQ(DateText(45296, false), u"2024/1/5");
  EXPECT_EQ(DateText(45296.572916666664, false), u"2024/1/5 13:45:00");
  EXPECT_EQ(DateText(0.5, false), u"12:00:00");
  EXPECT_EQ(DateText(1, false), u"1900/1/1");
  EXPECT_EQ(DateText(59, false), u"1900/2/28");
  EXPECT_EQ(DateText(60, false), u"1900/2/29");  // the day the 1900 system counts
  EXPECT_EQ(DateText(61, false), u"1900/3/1");
  EXPECT_EQ(DateText(43830 + 0.99999999, false), u"2020/1/1");  // rounds up to the next midnight
  EXPECT_EQ(DateText(43830, true), u"2024/1/1");
  EXPECT_EQ(DateText(0, true), u"0:00:00");
  EXPECT_EQ(DateText(-1, false), u"-1");  // no date before day 0
  EXPECT_EQ(DateText(3e6, false), u"3000000");
}

TEST(CellText, BooleansAndErrors) {
  EXPECT_EQ(BoolText(true), u"TRUE");
  EXPECT_EQ(BoolText(false), u"FALSE");
  EXPECT_EQ(ErrorText(0x2A), u"#N/A");
  EXPECT_EQ(ErrorText(0x07), u"#DIV/0!");
  EXPECT_EQ(ErrorText(0x0F), u"#VALUE!");
  EXPECT_EQ(ErrorText(0x17), u"#REF!");
  EXPECT_EQ(ErrorText(0x1D), u"#NAME?");
  EXPECT_EQ(ErrorText(0x24), u"#NUM!");
  EXPECT_EQ(ErrorText(0x00), u"#NULL!");
}

TEST(CellText, DateFormatsByIdAndByCode) {
  EXPECT_TRUE(IsDateFormat(14, ""));
  EXPECT_TRUE(IsDateFormat(22, ""));
  EXPECT_TRUE(IsDateFormat(31, ""));  // a Chinese date format
  EXPECT_FALSE(IsDateFormat(0, "General"));
  EXPECT_FALSE(IsDateFormat(4, "#,##0.00"));
  EXPECT_TRUE(IsDateFormat(164, "yyyy\"年\"m\"月\"d\"日\""));
  EXPECT_TRUE(IsDateFormat(165, "[$-804]h:mm"));
  EXPECT_TRUE(IsDateFormat(166, "[h]:mm:ss"));
  EXPECT_FALSE(IsDateFormat(167, "\"days\" 0"));  // letters in quotes are shown, not dates
  EXPECT_FALSE(IsDateFormat(168, "[Red]0.00"));
  EXPECT_FALSE(IsDateFormat(169, "0.00E+00"));
  EXPECT_FALSE(IsDateFormat(170, "\\d0"));
  EXPECT_FALSE(IsDateFormat(171, "0;[Red]-0;\"d\""));
}

}  // namespace
}  // namespace app
