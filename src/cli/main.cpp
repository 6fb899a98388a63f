// quillon-cli: the screener's run and its results printout without the desktop.

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/PrintCommand.h"
#include "cli/RunCommand.h"
#include "core/Version.h"

namespace {

constexpr const char* UsageText =
    "Usage: quillon-cli COMMAND [OPTIONS]\n"
    "Commands:\n"
    "  run     run the screener over the symbol list (quillon-cli run --help)\n"
    "  print   print Results.txt into a PDF file (quillon-cli print --help)\n";

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
