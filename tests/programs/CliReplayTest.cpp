// quillon-cli replaying a quote cache recorded by a live run: byte-exact output files, Repeat,
// interruption and resumption, and the runs that cannot start.

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <csignal>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.h"
#include "BuiltProgram.h"
#include "core/settings/FilePaths.h"
#include "core/text/TextFile.h"
#include "core/run/ProgressFile.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string Data = QUILLON_TEST_DATA "/replay/";
const Strings OutputFiles{"GoodSym.txt", "BadSym.txt", "SavedSym.txt", "Results.txt", "Progress.---"};

std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

Strings Lines(const std::string& path)
{
    const std::string text = Read(path);
    Strings lines;
    for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
    return lines;
}

// The lines with repeats of the line before removed, and how many were removed.
std::pair<Strings, int> WithoutRepeats(const Strings& lines)
{
    Strings kept;
    int removed = 0;
    for (const std::string& line : lines) {
        if (!kept.empty() && kept.back() == line && !line.empty()) {
            ++removed;
            continue;
        }
        kept.push_back(line);
    }
    return {kept, removed};
}

class CliReplayTest : public ::testing::Test {
protected:
    CliReplayTest() : paths(FilePaths::Build(directory.Path()))
    {
        for (const char* name : {"Symbols.sym", "Quote.txt", "Quillon.---"})
            fs::copy_file(Data + name, directory.File(name));
    }

    // A replay of `dir` (by default this test's directory) with a fixed date and a short tick.
    static QStringList Arguments(const std::string& dir, const QStringList& extra = {})
    {
        return QStringList{"run", "--dir", QString::fromStdString(dir), "--source", "local",
                           "--now", "2026-03-09 15:30:00", "--tick-ms", "1"} + extra;
    }
    ProgramEnd Run(const QStringList& extra = QStringList{"--quiet"})
    {
        return RunBuiltProgram("quillon-cli", Arguments(directory.Path(), extra));
    }

    void ExpectOutputFilesAsRecorded()
    {
        for (const std::string& name : OutputFiles)
            EXPECT_EQ(Read(directory.File(name)), Read(Data + name + ".expected")) << name;
    }

    TemporaryDirectory directory;
    FilePaths paths;
};

TEST_F(CliReplayTest, OnePassWritesTheRecordedFilesAndLeavesCacheAndSettingsAlone)
{
    const ProgramEnd end = Run();
    ASSERT_EQ(end.ExitCode, 0) << end.Errors.toStdString();
    ExpectOutputFilesAsRecorded();
    EXPECT_EQ(Read(paths.FnQuote), Read(Data + "Quote.txt"));
    // --source is for this run only: the settings still name the quote server.
    EXPECT_EQ(Read(paths.FnSettings), Read(Data + "Quillon.---"));
    EXPECT_EQ(end.Errors, "");
}

TEST_F(CliReplayTest, RepeatRunsTheSecondPassOverFreshFilesAndKeepsTheFirstAsBackup)
{
    ASSERT_EQ(Run({"--passes", "2", "--quiet"}).ExitCode, 0);
    ExpectOutputFilesAsRecorded();
    EXPECT_EQ(Read(paths.FnResultsBak), Read(Data + "Results.txt.expected"));
    EXPECT_EQ(Read(paths.FnSavedSymBak), Read(Data + "SavedSym.txt.expected"));
}

TEST_F(CliReplayTest, StatusLinesShowTheProgressAndSavedSymbolsRingWithAlarm)
{
    const ProgramEnd end = Run({"--alarm"});
    ASSERT_EQ(end.ExitCode, 0);
    const std::string said = end.Errors.toStdString();
    EXPECT_NE(said.find("Reading symbols please wait...\n"), std::string::npos);
    EXPECT_NE(said.find("Sorting 34 symbols please wait...\n"), std::string::npos);
    EXPECT_NE(said.find("[1/33] Reading quotes of ACS\n"), std::string::npos);
    EXPECT_NE(said.find("[33/33] Reading quotes of ZZZZZ\n"), std::string::npos);
    EXPECT_NE(said.find("Alarm: ATB saved\n\a"), std::string::npos);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\a'), 8); // one per saved symbol
    EXPECT_NE(said.find("[1/33] Done\n"), std::string::npos);
}

