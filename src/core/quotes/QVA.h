#pragma once
// QVA: the weighted average implied volatility of the 12 options near the money, per side.

#include <cstdint>
#include <optional>

#include "core/settings/UserSettings.h"
#include "core/quotes/QuoteData.h"

// The implied volatilities solved for one quote record, with the settings the solver read. The
// solver reads no criterion, so a count that screens the same record again with other criteria
// (the what-if sweep) takes them from here rather than solving the 12 options again.
struct SolvedVolatilities {
    bool Filled = false;
    float InterestRate = 0;
    std::int16_t DrvQVAfrom = 0;
    SeriesArray<float> Sigma{}; // the solver's answer, before the accepted range is applied
};

// Solves, screens and averages the options of quote.Series (sides 0 and 1, strike positions 1..3,
// expirations 0 and 1) into quote.QVA, OptQVA and OptNote; builds missing option symbols. Reads
// InterestRate, DrvQVAfrom, AvgQVAusing and the option criteria from `settings`. Throws
// ArithmeticFault when a computation leaves the finite numbers. With `solved`, the volatilities
// are taken from it when it holds those of this record under the same InterestRate and DrvQVAfrom,
// else solved and kept there (only when the whole computation ends without a fault).
void ComputeQVA(QuoteData& quote, const UserSettings& settings, SolvedVolatilities* solved = nullptr);

// True for the settings members ComputeQVA reads besides InterestRate, DrvQVAfrom and AvgQVAusing:
// the option criteria. A change of any other criterion leaves its results as they are.
bool ComputeQVAReads(Criterion UserSettings::*member);

// QVAC (side 0) or QVAP (side 1) as the screen and SavedSym.txt see it: percent, single precision,
// negative when there is no average.
inline float QVAPercent(const QuoteData& quote, int side) { return quote.QVA.QVAAverage[side] * 100.0f; }

// The price an option's implied volatility is solved from (by `drvQVAfrom`: last, bid, ask, else the
// mid price), nothing when the option's page figures are incomplete and no volatility is solved.
std::optional<float> SolvedFromPrice(const OptionSeries& series, Side side, int strike, int expiration,
                                     std::int16_t drvQVAfrom);
