// The option page parser over a sample chain; which rows land in the window is a table
// (cases/tables/option-rows.tsv), hand-made and damaged pages are rows of cases/tables/pages.tsv.

#include <gtest/gtest.h>

#include <string>

#include "support/PageTestSupport.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

class ParseOptionPageTest : public QuoteCacheTest {
protected:
    // The state the stock page leaves behind: a cleared record, the calendar of TestNow and the
    // strikes around the last sale.
    void StockParsed(float lastSale)
    {
        ClearQuoteRecord(quote, TestNow);
        quote.Strikes = SelectStrikes(lastSale);
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
