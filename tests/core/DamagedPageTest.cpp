// Damaged quote pages as the parsers meet them after the retrieval upper-cased and stripped them:
// a page is usable exactly when its figures survive the damage, a stock page that is not writes
// nothing to the quote cache, and an option page that is not writes the NO block. Pages a table row
// can hold are in cases/tables/pages.tsv; here the generated ones, too big or too random for it.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/PageTestSupport.h"
#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

// Bytes of every value but "<", which would open a tag that swallows the rest of the page.
std::string BinaryJunk(std::size_t size, unsigned seed, bool withTagOpeners)
{
    std::mt19937 random(seed);
    std::string junk(size, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random() % 256);
        if (c == '<' && !withTagOpeners) c = '.';
    }
    return junk;
}

class DamagedPageTest : public QuoteCacheTest {
protected:
    QuoteData quote;
};

} // namespace

TEST_F(DamagedPageTest, AStockPageIsUsableExactlyWhenItsLastSaleSurvives)
{
    const std::string head = "<td>QUOTE</td>";
    const std::string figures = "<td>LAST SALE</td><td>45 3/8</td><td>VOLUME</td><td>1200</td>";
    const std::string filler = "<td>" + std::string(10'000'000, 'F') + "</td>";
    const std::string junk = BinaryJunk(1'000'000, 7, /*withTagOpeners*/ true);
    const std::string quietJunk = BinaryJunk(1'000'000, 8, /*withTagOpeners*/ false);
    const struct {
        const char* name;
        std::string markup;
        float lastSale; // 0: the page is refused and nothing is written
        std::int32_t volume;
    } rows[] = {
        {"a 10 MB text run before the figures", head + filler + figures, 45.375f, 1200},
        {"a 10 MB text run after the figures", head + figures + filler, 45.375f, 1200},
        {"a million empty tags before the figures", head + [] {
             std::string tags;
             for (int i = 0; i < 1'000'000; ++i) tags += "<b>";
             return tags;
         }() + figures, 45.375f, 1200},
        {"binary junk", junk, 0, 0},
        {"binary junk around the figures", head + quietJunk + figures + quietJunk, 45.375f, 1200},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PageBuffer page = PreparedPage(row.markup);
        const bool usable = ParseStockPage(page, quote, "ACME", fnQuote, TestNow);
        EXPECT_EQ(usable, row.lastSale != 0);
        EXPECT_EQ(quote.Stock.LastSale, row.lastSale);
        EXPECT_EQ(quote.Stock.Volume, row.volume);
        const auto cache = ReadWholeFile(fnQuote);
        if (!usable) {
            EXPECT_FALSE(cache.has_value()) << "a refused page wrote to the cache";
            continue;
        }
        ASSERT_TRUE(cache.has_value());
        const auto lines = SplitLines(*cache);
        ASSERT_EQ(lines.size(), 26u);
        EXPECT_EQ(lines[0], "\"<STOCK>ACME\"");
        EXPECT_EQ(lines[8], FormatSingle(row.lastSale));
        EXPECT_EQ(lines[24], std::to_string(row.volume));
        RemoveFile(fnQuote);
    }
}

TEST_F(DamagedPageTest, AnOptionPageStoresTheRowsThatSurviveAndWritesNoForTheRest)
{
    const std::string row = "<td>CALL (.AQELJ)</td><td>1</td><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td>";
    const std::string filler = "<td>" + std::string(10'000'000, 'F') + "</td>";
    const std::string quietJunk = BinaryJunk(1'000'000, 9, /*withTagOpeners*/ false);
    const struct {
        const char* name;
        std::string markup;
        std::vector<float> values; // of the row's slot; empty: nothing stored, the NO block
    } rows[] = {
        {"a 10 MB text run before the row", filler + row, {1, 2, 3, 4, 5, 6}},
        {"10 MB of row keywords without a symbol", [] {
             std::string keywords;
             for (int i = 0; i < 3'333'333; ++i) keywords += " (.";
             return "<td>" + keywords + "</td>";
         }() + row, {1, 2, 3, 4, 5, 6}},
        {"binary junk", BinaryJunk(1'000'000, 10, /*withTagOpeners*/ true), {}},
        {"binary junk around the row", quietJunk + row + "<td>" + quietJunk, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ClearQuoteRecord(quote, TestNow);
        quote.Strikes = SelectStrikes(47.5f); // "J" is 50, the middle strike; "L" is December's call
        PageBuffer page = PreparedPage(row.markup);
        const bool stored = ParseOptionPage(page, quote, "ACME", fnQuote);
        EXPECT_EQ(stored, !row.values.empty());
        const std::string cache = ReadWholeFile(fnQuote).value_or("<missing>");
        RemoveFile(fnQuote);
        if (!stored) {
            EXPECT_EQ(cache, "<OPTIONS>NO\r\n");
            EXPECT_EQ(quote.Stock.OptionRoot, "");
            continue;
        }
        EXPECT_EQ(quote.Series.OptSymbol[Calls][2][0], "AQELJ");
        EXPECT_EQ(quote.Stock.OptionRoot, "AQE");
        for (std::size_t column = 0; column < OptionRowValues.size(); ++column)
            EXPECT_EQ((quote.Series.*OptionRowValues[column])[Calls][2][0], row.values[column]) << column;
        EXPECT_EQ(cache, OptionBlockText(&quote.Series));
        EXPECT_NE(cache.find("\"AQELJ\","), std::string::npos);
    }
}
