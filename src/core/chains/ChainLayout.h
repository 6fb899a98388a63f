#pragma once
// The two layouts of option chain files and how one row of them reads:
// - the end-of-day option summary of the US options exchanges (`underlying_symbol`, `quote_date`,
//   `root`, `expiration`, `strike`, `option_type`, `close`, `trade_volume`, the quotes at 15:45
//   (`bid_1545`, `ask_1545`, `underlying_bid_1545`, `underlying_ask_1545`) and at the close
//   (`bid_eod`, ...), `open_interest`);
// - a generic long layout, one row per option, as brokers' and data sites' exports reduce to.
// Columns are found by their header names in any order; unknown columns are ignored.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/chains/CsvReader.h"
#include "core/text/CommandLine.h"

enum class ChainLayout { Cboe, Generic, Auto };
// Which quotes of the exchange layout are used: those taken at 15:45, before the closing auction
// (the usual choice for end-of-day implied volatility), or the closing ones.
enum class ChainSnapshot { At1545, EndOfDay };

// The names of the command lines: "cboe", "generic", "auto"; "1545", "eod". Nothing for others.
std::optional<ChainLayout> ParseChainLayout(std::string_view name);
std::optional<ChainSnapshot> ParseChainSnapshot(std::string_view name);
// The command-line options that read them: --layout LAYOUT and --snapshot WHEN.
CommandOption ChainLayoutOption(ChainLayout& target);
CommandOption ChainSnapshotOption(ChainSnapshot& target);

enum class ChainField {
    Symbol, QuoteDate, Root, Expiration, Strike, Type, Last, Change, Bid, Ask, Volume, OpenInterest,
    UnderlyingBid, UnderlyingAsk, UnderlyingPrice
};
inline constexpr std::size_t ChainFieldCount = 15;

struct ChainColumns {
    ChainLayout Layout = ChainLayout::Cboe;    // never Auto: the layout the header matched
    std::array<int, ChainFieldCount> Index{};  // header position of each field, -1 when absent
};

// The columns of `header` for `layout` (Auto: the end-of-day summary layout when the header has all of its
// required columns, else the generic one). A text naming the required columns that are missing
// when the header is no chain header.
std::variant<ChainColumns, std::string> FindChainColumns(const std::vector<std::string_view>& header,
                                                         ChainLayout layout, ChainSnapshot snapshot);

// One option quote as the file gives it. Prices in dollars; -1 where an optional figure is absent.
struct ChainFileRow {
    std::string_view Symbol;      // as written: upper-case and a leading "^" are the reader's business
    std::string_view Root;        // empty when the file has no root column
    std::int64_t QuoteDay = -1;   // day number (DaysFromCivil); -1 when the file has no quote dates
    std::int64_t ExpirationDay = 0;
    double Strike = 0;
    int Side = 0;                 // 0 call, 1 put
    double Last = 0, Change = 0, Bid = 0, Ask = 0, Volume = 0, OpenInterest = 0;
    double UnderlyingLast = -1;   // the underlying's price or the midpoint of its bid and ask
};

// The row of `record`, or why it does not read ("the strike is not a number: \"abc\""). An empty
// last, change, volume or open interest reads as 0: exports leave them blank for untraded options.
std::variant<ChainFileRow, std::string> ReadChainRow(const CsvRecord& record, const ChainColumns& columns);

// The day number of "YYYY-MM-DD" (a time may follow after a blank or "T"), "MM/DD/YYYY" or
// "YYYYMMDD"; nothing for anything else or an impossible date.
std::optional<std::int64_t> ParseChainDate(std::string_view text);
