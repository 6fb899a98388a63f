#include "cli/PrintCommand.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "core/settings/FilePaths.h"
#include "core/text/CommandLine.h"
#include "qt/PdfPrinter.h"
#include "qt/SystemClock.h"
#include "core/report/ResultsPrinting.h"

namespace {

const CommandUsage PrintUsage{
    "quillon-cli print", "--pdf FILE [OPTIONS]",
    "Prints Results.txt of the program directory into the PDF file FILE: one page per saved\n"
    "symbol, the page total taken from Progress.---.",
    "Exit status: 0 printed, 1 nothing to print or FILE not written, 2 usage error.\n"};

struct PrintOptions {
    std::string Directory;
    std::string PdfFile;
    std::optional<LocalDateTime> Now;
};

std::vector<CommandOption> PrintOptionTable(PrintOptions& o)
{
    return {
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        TextOption("--pdf", "FILE", "the PDF file to write (required)", o.PdfFile),
        {"--now", "", "TIME", "fixed date and time \"YYYY-MM-DD HH:MM:SS\" for the page headings",
         [&o](const std::string& value) -> std::optional<std::string> {
             o.Now = ParseDateTime(value);
             if (!o.Now) return "wants \"YYYY-MM-DD HH:MM:SS\", not '" + value + "'";
             return std::nullopt;
         }},
    };
}

// Fonts and PDF writing need a GUI application, but not a screen.
void UseOffscreenWithoutDisplay()
{
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The input that stopped the printout: the progress record is read first, then the report.
std::string UnreadableInput(const FilePaths& paths)
{
    const auto readable = [](const std::string& path) {
        const QFileInfo file(QString::fromStdString(path));
        return file.isFile() && file.isReadable();
    };
    if (!readable(paths.FnProgress)) return paths.FnProgress;
    if (!readable(paths.FnResults)) return paths.FnResults;
    return paths.FnProgress + " or " + paths.FnResults;
}

} // namespace

int PrintCommand(int argc, char** argv)
{
    PrintOptions options;
    if (const auto ended = ReadCommandLineOrEnd(PrintUsage, PrintOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (options.PdfFile.empty()) {
        std::fputs("quillon-cli print: --pdf FILE is required (see quillon-cli print --help)\n", stderr);
        return 2;
    }
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(PrintUsage.Program, options.Directory);
    if (!directory) return 1;
    const FilePaths paths = FilePaths::Build(*directory);
    const SystemClock systemClock;
    const FixedClock fixedClock(options.Now.value_or(LocalDateTime{}));
    const Clock& clock = options.Now ? static_cast<const Clock&>(fixedClock) : systemClock;

    const QString pdfFile = QString::fromStdString(options.PdfFile);
    std::int16_t savedCount = 0;
    bool printed = false;
    {
        PdfPrinter printer(pdfFile);
        printed = PrintResults(paths, savedCount, printer, clock);
        // Without EndDoc the writer leaves a stray empty file behind.
        if (!printed) printer.EndDoc();
    }
    if (!printed) {
        QFile::remove(pdfFile);
        std::fprintf(stderr, "Quillon: nothing to print: %s cannot be read.\n", UnreadableInput(paths).c_str());
        return 1;
    }
    if (!QFileInfo(pdfFile).isFile() || QFileInfo(pdfFile).size() == 0) {
        std::fprintf(stderr, "Quillon: cannot write %s.\n", qPrintable(pdfFile));
        return 1;
    }
    return 0;
}
