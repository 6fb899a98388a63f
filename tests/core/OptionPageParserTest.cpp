// The option page parser over a sample chain and hand-made rows; which rows land in the window is
// a table (cases/tables/option-rows.tsv), damaged pages are rows of cases/tables/pages.tsv.

#include <gtest/gtest.h>

#include <string>

#include "support/PageTestSupport.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

// One option row as a stripped page carries it: the keyword and symbol line, then six values.
std::string Row(std::string_view symbolLine, std::string_view values = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n")
{
    return "CALL (." + std::string(symbolLine) + "\r\n" + std::string(values);
}

class ParseOptionPageTest : public QuoteCacheTest {
protected:
    // The state the stock page leaves behind: a cleared record, the calendar of TestNow and the
    // strikes around the last sale.
    void StockParsed(float lastSale)
    {
        ClearQuoteRecord(quote, TestNow);
        quote.Strikes = SelectStrikes(lastSale);
    }

    bool Parse(std::string text, const std::string& symbol = "ACME")
    {
        PageBuffer page;
        page.PageText = std::move(text);
        return ParseOptionPage(page, quote, symbol, fnQuote);
    }

    // The slots that hold a symbol, as "symbol@side/strike/expiration".
    std::vector<std::string> StoredSlots() const
    {
        std::vector<std::string> stored;
        for (int side = 0; side < 2; ++side)
            for (int strike = 0; strike < StrikeCount; ++strike)
                for (int expiration = 0; expiration < SeriesExpirations; ++expiration)
                    if (const auto& symbol = quote.Series.OptSymbol[side][strike][expiration]; !symbol.empty())
                        stored.push_back(symbol + "@" + std::to_string(side) + "/" + std::to_string(strike) +
                                         "/" + std::to_string(expiration));
        return stored;
    }

    QuoteData quote;
};

} // namespace

TEST_F(ParseOptionPageTest, StoresTheWindowOfASampleChainAndWritesItsBlock)
{
    StockParsed(47.5f); // strikes 40 45 50 55 60: "H" "I" "J" "K" "L"
    PageBuffer page = PreparedPageFromFile("options-acme.html");
    ASSERT_TRUE(ParseOptionPage(page, quote, "ACME", fnQuote));
    EXPECT_EQ(quote.Stock.OptionRoot, "AQE");

    // Strike 40 and February are kept though the cache leaves them out; March, strike 65, the
    // "X" root and the "Y" strike are not in the window.
    EXPECT_EQ(StoredSlots(),
              (std::vector<std::string>{"AQELH@0/0/0", "AQELI@0/1/0", "AQEAI@0/1/1", "AQELJ@0/2/0",
                                        "AQEAJ@0/2/1", "AQEBJ@0/2/2", "AQELK@0/3/0", "AQEAK@0/3/1",
                                        "AQEXI@1/1/0", "AQEMI@1/1/1", "AQEXJ@1/2/0", "AQEMJ@1/2/1",
                                        "AQEMK@1/3/1"}));
    EXPECT_EQ(quote.Series.OptBid[0][0][0], 7.5f);
    EXPECT_EQ(quote.Series.OptOpenInterest[0][2][2], 412.0f);

    const auto expected = ReadWholeFile(DataFile("options-acme.expected"));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(QuoteFile(), *expected);
}

TEST_F(ParseOptionPageTest, ReadsTheSixValuesOfARowBehindItsSymbol)
{
    StockParsed(65); // strikes 55 60 65 70 75: "K" "L" "M" "N" "O"
    ASSERT_TRUE(Parse("CALLS (.ABCAM)\r\n1 1/2\r\n1/4\r\n1 3/8\r\n1 5/8\r\n12\r\n340\r\n", "ABC"));
    EXPECT_EQ(quote.Series.OptSymbol[Calls][2][1], "ABCAM");
    EXPECT_EQ(quote.Series.OptLast[Calls][2][1], 1.5f); // the ")" before it is a filler
    EXPECT_EQ(quote.Series.OptOpenInterest[Calls][2][1], 340.0f);
}

TEST_F(ParseOptionPageTest, OverwritesASlotWithALaterRowAndKeepsValuesThatFailToRead)
{
    StockParsed(47.5f);
    ASSERT_TRUE(Parse(Row("AQEAJ", "7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n") +
                      Row("AQEAJ", "1\r\n9999999999\r\n3\r\n4\r\n5\r\n6\r\n") + Row("AQEAK", "2 1/4\r\n")));
    const auto& s = quote.Series;
    EXPECT_EQ(s.OptLast[Calls][2][1], 1.0f);
    EXPECT_EQ(s.OptValue2[Calls][2][1], 8.0f); // the overflowing value keeps the earlier row's
    EXPECT_EQ(s.OptBid[Calls][2][1], 3.0f);
    EXPECT_EQ(s.OptOpenInterest[Calls][2][1], 6.0f);
    EXPECT_EQ(s.OptLast[Calls][3][1], 2.25f); // the page ends inside this row
    EXPECT_EQ(s.OptValue2[Calls][3][1], -1.0f);
}

TEST_F(ParseOptionPageTest, SetsTheRootAndWritesNoWhenNothingIsStored)
{
    StockParsed(47.5f);
    ASSERT_TRUE(Parse(Row("AXEAJ") + Row("AQEAM") + Row("AQEAJ") + Row("ZZEAI")));
    EXPECT_EQ(quote.Stock.OptionRoot, "AQE"); // the first stored symbol's, for a long stock symbol

    StockParsed(47.5f);
    EXPECT_FALSE(Parse(Row("ACMAJ"), "AB"));
    EXPECT_EQ(quote.Stock.OptionRoot, "AB"); // a short symbol is its own root, stored or not
    StockParsed(47.5f);
    EXPECT_FALSE(Parse("SYMBOL_NOT_FOUND\r\n" + Row("ABAJ"), "AB"));
    EXPECT_EQ(quote.Stock.OptionRoot + quote.Series.OptSymbol[Calls][2][1], "");

    const std::string file = QuoteFile();
    EXPECT_EQ(file.substr(file.size() - 26), "<OPTIONS>NO\r\n<OPTIONS>NO\r\n");
}
