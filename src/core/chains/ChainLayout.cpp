#include "core/chains/ChainLayout.h"

#include "core/chains/CsvHeader.h"
#include "core/numbers/NumberText.h"
#include "core/quotes/OptionCalendar.h"

namespace {

struct FieldSpelling {
    ChainField Field;
    bool Required;
    std::vector<std::string_view> Spellings; // in order of preference; the first is the one named
};

std::vector<FieldSpelling> CboeSpellings(ChainSnapshot snapshot)
{
    const bool eod = snapshot == ChainSnapshot::EndOfDay;
    return {
        {ChainField::Symbol, true, {"underlying_symbol"}},
        {ChainField::QuoteDate, true, {"quote_date"}},
        {ChainField::Root, false, {"root"}},
        {ChainField::Expiration, true, {"expiration"}},
        {ChainField::Strike, true, {"strike"}},
        {ChainField::Type, true, {"option_type"}},
        {ChainField::Last, true, {"close"}},
        {ChainField::Bid, true, {eod ? "bid_eod" : "bid_1545"}},
        {ChainField::Ask, true, {eod ? "ask_eod" : "ask_1545"}},
        {ChainField::Volume, true, {"trade_volume"}},
        {ChainField::OpenInterest, true, {"open_interest"}},
        {ChainField::UnderlyingBid, true, {eod ? "underlying_bid_eod" : "underlying_bid_1545"}},
        {ChainField::UnderlyingAsk, true, {eod ? "underlying_ask_eod" : "underlying_ask_1545"}},
    };
}

const std::vector<FieldSpelling>& GenericSpellings()
{
    static const std::vector<FieldSpelling> spellings{
        // An option's own code may stand in a "symbol" column beside the underlying's: the underlying wins.
        {ChainField::Symbol, true, {"underlying_symbol", "underlying", "ticker", "symbol"}},
        {ChainField::QuoteDate, false, {"quote_date", "trade_date", "date"}},
        {ChainField::Expiration, true, {"expiration", "expiration_date", "expiry", "expiry_date", "exp_date"}},
        {ChainField::Strike, true, {"strike", "strike_price"}},
        {ChainField::Type, true, {"type", "option_type", "right", "put_call", "call_put", "cp_flag"}},
        {ChainField::Last, true, {"last", "last_price", "last_trade"}},
        {ChainField::Change, false, {"change", "net_change"}},
        {ChainField::Bid, true, {"bid", "bid_price"}},
        {ChainField::Ask, true, {"ask", "ask_price", "offer"}},
        {ChainField::Volume, true, {"volume", "vol"}},
        {ChainField::OpenInterest, true, {"open_interest", "oi"}},
        {ChainField::UnderlyingBid, false, {"underlying_bid"}},
        {ChainField::UnderlyingAsk, false, {"underlying_ask"}},
        {ChainField::UnderlyingPrice, false, {"underlying_price", "underlying_last", "stock_price", "spot"}},
    };
    return spellings;
}

// The columns, and the names of the required ones the header lacks.
std::pair<ChainColumns, std::vector<std::string_view>> Match(const std::vector<std::string>& header,
                                                              ChainLayout layout,
                                                              const std::vector<FieldSpelling>& spellings)
{
    ChainColumns columns;
    columns.Layout = layout;
    columns.Index.fill(-1);
    std::vector<std::string_view> missing;
    for (const FieldSpelling& field : spellings) {
        const int column = FindColumn(header, field.Spellings);
        columns.Index[static_cast<std::size_t>(field.Field)] = column;
        if (column < 0 && field.Required) missing.push_back(field.Spellings.front());
    }
    return {columns, missing};
}

std::string MissingText(const std::vector<std::string_view>& missing)
{
    std::string text = "it has no column ";
    for (std::size_t i = 0; i < missing.size(); ++i)
        text += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + std::string(missing[i]);
    return text;
}

std::optional<int> Digits(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int64_t> DayOf(std::optional<int> year, std::optional<int> month, std::optional<int> day)
{
    constexpr int DaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > DaysIn[*month - 1])
        return std::nullopt;
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    if (*month == 2 && *day == 29 && !leap) return std::nullopt;
    return DaysFromCivil(*year, *month, *day);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

class RowReader {
public:
    RowReader(const CsvRecord& record, const ChainColumns& columns) : record_(record), columns_(columns) {}

    const std::string_view* Field(ChainField field) const
    {
        return FieldAt(record_.Fields, columns_.Index[static_cast<std::size_t>(field)]);
    }

    // A required text; sets the reason when it is missing.
    std::optional<std::string_view> Text(ChainField field, std::string_view name)
    {
        const std::string_view* text = Field(field);
        if (!text || text->empty()) return Fail("the " + std::string(name) + " is missing");
        return *text;
    }

    // A required number, or an optional one that reads as `blank` when empty or absent.
    std::optional<double> Number(ChainField field, std::string_view name, std::optional<double> blank = {})
    {
        const std::string_view* text = Field(field);
        if (!text || text->empty()) {
            if (blank) return blank;
            return Fail<double>("the " + std::string(name) + " is missing");
        }
        if (const auto value = ParseDecimal(*text)) return value;
        return Fail<double>("the " + std::string(name) + " is not a number: " + Quoted(*text));
    }

    std::optional<std::int64_t> Date(ChainField field, std::string_view name)
    {
        const auto text = Text(field, name);
        if (!text) return std::nullopt;
        if (const auto day = ParseChainDate(*text)) return day;
        return Fail<std::int64_t>("the " + std::string(name) + " is not a date: " + Quoted(*text));
    }

    std::optional<int> Side()
    {
        const auto text = Text(ChainField::Type, "option type");
        if (!text) return std::nullopt;
        const std::string type = NormalizedHeaderName(*text);
        if (type == "c" || type == "call") return 0;
        if (type == "p" || type == "put") return 1;
        return Fail<int>("unknown option type " + Quoted(*text));
    }

    template <class T = std::string_view>
    std::optional<T> Fail(std::string reason)
    {
        if (reason_.empty()) reason_ = std::move(reason);
        return std::nullopt;
    }

    const std::string& Reason() const { return reason_; }

private:
    const CsvRecord& record_;
    const ChainColumns& columns_;
    std::string reason_;
};

// The underlying's own price when the file gives one, else the midpoint of a two-sided quote.
double UnderlyingLast(RowReader& reader)
{
    const auto price = reader.Number(ChainField::UnderlyingPrice, "underlying price", -1.0);
    const auto bid = reader.Number(ChainField::UnderlyingBid, "underlying bid", -1.0);
    const auto ask = reader.Number(ChainField::UnderlyingAsk, "underlying ask", -1.0);
    if (price && *price > 0) return *price;
    if (bid && ask && *bid > 0 && *ask >= *bid) return (*bid + *ask) / 2;
    return -1;
}

} // namespace

std::optional<ChainLayout> ParseChainLayout(std::string_view name)
{
    if (name == "cboe") return ChainLayout::Cboe;
    if (name == "generic") return ChainLayout::Generic;
    if (name == "auto") return ChainLayout::Auto;
    return std::nullopt;
}

std::optional<ChainSnapshot> ParseChainSnapshot(std::string_view name)
{
    if (name == "1545") return ChainSnapshot::At1545;
    if (name == "eod") return ChainSnapshot::EndOfDay;
    return std::nullopt;
}

CommandOption ChainLayoutOption(ChainLayout& target)
{
    return {"--layout", "", "LAYOUT", "the chain file's layout: cboe, generic or auto (default)",
            [&target](const std::string& value) -> std::optional<std::string> {
                const std::optional<ChainLayout> layout = ParseChainLayout(value);
                if (!layout) return "is cboe, generic or auto, not '" + value + "'";
                target = *layout;
                return std::nullopt;
            }};
}

CommandOption ChainSnapshotOption(ChainSnapshot& target)
{
    return {"--snapshot", "", "WHEN", "cboe quotes taken at 1545 (default) or at the close (eod)",
            [&target](const std::string& value) -> std::optional<std::string> {
                const std::optional<ChainSnapshot> snapshot = ParseChainSnapshot(value);
                if (!snapshot) return "is 1545 or eod, not '" + value + "'";
                target = *snapshot;
                return std::nullopt;
            }};
}

std::variant<ChainColumns, std::string> FindChainColumns(const std::vector<std::string_view>& header,
                                                         ChainLayout layout, ChainSnapshot snapshot)
{
    const std::vector<std::string> names = NormalizedHeader(header);
    auto cboe = Match(names, ChainLayout::Cboe, CboeSpellings(snapshot));
    if (layout == ChainLayout::Cboe || (layout == ChainLayout::Auto && cboe.second.empty())) {
        if (cboe.second.empty()) return cboe.first;
        return MissingText(cboe.second);
    }
    auto generic = Match(names, ChainLayout::Generic, GenericSpellings());
    if (generic.second.empty()) return generic.first;
    // Neither layout fits: name what is missing from the one the file came closer to.
    if (layout == ChainLayout::Auto && cboe.second.size() < generic.second.size()) return MissingText(cboe.second);
    return MissingText(generic.second);
}

std::variant<ChainFileRow, std::string> ReadChainRow(const CsvRecord& record, const ChainColumns& columns)
{
    RowReader reader(record, columns);
    ChainFileRow row;
    const auto symbol = reader.Text(ChainField::Symbol, "symbol");
    const auto expiration = reader.Date(ChainField::Expiration, "expiration");
    const auto strike = reader.Number(ChainField::Strike, "strike");
    const auto side = reader.Side();
    const auto last = reader.Number(ChainField::Last, "last price", 0.0);
    const auto change = reader.Number(ChainField::Change, "change", 0.0);
    const auto bid = reader.Number(ChainField::Bid, "bid");
    const auto ask = reader.Number(ChainField::Ask, "ask");
    const auto volume = reader.Number(ChainField::Volume, "volume", 0.0);
    const auto openInterest = reader.Number(ChainField::OpenInterest, "open interest", 0.0);
    if (strike && !(*strike > 0)) reader.Fail("the strike is not positive: " + FormatDouble(*strike));
    if (reader.Field(ChainField::QuoteDate)) {
        if (const auto quoteDay = reader.Date(ChainField::QuoteDate, "quote date")) row.QuoteDay = *quoteDay;
    }
    row.UnderlyingLast = UnderlyingLast(reader);
    if (!reader.Reason().empty()) return reader.Reason();
    row.Symbol = *symbol;
    if (const std::string_view* root = reader.Field(ChainField::Root)) row.Root = *root;
    row.ExpirationDay = *expiration;
    row.Strike = *strike;
    row.Side = *side;
    row.Last = *last;
    row.Change = *change;
    row.Bid = *bid;
    row.Ask = *ask;
    row.Volume = *volume;
    row.OpenInterest = *openInterest;
    return row;
}

std::optional<std::int64_t> ParseChainDate(std::string_view text)
{
    if (text.size() >= 10 && text[4] == '-' && text[7] == '-' &&
        (text.size() == 10 || text[10] == ' ' || text[10] == 'T'))
        return DayOf(Digits(text.substr(0, 4)), Digits(text.substr(5, 2)), Digits(text.substr(8, 2)));
    if (text.size() == 10 && text[2] == '/' && text[5] == '/')
        return DayOf(Digits(text.substr(6, 4)), Digits(text.substr(0, 2)), Digits(text.substr(3, 2)));
    if (text.size() == 8) return DayOf(Digits(text.substr(0, 4)), Digits(text.substr(4, 2)), Digits(text.substr(6, 2)));
    return std::nullopt;
}
