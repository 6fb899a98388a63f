// Real option chain files, both ways in: a live pass of quillon-cli against quillon-quote-server
// --chains, and quillon-cli import of the same files followed by a replay. Both must see the same
// quotes and come to the same verdicts.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "BuiltProgram.h"
#include "LiveRunSupport.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/Pricing.h"
#include "support/QuoteServerProcess.h"

namespace {

namespace fs = std::filesystem;

const std::string ChainData = QUILLON_TEST_DATA "/chains/";
// Options, a put-only chain, weeklies only, a strike grid off the ladder, a stock without options,
// and a symbol in neither file.
const std::vector<std::string> Symbols{"ABC", "GRID", "MISSING", "NOOPT", "PUTZ", "WEEK"};

QStringList ChainArguments() {
    return {"--chains", QString::fromStdString(ChainData + "cboe.csv"), "--stocks",
            QString::fromStdString(ChainData + "stocks.csv")};
}

// The implied volatility of ABC's March 50 call, solved from the row of cboe.csv as the default
// settings choose its price (the midpoint of bid_1545 0.88 and ask_1545 0.96), with the last sale
// of stocks.csv and its yield, as the report shows it.
std::string AbcMarch50CallVolatilityText() {
    UserSettings settings;
    SetDefaults(settings);
    ModelInputs model;
    model.ModelStockPrice = 47.30f;
    model.ModelStrike = 50;
    model.InterestRate = settings.InterestRate;
    model.ModelDividendRate = 1.25f / 100;
    model.ModelDaysToExpiry = BuildExpirationCalendar(*ParseDateTime(NowText)).DaysToExpiry[0];
    SolveImpliedVolatility(model, Calls, (0.88f + 0.96f) / 2);
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", model.ModelVolatility * 100);
    return text;
}

TEST(ChainImport, ImportAndALivePassOverTheServedFileGiveTheSameQuotesAndVerdicts) {
    ProgramDirectory live("chains-live");
    QuoteServerProcess server(live.ServerArguments("", ChainArguments()));
    ASSERT_GT(server.Port(), 0);
    live.WriteSettings(server.Port());
    live.WriteSymbols(Symbols);
    const RunResult run = live.Run("server");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;

    ProgramDirectory imported("chains-import");
    fs::copy_file(live.Paths().FnSettings, imported.Paths().FnSettings);
    fs::copy_file(live.Paths().DefaultFnSym, imported.Paths().DefaultFnSym);
    const ProgramEnd import = RunBuiltProgram(
        "quillon-cli", QStringList{"import", "--dir", QString::fromStdString(imported.Dir()), "--now", NowText} +
                           ChainArguments());
    ASSERT_EQ(import.ExitCode, 0) << import.Errors.toStdString();
    ASSERT_EQ(imported.Read(imported.Paths().FnQuote), live.Read(live.Paths().FnQuote));

    const RunResult replay = imported.Run("local");
    ASSERT_EQ(replay.ExitCode, 0) << replay.Output;
    for (const auto file : {&FilePaths::FnGoodSym, &FilePaths::FnBadSym, &FilePaths::FnSavedSym, &FilePaths::FnResults})
        EXPECT_EQ(imported.Read(imported.Paths().*file), live.Read(live.Paths().*file)) << imported.Paths().*file;

    const std::string expected = "ABCCJ  " + AbcMarch50CallVolatilityText() + " ";
    int found = 0;
    for (const std::string& line : Lines(live.Read(live.Paths().FnResults)))
        found += line.find("ABCCJ") != std::string::npos && line.find(expected) != std::string::npos;
    EXPECT_EQ(found, 1) << expected;
}

} // namespace
