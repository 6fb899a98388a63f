// quillon-cli: the screener's run and its results printout without the desktop.

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "cli/ChartCommand.h"
#include "cli/CliCommand.h"
#include "cli/HistoryCommand.h"
#include "cli/ImportCommand.h"
#include "cli/PrintCommand.h"
#include "cli/RunCommand.h"
#include "cli/SweepCommand.h"
#include "core/text/CommandLine.h"

namespace {

// A new command is a line here and a file of its own.
constexpr CliCommand Commands[] = {
    {"run", "run the screener over the symbol list", RunCommand},
    {"print", "print Results.txt into a PDF file", PrintCommand},
    {"import", "write Quote.txt from real option chain files", ImportCommand},
    {"sweep", "count the symbols the quote cache saves as one criterion varies", SweepCommand},
    {"history", "the implied volatilities of earlier passes", HistoryCommand},
    {"chart", "draw a symbol's volatility smile and IV history into a PNG or SVG file", ChartCommand},
};

constexpr int ExitUsage = 2;

CommandUsage ProgramUsage()
{
    std::string about = "The screener without the desktop. Commands:\n";
    for (const CliCommand& command : Commands) {
        const std::string commandName = command.Name;
        const std::size_t gap = commandName.size() < 8 ? 8 - commandName.size() : 1;
        about += "  " + commandName + std::string(gap, ' ') + command.Summary + "\n";
    }
    about += "'quillon-cli COMMAND --help' lists the options of a command.";
    return {"quillon-cli", "COMMAND [OPTIONS]", about, ""};
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = argc > 1 ? argv[1] : "";
    const auto command = std::find_if(std::begin(Commands), std::end(Commands),
                                      [&name](const CliCommand& c) { return name == c.Name; });
    if (command != std::end(Commands)) return command->Run(argc, argv);
    if (name.starts_with("-"))
        if (const auto ended = ReadCommandLineOrEnd(ProgramUsage(), {}, {argv + 1, argv + argc})) return *ended;
    std::fprintf(stderr, "quillon-cli: %s (see quillon-cli --help)\n",
                 name.empty() ? "no command given" : ("unknown command '" + name + "'").c_str());
    return ExitUsage;
}
