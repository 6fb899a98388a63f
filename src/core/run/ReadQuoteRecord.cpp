#include "core/run/ReadQuoteRecord.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {


// The next value of the record in hand. A stock marker (always a quoted text) cannot be one: the
// record was cut short, as a pass killed while appending and then resumed leaves it. The marker
// ends the record and stays in the look-ahead, so that its own symbol is still found.
std::optional<RecordValue> ReadRecordValue(QuoteFileReader& reader)
{
    std::optional<RecordValue> value = reader.ReadValue();
    if (!value || !value->Quoted || !value->Text.starts_with(StockMarker)) return value;
    reader.KeepInLookAhead(std::move(value->Text));
    return std::nullopt;
}

bool ReadText(QuoteFileReader& reader, std::string& target)
{
    std::optional<RecordValue> value = ReadRecordValue(reader);
    if (!value) return false;
    target = std::move(value->Text);
    return true;
}

bool ReadSingle(QuoteFileReader& reader, float& target)
{
    const std::optional<RecordValue> value = ReadRecordValue(reader);
    if (!value) return false;
    const std::optional<double> number = RecordNumber(*value);
    // A figure beyond single precision is as damaged as one that is no number at all.
    if (!number || !std::isfinite(static_cast<float>(*number))) return false;
    target = static_cast<float>(*number);
    return true;
}

bool ReadStockRecord(QuoteFileReader& reader, QuoteData& quote)
{
    StockQuote& stock = quote.Stock;
    for (std::string* text : {&stock.CompanyName, &stock.LastTick, &stock.Exchange,
                              &stock.TimeOfLastSale, &stock.SizeBidAsk, &stock.ExDividendDate,
                              &stock.SpareText})
        if (!ReadText(reader, *text)) return false;

    if (!ReadSingle(reader, stock.LastSale)) return false;
    quote.Strikes = SelectStrikes(stock.LastSale);
    for (float* number : {&stock.NetChange, &stock.PercentChange, &stock.BidPrice,
                          &stock.AskPrice, &stock.OpenPrice, &stock.HighPrice, &stock.LowPrice,
                          &stock.PreviousClose, &stock.High52Week, &stock.Low52Week,
                          &stock.Volatility, &stock.Dividend, &stock.EarningsPerShare,
                          &stock.PriceEarnings, &stock.YieldPercent})
        if (!ReadSingle(reader, *number)) return false;

    const std::optional<RecordValue> volume = ReadRecordValue(reader);
    const std::optional<std::int32_t> shares = volume ? RecordInteger(*volume) : std::nullopt;
    if (!shares) return false;
    stock.Volume = *shares;

    const std::optional<RecordValue> outstanding = ReadRecordValue(reader);
    const std::optional<double> count = outstanding ? RecordNumber(*outstanding) : std::nullopt;
    if (!count) return false;
    stock.SharesOutstanding = *count;
    return true;
}

bool ReadOptionLine(QuoteFileReader& reader, OptionSeries& series, int side, int strike,
                    int expiration)
{
    if (!ReadText(reader, series.OptSymbol[side][strike][expiration])) return false;
    for (auto column : OptionRowValues)
        if (!ReadSingle(reader, (series.*column)[side][strike][expiration])) return false;
    return true;
}

bool ReadOptionBlock(QuoteFileReader& reader, QuoteData& quote)
{
    std::string& root = quote.Stock.OptionRoot;
    for (const Side side : BothSides)
        for (const int strike : ShownStrikes)
            for (const int expiration : ShownExpirations) {
                if (!ReadOptionLine(reader, quote.Series, side, strike, expiration)) return false;
                const std::string& symbol = quote.Series.OptSymbol[side][strike][expiration];
                if (root.empty() && !symbol.empty()) root = OptionRootOf(symbol);
            }
    return true;
}

bool IsOptionsYes(std::string_view marker)
{
    // Only the tenth character is looked at, so "<OPTIONS>Y" alone counts as YES.
    return marker.starts_with(OptionsMarker) && marker.size() > OptionsMarker.size() &&
           marker[OptionsMarker.size()] == 'Y';
}

// Positions the look-ahead on the stock marker of `symbol`, passing over values too long to read.
// False when a later symbol's marker or the end of the file comes first: the cache holds no record
// of it.
bool FindStockRecord(QuoteFileReader& reader, std::string_view symbol)
{
    for (;;) {
        const std::string_view lookAhead = reader.LookAhead();
        if (lookAhead.starts_with(StockMarker)) {
            const std::string_view found = lookAhead.substr(StockMarker.size());
            if (found == symbol) return true;
            if (found > symbol) return false;
        }
        // A failed read short of the end passed over a value too long to hold: the search goes on.
        if (!reader.ReadIntoLookAhead() && reader.AtEnd()) return false;
    }
}

} // namespace

QuoteRecordRead ReadQuoteRecordOf(QuoteFileReader& reader, QuoteData& quote, const std::string& currentSymbol,
                                  const LocalDateTime& now)
{
    ClearQuoteRecord(quote, now);
    if (!FindStockRecord(reader, currentSymbol)) return QuoteRecordRead::Missing;
    if (!ReadStockRecord(reader, quote)) return QuoteRecordRead::Incomplete;
    if (!reader.ReadIntoLookAhead() || !IsOptionsYes(reader.LookAhead())) return QuoteRecordRead::Incomplete;
    if (IsOwnOptionRoot(currentSymbol)) quote.Stock.OptionRoot = currentSymbol;
    return ReadOptionBlock(reader, quote) ? QuoteRecordRead::Complete : QuoteRecordRead::Incomplete;
}

bool ReadQuoteRecord(QuoteFileReader& reader, QuoteData& quote, const std::string& currentSymbol,
                     const LocalDateTime& now)
{
    return ReadQuoteRecordOf(reader, quote, currentSymbol, now) == QuoteRecordRead::Complete;
}
