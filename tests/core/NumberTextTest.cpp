#include <gtest/gtest.h>

#include <clocale>

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"

TEST(FormatSingle, WritesShortestInvariantText)
{
    EXPECT_EQ(FormatSingle(0.05f), "0.05");
    EXPECT_EQ(FormatSingle(45.375f), "45.375");
    EXPECT_EQ(FormatSingle(100.0f), "100");
    EXPECT_EQ(FormatSingle(-1.25f), "-1.25");
    EXPECT_EQ(FormatSingle(0.00001f), "1E-05");
    EXPECT_EQ(FormatSingle(-1.0f), "-1");
    EXPECT_EQ(FormatSingle(1.0f / 3.0f), "0.3333333");
}

TEST(FormatSingle, IgnoresADecimalCommaLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(FormatSingle(0.375f), "0.375");
    EXPECT_EQ(FormatDouble(1234.5), "1234.5");
    EXPECT_EQ(ParseDecimal("0.375"), 0.375);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ParseDecimal, AcceptsTheNumberShapes)
{
    EXPECT_EQ(ParseDecimal(" 12.5 "), 12.5);
    EXPECT_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_EQ(ParseDecimal("-.5"), -0.5);
    EXPECT_EQ(ParseDecimal("+3"), 3.0);
    EXPECT_EQ(ParseDecimal("1E-05"), 1e-05);
    EXPECT_EQ(ParseDecimal("5."), 5.0);
}

TEST(ParseDecimal, RefusesEverythingElse)
{
    for (const char* text : {"", " ", "NA", "5%", "1,000", "1.2.3", ".", "-", "1E", "0x10", "12 5"})
        EXPECT_FALSE(ParseDecimal(text).has_value()) << text;
}

TEST(SplitLines, EndsLinesAtCrLfCrOrLf)
{
    const auto lines = SplitLines("a\r\nb\rc\nd\r\n\r\ne");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "e");
}
