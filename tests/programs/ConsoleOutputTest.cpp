// `quillon-cli run` on a terminal: one status line rewritten in place, then the summary. (Piped
// output is compared in the golden cases.)

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <pty.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

#include "BuiltProgram.h"
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

    std::vector<std::string> Arguments() const
    {
        return {"run", "--dir", directory.Path(), "--source", "local",
                "--now", "2026-03-09 15:30:00", "--tick-ms", "1"};
    }

    TemporaryDirectory directory;
};

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

} // namespace
