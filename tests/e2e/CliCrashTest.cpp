// quillon-cli killed with SIGKILL at random moments of a replay pass and started again each time
// must end with the symbols of an uninterrupted pass, a readable progress record all along, and
// the previous pass's results backup untouched.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "../../bench/QuoteCacheGenerator.h"
#include "../unit/TemporaryDirectory.h"
#include "CliProcess.h"
#include "app/TextFile.h"
#include "tracing/ProgressFile.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using SteadyClock = std::chrono::steady_clock;

constexpr int SymbolCount = 300;
constexpr int Kills = 20;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};
const std::string PreviousResults = "results of the pass before\r\n";

std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

// The symbol of each line (its first field), header lines left out.
Strings SymbolsOf(const std::string& path)
{
    const std::string text = Read(path);
    Strings symbols;
    for (std::string_view line : SplitLines(text)) {
        const std::string symbol(line.substr(0, line.find(' ')));
        if (!symbol.empty() && symbol.find('-') == std::string::npos) symbols.push_back(symbol);
    }
    return symbols;
}

// A pass lists its symbols in ascending order, so a symbol at or below the one before marks the
// place where a restarted run went back to its progress record. Drops what was done again and
// counts it.
std::pair<Strings, int> WithoutRedoneSymbols(const Strings& symbols)
{
    Strings kept;
    int redone = 0;
    for (const std::string& symbol : symbols) {
        while (!kept.empty() && kept.back() >= symbol) {
            kept.pop_back();
            ++redone;
        }
        kept.push_back(symbol);
    }
    return {kept, redone};
}

class CliCrashTest : public ::testing::Test {
protected:
    Strings Arguments(const TemporaryDirectory& directory) const
    {
        return {"run", "--dir", directory.Path(), "--source", "local", "--now", "2026-03-09 15:30:00",
                "--tick-ms", "1", "--quiet"};
    }

    void Prepare(const TemporaryDirectory& directory)
    {
        quote_cache_generator::GenerateQuoteCache(directory.Path(), SymbolCount, Now);
        ASSERT_TRUE(ReplaceFile(directory.File("Results.txt"), PreviousResults));
    }

    bool PassComplete(const TemporaryDirectory& directory)
    {
        const auto progress = ReadProgress(directory.File("Progress.---"));
        return progress && progress->second == SymbolCount;
    }

    TemporaryDirectory reference;
    TemporaryDirectory crashed;
};

TEST_F(CliCrashTest, KilledAtRandomMomentsEndsLikeAnUninterruptedPass)
{
    Prepare(reference);
    Prepare(crashed);
    const auto started = SteadyClock::now();
    ASSERT_EQ(RunCli(Arguments(reference), reference.File("stderr.txt")), 0);
    const auto passMilliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - started).count();

    std::mt19937 random(20260309);
    std::uniform_int_distribution<long> moment(0, passMilliseconds);
    int kills = 0;
    bool ended = false;
    // A kill right after the last symbol's record leaves a complete pass; starting again from
    // there would begin the next pass, which is no longer a restart of this one.
    while (kills < Kills && !PassComplete(crashed)) {
        CliProcess run(Arguments(crashed), crashed.File("stderr.txt"));
        ASSERT_TRUE(run.Started());
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        int code = 0;
        if (run.HasExited(code)) {
            ASSERT_EQ(code, 0) << Read(crashed.File("stderr.txt"));
            ended = true;
            break;
        }
        run.Signal(SIGKILL);
        EXPECT_EQ(run.Wait(), 128 + SIGKILL);
        ++kills;
        if (fs::exists(crashed.File("Progress.---"))) {
            EXPECT_TRUE(ReadProgress(crashed.File("Progress.---")).has_value()) << "after kill " << kills;
        }
        if (fs::exists(crashed.File("Results.bak"))) {
            ASSERT_EQ(Read(crashed.File("Results.bak")), PreviousResults) << "after kill " << kills;
        }
    }
    if (!ended && !PassComplete(crashed)) {
        ASSERT_EQ(RunCli(Arguments(crashed), crashed.File("stderr.txt")), 0);
    }
    EXPECT_GE(kills, 1);

    int redoneInAll = 0;
    for (const char* name : {"GoodSym.txt", "BadSym.txt", "SavedSym.txt"}) {
        const auto [symbols, redone] = WithoutRedoneSymbols(SymbolsOf(crashed.File(name)));
        EXPECT_EQ(symbols, SymbolsOf(reference.File(name))) << name;
        if (std::string(name) != "SavedSym.txt") redoneInAll += redone;
    }
    // Each restart does again the symbol of the progress record, and the one in flight when the
    // kill came if it had written its line already.
    EXPECT_LE(redoneInAll, 2 * kills);
    EXPECT_EQ(Read(crashed.File("Results.bak")), PreviousResults);
    EXPECT_EQ(Read(reference.File("Results.bak")), PreviousResults);
    for (const auto& entry : fs::directory_iterator(crashed.Path()))
        EXPECT_FALSE(entry.path().string().ends_with(TemporarySuffix)) << entry.path();
}

} // namespace
