// A live pass of quillon-cli against the stand-in server, killed with SIGKILL at 20 random moments
// (fixed seed) and started again each time: no symbol may be lost, a restart redoes at most the
// symbols after its progress record, the last pass's backups are never overwritten, and the quote
// cache still replays.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <set>

#include "support/QuoteServerProcess.h"
#include "LiveRunSupport.h"
#include "core/run/ProgressFile.h"

namespace {

using Strings = std::vector<std::string>;

constexpr int GeneratedCount = 300;
constexpr int Kills = 20;
constexpr int TickMs = 1;
const std::string PreviousResults = "results of the pass before\r\n";
const std::string PreviousCache = "quote cache of the pass before\r\n";

// The generated companies, and between each ten of them one symbol the server does not know.
Strings PassSymbols(std::set<std::string>& unknown) {
    Strings symbols = GeneratedSymbols(GeneratedCount);
    for (int i = 1; i < GeneratedCount / 10; ++i) {
        const std::string symbol = QString("G%1X").arg(i, 4, 10, QChar('0')).toStdString();
        unknown.insert(symbol);
        symbols.push_back(symbol);
    }
    return symbols;
}

class LiveCrashTest : public ::testing::Test {
protected:
    // Starts the runner and kills it once the pass has begun (progress record written, last pass's
    // cache moved to its backup, a quote of this pass cached) and `delayMs` more have passed.
    // False when the pass ended by itself first.
    bool StartAndKill(const ProgramDirectory& dir, int delayMs) {
        QProcess cli;
        dir.Start(cli, "server", TickMs);
        EXPECT_TRUE(cli.waitForStarted(10000));
        QElapsedTimer waited;
        waited.start();
        const FilePaths& paths = dir.Paths();
        while (!(FileExists(paths.FnProgress) && FileExists(paths.FnQuoteBak) && FileIsNonEmpty(paths.FnQuote)) &&
               waited.elapsed() < 20000 && !cli.waitForFinished(1)) {
        }
        if (!cli.waitForFinished(delayMs)) {
            cli.kill(); // SIGKILL
            EXPECT_TRUE(cli.waitForFinished(5000));
            return true;
        }
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAll().toStdString();
        return false;
    }
};

TEST_F(LiveCrashTest, KilledAtRandomMomentsThePassLosesNoSymbolAndKeepsTheBackups) {
    std::set<std::string> unknown;
    const Strings symbols = PassSymbols(unknown);
    ProgramDirectory dir("crash");
    QuoteServerProcess server({"--generate", QString::number(GeneratedCount), "--now", NowText, "--quiet"});
    ASSERT_GT(server.Port(), 0);
    dir.WriteSettings(server.Port());
    dir.WriteSymbols(symbols);
    ASSERT_TRUE(ReplaceFile(dir.Paths().FnResults, PreviousResults));
    ASSERT_TRUE(ReplaceFile(dir.Paths().FnResultsBak, "sentinel\r\n"));
    ASSERT_TRUE(ReplaceFile(dir.Paths().FnQuote, PreviousCache));

    std::mt19937 random(20260304);
    std::uniform_int_distribution<int> delayMs(0, 350);
    int kills = 0;
    bool ended = false;
    for (; kills < Kills; ++kills) {
        // The first kill falls into the first symbol, so the first restart resumes at symbol 1.
        ended = !StartAndKill(dir, kills == 0 ? 0 : delayMs(random));
        if (ended) break;
        SCOPED_TRACE("after kill " + std::to_string(kills + 1));
        // The pass's first start moved the last pass's files to their backups; no restart does again.
        EXPECT_EQ(dir.Read(dir.Paths().FnResultsBak), PreviousResults);
        EXPECT_EQ(dir.Read(dir.Paths().FnQuoteBak), PreviousCache);
        EXPECT_TRUE(ReadProgress(dir.Paths().FnProgress).has_value()) << dir.Read(dir.Paths().FnProgress);
    }
    EXPECT_EQ(kills, Kills) << "the pass ended before every kill: make it longer";
    if (!ended) {
        const RunResult last = dir.Run("server", TickMs);
        ASSERT_EQ(last.ExitCode, 0) << last.Output;
    }
    EXPECT_EQ(dir.Read(dir.Paths().FnResultsBak), PreviousResults);
    EXPECT_EQ(dir.Read(dir.Paths().FnQuoteBak), PreviousCache);

    const auto [good, goodRedone] = WithoutRedone(SymbolsOf(dir.Read(dir.Paths().FnGoodSym)));
    const auto [bad, badRedone] = WithoutRedone(SymbolsOf(dir.Read(dir.Paths().FnBadSym)));
    Strings all = good;
    all.insert(all.end(), bad.begin(), bad.end());
    std::sort(all.begin(), all.end());
    Strings sorted = symbols;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(all, sorted) << "every symbol in exactly one of GoodSym and BadSym";
    EXPECT_EQ(std::set<std::string>(bad.begin(), bad.end()), unknown);
    // A restart goes back to the symbol of its progress record (the last one done), and one more
    // when the kill fell between a symbol's line and its record.
    std::vector<int> redone = goodRedone;
    redone.insert(redone.end(), badRedone.begin(), badRedone.end());
    for (const int count : redone) EXPECT_LE(count, 2);
    EXPECT_LE(std::accumulate(redone.begin(), redone.end(), 0), 2 * Kills);

    // The cache replays; a record cut short by a kill counts as missing, so at most one symbol per
    // kill falls out of the replay.
    ProgramDirectory replay("crash-replay");
    for (const std::string& file : {dir.Paths().FnSettings, dir.Paths().DefaultFnSym, dir.Paths().FnQuote})
        std::filesystem::copy_file(file, replay.Dir() + "/" + std::filesystem::path(file).filename().string());
    const RunResult replayed = replay.Run("local", TickMs);
    ASSERT_EQ(replayed.ExitCode, 0) << replayed.Output;
    const Strings replayGood = SymbolsOf(replay.Read(replay.Paths().FnGoodSym));
    const Strings replayBad = SymbolsOf(replay.Read(replay.Paths().FnBadSym));
    EXPECT_EQ(replayGood.size() + replayBad.size(), symbols.size());
    Strings lost;
    std::set_difference(good.begin(), good.end(), replayGood.begin(), replayGood.end(), std::back_inserter(lost));
    EXPECT_LE(lost.size(), static_cast<std::size_t>(Kills));
    for (const std::string& symbol : replayBad)
        EXPECT_TRUE(unknown.count(symbol) || std::count(lost.begin(), lost.end(), symbol)) << symbol;
}

} // namespace
