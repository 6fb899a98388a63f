#include <gtest/gtest.h>

#include <random>
#include <string>

#include "quotes/PageScanner.h"

namespace {

PageBuffer PageAt(std::string text, std::int32_t cursor = 1)
{
    PageBuffer page;
    page.PageText = std::move(text);
    page.PageCursor = cursor;
    return page;
}

// The rest of the text from the cursor on, to see where a reader stopped.
std::string Rest(const PageBuffer& page)
{
    const auto index = static_cast<std::size_t>(page.PageCursor - 1);
    return index >= page.PageText.size() ? std::string() : page.PageText.substr(index);
}

std::optional<float> PriceOf(const std::string& text)
{
    PageBuffer page = PageAt(text);
    return ReadPriceValue(page);
}

} // namespace

TEST(StripHtmlTags, PutsEachTextRunOnItsOwnTrimmedLine)
{
    EXPECT_EQ(StripHtmlTags("<b>LAST SALE</b>  <td> 45 3/8 </td>"), "LAST SALE\r\n45 3/8\r\n");
    EXPECT_EQ(StripHtmlTags("  no tags at all \t"), "no tags at all\r\n");
    EXPECT_EQ(StripHtmlTags("x > y"), "x > y\r\n");
    EXPECT_EQ(StripHtmlTags("<td>A&NBSP;B</td>"), "A&NBSP;B\r\n"); // entities stay undecoded
    // A run keeps its inner spaces and line breaks; runs of blanks only make no line.
    EXPECT_EQ(StripHtmlTags("<p>one  two\nthree</p> \r\n <p></p><br>"), "one  two\nthree\r\n");
}

TEST(StripHtmlTags, DropsEverythingBehindAnUnclosedTag)
{
    EXPECT_EQ(StripHtmlTags("a<b"), "a\r\n");
    EXPECT_EQ(StripHtmlTags("a<b c>d<e f"), "a\r\nd\r\n");
}

TEST(StripHtmlTags, GivesNothingForEmptyOrTagOnlyMarkup)
{
    EXPECT_EQ(StripHtmlTags(""), "");
    EXPECT_EQ(StripHtmlTags(" \r\n\t "), "");
    EXPECT_EQ(StripHtmlTags("<html><body><table></table></body></html>"), "");
    EXPECT_EQ(StripHtmlTags("<"), "");
}

TEST(StripHtmlTags, TreatsHighBytesAsTextAndNulAsBlank)
{
    const std::string markup = std::string("<td>\xE9t\xE9") + '\0' + "</td>" + '\0' + "x";
    EXPECT_EQ(StripHtmlTags(markup), "\xE9t\xE9\r\nx\r\n");
}

TEST(FindLabelLine, MatchesALabelThatBeginsALineAndMovesToTheNextNonEmptyLine)
{
    PageBuffer page = PageAt("HEAD\r\nBIDDER\r\n\r\n\r\n12.5\r\n", 9);
    ASSERT_TRUE(FindLabelLine(page, "BID")); // prefix of the line, and searched from the start
    EXPECT_EQ(Rest(page), "12.5\r\n");
}

TEST(FindLabelLine, IgnoresALabelInsideALineOrOnTheFirstLine)
{
    PageBuffer page = PageAt("BID\r\nSIZE BID/ASK\r\n100\r\n", 7);
    EXPECT_FALSE(FindLabelLine(page, "BID"));
    EXPECT_EQ(page.PageCursor, 7); // unchanged on failure
}

TEST(FindLabelLine, MatchesTradeAnywhere)
{
    PageBuffer page = PageAt("LAST TRADE: 10:00\r\nACME TOOLS INC\r\n");
    ASSERT_TRUE(FindLabelLine(page, "TRADE"));
    EXPECT_EQ(Rest(page), "ACME TOOLS INC\r\n");
}

