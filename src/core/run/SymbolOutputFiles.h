#pragma once
// The lines of the three symbol output files of a pass: GoodSym.txt (every evaluated symbol),
// BadSym.txt (every symbol whose quotes could not be used) and SavedSym.txt (every saved symbol).
// The evaluation hands them to the pass's output files (PassOutputFiles).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/quotes/QuoteData.h"

// Builds a line of fields at fixed 1-based columns: the gap up to a column is filled with blanks,
// and a field whose column the text already reaches past starts at that column on a new line.
class ColumnLine {
public:
    void PlaceAt(std::size_t column, std::string_view text);
    // The text with its closing CR LF.
    std::string Text() const;

private:
    std::string text_;
    std::size_t lineStart_ = 0;
};

// Trailing blanks removed from the company name, in the record itself: the report sees it trimmed.
void TrimCompanyName(StockQuote& stock);

// CurrentSymbol at column 1, OptionRoot at 9, CompanyName at 14, with its CR LF.
std::string GoodSymbolLine(const std::string& currentSymbol, const StockQuote& stock);

// The symbol alone, with its CR LF.
std::string BadSymbolLine(const std::string& currentSymbol);

// The saved symbol's line, preceded by the four header lines when savedCount is 0 (the first saved
// symbol of the pass). `difference` is QVAC minus QVAP in percentage points, nothing when either
// average is missing (the column then reads "n/a").
std::string SavedSymbolLines(std::int16_t savedCount, const std::string& currentSymbol,
                             const StockQuote& stock, std::optional<float> difference);
