#pragma once
// The records of the quote cache Quote.txt: per symbol a 26-line stock record, then its option
// block. Values are in the comma-delimited record format: texts in double quotes, numbers bare and
// invariant, lines ended by CR LF. The replay reads them back in the same order.

#include <array>
#include <string>
#include <string_view>

#include "core/quotes/QuoteData.h"

inline constexpr std::string_view StockMarker = "<STOCK>";
inline constexpr std::string_view OptionsMarker = "<OPTIONS>";
inline constexpr std::string_view OptionsYes = "<OPTIONS>YES";
inline constexpr std::string_view OptionsNo = "<OPTIONS>NO";

// The six numbers of an option row: the order of the option page and of an option line.
inline constexpr std::array<SeriesArray<float> OptionSeries::*, 6> OptionRowValues{
    &OptionSeries::OptLast, &OptionSeries::OptValue2, &OptionSeries::OptBid,
    &OptionSeries::OptAsk,  &OptionSeries::OptVolume, &OptionSeries::OptOpenInterest};

// The 26-line stock record of `symbol` ("<STOCK>" + symbol, the seven texts, the sixteen prices and
// ratios, Volume, SharesOutstanding), each line ended by CR LF.
std::string StockRecordText(std::string_view symbol, const StockQuote& stock);

// The option block: the line "<OPTIONS>NO" when `series` is null; otherwise "<OPTIONS>YES" and 12
// option lines (calls then puts; strike positions 1, 2, 3; expiration 0 then 1), each the quoted
// option symbol and the six row values. An unfilled slot shows as "",-1,-1,-1,-1,-1,-1.
std::string OptionBlockText(const OptionSeries* series);
