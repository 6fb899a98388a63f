#pragma once
// An option chain file read once, streaming, into what the screen can use: per symbol, the options
// whose expiration the program's calendar places, and the underlying's price. Rows of other quote
// dates, of symbols not asked for and of expirations the calendar cannot place (weeklies,
// quarterlies, LEAPS beyond a year) are passed over; rows that do not read are skipped and counted.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "core/chains/ChainLayout.h"
#include "core/chains/SkippedRows.h"
#include "core/quotes/Clock.h"

struct IndexedOption {
    float Strike = 0;            // dollars
    std::int8_t Side = 0;        // 0 call, 1 put
    std::int8_t Expiration = 0;  // position 0..11 in the expiration calendar
    bool StandardRoot = true;    // false for another root of the symbol (adjusted or PM-settled series)
    float Last = 0, Change = 0, Bid = 0, Ask = 0, Volume = 0, OpenInterest = 0;
};

struct SymbolChain {
    double UnderlyingLast = -1; // dollars; -1 when no row gave the underlying's price
    std::vector<IndexedOption> Options; // in file order
};

struct ChainFileRequest {
    std::string Path;
    ChainLayout Layout = ChainLayout::Auto;
    ChainSnapshot Snapshot = ChainSnapshot::At1545;
    // The calendar the expirations are placed in, and the quote date kept: its date.
    LocalDateTime Now;
    // Nothing: every symbol of the file.
    std::optional<std::unordered_set<std::string>> Symbols;
};

struct ChainIndex {
    std::unordered_map<std::string, SymbolChain> Symbols; // upper case, without a leading "^"
    SkippedRows Skipped;
    long long OtherDateRows = 0;
    std::string FirstOtherDate; // as the file writes it
};

// The index, or a message naming the file when it cannot be read or is no chain file.
std::variant<ChainIndex, std::string> IndexChainFile(const ChainFileRequest& request);

// What the user should hear about the file after indexing: the skipped rows, and the rows passed
// over for another quote date. Empty when there is nothing to say.
std::string ChainFileNotes(const ChainIndex& index, const ChainFileRequest& request);

// The symbol as the symbol list writes it: upper case, without the "^" that marks an index.
std::string ListSymbolOf(std::string_view fileSymbol);
