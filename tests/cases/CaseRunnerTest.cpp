// Runs every golden case folder under cases/cli/ through quillon-cli, as lit does:
//   cmd        shell lines run in a fresh program directory, with $CLI and $DATA (tests/data) set;
//              serve.sh beside this file gives a case a stand-in quote server
//   expected/  files the directory must then hold byte for byte, plus `stdout`, `stderr` (the
//              directory's path written as $DIR) and `exit` (the status of cmd): silence and 0
//              unless the case holds them
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

// `text` as one shell word; no path of a case holds a quote.
std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string UnifiedDiff(const fs::path& expected, const fs::path& actual)
{
    const std::string command = "diff -u " + Quoted(expected.string()) + " " + Quoted(actual.string()) + " 2>&1";
    std::string shown;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) shown.append(buffer, n);
        ::pclose(pipe);
    }
    return shown.substr(0, 8000);
}

// Runs the case's cmd in `dir`, leaving stdout, stderr and exit in `said`.
void RunCase(const fs::path& folder, const fs::path& dir, const fs::path& said, const fs::path& runtime)
{
    const std::string command = "cd " + Quoted(dir.string()) + " && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" +
                                Quoted(runtime.string()) + " CLI=" + Quoted(QUILLON_BINARY_DIR "/quillon-cli") +
                                " DATA=" + Quoted(QUILLON_TEST_DATA) + " sh " + Quoted((folder / "cmd").string()) +
                                " >" + Quoted((said / "stdout").string()) + " 2>" + Quoted((said / "stderr").string());
    const int status = std::system(command.c_str());
    Write(said / "exit", std::to_string(WEXITSTATUS(status)) + "\n");
    for (const char* name : {"stdout", "stderr"}) {
        std::string text = Read(said / name);
        for (std::size_t at; (at = text.find(dir.string())) != std::string::npos;) text.replace(at, dir.string().size(), "$DIR");
        Write(said / name, text);
    }
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
    const TemporaryDirectory temporary;
    const fs::path root = temporary.Path(), dir = root / "dir", said = root / "said", runtime = root / "runtime";
    for (const fs::path& made : {dir, said, runtime}) fs::create_directories(made);
    fs::permissions(runtime, fs::perms::owner_all);
    RunCase(folder, dir, said, runtime);

    std::vector<std::pair<fs::path, fs::path>> compared; // expected, actual
    for (const std::string name : {"stdout", "stderr", "exit"}) {
        if (fs::exists(folder / "expected" / name)) continue;
        Write(said / (name + ".default"), name == "exit" ? "0\n" : "");
        compared.emplace_back(said / (name + ".default"), said / name);
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder / "expected")) {
        if (entry.is_directory()) continue;
        const fs::path name = entry.path().lexically_relative(folder / "expected");
        const bool isSaid = name == "stdout" || name == "stderr" || name == "exit";
        compared.emplace_back(entry.path(), (isSaid ? said : dir) / name);
    }
    for (const auto& [expected, actual] : compared)
        if (Read(actual) != Read(expected))
            ADD_FAILURE() << "case " << GetParam() << ": " << actual.filename().string() << " differs\n"
                          << UnifiedDiff(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Cli, CaseRunnerTest, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
