#include <gtest/gtest.h>

#include <limits>

#include "core/report/DisplayPattern.h"

// Rows of the report's pattern table, with the examples given for each pattern.
TEST(FormatPattern, PercentPatterns)
{
    EXPECT_EQ(FormatPattern(0.055f, "0.0%"), "5.5%");
    EXPECT_EQ(FormatPattern(-0.021f, "0.0%"), "-2.1%");
    EXPECT_EQ(FormatPattern(0.3456f, "0.0%;n/a"), "34.6%");
    EXPECT_EQ(FormatPattern(-1.0f, "0.0%;n/a"), "n/a");
    EXPECT_EQ(FormatPattern(0.41f, " 0.0%; n/a"), " 41.0%");
    EXPECT_EQ(FormatPattern(0.0f, " 0.0%; n/a"), " 0.0%");
}

TEST(FormatPattern, GroupedWholeNumbers)
{
    EXPECT_EQ(FormatPattern(1234567.6, "#,###,###,##0"), "1,234,568");
    EXPECT_EQ(FormatPattern(0.0, "#,###,###,##0"), "0");
    EXPECT_EQ(FormatPattern(999.5, "#,###,###,##0"), "1,000");
    EXPECT_EQ(FormatPattern(123456789012.0, "#,###,###,##0"), "123,456,789,012");
    EXPECT_EQ(FormatPattern(-1234.0, "#,###,###,##0"), "-1,234");
}

TEST(FormatPattern, OptionalDecimals)
{
    EXPECT_EQ(FormatPattern(12.345f, "0.0#"), "12.35");
    EXPECT_EQ(FormatPattern(12.0f, "0.0#"), "12.0");
    EXPECT_EQ(FormatPattern(0.004f, "0.0#"), "0.0");
    EXPECT_EQ(FormatPattern(-8.125f, "0.0#"), "-8.13");
    EXPECT_EQ(FormatPattern(2.375f, " #0.0##"), " 2.375");
    EXPECT_EQ(FormatPattern(0.0f, " #0.0##"), " 0.0");
    EXPECT_EQ(FormatPattern(0.5f, " #0.0##"), " 0.5");
}

TEST(FormatPattern, HalvesRoundAwayFromZeroOnTheShownDecimal)
{
    EXPECT_EQ(FormatPattern(0.0625f, " #0.0##"), " 0.063");
    // The single nearest to 2.675 lies below it; the shown decimal 2.675 decides.
    EXPECT_EQ(FormatPattern(2.675f, "0.0#"), "2.68");
    EXPECT_EQ(FormatPattern(9.9996f, " #0.0##"), " 10.0");
    EXPECT_EQ(FormatPattern(0.5f, "#####0;n/a"), "1");
    EXPECT_EQ(FormatPattern(0.49f, "#####0;n/a"), "0");
    EXPECT_EQ(FormatPattern(-0.00004f, "0.0%"), "0.0%");
}

TEST(FormatPattern, NegativeSectionReplacesTheValue)
{
    EXPECT_EQ(FormatPattern(-1.0f, " #0.0##; n/a"), " n/a");
    EXPECT_EQ(FormatPattern(-0.25f, " #0.0##; -----"), " -----");
    EXPECT_EQ(FormatPattern(0.25f, " #0.0##; -----"), " 0.25");
    EXPECT_EQ(FormatPattern(3250.0f, "#####0;n/a"), "3250");
    EXPECT_EQ(FormatPattern(-1.0f, "#####0;n/a"), "n/a");
    EXPECT_EQ(FormatPattern(-1.0f, " #####0; n/a"), " n/a");
    // A second section with placeholders formats the magnitude.
    EXPECT_EQ(FormatPattern(25.0f, "+0.0;-0.0"), "+25.0");
    EXPECT_EQ(FormatPattern(-3.25f, "+0.0;-0.0"), "-3.3");
    EXPECT_EQ(FormatPattern(0.0f, "+0.0;-0.0"), "+0.0");
}

TEST(FormatPattern, LeadingZerosAndLiterals)
{
    EXPECT_EQ(FormatPattern(5, " 00/"), " 05/");
    EXPECT_EQ(FormatPattern(105, " 00"), " 105");
    EXPECT_EQ(FormatPattern(0, "00"), "00");
    EXPECT_EQ(FormatPattern(45.375f, "$0.00"), "$45.38");
    EXPECT_EQ(FormatPattern(0.125f, "$0.00"), "$0.13");
}

TEST(FormatPattern, ExtremeValuesKeepTheirDigits)
{
    EXPECT_EQ(FormatPattern(std::numeric_limits<float>::max(), "#####0;n/a").size(), 39u);
    EXPECT_EQ(FormatPattern(1e-30f, " #0.0##"), " 0.0");
    EXPECT_EQ(FormatPattern(std::numeric_limits<int>::min(), "00"), "-2147483648");
    EXPECT_EQ(FormatPattern(std::numeric_limits<float>::infinity(), "0.0%"), "inf");
}

TEST(FormatTextPattern, FillsPositions)
{
    EXPECT_EQ(FormatTextPattern("IBM", "  !@@@  "), "  IBM  ");
    EXPECT_EQ(FormatTextPattern("F", "  !@@@  "), "  F    ");
    EXPECT_EQ(FormatTextPattern("", "  !@@@  "), "       ");
    EXPECT_EQ(FormatTextPattern("ABCD", "  !@@@  "), "  ABCD  ");
    EXPECT_EQ(FormatTextPattern("T", "   @"), "   T");
    EXPECT_EQ(FormatTextPattern("F", "@@@"), "  F");
}

TEST(PadField, FillsAndCuts)
{
    EXPECT_EQ(PadField("UP", 7), "UP     ");
    EXPECT_EQ(PadField("", 3), "   ");
    EXPECT_EQ(PadField(" 123456.789", 7), " 123456");
    EXPECT_EQ(CodeText('\0'), "");
    EXPECT_EQ(CodeText('A'), "A");
}
