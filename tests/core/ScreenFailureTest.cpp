// The criterion a screened-out symbol is reported with: the first that failed in the screen's own
// order (stock rows by the screen's order, not the settings file's; Min before Max; then the
// alternatives of the verdict), with the symbol's figure and the bound.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/ExampleQuote.h"
#include "core/run/StockScreen.h"
#include "core/settings/FilterCriteria.h"

namespace {

struct Case {
    const char* quote;    // "" the example; "flat" 52-week high = low; "no volume"; "no notes"
    const char* settings; // criteria in force, "Name=Value" separated by blanks; the rest NA
    const char* failure;  // "saved", or "criterion|value|bound", empty where there is no figure
};

// The example: volume 1234.5 thousand, P/E 21.607, last 45.375, range 50.2 %, QVAC 30.12, QVAP 28.74,
// included calls at 31.25, 28.71 and 28.02 % (none noted as reaching Min QVA).
constexpr Case Cases[] = {
    {"", "", "saved"},
    {"", "MinPE=25", "MinPE|21.607|25"},
    {"", "MaxPE=20 MinVolume=2000", "MinVolume|1234.5|2000"},
    {"", "MaxVolume=1000 MinVolume=2000", "MinVolume|1234.5|2000"},
    {"", "MaxLast=45 MinPctChange=3", "MaxLast|45.375|45"},
    {"", "MinRange=60", "MinRange|50.2058|60"},
    {"flat", "MaxRange=90", "MaxRange||90"},
    {"flat", "MinYield=1", "saved"},
    {"no volume", "", "no volume||"},
    {"no notes", "", "no option included||"},
    {"", "MinQVAC_QVAP=25", "MinQVAC_QVAP|1.38|25"},
    {"", "MinQVAC_QVAP=1", "saved"},
    {"", "MinQVAP_QVAC=25", "MinQVAP_QVAC|-1.38|25"},
    {"", "MinQVAP_QVAC=25 MinQVAC=35 MinQVAP=20", "MinQVAC|31.25|35"},
    {"no notes", "MinQVAP=20 MinQVAP_QVAC=25", "MinQVAP||20"},
};

QuoteData QuoteOf(const std::string& kind)
{
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    FillExample(state);
    QuoteData quote = state.Quote;
    quote.Series.OptNote[Calls][2][0] = OptionNote::Included;
    if (kind == "flat") quote.Stock.High52Week = quote.Stock.Low52Week;
    if (kind == "no volume") quote.Stock.Volume = -1;
    if (kind == "no notes") {
        FillSeries(quote.Series.OptNote, OptionNote::NotIncluded);
        quote.QVA.QVAAverage = {-1, -1};
    }
    return quote;
}

UserSettings SettingsOf(const std::string& text)
{
    UserSettings settings;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const auto equals = word.find('=');
        settings.*FindCriterion(word.substr(0, equals))->Member = ValueCheck(word.substr(equals + 1));
    }
    return settings;
}

std::optional<double> Figure(const std::string& text)
{
    return text.empty() ? std::nullopt : std::optional<double>(std::stod(text));
}

} // namespace

TEST(ScreenFailure, NamesTheFirstCriterionThatFailedInTheScreensOrder)
{
    for (const Case& c : Cases) {
        const ScreenResult result = ScreenAnalysedSymbol(QuoteOf(c.quote), SettingsOf(c.settings));
        SCOPED_TRACE(std::string(c.quote) + " / " + c.settings);
        if (std::string(c.failure) == "saved") {
            EXPECT_NE(result.Verdict, SymbolVerdict::NotSaved);
            EXPECT_FALSE(result.Failure);
            continue;
        }
        EXPECT_EQ(result.Verdict, SymbolVerdict::NotSaved);
        ASSERT_TRUE(result.Failure);
        std::istringstream expected(c.failure);
        std::string name, value, bound;
        std::getline(expected, name, '|');
        std::getline(expected, value, '|');
        std::getline(expected, bound, '|');
        EXPECT_EQ(result.Failure->Criterion, name);
        EXPECT_EQ(result.Failure->Value.has_value(), Figure(value).has_value());
        if (result.Failure->Value && Figure(value)) EXPECT_NEAR(*result.Failure->Value, *Figure(value), 1e-3);
        EXPECT_EQ(result.Failure->Bound, Figure(bound));
    }
}
