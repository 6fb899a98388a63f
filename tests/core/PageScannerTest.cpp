// The page reader's cursor moves; the values it reads are rows of cases/tables/page-values.tsv.

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
