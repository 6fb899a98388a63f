#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PageTestSupport.h"
#include "app/TextFile.h"
#include "quotes/QuoteCache.h"
#include "quotes/QuoteRecord.h"

namespace {

// A stripped page as the parser sees it: one line per entry, CR LF after each.
PageBuffer LinesPage(std::initializer_list<std::string_view> lines)
{
    PageBuffer page;
    for (const auto line : lines) {
        page.PageText.append(line);
        page.PageText.append("\r\n");
    }
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

TEST_F(ParseStockPageTest, ReadsEveryFigureOfASampleQuotePage)
{
    ASSERT_TRUE(Parse(PreparedPageFromFile("stock-acme.html")));
    const StockQuote& s = quote.Stock;
    EXPECT_EQ(s.CompanyName, "ACME TOOLS INC");
    EXPECT_EQ(s.LastTick, "UP");
    EXPECT_EQ(s.Exchange, "NASDAQ NM");
    EXPECT_EQ(s.TimeOfLastSale, "16:01");
    EXPECT_EQ(s.SizeBidAsk, "10 X 12");
    EXPECT_EQ(s.ExDividendDate, "11/14/2026");
    EXPECT_EQ(s.SpareText, "");
    EXPECT_EQ(s.OptionRoot, "");
    EXPECT_EQ(s.LastSale, 47.5f);
    EXPECT_EQ(s.NetChange, 1.25f);
    EXPECT_EQ(s.PercentChange, 2.7f);
    EXPECT_EQ(s.BidPrice, 47.375f);
    EXPECT_EQ(s.AskPrice, 47.625f);
    EXPECT_EQ(s.OpenPrice, 46.25f);
    EXPECT_EQ(s.HighPrice, 47.875f);
    EXPECT_EQ(s.LowPrice, 46.0f);
    EXPECT_EQ(s.PreviousClose, 46.25f);
    EXPECT_EQ(s.High52Week, 62.125f);
    EXPECT_EQ(s.Low52Week, 31.5f);
    EXPECT_EQ(s.Volatility, 1.35f);
    EXPECT_EQ(s.Dividend, 0.12f); // "DIVIDEND AMOUNT" wins over the indicated annual dividend
    EXPECT_EQ(s.EarningsPerShare, 2.5f);
    EXPECT_EQ(s.PriceEarnings, 19.0f); // 47.5 / 2.5, not the page's 18.7
    EXPECT_EQ(s.YieldPercent, 1.01f);
    EXPECT_EQ(s.Volume, 1234567);
    EXPECT_EQ(s.SharesOutstanding, 53210000.0);

    // 47.5 lies between the strikes 45 and 50; the centre is the nearest multiple of 5.
    EXPECT_EQ(quote.Strikes.StrikePrice, (std::array<float, 5>{40, 45, 50, 55, 60}));

    const auto expected = ReadWholeFile(DataFile("stock-acme.expected"));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(QuoteFile(), *expected);
}

TEST_F(ParseStockPageTest, ReadsLabelsFromTheWholeTextWithoutSecFilings)
{
    ASSERT_TRUE(Parse(LinesPage({"LAST TRADE", "ACME TOOLS INC", "LAST SALE", "12.5", "BID", "12 3/8"})));
    EXPECT_EQ(quote.Stock.CompanyName, "");
    EXPECT_EQ(quote.Stock.LastSale, 12.5f);
    EXPECT_EQ(quote.Stock.BidPrice, 12.375f);
}

TEST_F(ParseStockPageTest, CutsTheTextBelowTheCompanyName)
{
    // Labels above "SEC FILINGS" and the name line itself are not searched.
    ASSERT_TRUE(Parse(LinesPage({"HEAD", "BID", "99", "SEC FILINGS", "LAST TRADE",
                                 "A VERY LONG COMPANY NAME THAT GOES ON AND ON FOREVER", "LAST SALE",
                                 "20", "ASK", "20 1/4"})));
    EXPECT_EQ(quote.Stock.CompanyName, "A VERY LONG COMPANY NAME THAT GOES O");
    EXPECT_EQ(quote.Stock.BidPrice, 0.0f);
    EXPECT_EQ(quote.Stock.AskPrice, 20.25f);
}

TEST_F(ParseStockPageTest, RefusesPagesWithoutAUsableLastSaleAndWritesNothing)
{
    EXPECT_FALSE(Parse(LinesPage({"X", "LAST SALE", "0"})));
    EXPECT_FALSE(Parse(LinesPage({"X", "LAST SALE", "1/16"})));
    EXPECT_FALSE(Parse(LinesPage({"X", "LAST SALE", "-5"})));
    EXPECT_FALSE(Parse(LinesPage({"X", "BID", "10"})));
    EXPECT_FALSE(Parse(LinesPage({"X", "LAST SALE", "10", "PLEASE TRY AGAIN LATER"})));
    EXPECT_FALSE(Parse(PageBuffer{}));
    EXPECT_FALSE(FileExists(fnQuote));

    EXPECT_TRUE(Parse(LinesPage({"X", "LAST SALE", "1/8"}))); // the threshold itself passes
    EXPECT_EQ(quote.Stock.LastSale, 0.125f);
}

TEST_F(ParseStockPageTest, ReadsTheDividendBehindEitherLabel)
{
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "30", "INDICATED ANNUAL DIVIDEND", ".88"})));
    EXPECT_EQ(quote.Stock.Dividend, 0.88f);
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "30", "DIVIDEND AMOUNT", ".22"})));
    EXPECT_EQ(quote.Stock.Dividend, 0.22f);
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "30", "DIVIDEND AMOUNT", ".22",
                                 "INDICATED ANNUAL DIVIDEND", ".88"})));
    EXPECT_EQ(quote.Stock.Dividend, 0.22f);
}

