#pragma once
// The stock-level screen and the verdict of one evaluated symbol.

#include "core/settings/UserSettings.h"
#include "core/quotes/QuoteData.h"
#include "core/run/SymbolVerdict.h"

// True when the stock passes every stock-level criterion in force, both bounds inclusive: volume
// in thousands, P/E, market capitalisation in millions, last sale, beta (Volatility), % change,
// yield and the position of the last sale in the 52-week range in percent. A 52-week high equal to
// the low leaves the range position unknown; the stock then fails only when MinRange or MaxRange
// is in force. The caller skips the screen for a negative Volume.
bool PassesStockScreen(const StockQuote& stock, const UserSettings& settings);

// The verdict from the notes of the shown options and the two QVA-difference criteria. qc and qp
// are QVAC and QVAP in percent, negative when there is no average.
SymbolVerdict OptionVerdict(const OptionSeries& series, float qc, float qp, const UserSettings& settings);
