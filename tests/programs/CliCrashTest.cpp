// quillon-cli killed with SIGKILL at random moments of a replay pass and started again each time
// must end with the symbols of an uninterrupted pass, a readable progress record all along, and
// the previous pass's results backup untouched.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <numeric>
#include <random>

#include "support/QuoteCacheGenerator.h"
#include "LiveRunSupport.h"
#include "core/run/ProgressFile.h"

namespace {

constexpr int SymbolCount = 300;
constexpr int Kills = 20;
constexpr int TickMs = 1;
const std::string PreviousResults = "results of the pass before\r\n";

// A program directory with a generated quote cache of SymbolCount symbols and the results of a
// pass before.
void Prepare(const ProgramDirectory& dir)
{
    quote_cache_generator::GenerateQuoteCache(dir.Dir(), SymbolCount, LocalDateTime{2026, 3, 4, 11, 30, 0});
    ASSERT_TRUE(ReplaceFile(dir.Paths().FnResults, PreviousResults));
}

bool PassComplete(const ProgramDirectory& dir)
{
    const auto progress = ReadProgress(dir.Paths().FnProgress);
    return progress && progress->second == SymbolCount;
}

TEST(CliCrashTest, KilledAtRandomMomentsEndsLikeAnUninterruptedPass)
{
    ProgramDirectory reference("cli-crash-reference");
    ProgramDirectory crashed("cli-crash");
    Prepare(reference);
    Prepare(crashed);
    QElapsedTimer pass;
    pass.start();
    ASSERT_EQ(reference.Run("local", TickMs).ExitCode, 0);

    // A restart only has the rest of the pass to do, so moments drawn from a whole pass would let it
    // finish after a kill or two; drawn from a twentieth of it, all twenty kills land inside the pass.
    std::mt19937 random(20260309);
    std::uniform_int_distribution<qint64> moment(0, pass.elapsed() / Kills);
    int kills = 0;
    // A kill right after the last symbol's record leaves a complete pass; starting again from
    // there would begin the next pass, which is no longer a restart of this one.
    while (kills < Kills && !PassComplete(crashed)) {
        QProcess run;
        crashed.Start(run, "local", TickMs);
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
        ASSERT_TRUE(!FileExists(crashed.Paths().FnResultsBak) ||
                    crashed.Read(crashed.Paths().FnResultsBak) == PreviousResults);
    }
    if (!PassComplete(crashed)) {
        ASSERT_EQ(crashed.Run("local", TickMs).ExitCode, 0);
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
    EXPECT_EQ(crashed.Read(crashed.Paths().FnResultsBak), PreviousResults);
    EXPECT_EQ(reference.Read(reference.Paths().FnResultsBak), PreviousResults);
    for (const auto& entry : std::filesystem::directory_iterator(crashed.Dir()))
        EXPECT_FALSE(entry.path().string().ends_with(TemporarySuffix)) << entry.path();
}

} // namespace
