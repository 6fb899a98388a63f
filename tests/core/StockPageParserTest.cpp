// The stock page parser over a sample page, and the record it caches; the figures of smaller and
// damaged pages are rows of cases/tables/pages.tsv.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PageTestSupport.h"
#include "core/text/TextFile.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

class ParseStockPageTest : public QuoteCacheTest {
protected:
    bool Parse(PageBuffer page, const std::string& symbol = "ACME")
    {
        return ParseStockPage(page, quote, symbol, fnQuote, TestNow);
    }

    QuoteData quote;
};

} // namespace

// The golden record holds every figure of the page, the dividend of "DIVIDEND AMOUNT" (.12, not the
// indicated .48) and the P/E recomputed from the last sale and the EPS (19, not the page's 18.7).
TEST_F(ParseStockPageTest, WritesTheRecordOfASampleQuotePage)
{
    ASSERT_TRUE(Parse(PreparedPageFromFile("stock-acme.html")));
    EXPECT_EQ(quote.Stock.CompanyName, "ACME TOOLS INC");
    EXPECT_EQ(quote.Strikes.StrikePrice[2], 50.0f);
    EXPECT_EQ(QuoteFile(), ReadWholeFile(DataFile("stock-acme.expected")).value_or("missing"));
}

TEST_F(ParseStockPageTest, ACacheThatCannotBeWrittenLosesTheRecordNotTheQuote)
{
    PageBuffer page = PreparedPage("<p>X<p>LAST SALE<p>10");
    EXPECT_TRUE(ParseStockPage(page, quote, "ACME", directory.File("no/Quote.txt"), TestNow));
    EXPECT_EQ(quote.Stock.LastSale, 10.0f);
}

TEST(ClearQuoteRecord, LeavesNothingOfThePreviousSymbol)
{
    QuoteData quote;
    quote.Stock.CompanyName = quote.Stock.OptionRoot = "OLD";
    quote.Stock.SharesOutstanding = 5;
    quote.Series.OptSymbol[1][4][2] = "OLDXT";
    quote.Series.OptQVA[1][2][1] = 0.3f;
    quote.Series.OptNote[0][3][0] = OptionNote::MinQVAReached;
    quote.QVA.QVAAverage = {0.2f, 0.3f};

    ClearQuoteRecord(quote, TestNow);
    EXPECT_EQ(quote.Stock.CompanyName + quote.Stock.OptionRoot + quote.Series.OptSymbol[1][4][2], "");
    EXPECT_EQ(quote.Stock.SharesOutstanding, 0.0);
    EXPECT_EQ(quote.Series.OptLast[0][0][0], -1.0f);
    EXPECT_EQ(quote.Series.OptOpenInterest[1][4][2], -1.0f);
    EXPECT_EQ(quote.Series.OptQVA[1][2][1], -1.0f);
    EXPECT_EQ(quote.Series.OptNote[0][3][0], OptionNote::NotIncluded);
    EXPECT_EQ(quote.QVA.QVAAverage, (std::array<float, 2>{-1, -1}));
    EXPECT_EQ(quote.Calendar.ExpiryMonth[0], 11); // rebuilt for December 7
}

TEST(StockRecordText, KeepsEveryValueReadableOnItsOwnLine)
{
    StockQuote stock;
    stock.CompanyName = "SAY \"CHEESE\", INC";
    stock.Volume = 2147483647;
    stock.SharesOutstanding = 123456789012.0;
    const std::string record = StockRecordText("XYZ", stock);
    const auto lines = SplitLines(record);
    ASSERT_EQ(lines.size(), 26u);
    // A double quote inside a text would end it early on reading; it becomes a single quote.
    EXPECT_EQ(lines[1], "\"SAY 'CHEESE', INC\"");
    EXPECT_EQ(lines[24], "2147483647");
    EXPECT_EQ(lines[25], "123456789012");
}
