#include "core/insight/PassTable.h"

#include <array>
#include <cmath>
#include <utility>

#include "core/insight/CsvText.h"
#include "core/numbers/NumberText.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/QVA.h"
#include "core/report/DisplayPattern.h"

namespace {

// Each figure to the precision the results report shows it, without the report's decoration ("%",
// "$", thousands groups), so that a cell stays a plain number: percentages to a tenth, P/E to two
// places at most, prices to three, market capitalisation (in millions) to whole dollars. A figure
// the report shows as the page gave it has no pattern here.
// Taken apart once: a pass writes some forty figures per symbol.
constexpr const NumberPattern* AsRead = nullptr;
constexpr NumberPattern PercentPattern = ParseNumberPattern("0.0");
constexpr NumberPattern PricePattern = ParseNumberPattern("0.0##");
constexpr NumberPattern RatioPattern = ParseNumberPattern("0.0#");
constexpr NumberPattern MillionsPattern = ParseNumberPattern("0.0#####");
// In the order of ScreenedFigures: volume, P/E, market cap, last, beta, % change, yield, range.
constexpr std::array<const NumberPattern*, ScreenedFigureCount> ScreenedFigurePatterns{
    AsRead, &RatioPattern, &MillionsPattern, AsRead, AsRead, AsRead, AsRead, &PercentPattern};

std::string FigureText(const std::optional<double>& value, const NumberPattern* pattern)
{
    if (!value) return "";
    if (pattern) {
        std::string text;
        AppendPattern(text, *value, *pattern);
        return text;
    }
    // A figure born single precision is shown as that single, not with the digits its double carries.
    const auto single = static_cast<float>(*value);
    return static_cast<double>(single) == *value ? FormatSingle(single) : FormatDouble(*value);
}

// The failed criterion's figure as its column shows it; every criterion beyond the stock screen
// bounds a volatility in percent.
std::string FailedFigureText(const ScreenFailure& failure)
{
    const std::optional<int> figure = ScreenedFigureOf(failure.Criterion);
    const NumberPattern* pattern = figure ? ScreenedFigurePatterns[static_cast<std::size_t>(*figure)] : &PercentPattern;
    return FigureText(failure.Value, pattern);
}

bool HasQuotes(const PassRowInput& row) { return row.Outcome != SymbolOutcome::NoQuotes; }
// An evaluation that ended early leaves its QVA results half made.
bool HasAnalysis(const PassRowInput& row)
{
    return row.Outcome == SymbolOutcome::Saved || row.Outcome == SymbolOutcome::ScreenedOut;
}

std::optional<double> Average(const PassRowInput& row, int side)
{
    if (!HasAnalysis(row) || row.Quote.QVA.QVAAverage[side] < 0) return std::nullopt;
    return QVAPercent(row.Quote, side);
}

std::string TrendWord(const QVAResults& qva)
{
    const float d = qva.QVAAverage[Calls] - qva.QVAAverage[Puts];
    return d > 0 ? "UP" : d < 0 ? "DOWN" : "";
}

void AddStockColumns(std::vector<PassColumn>& columns)
{
    // Headers in the table's order; each names its position in ScreenedFigures.
    constexpr std::pair<const char*, std::size_t> stockColumns[ScreenedFigureCount] = {
        {"volume", 0}, {"pe", 1},         {"mktcap", 2}, {"last", 3},
        {"range", 7},  {"volatility", 4}, {"change", 5}, {"yield", 6}};
    for (const auto& [header, figure] : stockColumns)
        columns.push_back({header, [figure = figure](const PassRowInput& row) {
                               if (!HasQuotes(row)) return std::string();
                               const std::optional<double> value = ScreenedFiguresOf(row.Quote.Stock)[figure];
                               return FigureText(value, ScreenedFigurePatterns[figure]);
                           }});
}

void AddAverageColumns(std::vector<PassColumn>& columns)
{
    columns.push_back({std::string(QVACHeader),
                       [](const PassRowInput& row) { return FigureText(Average(row, Calls), &PercentPattern); }});
    columns.push_back({std::string(QVAPHeader),
                       [](const PassRowInput& row) { return FigureText(Average(row, Puts), &PercentPattern); }});
    columns.push_back({"qvac_qvap", [](const PassRowInput& row) {
                           const auto qc = Average(row, Calls), qp = Average(row, Puts);
                           if (!qc || !qp) return std::string();
                           return FigureText(static_cast<float>(*qc) - static_cast<float>(*qp), &PercentPattern);
                       }});
    columns.push_back({"trend", [](const PassRowInput& row) {
                           return Average(row, Calls) && Average(row, Puts) ? TrendWord(row.Quote.QVA) : "";
                       }});
}

// The twelve options of the averages: calls then puts, strikes low to high, near then next expiration.
void AddOptionColumns(std::vector<PassColumn>& columns)
{
    constexpr const char* sides[] = {"call", "put"};
    constexpr const char* strikes[] = {"", "low", "mid", "high"};
    constexpr const char* expirations[] = {"near", "next"};
    for (const Side side : BothSides)
        for (const int strike : {1, 2, 3})
            for (const int expiration : {0, 1}) {
                const std::string name =
                    std::string(sides[side]) + "_" + strikes[strike] + "_" + expirations[expiration];
                columns.push_back({name + "_iv", [=](const PassRowInput& row) {
                                       const float sigma = row.Quote.Series.OptQVA[side][strike][expiration];
                                       if (!HasAnalysis(row) || sigma < 0) return std::string();
                                       return FigureText(sigma * 100.0f, &PercentPattern);
                                   }});
                columns.push_back({name + "_price", [=](const PassRowInput& row) {
                                       if (!HasAnalysis(row)) return std::string();
                                       const auto price = SolvedFromPrice(row.Quote.Series, side, strike,
                                                                          expiration, row.DrvQVAfrom);
                                       return FigureText(price, &PricePattern);
                                   }});
            }
}

// Empty cells where the symbol has too few stored days ("n/a"): never a made-up figure.
void AddStandingColumns(std::vector<PassColumn>& columns)
{
    auto cell = [](const std::optional<double>& value) { return value ? FormatFixed(*value, 1) : ""; };
    columns.push_back({"iv_rank", [=](const PassRowInput& row) { return cell(row.Standing.Rank); }});
    columns.push_back({"iv_percentile", [=](const PassRowInput& row) { return cell(row.Standing.Percentile); }});
}

std::vector<PassColumn> BuildColumns()
{
    std::vector<PassColumn> columns{
        {std::string(SymbolHeader), [](const PassRowInput& row) { return row.Symbol; }},
        {"root", [](const PassRowInput& row) { return HasQuotes(row) ? row.Quote.Stock.OptionRoot : ""; }},
        {std::string(CompanyHeader), [](const PassRowInput& row) { return HasQuotes(row) ? row.Quote.Stock.CompanyName : ""; }},
        {"evaluated", [](const PassRowInput& row) { return FormatDateTime(row.EvaluatedAt); }},
        {std::string(OutcomeHeader), [](const PassRowInput& row) { return std::string(OutcomeWord(row.Outcome)); }},
        {std::string(FailedHeader), [](const PassRowInput& row) { return row.Failure ? row.Failure->Criterion : ""; }},
        {"value", [](const PassRowInput& row) { return row.Failure ? FailedFigureText(*row.Failure) : ""; }},
        // The bound as the user set it.
        {"bound", [](const PassRowInput& row) { return row.Failure ? FigureText(row.Failure->Bound, AsRead) : ""; }},
        {std::string(DistanceHeader), [](const PassRowInput& row) {
             // Seven digits say all there is to say about how close a symbol came.
             const auto distance = row.Failure ? RelativeDistance(*row.Failure) : std::nullopt;
             return distance ? FormatSingle(static_cast<float>(*distance)) : "";
         }},
    };
    AddStockColumns(columns);
    AddAverageColumns(columns);
    AddOptionColumns(columns);
    AddStandingColumns(columns);
    return columns;
}

} // namespace

const std::vector<PassColumn>& PassColumns()
{
    static const std::vector<PassColumn> columns = BuildColumns();
    return columns;
}

std::string_view OutcomeWord(SymbolOutcome outcome)
{
    switch (outcome) {
    case SymbolOutcome::Saved: return "saved";
    case SymbolOutcome::ScreenedOut: return "screened out";
    case SymbolOutcome::NoQuotes: return "no quotes";
    case SymbolOutcome::Error: return "error";
    }
    return "error";
}

std::string PassHeaderLine()
{
    CsvRow headers;
    for (const PassColumn& column : PassColumns()) headers.push_back(column.Header);
    return CsvLine(headers);
}

CsvRow PassRowCells(const PassRowInput& input)
{
    CsvRow cells;
    for (const PassColumn& column : PassColumns()) cells.push_back(column.Cell(input));
    return cells;
}

std::string PassRowLine(const PassRowInput& input)
{
    return CsvLine(PassRowCells(input));
}

std::optional<double> RelativeDistance(const ScreenFailure& failure)
{
    if (!failure.Value || !failure.Bound || *failure.Bound == 0) return std::nullopt;
    return std::abs(*failure.Value - *failure.Bound) / std::abs(*failure.Bound);
}
