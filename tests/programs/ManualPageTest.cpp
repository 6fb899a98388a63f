// The manual pages in data/man against the programs' --help.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "BuiltProgram.h"
#include "core/text/TextFile.h"

namespace {

// A manual page written by hand drifts from the help it repeats: each option that --help lists
// must be in the page, with its hyphens escaped as troff wants them.
TEST(ManualPage, HasEveryOptionTheHelpLists)
{
    const struct {
        const char* program;
        QStringList arguments;
        const char* page;
    } helps[] = {
        {"quillon", {"--help"}, "quillon.1"},
        {"quillon-cli", {"run", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"print", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"import", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"sweep", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"history", "--help"}, "quillon-cli.1"},
        {"quillon-cli", {"chart", "--help"}, "quillon-cli.1"},
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
