// quillon: the desktop screener. `quillon [--dir DIR]` keeps its files in DIR, else beside the
// executable when that directory is writable, else in the user's data directory. Ended by SIGINT
// or SIGTERM, it closes its windows as the user would and exits with 128 + the signal's number.

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string_view>

#include "core/Version.h"
#include "core/settings/Startup.h"
#include "core/text/CommandLine.h"
#include "desktop/DesktopServerSource.h"
#include "desktop/Screenshots.h"
#include "qt/HeadlessPlatform.h"
#include "qt/TerminationSignals.h"
#include "desktop/dialogs/DesktopStartupHost.h"
#include "desktop/DesktopSession.h"
#include "qt/SystemClock.h"
#include "desktop/services/DesktopServices.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/services/ProgramDirectory.h"

namespace {

constexpr int ExitSignalBase = 128;

// --help and --version answer with text and end; they need no display.
bool AsksOnlyForText(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help" || argument == "-V" || argument == "--version") return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksOnlyForText(argc, argv)) UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    // No display name: the X platform would append it to every caption ("Tracing [...] — Quillon").
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersionText));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillon/quillon.svg")));

    std::string directory;
    std::string screenshots;
    const CommandUsage usage{"quillon", "[OPTIONS]",
                             "The desktop stock and option screener. Qt's own options (-platform, -style, ...) are\n"
                             "taken as well.",
                             "Exit status: 0 ended by the user, 1 the program directory or agreement record cannot\n"
                             "be written, 2 usage error, 130/143 ended by SIGINT/SIGTERM.\n"};
    const std::vector<CommandOption> options{
        TextOption("--dir", "DIR", "keep the program's files in DIR (default: beside the program when "
                   "writable, else the user's data directory)", directory),
        TextOption("--screenshots", "OUT", "render every window to PNG files in OUT and exit (with --dir, the pass "
                   "table of DIR's last pass as well)", screenshots),
    };
    const QStringList arguments = QApplication::arguments().mid(1);
    std::vector<std::string> words;
    for (const QString& argument : arguments) words.push_back(argument.toStdString());
    if (const auto ended = ReadCommandLineOrEnd(usage, options, words)) return *ended;

    if (!screenshots.empty())
        return TakeScreenshots(QString::fromStdString(screenshots), QString::fromStdString(directory));

    const QString dirOption = QString::fromStdString(directory);
    const auto programDirectory = ResolveProgramDirectory(dirOption, QApplication::applicationDirPath());
    if (!programDirectory) {
        MessageBoxes::ShowMessage(nullptr, QStringLiteral("Cannot create or write the program directory %1, program stopped.")
                                               .arg(dirOption));
        return 1;
    }

    SystemClock clock;
    SharedState state(clock);
    const std::unique_ptr<DesktopServices> services = MakePlatformServices();
    DesktopSession session(state, *services, &MakeDesktopServerSource);
    // SIGINT and SIGTERM close the windows as the user would; from the agreement on.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::Received, &session, &DesktopSession::EndProgram);
    const auto exitStatus = [&terminationSignals](int status) {
        const int number = terminationSignals.ReceivedSignal();
        return number != 0 ? ExitSignalBase + number : status;
    };

    DesktopStartupHost startupHost(*services);
    switch (Main(state, startupHost, programDirectory->toStdString())) {
    case StartupOutcome::ShowMainWindow: break;
    case StartupOutcome::Disagreed: return exitStatus(0); // the user's choice, not a failure
    case StartupOutcome::RecordNotCreated: return exitStatus(1);
    }
    if (session.Ending()) return exitStatus(0);

    session.ShowMainWindow();
    return exitStatus(app.exec());
}
