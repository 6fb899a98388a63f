#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "core/text/RecordFormat.h"

namespace {

std::vector<RecordValue> ReadAll(std::string_view text)
{
    std::vector<RecordValue> values;
    RecordReader reader(text);
    while (auto value = reader.Next()) values.push_back(*value);
    return values;
}

void ExpectValue(const RecordValue& value, const std::string& text, bool quoted)
{
    EXPECT_EQ(value.Text, text);
    EXPECT_EQ(value.Quoted, quoted) << text;
}

} // namespace

TEST(RecordReader, EndsValuesAtCommasAndEveryKindOfLineEnd)
{
    const auto values = ReadAll("\"<STOCK>ABC\"\r\n1.5,-1\n\"\",x\r  \"last\"");
    ASSERT_EQ(values.size(), 6u);
    ExpectValue(values[0], "<STOCK>ABC", true);
    ExpectValue(values[1], "1.5", false);
    ExpectValue(values[2], "-1", false);
    ExpectValue(values[3], "", true);
    ExpectValue(values[4], "x", false);
    ExpectValue(values[5], "last", true);
}

TEST(RecordReader, KeepsCommasAndBlanksInsideQuotes)
{
    const auto values = ReadAll("  \" a, b \" ,  12.5  ,\"c\"junk,7");
    ASSERT_EQ(values.size(), 4u);
    ExpectValue(values[0], " a, b ", true);
    ExpectValue(values[1], "12.5", false);
    ExpectValue(values[2], "c", true); // what follows the closing quote is dropped
    ExpectValue(values[3], "7", false);
}

TEST(RecordReader, AnUnclosedQuoteEndsWithItsLine)
{
    const auto values = ReadAll("\"cut off\r\n\"next\"\r\n");
    ASSERT_EQ(values.size(), 2u);
    ExpectValue(values[0], "cut off", true);
    ExpectValue(values[1], "next", true);
}

TEST(RecordReader, SkipsTheRestOfALineOnlyAfterAComma)
{
    RecordReader reader("1,2,\"3\r\n4\r\n5,6");
    EXPECT_EQ(reader.Next()->Text, "1");
    reader.SkipRestOfLine();
    EXPECT_EQ(reader.Next()->Text, "4");
    reader.SkipRestOfLine(); // "4" ended its line: nothing to pass over
    EXPECT_EQ(reader.Next()->Text, "5");
    reader.SkipRestOfLine();
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Next());
}

TEST(SplitRecord, GivesEveryValueOfALine)
{
    const auto option = SplitRecord("\"ABCAM\",1.25,-1,1.125,1.375,10,250");
    ASSERT_EQ(option.size(), 7u);
    ExpectValue(option[0], "ABCAM", true);
    EXPECT_EQ(option[6].Text, "250");

    const auto trailing = SplitRecord("1,");
    ASSERT_EQ(trailing.size(), 2u);
    ExpectValue(trailing[1], "", false);

    const auto empty = SplitRecord("");
    ASSERT_EQ(empty.size(), 1u);
    ExpectValue(empty[0], "", false);
}

TEST(RecordConversions, ReadBooleansOnlyInTheirMarkers)
{
    EXPECT_EQ(RecordBoolean({"#TRUE#", false}), true);
    EXPECT_EQ(RecordBoolean({"#false#", false}), false);
    for (const char* text : {"TRUE", "1", "#TRUE", ""}) EXPECT_FALSE(RecordBoolean({text, false})) << text;
    EXPECT_FALSE(RecordNumber({"#TRUE#", false}));
    EXPECT_EQ(RecordNumber({"25", true}), 25.0); // a quoted number still reads as one
}

TEST(RecordConversions, IgnoreADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(FormatSingleItem(0.375f), "0.375");
    EXPECT_EQ(RecordNumber({"0.375", false}), 0.375);
    EXPECT_FALSE(RecordNumber({"0,375", false}));
    std::setlocale(LC_ALL, saved.c_str());
}
