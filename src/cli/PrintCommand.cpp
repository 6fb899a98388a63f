#include "cli/PrintCommand.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "core/settings/FilePaths.h"
#include "core/text/CommandLine.h"
#include "qt/HeadlessPlatform.h"
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
        TimeOption("--now", "fixed date and time \"YYYY-MM-DD HH:MM:SS\" for the page headings", o.Now),
    };
}

// The input that cannot be printed from, the progress record first; nothing when both can be read.
std::optional<std::string> UnreadableInput(const FilePaths& paths)
{
    const auto readable = [](const std::string& path) {
        const QFileInfo file(QString::fromStdString(path));
        return file.isFile() && file.isReadable();
    };
    if (!readable(paths.FnProgress)) return paths.FnProgress;
    if (!readable(paths.FnResults)) return paths.FnResults;
    return std::nullopt;
}

int NothingToPrint(const std::string& unreadable)
{
    std::fprintf(stderr, "Quillon: nothing to print: %s cannot be read.\n", unreadable.c_str());
    return 1;
}

int CannotWrite(const QString& pdfFile)
{
    std::fprintf(stderr, "Quillon: cannot write %s.\n", qPrintable(pdfFile));
    return 1;
}

} // namespace

int PrintCommand(int argc, char** argv)
{
    PrintOptions options;
    if (const auto ended = ReadCommandLineOrEnd(PrintUsage, PrintOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (options.PdfFile.empty()) return UsageError(PrintUsage, "--pdf FILE is required");
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(PrintUsage.Program, options.Directory);
    if (!directory) return 1;
    const FilePaths paths = FilePaths::Build(*directory);
    const SystemClock systemClock;
    const FixedClock fixedClock(options.Now.value_or(LocalDateTime{}));
    const Clock& clock = options.Now ? static_cast<const Clock&>(fixedClock) : systemClock;

    // A mistyped --dir must not cost an existing FILE: the inputs are looked at before anything is
    // written, and the PDF takes FILE's place only once it is whole.
    if (const auto unreadable = UnreadableInput(paths)) return NothingToPrint(*unreadable);
    if (const auto pages = CountResultsPages(paths); pages && *pages > ManyPages)
        std::fprintf(stderr, "Quillon: warning: %s makes %ld pages.\n", paths.FnResults.c_str(), *pages);
    const QString pdfFile = QString::fromStdString(options.PdfFile);
    QSaveFile pdf(pdfFile);
    if (!pdf.open(QIODevice::WriteOnly)) return CannotWrite(pdfFile);
    std::int16_t savedCount = 0;
    bool printed = false;
    {
        PdfPrinter printer(pdf);
        printed = PrintResults(paths, savedCount, printer, clock);
    }
    if (!printed) return NothingToPrint(paths.FnProgress + " or " + paths.FnResults); // gone since the look
    if (!pdf.commit()) return CannotWrite(pdfFile);
    return 0;
}
