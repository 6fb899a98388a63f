// quillon-cli: the screener's run and its results printout without the desktop.

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/HistoryCommand.h"
#include "cli/ImportCommand.h"
#include "cli/PrintCommand.h"
#include "cli/RunCommand.h"
#include "cli/SweepCommand.h"
#include "core/Version.h"

namespace {

constexpr const char* UsageText =
    "Usage: quillon-cli COMMAND [OPTIONS]\n"
    "Commands:\n"
    "  run     run the screener over the symbol list (quillon-cli run --help)\n"
    "  print   print Results.txt into a PDF file (quillon-cli print --help)\n"
    "  import  write Quote.txt from real option chain files (quillon-cli import --help)\n"
    "  sweep   count the symbols the quote cache saves as one criterion varies (quillon-cli sweep --help)\n"
    "  history the implied volatilities of earlier passes (quillon-cli history --help)\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "print") return PrintCommand(argc, argv); // needs a QGuiApplication
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string command = arguments.empty() ? "" : arguments.front();
    const std::vector<std::string> options(arguments.begin() + (arguments.empty() ? 0 : 1),
                                           arguments.end());
    if (command == "run") return RunCommand(app, options);
    if (command == "import") return ImportCommand(options);
    if (command == "sweep") return SweepCommand(options, QCoreApplication::applicationDirPath().toStdString());
    if (command == "history") return HistoryCommand(options, QCoreApplication::applicationDirPath().toStdString());
    if (command == "--version") {
        std::printf("quillon-cli %s\n", ProgramVersionText);
        return 0;
    }
    if (command == "--help" || command == "-h") {
        std::fputs(UsageText, stdout);
        return 0;
    }
    std::fprintf(stderr, "quillon-cli: %s\n%s",
                 command.empty() ? "no command given" : ("unknown command: " + command).c_str(),
                 UsageText);
    return 2;
}