TEST(FindLabelLine, StopsAtTheEndOfTheText)
{
    PageBuffer page = PageAt("X\r\nLAST SALE");
    ASSERT_TRUE(FindLabelLine(page, "LAST SALE"));
    EXPECT_EQ(page.PageCursor, 13);
    EXPECT_FALSE(ReadPriceValue(page).has_value()); // nothing is left to read
}

TEST(FindNextKeyword, SearchesFromTheCursorAndLandsBehindTheKeyword)
{
    PageBuffer page = PageAt("A (.X1 B (.X2");
    ASSERT_TRUE(FindNextKeyword(page, " (."));
    EXPECT_EQ(Rest(page), "X1 B (.X2");
    ASSERT_TRUE(FindNextKeyword(page, " (."));
    EXPECT_EQ(Rest(page), "X2");
    const auto before = page.PageCursor;
    EXPECT_FALSE(FindNextKeyword(page, " (."));
    EXPECT_EQ(page.PageCursor, before);
}

TEST(ReadTextField, SkipsLeadingBlanksAndStopsAtAControlCharacter)
{
    PageBuffer page = PageAt("   NASDAQ NM\r\nNEXT");
    EXPECT_EQ(ReadTextField(page, 10), "NASDAQ NM");
    EXPECT_EQ(Rest(page), "\r\nNEXT");
}

TEST(ReadTextField, TakesAtMostTheMaximumLength)
{
    PageBuffer page = PageAt("ABCDEFGHIJKLMN");
    EXPECT_EQ(ReadTextField(page, 10), "ABCDEFGHIJ");
    EXPECT_EQ(Rest(page), "KLMN");
    EXPECT_EQ(ReadTextField(page, 10), "KLMN");
}

TEST(ReadTextField, FailsWhenOnlyBlanksRemain)
{
    PageBuffer page = PageAt("X \r\n \t");
    page.PageCursor = 2;
    EXPECT_FALSE(ReadTextField(page, 10).has_value());
    PageBuffer empty = PageAt("");
    EXPECT_FALSE(ReadTextField(empty, 10).has_value());
}

TEST(ReadWholeNumber, ReadsDigitsBehindFillersAndStopsAtTheFirstOther)
{
    PageBuffer page = PageAt("1,234");
    EXPECT_EQ(ReadWholeNumber(page), 1);
    EXPECT_EQ(Rest(page), ",234");

    PageBuffer filled = PageAt(" \r\n!\"#$%&'()*2147483647X");
    EXPECT_EQ(ReadWholeNumber(filled), 2147483647);
    EXPECT_EQ(Rest(filled), "X");

    PageBuffer none = PageAt("+5");
    EXPECT_EQ(ReadWholeNumber(none), 0); // "+" is no filler, and no digit follows at the cursor
    EXPECT_EQ(Rest(none), "+5");
}

TEST(ReadWholeNumber, TakesAtMostTenDigits)
{
    PageBuffer page = PageAt("000000000123");
    EXPECT_EQ(ReadWholeNumber(page), 1);
    EXPECT_EQ(Rest(page), "23");
}

TEST(ReadWholeNumber, FailsOnOverflowAndAtTheEndOfTheText)
{
    PageBuffer overflow = PageAt("2147483648");
    EXPECT_FALSE(ReadWholeNumber(overflow).has_value());
    PageBuffer large = PageAt("9999999999\r\n7");
    EXPECT_FALSE(ReadWholeNumber(large).has_value());
    EXPECT_EQ(ReadWholeNumber(large), 7); // the failed number does not leak into the next one
    PageBuffer fillersOnly = PageAt(" \r\n) ");
    EXPECT_FALSE(ReadWholeNumber(fillersOnly).has_value());
}

