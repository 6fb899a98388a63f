// quillon-cli killed with SIGKILL at 20 random moments of a pass (fixed seed) and started again
// each time, replaying its quote cache or fetching from the stand-in server: the pass must end with
// the symbol lists of an uninterrupted one, a readable progress record all along, the last pass's
// backups never overwritten, no temporary file left, and (live) a quote cache that still replays
// and a History.db that opens after every kill and holds whole symbols only.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <sqlite3.h>

#include <memory>
#include <numeric>
#include <random>
#include <set>

#include "LiveRunSupport.h"
#include "core/run/ProgressFile.h"
#include "support/QuoteServerProcess.h"

namespace {

constexpr int SymbolCount = 300;
constexpr int Kills = 20;
constexpr int TickMs = 1;
const std::string PreviousCache = "quote cache of the pass before\r\n";

// The generated companies, and between each ten of them one symbol the server does not know.
std::vector<std::string> LiveSymbols()
{
    std::vector<std::string> symbols = GeneratedSymbols(SymbolCount);
    for (int i = 1; i < SymbolCount / 10; ++i) symbols.push_back(QString("G%1X").arg(i, 4, 10, QChar('0')).toStdString());
    return symbols;
}

// The symbols of the history store, which must open and hold every day with its 12 options: a kill
// never leaves half a symbol behind.
std::set<std::string> WholeHistorySymbols(const std::string& path)
{
    sqlite3* db = nullptr;
    std::set<std::string> symbols;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK) << path;
    const auto query = [&](const char* sql, auto&& row) {
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        while (sqlite3_step(statement) == SQLITE_ROW) row(statement);
        sqlite3_finalize(statement);
    };
    query("PRAGMA integrity_check", [](sqlite3_stmt* s) {
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
    });
    // Killed before its first symbol, the store may hold no tables yet.
    int tables = 0;
    query("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'",
          [&tables](sqlite3_stmt* s) { tables = sqlite3_column_int(s, 0); });
    if (tables == 0) {
        sqlite3_close(db);
        return symbols;
    }
    query("SELECT d.symbol, COUNT(o.side) FROM days d LEFT JOIN options o USING (symbol, date)"
          " GROUP BY d.symbol, d.date",
          [&](sqlite3_stmt* s) {
              symbols.insert(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
              EXPECT_EQ(sqlite3_column_int(s, 1), 12) << symbols.size();
          });
    query("SELECT COUNT(*) FROM options WHERE (symbol, date) NOT IN (SELECT symbol, date FROM days)",
          [](sqlite3_stmt* s) { EXPECT_EQ(sqlite3_column_int(s, 0), 0); });
    sqlite3_close(db);
    return symbols;
}

class KillTest : public ::testing::TestWithParam<const char*> {
protected:
    bool Live() const { return std::string(GetParam()) == "server"; }

    void Prepare(ProgramDirectory& dir)
    {
        if (!Live()) return PrepareGeneratedReplay(dir, SymbolCount);
        dir.WriteSettings(server->Port());
        dir.WriteSymbols(LiveSymbols());
        ASSERT_TRUE(ReplaceFile(dir.Paths().FnResults, PreviousResults));
        ASSERT_TRUE(ReplaceFile(dir.Paths().FnQuote, PreviousCache));
    }
    bool PassComplete(const ProgramDirectory& dir) const
    {
        const auto progress = ReadProgress(dir.Paths().FnProgress);
        return progress && progress->second == int(Live() ? LiveSymbols().size() : SymbolCount);
    }
    // The last pass's files, moved to their backups by the pass's first start and never again.
    void ExpectBackupsKept(const ProgramDirectory& dir, bool mayBeMissing) const
    {
        const FilePaths& paths = dir.Paths();
        if (!mayBeMissing || FileExists(paths.FnResultsBak)) {
            EXPECT_EQ(dir.Read(paths.FnResultsBak), PreviousResults);
        }
        if (Live() && (!mayBeMissing || FileExists(paths.FnQuoteBak))) {
            EXPECT_EQ(dir.Read(paths.FnQuoteBak), PreviousCache);
        }
    }

