// What `quillon-cli run` prints for people: a line per symbol and a summary when piped, one status
// line rewritten in place on a terminal, and where an interrupted run goes on.

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <pty.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

#include "BuiltProgram.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

namespace {

namespace fs = std::filesystem;

const std::string Data = QUILLON_TEST_DATA "/replay/";

class ConsoleOutputTest : public ::testing::Test {
protected:
    ConsoleOutputTest()
    {
        for (const char* name : {"Symbols.sym", "Quote.txt", "Quillon.---"})
            fs::copy_file(Data + name, directory.File(name));
    }

    std::vector<std::string> Arguments(const std::vector<std::string>& extra = {}) const
    {
        std::vector<std::string> arguments{"run", "--dir", directory.Path(), "--source", "local",
                                           "--now", "2026-03-09 15:30:00", "--tick-ms", "1"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }

    // The summary's elapsed time and directory vary from run to run.
    std::string Normalised(std::string said) const
    {
        said = std::regex_replace(said, std::regex(" in [0-9.:]+( s)?:"), " in {TIME}:");
        for (std::size_t at; (at = said.find(directory.Path())) != std::string::npos;)
            said.replace(at, directory.Path().size(), "{DIR}");
        return said;
    }

    TemporaryDirectory directory;
};

QStringList Q(const std::vector<std::string>& words)
{
    QStringList list;
    for (const std::string& word : words) list << QString::fromStdString(word);
    return list;
}

// Everything the program writes to a pseudo-terminal of 120 columns until it ends.
std::string RunOnTerminal(const std::vector<std::string>& arguments)
{
    const std::string program = BuiltProgram("quillon-cli").toStdString();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 120;
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, &size);
    if (child == 0) {
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (child < 0) return "<no pseudo-terminal>";
    std::string said;
    char buffer[4096];
    // The read fails (EIO) once the program has ended and closed its side.
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return said;
}

TEST_F(ConsoleOutputTest, APipedRunPrintsALinePerSymbolAndTheSummary)
{
    const ProgramEnd end = RunBuiltProgram("quillon-cli", Q(Arguments()));
    ASSERT_EQ(end.ExitCode, 0) << end.Errors.toStdString();
    EXPECT_EQ(Normalised(end.Output.toStdString()), ReadWholeFile(Data + "console-lines.expected").value_or(""));
    EXPECT_EQ(end.Errors, "");
}

TEST_F(ConsoleOutputTest, ATerminalGetsOneStatusLineWhoseCountAdvancesThenTheSummary)
{
    const std::string said = RunOnTerminal(Arguments());
    std::vector<int> positions;
    const std::regex position("\r\\[([0-9]+)/33\\] ");
    for (auto match = std::sregex_iterator(said.begin(), said.end(), position); match != std::sregex_iterator(); ++match)
        positions.push_back(std::stoi((*match)[1]));
    ASSERT_FALSE(positions.empty()) << said;
    EXPECT_EQ(positions.front(), 1);
    // Up to the last symbol; the pass's end may show for an instant before the summary.
    const auto last = std::find(positions.begin(), positions.end(), 33);
    ASSERT_NE(last, positions.end()) << said;
    EXPECT_TRUE(std::is_sorted(positions.begin(), last));
    EXPECT_GE(last - positions.begin(), 32) << "a drawing per symbol at least";
    EXPECT_EQ(said.find(" good"), std::string::npos) << "no line per symbol on a terminal";
    // The status line is erased and the summary stays in its place.
    const std::string rest = said.substr(said.rfind("\x1b[K") + 3);
    EXPECT_TRUE(rest.starts_with("Pass done: 33 symbols in ")) << rest;
}

TEST_F(ConsoleOutputTest, AnInterruptedRunSaysWhereTheNextRunGoesOn)
{
    QProcess endless;
    ASSERT_TRUE(StartBuiltProgram(endless, "quillon-cli", Q(Arguments({"--passes", "0"}))));
    QByteArray output;
    while (!output.contains("[9/33]") && endless.waitForReadyRead(10000)) output += endless.readAllStandardOutput();
    ::kill(static_cast<pid_t>(endless.processId()), SIGINT);
    ASSERT_TRUE(endless.waitForFinished(10000));
    EXPECT_EQ(endless.exitCode(), 128 + SIGINT);
    const std::string said = endless.readAllStandardError().toStdString();
    std::smatch stopped;
    ASSERT_TRUE(std::regex_match(said, stopped,
                                 std::regex("quillon-cli run: stopped at ([0-9]+)/33; run the same command again to go on\n")))
        << said;

    const ProgramEnd again = RunBuiltProgram("quillon-cli", Q(Arguments()));
    ASSERT_EQ(again.ExitCode, 0);
    EXPECT_TRUE(again.Output.startsWith(QString::fromStdString("[" + stopped[1].str() + "/33] ")))
        << again.Output.toStdString();
}

} // namespace