TEST_F(ParseStockPageTest, RecomputesPriceEarningsFromANonZeroEps)
{
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "EPS", "-2", "P/E", "7.5"})));
    EXPECT_EQ(quote.Stock.PriceEarnings, -5.0f);
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "EPS", "0", "P/E", "7.5"})));
    EXPECT_EQ(quote.Stock.PriceEarnings, 7.5f);
}

TEST_F(ParseStockPageTest, StopsNumbersAtAThousandsSeparator)
{
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "SHARES OUTSTANDING", "1,234", "VOLUME",
                                 "12,500"})));
    EXPECT_EQ(quote.Stock.SharesOutstanding, 1000.0);
    EXPECT_EQ(quote.Stock.Volume, 12);
}

TEST_F(ParseStockPageTest, KeepsTheClearedValueOfAFieldThatFailsAndReadsTheNextLabel)
{
    quote.Stock.Volume = 77; // left over from another symbol
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10", "VOLUME", "9999999999", "YIELD", "2.5",
                                 "EX-DIVIDEND DATE"})));
    EXPECT_EQ(quote.Stock.Volume, 0);
    EXPECT_EQ(quote.Stock.YieldPercent, 2.5f);
    EXPECT_EQ(quote.Stock.ExDividendDate, ""); // its value would lie beyond the end of the text
}

TEST_F(ParseStockPageTest, AlwaysWritesA26LineRecordPerParsedPage)
{
    ASSERT_TRUE(Parse(LinesPage({"X", "LAST SALE", "10"}), "A"));
    ASSERT_TRUE(Parse(PreparedPageFromFile("stock-acme.html"), "B"));
    const std::string file = QuoteFile();
    const auto lines = SplitLines(file);
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0], "\"<STOCK>A\"");
    EXPECT_EQ(lines[1], "\"\"");
    EXPECT_EQ(lines[8], "10");
    EXPECT_EQ(lines[25], "0");
    EXPECT_EQ(lines[26], "\"<STOCK>B\"");
    EXPECT_EQ(file.find("\n\n"), std::string::npos);
}

