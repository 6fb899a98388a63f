// Real option chain files, both ways in: a live pass of quillon-cli against quillon-quote-server
// --chains, and quillon-cli import of the same files (whose quotes the golden cases pin) followed by
// a replay. Both must see the same quotes and come to the same verdicts.

#include <gtest/gtest.h>

#include <filesystem>

#include "BuiltProgram.h"
#include "LiveRunSupport.h"
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

}

} // namespace
