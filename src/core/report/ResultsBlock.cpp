#include "core/report/ResultsBlock.h"

#include <array>
#include <charconv>
#include <string_view>

#include "core/numbers/NumberText.h"
#include "core/quotes/OptionWindow.h"
#include "core/text/TextFile.h"
#include "core/report/DisplayPattern.h"

namespace {

constexpr std::size_t StockField = 22;
constexpr std::size_t NameField = 44;
constexpr std::size_t OptionField = 7;
constexpr std::string_view EmptyOptionField = "       ";
constexpr std::string_view OptionSeparator =
    "-------|----------------------------|----------------------------|";

constexpr std::array<std::string_view, 6> TableHeader{
    " Root  | Expiration:   Days         | Expiration:   Days         |",
    " Symbol| Month  Date   To Go        | Month  Date   To Go        |",
    "-------|----------------------------|----------------------------|",
    " I-Val | Last   Bid    Ask          | Last   Bid    Ask          |",
    " Strike| Note   Prc    OpnInt T-Val | Note   Prc    OpnInt T-Val |",
    " Price | Symbol QVA    Volume       | Symbol QVA    Volume       |",
};

constexpr std::array<std::string_view, 2> SideBanner{
    "*******|******* Calls **************|******* Calls **************|",
    "*******|******* Puts  **************|******* Puts  **************|",
};

constexpr std::array<std::string_view, 9> Legend{
    "",
    "Notes:",
    " *0: Not included in QVA Averaging",
    " *1: Included in QVA Averaging",
    " *2: QVA satisfies Min QVA of Call (or Put) in the filter",
    "  I-Val: Intrinsic value     Prc: Price used to calculate QVA",
    "  T-Val: Time Value         Last: Latest price",
    "  Volty: Volatility      Mkt Cap: Market Capitalization",
    " OpnInt: Open Interest",
};

// The display patterns of the block, each taken apart once, at compile time.
constexpr NumberPattern Percent = ParseNumberPattern("0.0%");
constexpr NumberPattern PercentOrNone = ParseNumberPattern("0.0%;n/a");
constexpr NumberPattern Thousands = ParseNumberPattern("#,###,###,##0");
constexpr NumberPattern Ratio = ParseNumberPattern("0.0#");
constexpr NumberPattern CountOrNone = ParseNumberPattern("#####0;n/a");
constexpr NumberPattern ExpiryMonth = ParseNumberPattern(" 00/");
constexpr NumberPattern ExpiryDay = ParseNumberPattern("00");
constexpr NumberPattern DaysToGo = ParseNumberPattern(" 00");
constexpr NumberPattern StrikeColumn = ParseNumberPattern(" #0.0##");
constexpr NumberPattern OptionPrice = ParseNumberPattern(" #0.0##; n/a");
constexpr NumberPattern OptionCount = ParseNumberPattern(" #####0; n/a");
constexpr NumberPattern TimeValue = ParseNumberPattern(" #0.0##; -----");
constexpr NumberPattern OptionQVA = ParseNumberPattern(" 0.0%; n/a");

// The block is written straight into its one string, field by field: a block is built for every
// symbol of a pass, and building each field as a string of its own cost more than the QVA.

// A number under a display pattern, as a piece of a field.
template <class Value>
struct Shown {
    Value value;
    const NumberPattern& pattern;
};

// A single as the quote record shows it (FormatSingle), as a piece of a field.
struct Single {
    float value;
};

template <class Value>
Shown<Value> Pattern(Value value, const NumberPattern& pattern)
{
    return {value, pattern};
}

void Put(std::string& block, std::string_view text) { block += text; }
void Put(std::string& block, const char* text) { block += text; }
void Put(std::string& block, char c) { block += c; }
void Put(std::string& block, const std::string& text) { block += text; }
void Put(std::string& block, Single number) { block += FormatSingle(number.value); }

template <class Value>
void Put(std::string& block, Shown<Value> number)
{
    AppendPattern(block, number.value, number.pattern);
}

void Put(std::string& block, long long value)
{
    char digits[24];
    block.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The pieces left-justified in a field of `width` characters: filled with spaces, cut when longer.
template <class... Pieces>
void Field(std::string& block, std::size_t width, const Pieces&... pieces)
{
    const std::size_t start = block.size();
    (Put(block, pieces), ...);
    const std::size_t used = block.size() - start;
    if (used > width)
        block.resize(start + width);
    else
        block.append(width - used, ' ');
}

void EndLine(std::string& block) { block += CrLf; }

void AddLine(std::string& block, std::string_view line)
{
    block += line;
    EndLine(block);
}

// A bid or ask below a cent is no quote at all.
void QuotedPriceField(std::string& block, std::string_view label, float value)
{
    if (value >= 0.01f)
        Field(block, StockField, label, '$', Single{value});
    else
        Field(block, StockField, label, "n/a");
}

void AddStockBlock(std::string& block, const SharedState& state)
{
    const StockQuote& stock = state.Quote.Stock;
    const RunStatus& run = state.Run;
    const double marketCap = static_cast<double>(stock.LastSale) * stock.SharesOutstanding;

    Field(block, StockField, "Saved ", static_cast<long long>(run.SavedCount));
    Field(block, StockField, "Progress ", static_cast<long long>(run.SymbolIndex), '/',
          static_cast<long long>(state.Symbols.SymbolCount));
    Field(block, StockField, "Interest Rate ", Pattern(state.Settings.InterestRate, Percent));
    EndLine(block);
    Field(block, NameField, stock.CompanyName);
    Put(block, "Mkt Cap...$");
    Put(block, Pattern(marketCap, Thousands));
    EndLine(block);
    Field(block, StockField, "Symbol....", run.CurrentSymbol);
    Field(block, StockField, "Last Tick.", stock.LastTick);
    Field(block, StockField, "Exchange..", stock.Exchange);
    EndLine(block);
    Field(block, StockField, "Last......$", Single{stock.LastSale});
    QuotedPriceField(block, "Bid.......", stock.BidPrice);
    QuotedPriceField(block, "Ask.......", stock.AskPrice);
    EndLine(block);
    Field(block, StockField, "Change....$", Single{stock.NetChange});
    Field(block, StockField, "% Change..", Single{stock.PercentChange}, '%');
    Field(block, StockField, "Time......", stock.TimeOfLastSale);
    EndLine(block);
    Field(block, StockField, "Open......$", Single{stock.OpenPrice});
    Field(block, StockField, "High......$", Single{stock.HighPrice});
    Field(block, StockField, "Low.......$", Single{stock.LowPrice});
    EndLine(block);
    Field(block, StockField, "Previous..$", Single{stock.PreviousClose});
    Field(block, StockField, "Volume....", static_cast<long long>(stock.Volume));
    Field(block, StockField, "B A Size..", stock.SizeBidAsk);
    EndLine(block);
    Field(block, StockField, "52 Wk Hi..$", Single{stock.High52Week});
    Field(block, StockField, "52 Wk Lo..$", Single{stock.Low52Week});
    Field(block, StockField, "Ex-Div....", stock.ExDividendDate);
    EndLine(block);
    Field(block, StockField, "Dividend..$", Single{stock.Dividend}, "/Shr");
    Field(block, StockField, "Yield.....", Single{stock.YieldPercent}, '%');
    Field(block, StockField, "Volty.....", Single{stock.Volatility}, '%');
    EndLine(block);
    Field(block, StockField, "E/Share...$", Single{stock.EarningsPerShare}, "/Shr");
    Field(block, StockField, "P/E Ratio.", Pattern(stock.PriceEarnings, Ratio));
    Field(block, StockField, "Shrs Out..", Pattern(stock.SharesOutstanding, Thousands));
    EndLine(block);
    EndLine(block);
}

void AddAverages(std::string& block, const SharedState& state)
{
    const QVAResults& qva = state.Quote.QVA;
    Field(block, StockField, "Call QVA..", Pattern(qva.QVAAverage[Calls], PercentOrNone));
    Field(block, StockField, "Put QVA...", Pattern(qva.QVAAverage[Puts], PercentOrNone));
    std::string_view trend = "?";
    if (qva.QVAAverage[Calls] >= 0 && qva.QVAAverage[Puts] >= 0) {
        const float d = qva.QVAAverage[Calls] - qva.QVAAverage[Puts];
        Field(block, StockField, "QVAC - QVAP = ", Pattern(d, Percent));
        if (d > 0) trend = "UP";
        if (d < 0) trend = "DOWN";
    } else {
        Field(block, StockField, "QVAC - QVAP = n/a");
    }
    EndLine(block);
    Field(block, StockField, "Open Int..", Pattern(qva.WeightOpenInterest[Calls], CountOrNone));
    Field(block, StockField, "Open Int..", Pattern(qva.WeightOpenInterest[Puts], CountOrNone));
    Put(block, "QVA Implied Trend = ");
    Field(block, OptionField, trend);
    EndLine(block);
    Field(block, StockField, "Volume....", Pattern(qva.WeightVolume[Calls], CountOrNone));
    Field(block, StockField, "Volume....", Pattern(qva.WeightVolume[Puts], CountOrNone));
    Put(block, FormatDateTime(state.clock.Now()));
    EndLine(block);
    EndLine(block);
}

std::string_view NoteText(OptionNote note)
{
    switch (note) {
    case OptionNote::Included: return " *1";
    case OptionNote::MinQVAReached: return " *1,*2";
    default: return " *0";
    }
}

Shown<float> Price(float value) { return Pattern(value, OptionPrice); }

std::string_view CodeView(const char& code) { return code == '\0' ? std::string_view{} : std::string_view(&code, 1); }

void AddExpirationRow(std::string& block, const QuoteData& quote, Side side)
{
    const ExpirationCalendar& calendar = quote.Calendar;
    Field(block, OptionField, FormatTextPattern(quote.Stock.OptionRoot, "  !@@@  "));
    for (const int e : ShownExpirations) {
        Put(block, '|');
        Field(block, OptionField, "   ", CodeView(calendar.ExpiryMonthCode[side][e]));
        Field(block, OptionField, Pattern(calendar.ExpiryMonth[e] + 1, ExpiryMonth),
              Pattern(calendar.ExpiryDay[e], ExpiryDay));
        Field(block, OptionField, Pattern(calendar.DaysToExpiry[e], DaysToGo));
        Field(block, OptionField);
    }
    Put(block, '|');
    EndLine(block);
}

void AddPricesRow(std::string& block, const QuoteData& quote, Side side, int s)
{
    const OptionSeries& series = quote.Series;
    const float intrinsic = IntrinsicValue(side, quote.Stock.LastSale, quote.Strikes.StrikePrice[s]);
    Field(block, OptionField, Pattern(intrinsic, StrikeColumn));
    for (const int e : ShownExpirations) {
        Put(block, '|');
        Field(block, OptionField, Price(series.OptLast[side][s][e]));
        Field(block, OptionField, Price(series.OptBid[side][s][e]));
        Field(block, OptionField, Price(series.OptAsk[side][s][e]));
        Put(block, EmptyOptionField);
    }
    Put(block, '|');
    EndLine(block);
}

void AddNotesRow(std::string& block, const QuoteData& quote, std::int16_t drvQVAfrom, Side side, int s)
{
    const OptionSeries& series = quote.Series;
    const float strike = quote.Strikes.StrikePrice[s];
    const float intrinsic = IntrinsicValue(side, quote.Stock.LastSale, strike);
    Field(block, OptionField, Pattern(strike, StrikeColumn));
    for (const int e : ShownExpirations) {
        const float price = PriceUsed(series, drvQVAfrom, side, s, e);
        Put(block, '|');
        Field(block, OptionField, NoteText(series.OptNote[side][s][e]));
        Field(block, OptionField, Price(price));
        Field(block, OptionField, Pattern(series.OptOpenInterest[side][s][e], OptionCount));
        if (price < 0)
            Field(block, OptionField, " n/a");
        else
            Field(block, OptionField, Pattern(price - intrinsic, TimeValue));
    }
    Put(block, '|');
    EndLine(block);
}

void AddSymbolsRow(std::string& block, const QuoteData& quote, Side side, int s)
{
    const OptionSeries& series = quote.Series;
    const std::string_view strikeCode = CodeView(quote.Strikes.StrikeCode[s]);
    Field(block, OptionField, FormatTextPattern(strikeCode, "   @"));
    for (const int e : ShownExpirations) {
        Put(block, '|');
        // OptionSymbolOf spelled out field by field, so that no string is built for it.
        const std::string& given = series.OptSymbol[side][s][e];
        if (!given.empty())
            Field(block, OptionField, ' ', given);
        else
            Field(block, OptionField, ' ', quote.Stock.OptionRoot, CodeView(quote.Calendar.ExpiryMonthCode[side][e]),
                  strikeCode);
        Field(block, OptionField, Pattern(series.OptQVA[side][s][e], OptionQVA));
        Field(block, OptionField, Pattern(series.OptVolume[side][s][e], OptionCount));
        Put(block, EmptyOptionField);
    }
    Put(block, '|');
    EndLine(block);
}

void AddOptionSide(std::string& block, const SharedState& state, Side side)
{
    const QuoteData& quote = state.Quote;
    AddLine(block, SideBanner[static_cast<std::size_t>(side)]);
    AddExpirationRow(block, quote, side);
    for (const int s : ShownStrikes) {
        AddLine(block, OptionSeparator);
        AddPricesRow(block, quote, side, s);
        AddNotesRow(block, quote, state.Settings.DrvQVAfrom, side, s);
        AddSymbolsRow(block, quote, side, s);
    }
}

} // namespace

std::string BuildResultsBlock(const SharedState& state)
{
    std::string block;
    block.reserve(4096);
    AddStockBlock(block, state);
    AddAverages(block, state);
    for (const auto line : TableHeader) AddLine(block, line);
    AddOptionSide(block, state, Calls);
    AddOptionSide(block, state, Puts);
    for (const auto line : Legend) AddLine(block, line);
    return block;
}
