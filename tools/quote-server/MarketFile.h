#pragma once
// The stand-in server's market: one row of made-up figures per company, read from a CSV file
// (see data/demo-market.csv for the columns) or generated for load tests.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Company {
    std::string Symbol;
    std::string Name;
    std::string Exchange;
    // Dollars unless noted.
    double Last = 0, NetChange = 0, Bid = 0, Ask = 0, Open = 0, High = 0, Low = 0;
    double PreviousClose = 0, High52Week = 0, Low52Week = 0;
    long long Volume = 0;           // shares
    double Dividend = 0, Eps = 0, PriceEarnings = 0;
    double YieldPercent = 0;        // percent
    long long SharesThousands = 0;  // shares outstanding in thousands
    double Volatility = 0;          // the beta-like figure of the quote page
    double CallVolatility = 0;      // at-the-money implied volatility, fraction per year
    double PutVolatility = 0;
    double Smile = 0;               // curvature: vol(K) = atm * (1 + Smile * m^2), m = |ln(K / Last)| up to 0.2
};

// Parses the CSV text (header line first; CR LF, CR or LF line ends). Nothing when a data row has
// the wrong number of fields or a number that does not read; `error` then says which line.
std::optional<std::vector<Company>> ParseMarket(std::string_view csv, std::string& error);

// The company of a generated load-test symbol "G" + 5 digits (index from 1): deterministic figures.
Company GeneratedCompany(int index);

// The implied volatility at which a strike (dollars) of one side (0 calls, 1 puts) is priced.
double SmileVolatility(const Company& company, int side, double strike);
