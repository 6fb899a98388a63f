#include "core/history/SymbolChart.h"

#include <algorithm>

namespace {

std::vector<SmileLine> SmileOf(const HistoryDay& day)
{
    std::vector<SmileLine> lines;
    for (const int side : {Calls, Puts}) {
        for (const int expiration : {0, 1}) {
            SmileLine line{side, expiration, 0, {}};
            for (const HistoryOption& option : day.Options) {
                if (option.Side != side || option.Expiration != expiration || !option.ImpliedVolatility) continue;
                line.DaysToGo = option.DaysToGo;
                line.Points.emplace_back(option.Strike, *option.ImpliedVolatility * 100.0);
            }
            std::sort(line.Points.begin(), line.Points.end());
            if (!line.Points.empty()) lines.push_back(std::move(line));
        }
    }
    return lines;
}

} // namespace

SymbolChart ChartOfDay(const HistoryDay& today, HistoryStore& store)
{
    SymbolChart chart{today.Symbol, today.Date, today.LastSale, SmileOf(today), {}, {}, {}, {}};
    const std::string first = FirstDayOfYearEndingOn(today.Date).value_or(today.Date);
    for (const HistoryDay& day : store.Days(today.Symbol)) {
        const std::optional<double> volatility = DayVolatility(day);
        if (volatility && day.Date >= first && day.Date < today.Date)
            chart.History.push_back({day.Date, *volatility * 100.0});
    }
    std::vector<double> pastYear;
    for (const HistoryPoint& point : chart.History) pastYear.push_back(point.Volatility / 100.0);
    if (const std::optional<double> volatility = DayVolatility(today)) {
        chart.History.push_back({today.Date, *volatility * 100.0});
        pastYear.push_back(*volatility);
        chart.Standing = StandingOf(*volatility, pastYear);
    }
    if (!chart.History.empty()) {
        const auto [low, high] = std::minmax_element(chart.History.begin(), chart.History.end(),
                                                     [](const auto& a, const auto& b) { return a.Volatility < b.Volatility; });
        chart.YearLow = low->Volatility;
        chart.YearHigh = high->Volatility;
    }
    return chart;
}
