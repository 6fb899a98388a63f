#pragma once
// The results block of one evaluated symbol: 58 fixed-width lines, each ended by CR LF, showing the
// stock quote, the two QVA averages and their trend, the call and put table (expirations 0 and 1,
// strike positions 1 to 3) and a legend.

#include <string>

#include "core/SharedState.h"

// Builds the block from the run position (SavedCount, SymbolIndex, SymbolCount), CurrentSymbol,
// InterestRate, DrvQVAfrom, the quote record with its calendar, strikes, option series and QVA
// results, and the time of state.clock. Negative option values show as "n/a"; nothing is changed.
// The caller puts the result into PageText.
std::string BuildResultsBlock(const SharedState& state);
