// The page reader on pages too big for a table row; what it finds and reads are rows of
// cases/tables/page-values.tsv.

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

} // namespace

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
