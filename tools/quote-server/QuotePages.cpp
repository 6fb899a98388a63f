#include "QuotePages.h"

#include <cmath>
#include <cstdint>

#include "core/quotes/OptionCalendar.h"
#include "core/quotes/Pricing.h"

namespace {

// FNV-1a: stable across runs and platforms, so a chain's volumes do not change between requests.
std::uint32_t StableHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// A fraction in [0, 1) drawn from a hash.
double Fraction(std::uint32_t hash) { return (hash % 10007) / 10007.0; }

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
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
    StockPageFigures f;
    f.Symbol = c.Symbol;
    f.CompanyName = c.Name;
    f.Exchange = c.Exchange;
    f.TimeOfLastSale = "16:00";
    f.SizeBidAsk = "5x3";
    f.ExDividendDate = c.Dividend > 0 ? TwoDigits(now.Month) + "/08/" + std::to_string(now.Year) : "N/A";
    f.LastSale = c.Last;
    f.NetChange = c.NetChange;
    f.Bid = c.Bid;
    f.Ask = c.Ask;
    f.Open = c.Open;
    f.High = c.High;
    f.Low = c.Low;
    f.PreviousClose = c.PreviousClose;
    f.High52Week = c.High52Week;
    f.Low52Week = c.Low52Week;
    f.Volatility = c.Volatility;
    f.Dividend = c.Dividend;
    f.Eps = c.Eps;
    f.PriceEarnings = c.PriceEarnings;
    f.YieldPercent = c.YieldPercent;
    f.Volume = c.Volume;
    f.SharesThousands = c.SharesThousands;
    return StockPageMarkup(f);
}

std::string UnknownStockPage(std::string_view symbol) {
    StockPageFigures f;
    f.Symbol = std::string(symbol);
    f.CompanyName = "Unknown symbol " + std::string(symbol);
    return StockPageMarkup(f);
}

std::string OptionPage(const Company& company, const std::vector<ChainRow>& chain) {
    return OptionPageMarkup(company.Symbol, company.Name, company.Last,
                            std::vector<OptionPageRow>(chain.begin(), chain.end()));
}
