// The command lines that end a program at once (version, usage errors, a missing directory), as a
// table in tests/data/command-line.txt: each program's exact answer and exit status.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "BuiltProgram.h"
#include "core/text/CommandLine.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

namespace {

struct Case {
    int Line = 0;
    std::string Program;
    QStringList Arguments;
    int ExitStatus = 0;
    bool OnStandardOutput = true;
    std::string Said;
};

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

void Substitute(std::string& text, const std::string& name, const std::string& value)
{
    for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), value);
}

std::vector<Case> ReadCases(const std::string& table, const std::vector<std::pair<std::string, std::string>>& words)
{
    std::vector<Case> cases;
    int lineNumber = 0;
    for (std::string_view line : SplitLines(table)) {
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t bar; fields.size() < 4 && (bar = line.find(" | ", start)) != std::string_view::npos;
             start = bar + 3)
            fields.push_back(Trimmed(line.substr(start, bar - start)));
        fields.push_back(Trimmed(line.substr(start)));
        if (fields.size() != 5) {
            ADD_FAILURE() << "command-line.txt:" << lineNumber << ": not five fields";
            continue;
        }
        for (std::string& field : fields)
            for (const auto& [name, value] : words) Substitute(field, name, value);
        Case c{lineNumber, fields[0], {}, std::stoi(fields[2]), fields[3] == "stdout", fields[4] + "\n"};
        for (const QString& word : QString::fromStdString(fields[1]).split(' ', Qt::SkipEmptyParts))
            c.Arguments << word;
        cases.push_back(c);
    }
    return cases;
}

TEST(CommandLine, EachProgramAnswersAsTheTableSays)
{
    TemporaryDirectory directory;
    const std::string file = directory.File("plain-file");
    ASSERT_TRUE(ReplaceFile(file, "not a directory\n"));
    const std::vector<Case> cases = ReadCases(ReadWholeFile(QUILLON_TEST_DATA "/command-line.txt").value_or(""),
                                              {{"{VERSION}", ProgramVersionText()},
                                               {"{MISSING}", directory.File("missing")},
                                               {"{FILE}", file}});
    ASSERT_GT(cases.size(), 20u);
    // Without a runtime directory Qt's platform code complains on standard error.
    QProcessEnvironment environment = OffscreenEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(directory.Path()));
    for (const Case& c : cases) {
        SCOPED_TRACE("command-line.txt:" + std::to_string(c.Line));
        const ProgramEnd end = RunBuiltProgram(c.Program.c_str(), c.Arguments, environment);
        ASSERT_FALSE(end.Crashed);
        EXPECT_EQ(end.ExitCode, c.ExitStatus);
        EXPECT_EQ((c.OnStandardOutput ? end.Output : end.Errors).toStdString(), c.Said);
        EXPECT_EQ((c.OnStandardOutput ? end.Errors : end.Output).toStdString(), "");
    }
}

// A manual page written by hand drifts from the help it repeats: each option that --help lists
// must be in the page, with its hyphens escaped as troff wants them.
TEST(CommandLine, EachManualPageHasEveryOptionTheHelpLists)
{
    const struct {
        const char* program;
        QStringList arguments;
        const char* page;
    } helps[] = {
        {"quillon", {"--help"}, "quillon.1"},
        {"quillon-cli", {"run", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"print", "--help"}, "quillon-cli.1"},
        {"tools/quote-server/quillon-quote-server", {"--help"}, "quillon-quote-server.1"},
    };
    for (const auto& help : helps) {
        SCOPED_TRACE(help.page);
        const ProgramEnd end = RunBuiltProgram(help.program, help.arguments);
        ASSERT_EQ(end.ExitCode, 0);
        const std::string page = ReadWholeFile(std::string(QUILLON_SOURCE_DIR "/data/man/") + help.page).value_or("");
        const std::string said = end.Output.toStdString();
        const std::regex option("(^|[ ,])(--?[a-z][a-z-]*)");
        int options = 0;
        for (auto match = std::sregex_iterator(said.begin(), said.end(), option); match != std::sregex_iterator();
             ++match, ++options) {
            std::string escaped;
            for (const char c : (*match)[2].str()) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
            EXPECT_NE(page.find(escaped), std::string::npos) << (*match)[2].str();
        }
        EXPECT_GE(options, 5);
    }
}

} // namespace
