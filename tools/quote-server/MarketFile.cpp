#include "MarketFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "core/numbers/NumberText.h"
#include "core/quotes/QuotePageMarkup.h"
#include "core/text/TextFile.h"

namespace {

constexpr std::size_t ColumnCount = 23;

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos; comma = line.find(',', start)) {
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<Company> ParseRow(const std::vector<std::string_view>& f) {
    std::array<double, ColumnCount> n{};
    for (std::size_t i = 3; i < ColumnCount; ++i) {
        const std::optional<double> value = ParseDecimal(f[i]);
        if (!value) return std::nullopt;
        n[i] = *value;
    }
    Company c;
    c.Symbol = std::string(f[0]);
    c.Name = std::string(f[1]);
    c.Exchange = std::string(f[2]);
    c.Last = n[3]; c.NetChange = n[4]; c.Bid = n[5]; c.Ask = n[6]; c.Open = n[7];
    c.High = n[8]; c.Low = n[9]; c.PreviousClose = n[10]; c.High52Week = n[11]; c.Low52Week = n[12];
    c.Volume = std::llround(n[13]);
    c.Dividend = n[14]; c.Eps = n[15]; c.PriceEarnings = n[16]; c.YieldPercent = n[17];
    c.SharesThousands = std::llround(n[18]);
    c.Volatility = n[19]; c.CallVolatility = n[20]; c.PutVolatility = n[21]; c.Smile = n[22];
    return c;
}

} // namespace

std::optional<std::vector<Company>> ParseMarket(std::string_view csv, std::string& error) {
    std::vector<Company> market;
    const std::vector<std::string_view> lines = SplitLines(csv);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::vector<std::string_view> fields = SplitFields(lines[i]);
        std::optional<Company> company;
        if (fields.size() == ColumnCount) company = ParseRow(fields);
        if (!company) {
            error = "line " + std::to_string(i + 1) + " does not read";
            return std::nullopt;
        }
        market.push_back(std::move(*company));
    }
    return market;
}

Company GeneratedCompany(int index) {
    // A cheap deterministic spread of figures; the load tests need volume, not realism.
    const double u = std::fmod(index * 0.6180339887, 1.0);
    Company c;
    char symbol[8];
    std::snprintf(symbol, sizeof symbol, "G%05d", index);
    c.Symbol = symbol;
    c.Name = "Generated Company " + std::to_string(index);
    c.Exchange = "NYSE";
    c.Last = Cents(8 + 180 * u);
    c.NetChange = Cents((u - 0.5) * 2);
    c.PreviousClose = Cents(c.Last - c.NetChange);
    c.Bid = Cents(c.Last - 0.02);
    c.Ask = Cents(c.Last + 0.02);
    c.Open = c.PreviousClose;
    c.High = Cents(c.Last * 1.01);
    c.Low = Cents(c.Last * 0.99);
    c.High52Week = Cents(c.Last * 1.4);
    c.Low52Week = Cents(c.Last * 0.7);
    c.Volume = 50000 + index * 37;
    c.YieldPercent = Cents(3 * u);
    c.Dividend = Cents(c.Last * c.YieldPercent / 100);
    c.Eps = Cents(c.Last / 20);
    c.PriceEarnings = 20;
    c.SharesThousands = 10000 + index;
    c.Volatility = Cents(0.5 + u);
    c.CallVolatility = 0.2 + 0.4 * u;
    c.PutVolatility = c.CallVolatility * 1.05;
    c.Smile = 1;
    return c;
}

double SmileVolatility(const Company& company, int side, double strike) {
    const double atTheMoney = side == 0 ? company.CallVolatility : company.PutVolatility;
    // The curve flattens beyond about 20 % from the money, so cheap stocks, whose ladder reaches
    // several times their price, keep believable wings.
    const double moneyness = std::min(std::abs(std::log(strike / company.Last)), 0.2);
    return atTheMoney * (1 + company.Smile * moneyness * moneyness);
}