    std::unique_ptr<QuoteServerProcess> server = std::make_unique<QuoteServerProcess>(
        QStringList{"--generate", QString::number(SymbolCount), "--now", NowText, "--quiet"});
};

TEST_P(KillTest, KilledAtRandomMomentsThePassEndsLikeAnUninterruptedOne)
{
    ASSERT_GT(server->Port(), 0);
    const QString source = GetParam();
    ProgramDirectory reference(std::string("kill-reference-") + GetParam());
    ProgramDirectory crashed(std::string("kill-") + GetParam());
    Prepare(reference);
    Prepare(crashed);
    QElapsedTimer pass;
    pass.start();
    ASSERT_EQ(reference.Run(source, TickMs).ExitCode, 0);

    // A restart only has the rest of the pass to do, so moments drawn from a whole pass would let it
    // finish after a kill or two; drawn from a twentieth of it, all twenty kills land inside the pass.
    std::mt19937 random(20260309);
    std::uniform_int_distribution<qint64> moment(0, pass.elapsed() / Kills);
    int kills = 0;
    // A kill right after the last symbol's record leaves a complete pass; starting again from
    // there would begin the next pass, which is no longer a restart of this one.
    while (kills < Kills && !PassComplete(crashed)) {
        QProcess run;
        crashed.Start(run, source, TickMs);
        ASSERT_TRUE(run.waitForStarted(10000));
        if (run.waitForFinished(static_cast<int>(moment(random)))) {
            ASSERT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
            break;
        }
        run.kill(); // SIGKILL
        ASSERT_TRUE(run.waitForFinished(5000));
        ++kills;
        SCOPED_TRACE("after kill " + std::to_string(kills));
        if (FileExists(crashed.Paths().FnProgress)) {
            EXPECT_TRUE(ReadProgress(crashed.Paths().FnProgress));
        }
        ExpectBackupsKept(crashed, true);
        if (Live() && FileExists(crashed.Paths().FnHistory)) (void)WholeHistorySymbols(crashed.Paths().FnHistory);
    }
    if (!PassComplete(crashed)) {
        ASSERT_EQ(crashed.Run(source, TickMs).ExitCode, 0);
    }
    EXPECT_EQ(kills, Kills);

    int redoneInAll = 0;
    for (const std::string FilePaths::*file : {&FilePaths::FnGoodSym, &FilePaths::FnBadSym, &FilePaths::FnSavedSym}) {
        const auto [symbols, redone] = WithoutRedone(SymbolsOf(crashed.Read(crashed.Paths().*file)));
        EXPECT_EQ(symbols, SymbolsOf(reference.Read(reference.Paths().*file))) << crashed.Paths().*file;
        if (file != &FilePaths::FnSavedSym) redoneInAll += std::accumulate(redone.begin(), redone.end(), 0);
    }
    // Each restart does again the symbol of the progress record, and the one in flight when the
    // kill came if it had written its line already.
    EXPECT_LE(redoneInAll, 2 * kills);
    ExpectBackupsKept(crashed, false);
    for (const auto& entry : std::filesystem::directory_iterator(crashed.Dir()))
        EXPECT_FALSE(entry.path().string().ends_with(TemporarySuffix)) << entry.path();
    if (!Live()) return;
    EXPECT_EQ(WholeHistorySymbols(crashed.Paths().FnHistory), WholeHistorySymbols(reference.Paths().FnHistory));

    // The cache replays; a record cut short by a kill counts as missing, so at most one symbol per
    // kill falls out of the replay.
    ProgramDirectory replay("kill-replay");
    for (const std::string& file : {crashed.Paths().FnSettings, crashed.Paths().DefaultFnSym, crashed.Paths().FnQuote})
        std::filesystem::copy_file(file, replay.Dir() + "/" + std::filesystem::path(file).filename().string());
    const RunResult replayed = replay.Run("local", TickMs);
    ASSERT_EQ(replayed.ExitCode, 0) << replayed.Output;
    const auto good = SymbolsOf(replay.Read(replay.Paths().FnGoodSym));
    EXPECT_EQ(good.size() + SymbolsOf(replay.Read(replay.Paths().FnBadSym)).size(), LiveSymbols().size());
    EXPECT_GE(good.size() + kills, SymbolsOf(reference.Read(reference.Paths().FnGoodSym)).size());
}

INSTANTIATE_TEST_SUITE_P(Sources, KillTest, ::testing::Values("local", "server"));

} // namespace
