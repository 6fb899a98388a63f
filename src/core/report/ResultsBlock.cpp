#include "core/report/ResultsBlock.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"
#include "core/report/DisplayPattern.h"

namespace {

constexpr std::size_t StockField = 22;
constexpr std::size_t NameField = 44;
constexpr std::size_t OptionField = 7;
constexpr std::string_view EmptyOptionField = "       ";
constexpr std::string_view OptionSeparator =
    "-------|----------------------------|----------------------------|";
constexpr std::array<int, 3> ShownStrikes{1, 2, 3};
constexpr std::array<int, 2> ShownExpirations{0, 1};

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

void AddLine(std::string& block, std::string_view line)
{
    block += line;
    block += CrLf;
}

std::string StockFields(std::initializer_list<std::string> fields)
{
    std::string line;
    for (const auto& field : fields) line += PadField(field, StockField);
    return line;
}

std::string Dollars(std::string_view label, float value)
{
    return std::string(label) + "$" + FormatSingle(value);
}

// A bid or ask below a cent is no quote at all.
std::string QuotedPrice(std::string_view label, float value)
{
    return value >= 0.01f ? Dollars(label, value) : std::string(label) + "n/a";
}

void AddStockBlock(std::string& block, const SharedState& state)
{
    const StockQuote& stock = state.Quote.Stock;
    const RunStatus& run = state.Run;
    const double marketCap = static_cast<double>(stock.LastSale) * stock.SharesOutstanding;

    AddLine(block, StockFields({"Saved " + std::to_string(run.SavedCount),
                                "Progress " + std::to_string(run.SymbolIndex) + "/" +
                                    std::to_string(state.Symbols.SymbolCount),
                                "Interest Rate " + FormatPattern(state.Settings.InterestRate, "0.0%")}));
    AddLine(block, PadField(stock.CompanyName, NameField) + "Mkt Cap...$" +
                       FormatPattern(marketCap, "#,###,###,##0"));
    AddLine(block, StockFields({"Symbol...." + run.CurrentSymbol, "Last Tick." + stock.LastTick,
                                "Exchange.." + stock.Exchange}));
    AddLine(block, StockFields({Dollars("Last......", stock.LastSale),
                                QuotedPrice("Bid.......", stock.BidPrice),
                                QuotedPrice("Ask.......", stock.AskPrice)}));
    AddLine(block, StockFields({Dollars("Change....", stock.NetChange),
                                "% Change.." + FormatSingle(stock.PercentChange) + "%",
                                "Time......" + stock.TimeOfLastSale}));
    AddLine(block, StockFields({Dollars("Open......", stock.OpenPrice), Dollars("High......", stock.HighPrice),
                                Dollars("Low.......", stock.LowPrice)}));
    AddLine(block, StockFields({Dollars("Previous..", stock.PreviousClose),
                                "Volume...." + std::to_string(stock.Volume),
                                "B A Size.." + stock.SizeBidAsk}));
    AddLine(block, StockFields({Dollars("52 Wk Hi..", stock.High52Week),
                                Dollars("52 Wk Lo..", stock.Low52Week),
                                "Ex-Div...." + stock.ExDividendDate}));
    AddLine(block, StockFields({Dollars("Dividend..", stock.Dividend) + "/Shr",
                                "Yield....." + FormatSingle(stock.YieldPercent) + "%",
                                "Volty....." + FormatSingle(stock.Volatility) + "%"}));
    AddLine(block, StockFields({Dollars("E/Share...", stock.EarningsPerShare) + "/Shr",
                                "P/E Ratio." + FormatPattern(stock.PriceEarnings, "0.0#"),
                                "Shrs Out.." + FormatPattern(stock.SharesOutstanding, "#,###,###,##0")}));
    AddLine(block, "");
}

void AddAverages(std::string& block, const SharedState& state)
{
    const QVAResults& qva = state.Quote.QVA;
    std::string difference = "QVAC - QVAP = n/a";
    std::string trend = "?";
    if (qva.QVAAverage[Calls] >= 0 && qva.QVAAverage[Puts] >= 0) {
        const float d = qva.QVAAverage[Calls] - qva.QVAAverage[Puts];
        difference = "QVAC - QVAP = " + FormatPattern(d, "0.0%");
        if (d > 0) trend = "UP";
        if (d < 0) trend = "DOWN";
    }
    AddLine(block, StockFields({"Call QVA.." + FormatPattern(qva.QVAAverage[Calls], "0.0%;n/a"),
                                "Put QVA..." + FormatPattern(qva.QVAAverage[Puts], "0.0%;n/a"),
                                difference}));
    AddLine(block, StockFields({"Open Int.." + FormatPattern(qva.WeightOpenInterest[Calls], "#####0;n/a"),
                                "Open Int.." + FormatPattern(qva.WeightOpenInterest[Puts], "#####0;n/a")}) +
                       "QVA Implied Trend = " + PadField(trend, OptionField));
    AddLine(block, StockFields({"Volume...." + FormatPattern(qva.WeightVolume[Calls], "#####0;n/a"),
                                "Volume...." + FormatPattern(qva.WeightVolume[Puts], "#####0;n/a")}) +
                       FormatDateTime(state.clock.Now()));
    AddLine(block, "");
}

std::string OptionFields(std::initializer_list<std::string> fields)
{
    std::string text;
    for (const auto& field : fields) text += PadField(field, OptionField);
    return text;
}

// What exercising the option now would gain, never below 0.
float IntrinsicValue(int side, float lastSale, float strike)
{
    const float value = side == Calls ? lastSale - strike : strike - lastSale;
    return value > 0 ? value : 0.0f;
}

// The price the option's QVA was derived from; the mid price also when one side of it is absent.
float PriceUsed(const OptionSeries& series, std::int16_t drvQVAfrom, int side, int s, int e)
{
    switch (drvQVAfrom) {
    case 0: return series.OptLast[side][s][e];
    case 1: return series.OptBid[side][s][e];
    case 2: return series.OptAsk[side][s][e];
    default: return (series.OptAsk[side][s][e] + series.OptBid[side][s][e]) / 2;
    }
}

std::string NoteText(std::int16_t note)
{
    if (note == 1) return " *1";
    if (note == 2) return " *1,*2";
    return " *0";
}

std::string PriceText(float value) { return FormatPattern(value, " #0.0##; n/a"); }

std::string ExpirationRow(const QuoteData& quote, int side)
{
    const ExpirationCalendar& calendar = quote.Calendar;
    std::string row = PadField(FormatTextPattern(quote.Stock.OptionRoot, "  !@@@  "), OptionField);
    for (const int e : ShownExpirations) {
        row += "|" + OptionFields({"   " + CodeText(calendar.ExpiryMonthCode[side][e]),
                                   FormatPattern(calendar.ExpiryMonth[e] + 1, " 00/") +
                                       FormatPattern(calendar.ExpiryDay[e], "00"),
                                   FormatPattern(calendar.DaysToExpiry[e], " 00"), ""});
    }
    return row + "|";
}

std::string PricesRow(const QuoteData& quote, int side, int s)
{
    const OptionSeries& series = quote.Series;
    const float intrinsic = IntrinsicValue(side, quote.Stock.LastSale, quote.Strikes.StrikePrice[s]);
    std::string row = PadField(FormatPattern(intrinsic, " #0.0##"), OptionField);
    for (const int e : ShownExpirations) {
        row += "|" + OptionFields({PriceText(series.OptLast[side][s][e]), PriceText(series.OptBid[side][s][e]),
                                   PriceText(series.OptAsk[side][s][e])}) +
               std::string(EmptyOptionField);
    }
    return row + "|";
}

std::string NotesRow(const QuoteData& quote, std::int16_t drvQVAfrom, int side, int s)
{
    const OptionSeries& series = quote.Series;
    const float strike = quote.Strikes.StrikePrice[s];
    const float intrinsic = IntrinsicValue(side, quote.Stock.LastSale, strike);
    std::string row = PadField(FormatPattern(strike, " #0.0##"), OptionField);
    for (const int e : ShownExpirations) {
        const float price = PriceUsed(series, drvQVAfrom, side, s, e);
        const std::string timeValue =
            price < 0 ? std::string(" n/a") : FormatPattern(price - intrinsic, " #0.0##; -----");
        row += "|" + OptionFields({NoteText(series.OptNote[side][s][e]), PriceText(price),
                                   FormatPattern(series.OptOpenInterest[side][s][e], " #####0; n/a"),
                                   timeValue});
    }
    return row + "|";
}

std::string SymbolsRow(const QuoteData& quote, int side, int s)
{
    const OptionSeries& series = quote.Series;
    const std::string strikeCode = CodeText(quote.Strikes.StrikeCode[s]);
    std::string row = PadField(FormatTextPattern(strikeCode, "   @"), OptionField);
    for (const int e : ShownExpirations) {
        const std::string& given = series.OptSymbol[side][s][e];
        const std::string symbol = !given.empty() ? given
                                                  : quote.Stock.OptionRoot +
                                                        CodeText(quote.Calendar.ExpiryMonthCode[side][e]) +
                                                        strikeCode;
        row += "|" + OptionFields({" " + symbol, FormatPattern(series.OptQVA[side][s][e], " 0.0%; n/a"),
                                   FormatPattern(series.OptVolume[side][s][e], " #####0; n/a")}) +
               std::string(EmptyOptionField);
    }
    return row + "|";
}

void AddOptionSide(std::string& block, const SharedState& state, int side)
{
    const QuoteData& quote = state.Quote;
    AddLine(block, SideBanner[static_cast<std::size_t>(side)]);
    AddLine(block, ExpirationRow(quote, side));
    for (const int s : ShownStrikes) {
        AddLine(block, OptionSeparator);
        AddLine(block, PricesRow(quote, side, s));
        AddLine(block, NotesRow(quote, state.Settings.DrvQVAfrom, side, s));
        AddLine(block, SymbolsRow(quote, side, s));
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