// Interrupted at a random moment of an endless Repeat, the run leaves a readable progress record
// and the next run finishes that pass as if nothing had happened, but for the one symbol that was
// evaluated again.
TEST_F(CliReplayTest, InterruptedRunResumesWhereItStopped)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        QProcess endless;
        fs::remove(paths.FnResultsBak);
        ASSERT_TRUE(StartBuiltProgram(endless, "quillon-cli", Arguments(directory.Path(), {"--passes", "0", "--quiet"})));
        // Into the second pass or later: the first one has rotated its results.
        for (int waited = 0; waited < 10000 && !fs::exists(paths.FnResultsBak); ++waited) endless.waitForFinished(1);
        endless.waitForFinished(signal == SIGINT ? 5 : 20);
        ::kill(static_cast<pid_t>(endless.processId()), signal);
        ASSERT_TRUE(endless.waitForFinished(10000));
        EXPECT_EQ(endless.exitCode(), 128 + signal);
        const auto progress = ReadProgress(paths.FnProgress);
        ASSERT_TRUE(progress.has_value());
        const std::string backup = Read(paths.FnResultsBak);
        EXPECT_TRUE(backup == Read(Data + "Results.txt.expected")); // written by a complete pass

        ASSERT_EQ(Run().ExitCode, 0);
        int repeatsInAll = 0;
        for (const char* name : {"GoodSym.txt", "BadSym.txt", "SavedSym.txt"}) {
            const auto [lines, repeats] = WithoutRepeats(Lines(directory.File(name)));
            EXPECT_EQ(lines, Lines(Data + name + ".expected")) << name;
            repeatsInAll += repeats;
        }
        EXPECT_LE(repeatsInAll, 2); // a saved symbol is repeated in GoodSym.txt and SavedSym.txt
        EXPECT_TRUE(Read(paths.FnResultsBak) == backup);
        // The pass ends at the last symbol; a repeated saved symbol was counted twice.
        const int savedRepeats = WithoutRepeats(Lines(paths.FnSavedSym)).second;
        const auto finalProgress = ReadProgress(paths.FnProgress);
        ASSERT_TRUE(finalProgress.has_value());
        EXPECT_EQ(finalProgress->first, 8 + savedRepeats);
        EXPECT_EQ(finalProgress->second, 33);
    }
}

// A progress record damaged outside the program says nothing of where the pass stood: the run
// goes through the list from the first symbol, appending to the files of the pass in hand, and the
// backup of the last complete pass stays as it was.
TEST_F(CliReplayTest, ADamagedProgressRecordResumesAtTheFirstSymbolAndKeepsTheBackup)
{
    const std::string partial = "a block of this pass\r\n\f\r\n";
    ASSERT_TRUE(ReplaceFile(paths.FnResultsBak, "the last complete pass\r\n"));
    ASSERT_TRUE(ReplaceFile(paths.FnResults, partial));
    ASSERT_TRUE(ReplaceFile(paths.FnProgress, "3,\x01\r\n"));
    ASSERT_EQ(Run().ExitCode, 0);
    EXPECT_EQ(Read(paths.FnResultsBak), "the last complete pass\r\n");
    EXPECT_EQ(Read(paths.FnResults), partial + Read(Data + "Results.txt.expected"));
    EXPECT_EQ(Read(paths.FnProgress), Read(Data + "Progress.---.expected"));
}

TEST_F(CliReplayTest, RunsThatCannotStartEndWithStatusOneAndSayWhy)
{
    struct Case {
        const char* what;
        std::function<void(const FilePaths&)> damage;
        std::string message;
    };
    const std::vector<Case> cases{
        {"no quote cache", [](const FilePaths& p) { fs::remove(p.FnQuote); },
         "Quillon: Cannot open " + paths.FnQuote + " for input.\n"},
        {"a directory for the quote cache",
         [](const FilePaths& p) {
             fs::remove(p.FnQuote);
             fs::create_directory(p.FnQuote);
         },
         "Quillon: Cannot open " + paths.FnQuote + " for input.\n"},
        {"no symbol file", [](const FilePaths& p) { fs::remove(p.DefaultFnSym); },
         "Quillon: Cannot open " + paths.DefaultFnSym + " for input.\n"
         "Please use File menu - Choose Symbol File to select another file.\n"},
        {"no symbols", [](const FilePaths& p) { (void)ReplaceFile(p.DefaultFnSym, " \r\n"); },
         "Quillon: " + paths.DefaultFnSym + " contains no symbols, process stopped.\n"
         "Please use File menu - Choose Symbol File to select another file.\n"},
        {"results not writable", [](const FilePaths& p) { fs::create_directory(p.FnResults); },
         "Quillon: Cannot open FnResults for append, process stopped.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryDirectory fresh;
        for (const char* name : {"Symbols.sym", "Quote.txt", "Quillon.---"})
            fs::copy_file(Data + name, fresh.File(name));
        const FilePaths freshPaths = FilePaths::Build(fresh.Path());
        c.damage(freshPaths);
        const ProgramEnd end = RunBuiltProgram("quillon-cli", Arguments(fresh.Path(), {"--quiet"}));
        EXPECT_EQ(end.ExitCode, 1);
        std::string expected = c.message;
        const std::string own = directory.Path();
        for (std::size_t at; (at = expected.find(own)) != std::string::npos;)
            expected.replace(at, own.size(), fresh.Path());
        EXPECT_EQ(end.Errors.toStdString(), expected);
        EXPECT_FALSE(fs::exists(freshPaths.FnGoodSym));
    }
}

TEST_F(CliReplayTest, UsageErrorsEndWithStatusTwoAndTheHelpText)
{
    for (const QStringList& arguments :
         {QStringList{"run", "--passes", "-1"}, QStringList{"run", "--source", "web"},
          QStringList{"run", "--now", "yesterday"}, QStringList{"run", "--tick-ms", "0"}, QStringList{"run", "--dir"},
          QStringList{"run", "--bogus"}, QStringList{"walk"}, QStringList{}}) {
        const ProgramEnd end = RunBuiltProgram("quillon-cli", arguments);
        EXPECT_EQ(end.ExitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(end.Errors.contains("Usage: quillon-cli"));
    }
    EXPECT_EQ(RunBuiltProgram("quillon-cli", {"run", "--help"}).ExitCode, 0);
}

} // namespace