TEST_F(ParseStockPageTest, SurvivesHostilePages)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string binary(200000, '\0');
    for (auto& c : binary) c = static_cast<char>(byte(random));
    binary += "<td>LAST SALE</td><td>5</td>";

    std::string huge = "<td>QUOTE</td><td>SEC FILINGS</td><td>LAST TRADE</td><td>" + std::string(1 << 20, 'N') + "</td>";
    for (int row = 0; row < 50000; ++row) huge += "<tr><td>BID SIZE</td><td>1 1/2</td></tr>";
    huge += "<td>LAST SALE</td><td>33</td><td>TICK</td>";

    for (const std::string& markup : {std::string(), std::string("<<<>>>"), std::string("<b>unclosed"),
                                      std::string(100000, '<'), binary, huge}) {
        PageBuffer page = PreparedPage(markup);
        static_cast<void>(Parse(page));
    }
    EXPECT_EQ(quote.Stock.LastSale, 33.0f);
    EXPECT_EQ(quote.Stock.CompanyName, std::string(36, 'N'));
    EXPECT_EQ(quote.Stock.LastTick, "");
}

TEST_F(ParseStockPageTest, LosesTheRecordQuietlyWhenTheCacheCannotBeWritten)
{
    const std::string unwritable = (directory / "missing" / "Quote.txt").string();
    PageBuffer page = LinesPage({"X", "LAST SALE", "10"});
    EXPECT_TRUE(ParseStockPage(page, quote, "ACME", unwritable, TestNow));
    EXPECT_EQ(quote.Stock.LastSale, 10.0f);
}

TEST(ClearQuoteRecord, LeavesNothingOfThePreviousSymbol)
{
    QuoteData quote;
    quote.Stock.CompanyName = "OLD";
    quote.Stock.OptionRoot = "OLD";
    quote.Stock.SharesOutstanding = 5;
    quote.Series.OptSymbol[1][4][2] = "OLDXT";
    quote.Series.OptLast[0][0][0] = 3;
    quote.Series.OptQVA[1][2][1] = 0.3f;
    quote.Series.OptNote[0][3][0] = 2;
    quote.QVA.QVAAverage = {0.2f, 0.3f};

    ClearQuoteRecord(quote, TestNow);
    EXPECT_EQ(quote.Stock.CompanyName, "");
    EXPECT_EQ(quote.Stock.OptionRoot, "");
    EXPECT_EQ(quote.Stock.SharesOutstanding, 0.0);
    EXPECT_EQ(quote.Series.OptSymbol[1][4][2], "");
    EXPECT_EQ(quote.Series.OptLast[0][0][0], -1.0f);
    EXPECT_EQ(quote.Series.OptOpenInterest[1][4][2], -1.0f);
    EXPECT_EQ(quote.Series.OptQVA[1][2][1], -1.0f);
    EXPECT_EQ(quote.Series.OptNote[0][3][0], 0);
    EXPECT_EQ(quote.QVA.QVAAverage, (std::array<float, 2>{-1, -1}));
    EXPECT_EQ(quote.Calendar.ExpiryMonth[0], 11); // December, rebuilt for TestNow
}

TEST(StockRecordText, QuotesTextsAndKeepsEveryValueOnItsOwnLine)
{
    StockQuote stock;
    stock.CompanyName = "SAY \"CHEESE\", INC";
    stock.LastSale = 0.375f;
    stock.NetChange = -1.25f;
    stock.Volume = 2147483647;
    stock.SharesOutstanding = 123456789012.0;
    const std::string record = StockRecordText("XYZ", stock);
    const auto lines = SplitLines(record);
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0], "\"<STOCK>XYZ\"");
    // A double quote inside a text would end it early on reading; it becomes a single quote.
    EXPECT_EQ(lines[1], "\"SAY 'CHEESE', INC\"");
    EXPECT_EQ(lines[7], "\"\"");
    EXPECT_EQ(lines[8], "0.375");
    EXPECT_EQ(lines[9], "-1.25");
    EXPECT_EQ(lines[24], "2147483647");
    EXPECT_EQ(lines[25], "123456789012");
}
