#include <gtest/gtest.h>

#include <string>

#include "core/quotes/PageScanner.h"

namespace {

PageBuffer PageAt(std::string text)
{
    PageBuffer page;
    page.PageText = std::move(text);
    return page;
}

// The rest of the text from the cursor on, to see where a reader stopped.
std::string Rest(const PageBuffer& page)
{
    const auto index = static_cast<std::size_t>(page.PageCursor - 1);
    return index >= page.PageText.size() ? std::string() : page.PageText.substr(index);
}

} // namespace

TEST(StripHtmlTags, PutsEachTrimmedTextRunOnItsOwnLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<b>LAST SALE</b>  <td> 45 3/8 </td>", "LAST SALE\r\n45 3/8\r\n"},
        {"  no tags at all \t", "no tags at all\r\n"},
        {"x > y", "x > y\r\n"},
        {"a<b", "a\r\n"}, // an unclosed tag drops the rest
        {"a<b c>d<e f", "a\r\nd\r\n"},
        {"<td>A&NBSP;B</td>", "A&NBSP;B\r\n"},
        {"<p>one  two\nthree</p> \r\n <p></p><br>", "one  two\nthree\r\n"},
        {"", ""},
        {"<html><body></body></html>", ""},
        {std::string("<td>\xE9t\xE9") + '\0' + "</td>" + '\0' + "x", "\xE9t\xE9\r\nx\r\n"},
    };
    for (const auto& [markup, text] : cases) EXPECT_EQ(StripHtmlTags(markup), text) << markup;
}

TEST(FindLabelLine, MatchesALabelThatBeginsALineAfterTheFirst)
{
    PageBuffer page = PageAt("BID\r\nSIZE BID/ASK\r\n1\r\nBIDDER\r\n\r\n\r\n12.5\r\n");
    page.PageCursor = 9;
    ASSERT_TRUE(FindLabelLine(page, "BID")); // searched from the start, matched as a prefix
    EXPECT_EQ(Rest(page), "12.5\r\n");       // on the next non-empty line

    EXPECT_FALSE(FindLabelLine(page, "BID/ASK")); // inside a line
    EXPECT_FALSE(FindLabelLine(page, "ASK"));
    EXPECT_EQ(Rest(page), "12.5\r\n"); // unchanged by a failed search

    PageBuffer trade = PageAt("LAST TRADE: 10:00\r\nACME TOOLS INC\r\n");
    ASSERT_TRUE(FindLabelLine(trade, "TRADE")); // anywhere, even on the first line
    EXPECT_EQ(Rest(trade), "ACME TOOLS INC\r\n");
}

TEST(ReadTextField, TakesTheLineUpToTheMaximumLength)
{
    PageBuffer page = PageAt("   NASDAQ NM\r\nABCDEFGHIJKLMN\r\n  \r\n");
    EXPECT_EQ(ReadTextField(page, 10), "NASDAQ NM");
    EXPECT_EQ(ReadTextField(page, 10), "ABCDEFGHIJ");
    EXPECT_EQ(Rest(page), "KLMN\r\n  \r\n");
    EXPECT_EQ(ReadTextField(page, 10), "KLMN");
    EXPECT_FALSE(ReadTextField(page, 10).has_value()); // only blanks are left
}

TEST(ReadWholeNumber, ReadsUpToTenDigitsBehindFillers)
{
    PageBuffer page = PageAt("1,234 \r\n)(*2147483647X000000000123\r\n9999999999\r\n7) ");
    EXPECT_EQ(ReadWholeNumber(page), 1);
    EXPECT_EQ(Rest(page).substr(0, 4), ",234");
    page.PageCursor += 4;
    EXPECT_EQ(ReadWholeNumber(page), 2147483647);
    page.PageCursor += 1;
    EXPECT_EQ(ReadWholeNumber(page), 1); // ten digits "0000000001"
    EXPECT_EQ(ReadWholeNumber(page), 23);
    EXPECT_FALSE(ReadWholeNumber(page).has_value()); // above 2^31-1
    EXPECT_EQ(ReadWholeNumber(page), 7);              // the failed number did not leak into this one
    EXPECT_FALSE(ReadWholeNumber(page).has_value()); // only fillers are left
}

TEST(ReadPriceValue, UnderstandsEveryPriceNotation)
{
    const std::pair<const char*, float> cases[] = {
        {"45 3/8\r\n", 45.375f}, {"-1 1/4\r\n", -1.25f}, {"3/8\r\n", 0.375f},  {"+.5\r\n", 0.5f},
        {"12.25\r\n", 12.25f},   {"45\r\n", 45.0f},      {"45", 45.0f},        {"-.05\r\n", -0.05f},
        {") 7 1/16\r\n", 7.0625f}, {"12.1250000001\r\n", 12.125f},          {"n/a\r\n", 0.0f},
        {"1 1/0\r\n", 1.0f},     {"3/0\r\n", 0.0f}, // a zero denominator means no fraction
    };
    for (const auto& [text, value] : cases) {
        PageBuffer page = PageAt(text);
        EXPECT_EQ(ReadPriceValue(page), value) << text;
    }
    PageBuffer row = PageAt("45 3/8\r\n-2.5\r\n1,234\r\n");
    EXPECT_EQ(ReadPriceValue(row), 45.375f);
    EXPECT_EQ(ReadPriceValue(row), -2.5f);
    EXPECT_EQ(ReadPriceValue(row), 1.0f);
    EXPECT_EQ(Rest(row), ",234\r\n");
}

TEST(ReadPriceValue, FailsWhenTheTextEndsInsideTheValueOrANumberOverflows)
{
    for (const char* text : {"", " \r\n", "-", "45 3", "12.", "3000000000.5\r\n", "1 3000000000/8\r\n"}) {
        PageBuffer page = PageAt(text);
        EXPECT_FALSE(ReadPriceValue(page).has_value()) << text;
    }
}

// Junk input is left to the page scanner's fuzz target; these are the pages too big for its corpus.
TEST(PageScanner, HugePagesAndLines)
{
    std::string markup;
    for (int row = 0; row < 100000; ++row) markup += "<tr><td>ROW " + std::to_string(row) + "</td></tr>";
    PageBuffer huge = PageAt(StripHtmlTags(markup + "<td>BID</td><td>4 1/2</td>"));
    ASSERT_TRUE(FindLabelLine(huge, "BID"));
    EXPECT_GT(huge.PageCursor, 1'000'000); // positions are not limited to 16 bits
    EXPECT_EQ(ReadPriceValue(huge), 4.5f);

    PageBuffer longLine = PageAt(std::string(3'000'000, 'A') + "\r\n");
    EXPECT_EQ(ReadTextField(longLine, 36)->size(), 36u);
    EXPECT_FALSE(FindNextKeyword(longLine, " (."));
}
