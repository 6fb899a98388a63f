// The stand-in server's pages, read back by the screener's own parsers: every figure must land in
// the field it is meant for, or the demo and the live tests would screen nonsense.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "HostileAnswers.h"
#include "MarketFile.h"
#include "QuotePages.h"
#include "QuoteService.h"
#include "core/text/Ascii.h"
#include "core/text/Base64.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteRecord.h"
#include "support/TemporaryDirectory.h"

namespace {

const LocalDateTime Now{2026, 3, 4, 11, 30, 0};

std::vector<Company> DemoMarket() {
    std::string error;
    const std::optional<std::string> text = ReadWholeFile(DEMO_MARKET_FILE);
    EXPECT_TRUE(text.has_value());
    std::optional<std::vector<Company>> market = ParseMarket(text.value_or(""), error);
    EXPECT_TRUE(market.has_value()) << error;
    return market.value_or(std::vector<Company>{});
}

// As the retrieval hands a page to the parsers: upper-cased, then stripped.
PageBuffer Received(const std::string& markup) {
    PageBuffer page;
    page.PageText = StripHtmlTags(AsciiUpper(markup));
    return page;
}

// The parsers append their records to a quote file: one of this process's own, removed at its end.
std::string QuoteFile()
{
    static const TemporaryDirectory directory;
    return directory.File("Quote.txt");
}

float Single(double value) { return static_cast<float>(value); }

void ExpectStockFields(const Company& c, const StockQuote& s) {
    EXPECT_EQ(s.CompanyName, AsciiUpper(c.Name.substr(0, 36)));
    EXPECT_EQ(s.LastTick, c.NetChange >= 0 ? "UP" : "DOWN");
    EXPECT_EQ(s.Exchange, c.Exchange);
    EXPECT_EQ(s.TimeOfLastSale, "16:00");
    EXPECT_EQ(s.SizeBidAsk, "5X3");
    const std::pair<float StockQuote::*, double Company::*> figures[] = {
        {&StockQuote::LastSale, &Company::Last},          {&StockQuote::NetChange, &Company::NetChange},
        {&StockQuote::BidPrice, &Company::Bid},           {&StockQuote::AskPrice, &Company::Ask},
        {&StockQuote::OpenPrice, &Company::Open},         {&StockQuote::HighPrice, &Company::High},
        {&StockQuote::LowPrice, &Company::Low},           {&StockQuote::PreviousClose, &Company::PreviousClose},
        {&StockQuote::High52Week, &Company::High52Week},  {&StockQuote::Low52Week, &Company::Low52Week},
        {&StockQuote::Volatility, &Company::Volatility},  {&StockQuote::Dividend, &Company::Dividend},
        {&StockQuote::EarningsPerShare, &Company::Eps},   {&StockQuote::YieldPercent, &Company::YieldPercent}};
    for (const auto& [quoted, listed] : figures) EXPECT_FLOAT_EQ(s.*quoted, Single(c.*listed));
    EXPECT_EQ(s.Volume, c.Volume);
    EXPECT_DOUBLE_EQ(s.SharesOutstanding, c.SharesThousands * 1000.0);
}

TEST(QuoteServerPages, EveryDemoStockPageReadsBackIntoItsFields) {
    const std::vector<Company> market = DemoMarket();
    ASSERT_GE(market.size(), 250u);
    for (const Company& company : market) {
        SCOPED_TRACE(company.Symbol);
        PageBuffer page = Received(StockPage(company, Now));
        QuoteData quote;
        ASSERT_TRUE(ParseStockPage(page, quote, company.Symbol, QuoteFile(), Now));
        ExpectStockFields(company, quote.Stock);
    }
}

TEST(QuoteServerPages, EveryScreenedOptionSlotIsFilledFromTheServedChain) {
    for (const Company& company : DemoMarket()) {
        SCOPED_TRACE(company.Symbol);
        PageBuffer stockPage = Received(StockPage(company, Now));
        QuoteData quote;
        ASSERT_TRUE(ParseStockPage(stockPage, quote, company.Symbol, QuoteFile(), Now));
        const std::vector<ChainRow> chain = OptionChain(company, Now, 0.05f);
        PageBuffer optionPage = Received(OptionPage(company, chain));
        ASSERT_TRUE(ParseOptionPage(optionPage, quote, company.Symbol, QuoteFile()));
        EXPECT_EQ(quote.Stock.OptionRoot, OptionRootOf(company.Symbol));
        for (const ChainRow& row : chain) {
            const auto position = std::find(quote.Strikes.StrikePrice.begin(), quote.Strikes.StrikePrice.end(),
                                            Single(row.Strike));
            if (position == quote.Strikes.StrikePrice.end() || row.Expiration > 2) continue;
            const auto k = position - quote.Strikes.StrikePrice.begin();
            const int e = row.Expiration;
            EXPECT_EQ(quote.Series.OptSymbol[row.Side][k][e], row.Symbol);
            EXPECT_FLOAT_EQ(quote.Series.OptLast[row.Side][k][e], Single(row.Last));
            EXPECT_FLOAT_EQ(quote.Series.OptValue2[row.Side][k][e], Single(row.Change));
            EXPECT_FLOAT_EQ(quote.Series.OptBid[row.Side][k][e], Single(row.Bid));
            EXPECT_FLOAT_EQ(quote.Series.OptAsk[row.Side][k][e], Single(row.Ask));
            EXPECT_FLOAT_EQ(quote.Series.OptVolume[row.Side][k][e], Single(row.Volume));
            EXPECT_FLOAT_EQ(quote.Series.OptOpenInterest[row.Side][k][e], Single(row.OpenInterest));
        }
        for (int side = 0; side < 2; ++side)
            for (int k = 0; k < StrikeCount; ++k)
                for (int e = 0; e < SeriesExpirations; ++e)
                    EXPECT_FALSE(quote.Series.OptSymbol[side][k][e].empty()) << side << k << e;
    }
}

TEST(QuoteServerPages, RefusalsAndUnknownSymbolsAreUnusable) {
    QuoteData quote;
    PageBuffer unknown = Received(UnknownStockPage("NOPE"));
    EXPECT_FALSE(ParseStockPage(unknown, quote, "NOPE", QuoteFile(), Now));
    PageBuffer busy = Received(TryAgainPage("ABC"));
    EXPECT_FALSE(ParseStockPage(busy, quote, "ABC", QuoteFile(), Now));
    PageBuffer noOptions = Received(SymbolNotFoundPage("NOPE"));
    EXPECT_FALSE(ParseOptionPage(noOptions, quote, "NOPE", QuoteFile()));
}

TEST(StrikeLadder, HoldsTheScreenedStrikesWithDistinctLettersAndNoneBelowFive) {
    for (const double last : {4.0, 9.99, 12.0, 23.7, 24.0, 47.5, 98.0, 101.0, 240.0}) {
        SCOPED_TRACE(last);
        const std::vector<double> ladder = StrikeLadder(last);
        const StrikeTable screened = SelectStrikes(Single(last));
        for (const float strike : screened.StrikePrice)
            EXPECT_NE(std::find(ladder.begin(), ladder.end(), strike), ladder.end()) << strike;
        EXPECT_TRUE(std::is_sorted(ladder.begin(), ladder.end()));
        EXPECT_GE(ladder.front(), 5.0);
        std::set<char> letters;
        for (const double strike : ladder) letters.insert(StrikeCodeFor(Single(strike)));
        EXPECT_EQ(letters.size(), ladder.size()); // a shared letter would let one row overwrite another
    }
}

class QuoteServiceTest : public ::testing::Test {
protected:
    QuoteService Service(FaultSettings faults = {}) {
        ServerOptions options;
        options.Faults = std::move(faults);
        return QuoteService(options, {GeneratedCompany(1)}, [] { return Now; });
    }
    const std::string login = "Basic " + Base64Encode("NORVALE:lantern4");
};

TEST_F(QuoteServiceTest, AnswersOnlyTheRightLoginAndTheTwoPaths) {
    QuoteService service = Service();
    EXPECT_EQ(service.Respond("/cgi-bin/getquote.dll?TICKER=G00001", "Basic " + Base64Encode("NORVALE:wrong")).Status, 401);
    EXPECT_EQ(service.Respond("/cgi-bin/getquote.dll?TICKER=G00001", "").Status, 401);
    EXPECT_EQ(service.Respond("/index.html", login).Status, 404);
    const Answer stock = service.Respond("/cgi-bin/getquote.dll?TICKER=G00001", login);
    EXPECT_EQ(stock.Status, 200);
    EXPECT_NE(stock.Body.find("Generated Company 1"), std::string::npos);
    const Answer options = service.Respond("/cgi-bin/options.dll?TICKER=G00001", login);
    EXPECT_NE(options.Body.find(" (.<B>G00"), std::string::npos);
    EXPECT_NE(service.Respond("/cgi-bin/options.dll?TICKER=ZZZ", login).Body.find("SYMBOL_NOT_FOUND"),
              std::string::npos);
}

TEST_F(QuoteServiceTest, NamedFaultsStrikeOnceSoTheRetrySucceeds) {
    FaultSettings faults;
    faults.Symbols[Fault::Drop] = {"G00001"};
    faults.TryAgainEvery = 3;
    QuoteService service = Service(faults);
    const std::string path = "/cgi-bin/getquote.dll?TICKER=G00001";
    EXPECT_EQ(service.Respond(path, login).Injected, Fault::Drop);
    EXPECT_EQ(service.Respond(path, login).Injected, Fault::None);
    const Answer third = service.Respond(path, login);
    EXPECT_EQ(third.Injected, Fault::TryAgain);
    EXPECT_NE(third.Body.find("Please try again"), std::string::npos);
    EXPECT_EQ(service.Respond(path, login).Injected, Fault::None);
}

TEST_F(QuoteServiceTest, HostileAnswersSpoilTheFirstPageOfTheirSymbolOnly) {
    FaultSettings faults;
    faults.Symbols[Fault::Junk] = {"G00001"};
    QuoteService junkService = Service(faults);
    const std::string stockPath = "/cgi-bin/getquote.dll?TICKER=G00001";
    const std::string clean = Service().Respond(stockPath, login).Body;
    const Answer junk = junkService.Respond(stockPath, login);
    EXPECT_EQ(junk.Injected, Fault::Junk);
    EXPECT_EQ(junk.Body.size(), 64u * 1024);
    EXPECT_EQ(std::set<char>(junk.Body.begin(), junk.Body.end()).size(), 256u) << "every byte value occurs";
    EXPECT_EQ(junkService.Respond(stockPath, login).Body, clean);

    faults.Symbols = {{Fault::Nul, {"G00001"}}, {Fault::Huge, {"G00001"}}};
    QuoteService service = Service(faults);
    const std::string optionsPath = "/cgi-bin/options.dll?TICKER=G00001";
    const Answer nul = service.Respond(optionsPath, login);
    EXPECT_EQ(nul.Injected, Fault::Nul);
    const std::string cleanOptions = Service().Respond(optionsPath, login).Body;
    EXPECT_EQ(std::count(nul.Body.begin(), nul.Body.end(), '\0'), std::count(cleanOptions.begin(), cleanOptions.end(), '>'));
    std::string withoutNul = nul.Body;
    std::erase(withoutNul, '\0');
    EXPECT_EQ(withoutNul, cleanOptions);

    const Answer huge = service.Respond(optionsPath, login);
    EXPECT_EQ(huge.Injected, Fault::Huge) << "each named fault strikes once, one after the other";
    EXPECT_EQ(huge.Body.size(), HugeBodyBytes);
    EXPECT_EQ(huge.Body.compare(0, cleanOptions.size(), cleanOptions), 0) << "the page itself is whole";
    EXPECT_EQ(service.Respond(optionsPath, login).Body, cleanOptions);
}

} // namespace
