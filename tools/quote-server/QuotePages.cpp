#include "QuotePages.h"

#include <cmath>
#include <cstdint>

#include "core/numbers/NumberText.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/Pricing.h"

namespace {

double Cents(double value) { return std::round(value * 100) / 100; }

std::string Money(double value) { return FormatDouble(Cents(value)); }

// FNV-1a: stable across runs and platforms, so a chain's volumes do not change between requests.
std::uint32_t StableHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// A fraction in [0, 1) drawn from a hash.
double Fraction(std::uint32_t hash) { return (hash % 10007) / 10007.0; }

std::string Head(std::string_view title) {
    return "<HTML>\r\n<HEAD><TITLE>" + std::string(title) + "</TITLE></HEAD>\r\n<BODY>\r\n"
           "<H2>Stand-in quote server</H2>\r\n";
}

std::string Tail() {
    return "<P>Made-up figures for testing and demonstration.</P>\r\n</BODY>\r\n</HTML>\r\n";
}

std::string Row(std::string_view label, std::string_view value) {
    return "<TR><TD>" + std::string(label) + "</TD><TD>" + std::string(value) + "</TD></TR>\r\n";
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

// The top of a stock page down to the line that the company name follows.
std::string StockPageTop(std::string_view symbol, std::string_view name) {
    return Head("Stock quote " + std::string(symbol)) +
           "<P>Delayed quote for " + std::string(symbol) + "</P>\r\n"
           "<P><A HREF=\"#filings\">SEC Filings</A> | <A HREF=\"#chain\">Option chain</A></P>\r\n"
           "<TABLE>\r\n<TR><TH COLSPAN=2>Last Trade</TH></TR>\r\n"
           "<TR><TH COLSPAN=2>" + std::string(name) + "</TH></TR>\r\n";
}

double ModelPrice(const Company& company, float rate, int side, double strike, int days,
                  double volatility) {
    ModelInputs model;
    model.ModelStockPrice = static_cast<float>(company.Last);
    model.ModelStrike = static_cast<float>(strike);
    model.InterestRate = rate;
    model.ModelDividendRate = static_cast<float>(company.YieldPercent / 100);
    model.ModelDaysToExpiry = static_cast<std::int16_t>(days);
    model.ModelVolatility = static_cast<float>(volatility);
    return OptionValue(model, static_cast<Side>(side));
}

ChainRow PriceRow(const Company& company, float rate, const ExpirationCalendar& calendar, int side,
                  int expiration, double strike) {
    ChainRow row;
    row.Side = side;
    row.Expiration = expiration;
    row.Strike = strike;
    row.Symbol = OptionRootOf(company.Symbol) + calendar.ExpiryMonthCode[side][expiration] +
                 StrikeCodeFor(static_cast<float>(strike));
    row.Volatility = SmileVolatility(company, side, strike);
    const double value = ModelPrice(company, rate, side, strike, calendar.DaysToExpiry[expiration],
                                    row.Volatility);
    // An even number of cents keeps the mean of bid and ask on a whole cent.
    const double spread = std::max(0.04, 2 * Cents(value * 0.03));
    row.Bid = std::max(0.0, Cents(value - spread / 2));
    row.Ask = Cents(row.Bid + spread);
    const std::uint32_t hash = StableHash(row.Symbol + static_cast<char>('0' + expiration));
    row.Last = Cents(value * (0.98 + 0.04 * Fraction(hash)));
    row.Change = Cents(value * 0.2 * (Fraction(hash / 7) - 0.5));
    const double nearness = std::exp(-8 * std::abs(std::log(strike / company.Last)));
    row.OpenInterest = 20 + std::llround(4000 * nearness * Fraction(hash / 13));
    row.Volume = std::llround(row.OpenInterest * 0.3 * Fraction(hash / 17));
    return row;
}

} // namespace

std::vector<double> StrikeLadder(double last) {
    const StrikeTable table = SelectStrikes(static_cast<float>(last));
    std::vector<double> ladder(table.StrikePrice.begin(), table.StrikePrice.end());
    for (int i = 0; i < 2; ++i) {
        const double lowest = ladder.front();
        const double below = lowest - (lowest < 30 ? 2.5 : 5);
        if (below >= 5) ladder.insert(ladder.begin(), below);
        const double highest = ladder.back();
        ladder.push_back(highest + (highest < 25 ? 2.5 : 5));
    }
    return ladder;
}

std::vector<ChainRow> OptionChain(const Company& company, const LocalDateTime& now, float rate,
                                  int expirations) {
    const ExpirationCalendar calendar = BuildExpirationCalendar(now);
    std::vector<ChainRow> chain;
    for (int expiration = 0; expiration < expirations; ++expiration)
        for (const double strike : StrikeLadder(company.Last))
            for (int side = 0; side < 2; ++side)
                chain.push_back(PriceRow(company, rate, calendar, side, expiration, strike));
    return chain;
}

std::string StockPage(const Company& c, const LocalDateTime& now) {
    const double percent = c.PreviousClose > 0 ? c.NetChange * 100 / c.PreviousClose : 0;
    const std::string exDividend =
        c.Dividend > 0 ? TwoDigits(now.Month) + "/08/" + std::to_string(now.Year) : "N/A";
    std::string page = StockPageTop(c.Symbol, c.Name);
    page += Row("Tick", c.NetChange >= 0 ? "Up" : "Down");
    page += Row("Exchange", c.Exchange);
    page += Row("Time of Last Sale", "16:00");
    page += Row("Size Bid/Ask", "5x3");
    page += Row("Ex-Dividend Date", exDividend);
    page += Row("Last Sale", Money(c.Last));
    page += Row("Net Change", (c.NetChange > 0 ? "+" : "") + Money(c.NetChange));
    page += Row("Percent Change", Money(percent));
    page += Row("Bid", Money(c.Bid));
    page += Row("Ask", Money(c.Ask));
    page += Row("Open", Money(c.Open));
    page += Row("High", Money(c.High));
    page += Row("Low", Money(c.Low));
    page += Row("Previous Close", Money(c.PreviousClose));
    page += Row("52 Week High", Money(c.High52Week));
    page += Row("52 Week Low", Money(c.Low52Week));
    page += Row("Volitility", Money(c.Volatility));
    page += Row("Indicated Annual Dividend", Money(c.Dividend));
    page += Row("EPS", Money(c.Eps));
    page += Row("P/E", Money(c.PriceEarnings));
    page += Row("Yield", Money(c.YieldPercent));
    page += Row("Volume", std::to_string(c.Volume));
    page += Row("Shares Outstanding", std::to_string(c.SharesThousands));
    return page + "</TABLE>\r\n" + Tail();
}

std::string UnknownStockPage(std::string_view symbol) {
    return StockPageTop(symbol, "Unknown symbol " + std::string(symbol)) + Row("Last Sale", "N/A") +
           "</TABLE>\r\n" + Tail();
}

std::string TryAgainPage(std::string_view symbol) {
    return Head("Busy " + std::string(symbol)) +
           "<P>The quote system is busy. Please try again in a few minutes.</P>\r\n" + Tail();
}

std::string OptionPage(const Company& company, const std::vector<ChainRow>& chain) {
    std::string page = Head("Option chain " + company.Symbol);
    page += "<P>" + company.Name + " (" + company.Symbol + ") last sale " + Money(company.Last) + "</P>\r\n";
    page += "<TABLE>\r\n<TR><TH>Option</TH><TH>Last</TH><TH>Change</TH><TH>Bid</TH><TH>Ask</TH>"
            "<TH>Volume</TH><TH>Open Int</TH></TR>\r\n";
    for (const ChainRow& row : chain) {
        page += "<TR><TD>" + Money(row.Strike) + (row.Side == 0 ? " Call" : " Put") + " (.<B>" +
                row.Symbol + "</B>)</TD><TD>" + Money(row.Last) + "</TD><TD>" + Money(row.Change) +
                "</TD><TD>" + Money(row.Bid) + "</TD><TD>" + Money(row.Ask) + "</TD><TD>" +
                std::to_string(row.Volume) + "</TD><TD>" + std::to_string(row.OpenInterest) +
                "</TD></TR>\r\n";
    }
    return page + "</TABLE>\r\n" + Tail();
}

std::string SymbolNotFoundPage(std::string_view symbol) {
    return Head("Option chain " + std::string(symbol)) + "<P>SYMBOL_NOT_FOUND: " +
           std::string(symbol) + "</P>\r\n" + Tail();
}
