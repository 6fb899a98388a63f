#include "core/insight/PassTable.h"

#include <cmath>

#include "core/insight/CsvText.h"
#include "core/numbers/NumberText.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/QVA.h"

namespace {

// A figure born single precision is shown as that single, not with the digits its double carries.
std::string FigureText(const std::optional<double>& value)
{
    if (!value) return "";
    const auto single = static_cast<float>(*value);
    return static_cast<double>(single) == *value ? FormatSingle(single) : FormatDouble(*value);
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
    constexpr const char* headers[ScreenedFigureCount] = {"volume", "pe",         "mktcap", "last",
                                                           "range",  "volatility", "change", "yield"};
    for (int i = 0; i < ScreenedFigureCount; ++i)
        columns.push_back({headers[i], [i](const PassRowInput& row) {
                               return HasQuotes(row) ? FigureText(ScreenedFiguresOf(row.Quote.Stock)[i]) : "";
                           }});
}

void AddAverageColumns(std::vector<PassColumn>& columns)
{
    columns.push_back({std::string(QVACHeader), [](const PassRowInput& row) { return FigureText(Average(row, Calls)); }});
    columns.push_back({std::string(QVAPHeader), [](const PassRowInput& row) { return FigureText(Average(row, Puts)); }});
    columns.push_back({"qvac_qvap", [](const PassRowInput& row) {
                           const auto qc = Average(row, Calls), qp = Average(row, Puts);
                           return qc && qp ? FigureText(static_cast<float>(*qc) - static_cast<float>(*qp)) : "";
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
                                       return FigureText(sigma * 100.0f);
                                   }});
                columns.push_back({name + "_price", [=](const PassRowInput& row) {
                                       if (!HasAnalysis(row)) return std::string();
                                       const auto price = SolvedFromPrice(row.Quote.Series, side, strike,
                                                                          expiration, row.DrvQVAfrom);
                                       return price ? FigureText(*price) : "";
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
        {"value", [](const PassRowInput& row) { return row.Failure ? FigureText(row.Failure->Value) : ""; }},
        {"bound", [](const PassRowInput& row) { return row.Failure ? FigureText(row.Failure->Bound) : ""; }},
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
