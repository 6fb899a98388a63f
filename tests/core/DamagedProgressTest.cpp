// Damaged progress records as their two readers meet them: the run window starts at the first
// symbol with nothing saved, the print command keeps the page total it had, and neither loses a
// file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/report/ResultsPrinting.h"
#include "core/run/ProgressFile.h"
#include "core/run/RunController.h"
#include "support/FakeRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

class ListedQuotes final : public QuoteSource {
public:
    explicit ListedQuotes(const RunStatus& run) : run_(run) {}
    bool StartPass() override { return true; }
    void BeginSymbol() override { begun.push_back(run_.CurrentSymbol); }
    std::optional<std::int16_t> Step() override { return std::int16_t{1}; }
    void Cancel() override {}
    Strings begun;

private:
    const RunStatus& run_;
};

// Saves every symbol, writing its block and the progress record as the evaluation does.
void SaveEverySymbol(SharedState& state, RunHost&, std::int16_t)
{
    ++state.Run.SavedCount;
    (void)AppendToFile(state.Paths.FnResults, "block of " + state.Run.CurrentSymbol + "\r\n");
    (void)WriteProgress(state.Paths.FnProgress, state.Run.SavedCount, state.Run.SymbolIndex);
}

class PagesCounted final : public Printer {
public:
    void SetFont(const std::string&, int, bool) override {}
    void PrintText(const std::string& text, bool) override { printed.push_back(text); }
    void NewPage() override {}
    void EndDoc() override { ++documents; }
    Strings printed;
    int documents = 0;
};

// Records a reader must refuse: none of them is two counters from 0 to 30000 and a comma.
const std::string DamagedRecords[] = {
    ""s, "\r\n"s, "-1,2\r\n"s, "2,-3\r\n"s, "99999,2\r\n"s, "2,2147483648\r\n"s, "x,y\r\n"s,
    "2,3,7\r\n"s, "2,3 junk\r\n"s, "2 3\r\n"s, "\0\xff,\x01"s, std::string(10'000'000, '7'),
};

class DamagedProgressTest : public ::testing::Test {
protected:
    DamagedProgressTest() : quotes(state.Run)
    {
        state.Paths = FilePaths::Build(dir.Path());
        state.Settings.FnSym = state.Paths.DefaultFnSym;
        state.Settings.InterestRate = 0.05f;
        EXPECT_TRUE(ReplaceFile(state.Settings.FnSym, "AAA\r\nBBB\r\nCCC\r\nDDD\r\n"));
    }

    // A program start: nothing in memory, the run window opened and pumped until the pass is done.
    void RunAfterRestart()
    {
        state.SymbolsLoaded = false;
        state.Run = RunStatus{};
        quotes.begun.clear();
        RunController controller(state, host, quotes, quotes, SaveEverySymbol);
        controller.Activate();
        for (int i = 0; i < 1000 && controller.Pump() == PumpResult::Continue; ++i) {}
    }

    std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{2026, 3, 9, 15, 30, 0}};
    SharedState state{clock};
    FakeRunHost host;
    ListedQuotes quotes;
};

} // namespace

// A pass had begun (its files rotated, its first block saved) when the progress record was
// damaged. The restart cannot tell where the pass stood, so it begins at the first symbol; a
// record that is there but does not read was damaged outside the program (every record is replaced
// whole), so the pass goes on with its own files instead of rotating them over the backup of the
// last complete pass.
TEST_F(DamagedProgressTest, ARecordThatCannotBeReadStartsAtTheFirstSymbolAndKeepsTheLastPassesBackup)
{
    for (const std::string& record : DamagedRecords) {
        SCOPED_TRACE(record.substr(0, 20));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, record));
        ASSERT_FALSE(ReadProgress(state.Paths.FnProgress).has_value());
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "last pass\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "block of AAA\r\n"));
        RunAfterRestart();
        EXPECT_EQ(quotes.begun, (Strings{"AAA", "BBB", "CCC", "DDD"}));
        // The pass counted its own saves from 0 and left a record a restart can read.
        EXPECT_EQ(ReadProgress(state.Paths.FnProgress), std::make_pair(std::int16_t{4}, std::int16_t{4}));
        EXPECT_EQ(Read(state.Paths.FnResultsBak), "last pass\r\n");
        EXPECT_EQ(Read(state.Paths.FnResults),
                  "block of AAA\r\nblock of AAA\r\nblock of BBB\r\nblock of CCC\r\nblock of DDD\r\n");
        EXPECT_EQ(host.LastStatus1(), "Done");
    }
}

