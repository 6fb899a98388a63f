#pragma once
// The stock-level screen and the verdict of one evaluated symbol.

#include <cstdint>

#include "core/settings/UserSettings.h"
#include "core/quotes/QuoteData.h"

// Values of RunStatus::Verdict; every one but VerdictNotSaved saves the symbol.
inline constexpr std::int16_t VerdictNotSaved = -2;     // not evaluated, screened out, nothing notable
inline constexpr std::int16_t VerdictOptionIncluded = 0; // some option was included in the averages
inline constexpr std::int16_t VerdictMinQVAReached = 2;  // some option reached Min QVA of its side
inline constexpr std::int16_t VerdictCallsAhead = 1;     // QVAC - QVAP reached MinQVAC_QVAP
inline constexpr std::int16_t VerdictPutsAhead = -1;     // QVAP - QVAC reached MinQVAP_QVAC

// True when the stock passes every stock-level criterion in force, both bounds inclusive: volume
// in thousands, P/E, market capitalisation in millions, last sale, beta (Volatility), % change,
// yield and the position of the last sale in the 52-week range in percent. A 52-week high equal to
// the low leaves the range position unknown; the stock then fails only when MinRange or MaxRange
// is in force. The caller skips the screen for a negative Volume.
bool PassesStockScreen(const StockQuote& stock, const UserSettings& settings);

// The verdict from the notes of the shown options (strike positions 1 to 3, expirations 0 and 1)
// and the two QVA-difference criteria. qc and qp are QVAC and QVAP in percent, negative when there
// is no average.
std::int16_t OptionVerdict(const OptionSeries& series, float qc, float qp, const UserSettings& settings);
