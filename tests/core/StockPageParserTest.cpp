#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PageTestSupport.h"
#include "core/text/TextFile.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

// A stripped page as the parser sees it: one line per entry, CR LF after each.
PageBuffer LinesPage(const std::vector<std::string_view>& lines)
{
    PageBuffer page;
    for (const auto line : lines) page.PageText.append(std::string(line) + "\r\n");
    return page;
}

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

TEST_F(ParseStockPageTest, ReadsTheCompanyNameBelowSecFilingsAndSearchesOnlyBelowIt)
{
    ASSERT_TRUE(Parse(LinesPage({"HEAD", "BID", "99", "SEC FILINGS", "LAST TRADE",
                                 "A VERY LONG COMPANY NAME THAT GOES ON AND ON", "LAST SALE", "20"})));
    EXPECT_EQ(quote.Stock.CompanyName, "A VERY LONG COMPANY NAME THAT GOES O");
    EXPECT_EQ(quote.Stock.BidPrice, 0.0f);

    // Without "SEC FILINGS" every label is searched in the whole text; only the name stays empty.
    ASSERT_TRUE(Parse(LinesPage({"LAST TRADE", "ACME", "BID", "99", "LAST SALE", "20"})));
    EXPECT_EQ(quote.Stock.CompanyName, "");
    EXPECT_EQ(quote.Stock.BidPrice, 99.0f);
}

TEST_F(ParseStockPageTest, RefusesPagesWithoutALastSaleOfAnEighthAndWritesNothing)
{
    for (const auto& page : {LinesPage({"X", "LAST SALE", "0"}), LinesPage({"X", "LAST SALE", "1/16"}),
                             LinesPage({"X", "LAST SALE", "-5"}), LinesPage({"X", "BID", "10"}),
                             LinesPage({"X", "LAST SALE", "10", "PLEASE TRY AGAIN LATER"}), PageBuffer{}})
        EXPECT_FALSE(Parse(page)) << page.PageText;
    EXPECT_FALSE(FileExists(fnQuote));

    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "1/8"}))); // the threshold itself passes
    const std::string file = QuoteFile();
    const auto lines = SplitLines(file);
    ASSERT_EQ(lines.size(), 26u); // whatever labels are missing
    EXPECT_EQ(lines[0], "\"<STOCK>ACME\"");
    EXPECT_EQ(lines[8], "0.125");
}

TEST_F(ParseStockPageTest, DerivesDividendPriceEarningsAndShares)
{
    struct Case {
        std::vector<std::string_view> lines;
        float StockQuote::*field;
        float value;
    };
    const Case cases[] = {
        {{"X", "LAST SALE", "30", "INDICATED ANNUAL DIVIDEND", ".88"}, &StockQuote::Dividend, 0.88f},
        {{"X", "LAST SALE", "30", "DIVIDEND AMOUNT", ".22", "INDICATED ANNUAL DIVIDEND", ".88"},
         &StockQuote::Dividend, 0.22f},
        {{"X", "LAST SALE", "10", "EPS", "-2", "P/E", "7.5"}, &StockQuote::PriceEarnings, -5.0f},
        {{"X", "LAST SALE", "10", "EPS", "0", "P/E", "7.5"}, &StockQuote::PriceEarnings, 7.5f},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Parse(LinesPage(c.lines)));
        EXPECT_EQ(quote.Stock.*c.field, c.value) << c.lines[3];
    }
    // Digits stop at a thousands separator; the page gives shares outstanding in thousands.
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "SHARES OUTSTANDING", "1,234", "VOLUME", "12,500"})));
    EXPECT_EQ(quote.Stock.SharesOutstanding, 1000.0);
    EXPECT_EQ(quote.Stock.Volume, 12);
}

TEST_F(ParseStockPageTest, KeepsTheClearedValueOfAFieldThatFailsAndGoesOn)
{
    quote.Stock.Volume = 77; // left over from another symbol
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "VOLUME", "9999999999", "YIELD", "2.5",
                                 "EX-DIVIDEND DATE"})));
    EXPECT_EQ(quote.Stock.Volume, 0);
    EXPECT_EQ(quote.Stock.YieldPercent, 2.5f);
    EXPECT_EQ(quote.Stock.ExDividendDate, ""); // its value would lie beyond the end of the text

    // A cache that cannot be written loses the record, not the quote.
    PageBuffer page = LinesPage({"X", "LAST SALE", "10"});
    EXPECT_TRUE(ParseStockPage(page, quote, "ACME", (directory / "no" / "Quote.txt").string(), TestNow));
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