TEST_F(DamagedProgressTest, ADirectoryInPlaceOfTheRecordIsLeftAloneAndTheRunStillGoesThrough)
{
    std::filesystem::create_directory(state.Paths.FnProgress);
    RunAfterRestart();
    EXPECT_EQ(quotes.begun, (Strings{"AAA", "BBB", "CCC", "DDD"}));
    EXPECT_TRUE(std::filesystem::is_directory(state.Paths.FnProgress));
    EXPECT_EQ(host.LastStatus1(), "Done");
}

TEST_F(DamagedProgressTest, PrintingKeepsItsPageTotalUnlessTheFirstFieldReads)
{
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "block\r\n"));
    const std::string heading = "    Quillon results    Page 1 of ";
    const std::string firstFieldReads[] = {"2,3,7\r\n"s, "2,3 junk\r\n"s, "2,-3\r\n"s, "2,2147483648\r\n"s};
    for (const std::string& record : DamagedRecords) {
        SCOPED_TRACE(record.substr(0, 20));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, record));
        std::int16_t savedCount = 9;
        PagesCounted printer;
        ASSERT_TRUE(PrintResults(state.Paths, savedCount, printer, clock));
        const bool reads = std::find(std::begin(firstFieldReads), std::end(firstFieldReads), record) !=
                           std::end(firstFieldReads);
        EXPECT_EQ(savedCount, reads ? 2 : 9);
        ASSERT_EQ(printer.printed.size(), 5u);
        EXPECT_EQ(printer.printed[2], heading + (reads ? "2" : "9"));
        EXPECT_EQ(printer.printed[4], std::string(10, ' ') + "block");
    }

    std::filesystem::remove(state.Paths.FnProgress);
    std::filesystem::create_directory(state.Paths.FnProgress);
    std::int16_t savedCount = 9;
    PagesCounted printer;
    EXPECT_FALSE(PrintResults(state.Paths, savedCount, printer, clock));
    EXPECT_TRUE(printer.printed.empty());
    EXPECT_EQ(printer.documents, 0);
}

// With one symbol any readable index restarts the pass; a damaged one still must not. Only a
// missing record means a new pass.
TEST_F(DamagedProgressTest, OneSymbolDamagedRecordGoesOnAndOnlyAMissingRecordRotates)
{
    const struct {
        const char* name;
        std::optional<std::string> record; // nothing: no record at all
        std::string symbols;
        std::string results;
        std::string backup;
    } rows[] = {
        {"a damaged record, one symbol", "1,\r\n"s, "AAA\r\n", "block of AAA\r\nblock of AAA\r\n",
         "last pass\r\n"},
        {"no record: a new pass", std::nullopt, "AAA\r\nBBB\r\n", "block of AAA\r\nblock of BBB\r\n",
         "block of AAA\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(ReplaceFile(state.Settings.FnSym, row.symbols));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "last pass\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "block of AAA\r\n"));
        RemoveFile(state.Paths.FnProgress);
        if (row.record) {
            ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, *row.record));
        }
        RunAfterRestart();
        EXPECT_EQ(Read(state.Paths.FnResultsBak), row.backup);
        EXPECT_EQ(Read(state.Paths.FnResults), row.results);
        EXPECT_EQ(host.LastStatus1(), "Done");
    }
}
