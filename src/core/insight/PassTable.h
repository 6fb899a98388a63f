#pragma once
// The pass table Pass.csv: one row per evaluated symbol, with the outcome, the criterion that kept a
// screened-out symbol from being saved, and the figures the screen read. A cell is empty where the
// value does not exist; nothing stands for "none" by a number.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/insight/CsvText.h"
#include "core/history/IvStanding.h"
#include "core/quotes/Clock.h"
#include "core/quotes/QuoteData.h"
#include "core/run/PassTally.h"
#include "core/run/StockScreen.h"

// What the table needs of one evaluated symbol: the quote record as the evaluation left it.
struct PassRowInput {
    const std::string& Symbol;
    SymbolOutcome Outcome;
    const QuoteData& Quote;
    const std::optional<ScreenFailure>& Failure; // of a screened-out symbol
    std::int16_t DrvQVAfrom;                     // which price the volatilities were solved from
    LocalDateTime EvaluatedAt;
    IvStanding Standing{}; // looked up once for the row; empty without history
};

struct PassColumn {
    std::string Header;
    std::function<std::string(const PassRowInput&)> Cell;
};

// The columns in their order: the one list that the file, the window and any later column share.
// Columns are only ever added at the end, so that readers of older files keep their positions.
const std::vector<PassColumn>& PassColumns();

// Headers the desktop program looks columns up by.
inline constexpr std::string_view SymbolHeader = "symbol";
inline constexpr std::string_view CompanyHeader = "company";
inline constexpr std::string_view OutcomeHeader = "outcome";
inline constexpr std::string_view FailedHeader = "failed";
inline constexpr std::string_view DistanceHeader = "distance";
inline constexpr std::string_view QVACHeader = "qvac";
inline constexpr std::string_view QVAPHeader = "qvap";

// "saved", "screened out", "no quotes", "error".
std::string_view OutcomeWord(SymbolOutcome outcome);

// The header line and one row line, each ended by CR LF.
std::string PassHeaderLine();
std::string PassRowLine(const PassRowInput& input);
// The cells of one row, as PassRowLine writes them.
CsvRow PassRowCells(const PassRowInput& input);

// How far a failed figure lies from its bound, relative to the bound: 0.5 for 12.5 against a minimum
// of 25. Nothing without a figure, or for a bound of 0.
std::optional<double> RelativeDistance(const ScreenFailure& failure);