TEST(ReadPriceValue, UnderstandsEveryPriceNotation)
{
    EXPECT_EQ(PriceOf("45 3/8\r\n"), 45.375f);
    EXPECT_EQ(PriceOf("-1 1/4\r\n"), -1.25f);
    EXPECT_EQ(PriceOf("3/8\r\n"), 0.375f);
    EXPECT_EQ(PriceOf("+.5\r\n"), 0.5f);
    EXPECT_EQ(PriceOf("12.25\r\n"), 12.25f);
    EXPECT_EQ(PriceOf("45\r\n"), 45.0f);
    EXPECT_EQ(PriceOf("45"), 45.0f);
    EXPECT_EQ(PriceOf("-.05\r\n"), -0.05f);
    EXPECT_EQ(PriceOf(") 7 1/16\r\n"), 7.0625f); // fillers in front
    EXPECT_EQ(PriceOf("12.1250000001\r\n"), 12.125f); // ten decimal digits are taken
}

TEST(ReadPriceValue, ReadsUnpricedTextAsZero)
{
    EXPECT_EQ(PriceOf("n/a\r\n"), 0.0f);
    EXPECT_EQ(PriceOf("UNCH\r\n"), 0.0f);
}

TEST(ReadPriceValue, CountsAZeroDenominatorAsNoFraction)
{
    EXPECT_EQ(PriceOf("1 1/0\r\n"), 1.0f);
    EXPECT_EQ(PriceOf("3/0\r\n"), 0.0f);
}

TEST(ReadPriceValue, LeavesTheCursorBehindTheValue)
{
    PageBuffer page = PageAt("45 3/8\r\n-2.5\r\n1,234\r\n");
    EXPECT_EQ(ReadPriceValue(page), 45.375f);
    EXPECT_EQ(ReadPriceValue(page), -2.5f);
    EXPECT_EQ(ReadPriceValue(page), 1.0f);
    EXPECT_EQ(Rest(page), ",234\r\n");
}

TEST(ReadPriceValue, FailsWhenTheTextEndsInsideTheValueOrOverflows)
{
    EXPECT_FALSE(PriceOf("").has_value());
    EXPECT_FALSE(PriceOf(" \r\n").has_value());
    EXPECT_FALSE(PriceOf("-").has_value());
    EXPECT_FALSE(PriceOf("45 3").has_value()); // no denominator
    EXPECT_FALSE(PriceOf("12.").has_value());
    EXPECT_FALSE(PriceOf("3000000000.5\r\n").has_value());
    EXPECT_FALSE(PriceOf("1 3000000000/8\r\n").has_value());
}

TEST(PageScanner, SurvivesJunkInput)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string alphabet = "<>/ .-+0123456789\r\n(,)BIDTRADE";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 300; ++round) {
        std::string junk(static_cast<std::size_t>(round * 7), '\0');
        for (auto& c : junk) c = round % 2 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        PageBuffer page = PageAt(StripHtmlTags(junk));
        static_cast<void>(FindLabelLine(page, "BID"));
        for (int read = 0; read < 50; ++read) {
            const auto cursor = page.PageCursor;
            static_cast<void>(ReadPriceValue(page));
            static_cast<void>(ReadTextField(page, 5));
            static_cast<void>(ReadWholeNumber(page));
            ASSERT_GE(page.PageCursor, cursor);
            ASSERT_LE(page.PageCursor, static_cast<std::int32_t>(page.PageText.size()) + 2);
        }
    }
}

TEST(PageScanner, HandlesMultiMegabytePages)
{
    std::string markup;
    for (int row = 0; row < 100000; ++row) markup += "<tr><td>ROW " + std::to_string(row) + "</td></tr>";
    markup += "<td>BID</td><td>4 1/2</td>";
    const std::string text = StripHtmlTags(markup);
    EXPECT_EQ(text.substr(0, 7), "ROW 0\r\n");
    PageBuffer page = PageAt(text);
    ASSERT_TRUE(FindLabelLine(page, "BID"));
    EXPECT_EQ(page.PageCursor, static_cast<std::int32_t>(text.size()) - 6); // beyond 32767
    EXPECT_EQ(ReadPriceValue(page), 4.5f);

    PageBuffer longLine = PageAt(std::string(3'000'000, 'A') + "\r\n");
    EXPECT_EQ(ReadTextField(longLine, 36)->size(), 36u);
    EXPECT_FALSE(FindNextKeyword(longLine, " (."));
}
