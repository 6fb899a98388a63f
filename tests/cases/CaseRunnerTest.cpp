// Runs every golden case folder under cases/cli/ through the built programs, as lit does:
//   cmd        shell lines run in a fresh program directory, with $CLI, $SERVER, $DATA and $CASE set
//   in/        files copied into that directory first
//   expected/  files the directory must then hold byte for byte, plus `stdout`, `stderr` (the
//              directory's path written as $DIR) and `exit` (the status of cmd, when it is not 0)
// Adding a case is adding a folder; a failure prints the case and a unified diff.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.h"

namespace {

namespace fs = std::filesystem;
const fs::path Cases = fs::path(QUILLON_SOURCE_DIR) / "tests/cases/cli";

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<missing>";
}

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Shell(const std::string& command)
{
    return "'" + command + "'"; // no case path holds a quote
}

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Cases))
        if (fs::exists(entry.path() / "cmd")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CaseRunnerTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CaseRunnerTest, ProgramDirectoryEndsAsExpected)
{
    const fs::path folder = Cases / GetParam();
    TemporaryDirectory temporary;
    const fs::path dir = fs::path(temporary.Path()) / "dir", actual = fs::path(temporary.Path()) / "actual";
    fs::create_directories(actual);
    fs::create_directories(fs::path(temporary.Path()) / "runtime");
    fs::permissions(fs::path(temporary.Path()) / "runtime", fs::perms::owner_all);
    if (fs::exists(folder / "in")) fs::copy(folder / "in", dir, fs::copy_options::recursive);
    fs::create_directories(dir);
    const std::string command = "cd " + Shell(dir.string()) + " && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + Shell(temporary.Path() + "/runtime") + " CLI=" + Shell(QUILLON_BINARY_DIR "/quillon-cli") +
                                " SERVER=" + Shell(QUILLON_BINARY_DIR "/quillon-quote-server") +
                                " DATA=" + Shell(QUILLON_TEST_DATA) + " CASE=" + Shell(folder.string()) + " sh " +
                                Shell((folder / "cmd").string()) + " >" + Shell((actual / "stdout").string()) +
                                " 2>" + Shell((actual / "stderr").string());
    const int status = std::system(command.c_str());
    Write(actual / "exit", std::to_string(WEXITSTATUS(status)) + "\n");
    for (const char* said : {"stdout", "stderr"}) {
        std::string text = Read(actual / said);
        for (std::size_t at; (at = text.find(dir.string())) != std::string::npos;) text.replace(at, dir.string().size(), "$DIR");
        Write(actual / said, text);
    }
    // What the programs said is always compared: silence and status 0 unless the case expects more.
    std::vector<std::pair<fs::path, fs::path>> compared; // expected, actual
    for (const std::string said : {"stdout", "stderr", "exit"}) {
        if (fs::exists(folder / "expected" / said)) continue;
        Write(actual / (said + ".default"), said == "exit" ? "0\n" : "");
        compared.emplace_back(actual / (said + ".default"), actual / said);
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder / "expected")) {
        if (entry.is_directory()) continue;
        const fs::path name = entry.path().lexically_relative(folder / "expected");
        const bool said = name == "stdout" || name == "stderr" || name == "exit";
        compared.emplace_back(entry.path(), (said ? actual : dir) / name);
    }
    for (const auto& [expected, got] : compared) {
        if (Read(got) == Read(expected)) continue;
        const std::string diff = "diff -u " + Shell(expected.string()) + " " + Shell(got.string()) + " 2>&1";
        std::string shown;
        if (FILE* pipe = ::popen(diff.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) shown.append(buffer, n);
            ::pclose(pipe);
        }
        ADD_FAILURE() << "case " << GetParam() << ": " << got.filename().string() << " differs\n" << shown.substr(0, 8000);
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, CaseRunnerTest, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
