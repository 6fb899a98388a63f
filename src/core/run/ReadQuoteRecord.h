#pragma once
// Reads one symbol's stock record and option block back from the quote cache into the quote
// record, as the page parsers would have filled it.

#include <string>
#include <string_view>

#include "core/quotes/Clock.h"
#include "core/quotes/QuoteData.h"
#include "core/run/QuoteFileReader.h"

// Clears `quote` (for `now`), then scans forward for the stock record of `currentSymbol` and reads
// it and its option block. True when a complete stock record followed by an option block marked
// YES was read. False when the file holds no record for the symbol before a later symbol's record
// (that record stays in the look-ahead for the next call), when the block is marked NO, when a stock
// marker comes before the record is whole (the marker stays in the look-ahead too), and at the end
// of the file or at a value that does not convert to its number or cannot be read; values read
// before that stay in `quote`. The scan only moves forward, so the cache must list its symbols in ascending order.
bool ReadQuoteRecord(QuoteFileReader& reader, QuoteData& quote, const std::string& currentSymbol,
                     const LocalDateTime& now);

// ReadQuoteRecord telling apart a symbol the cache holds no record of (Missing) from one whose
// record is not whole (Incomplete).
enum class QuoteRecordRead { Complete, Incomplete, Missing };
QuoteRecordRead ReadQuoteRecordOf(QuoteFileReader& reader, QuoteData& quote, const std::string& currentSymbol,
                                  const LocalDateTime& now);
