// ParseOptionPage: the option rows of a stripped option chain page that fall into the window of
// the expiration calendar and the strike table, and the option block.

#include <optional>
#include <string_view>

#include "core/text/TextFile.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

constexpr std::string_view RowKeyword = " (.";
constexpr int OptionSymbolLength = 5;
constexpr char FirstPutMonthLetter = 'M';

struct Slot {
    Side OptionSide;
    int Strike;
    int Expiration;
};

bool IsXToZ(char c) { return c >= 'X' && c <= 'Z'; }

// Letters that mark symbols outside the window: "Y"/"Z" strike letters and "X".."Z" in the two
// places before the month letter belong to other option series of the exchange.
bool HasForeignLetters(std::string_view symbol)
{
    const std::size_t length = symbol.size();
    const char strikeLetter = symbol[length - 1];
    return strikeLetter == 'Y' || strikeLetter == 'Z' || (length > 3 && IsXToZ(symbol[length - 3])) ||
           (length > 4 && IsXToZ(symbol[length - 4]));
}

template <class Codes>
std::optional<int> FirstPosition(const Codes& codes, int count, char letter)
{
    for (int position = 0; position < count; ++position)
        if (codes[position] == letter) return position;
    return std::nullopt;
}

// The option series slot of a candidate symbol, or nothing when the row is to be ignored.
std::optional<Slot> SlotOf(std::string_view symbol, const QuoteData& quote, std::string_view currentSymbol)
{
    if (symbol.size() < 3 || HasForeignLetters(symbol)) return std::nullopt;
    if (IsOwnOptionRoot(currentSymbol) && !symbol.starts_with(currentSymbol)) return std::nullopt;

    const char monthLetter = symbol[symbol.size() - 2];
    const Side side = monthLetter >= FirstPutMonthLetter ? Puts : Calls;
    const auto expiration =
        FirstPosition(quote.Calendar.ExpiryMonthCode[side], SeriesExpirations, monthLetter);
    const auto strike = FirstPosition(quote.Strikes.StrikeCode, StrikeCount, symbol.back());
    if (!expiration || !strike) return std::nullopt;
    return Slot{side, *strike, *expiration};
}

// Reads the six numbers of a row into the slot; a number that fails to read keeps the slot's
// previous value and the next one is tried.
void ReadRowValues(PageBuffer& page, OptionSeries& series, const Slot& slot)
{
    for (const auto column : OptionRowValues)
        if (auto value = ReadPriceValue(page)) (series.*column)[slot.OptionSide][slot.Strike][slot.Expiration] = *value;
}

} // namespace

bool ParseOptionPage(PageBuffer& page, QuoteData& quote, const std::string& currentSymbol,
                     const std::string& fnQuote)
{
    bool stored = false;
    if (page.PageText.find("SYMBOL_NOT_FOUND") == std::string::npos) {
        if (IsOwnOptionRoot(currentSymbol)) quote.Stock.OptionRoot = currentSymbol;
        page.PageCursor = 1;
        while (FindNextKeyword(page, RowKeyword)) {
            const auto symbol = ReadTextField(page, OptionSymbolLength);
            if (!symbol) continue; // only blanks were left: the next search ends the loop
            const auto slot = SlotOf(*symbol, quote, currentSymbol);
            if (!slot) continue;
            // A later row for the same slot overwrites the earlier one.
            quote.Series.OptSymbol[slot->OptionSide][slot->Strike][slot->Expiration] = *symbol;
            if (quote.Stock.OptionRoot.empty()) quote.Stock.OptionRoot = OptionRootOf(*symbol);
            ReadRowValues(page, quote.Series, *slot);
            stored = true;
        }
    }
    // A cache that cannot be written loses this block; the symbol is still evaluated.
    static_cast<void>(AppendToFile(fnQuote, OptionBlockText(stored ? &quote.Series : nullptr)));
    return stored;
}
