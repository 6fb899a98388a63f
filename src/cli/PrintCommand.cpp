#include "cli/PrintCommand.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/FilePaths.h"
#include "qt/PdfPrinter.h"
#include "qt/SystemClock.h"
#include "core/report/ResultsPrinting.h"

namespace {

constexpr const char* PrintUsageText =
    "Usage: quillon-cli print [--dir DIR] --pdf FILE [--now \"YYYY-MM-DD HH:MM:SS\"]\n"
    "Prints Results.txt of DIR (default: the executable's directory) into the PDF file FILE:\n"
    "one page per saved symbol, the page total taken from Progress.---.\n";

struct PrintOptions {
    std::string Directory;
    std::string PdfFile;
    std::optional<LocalDateTime> Now;
    bool Help = false;
};

// Nothing when the arguments are unusable; the reason is on stderr then.
std::optional<PrintOptions> ParsePrintOptions(const std::vector<std::string>& arguments)
{
    PrintOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name != "--dir" && name != "--pdf" && name != "--now") {
            std::fprintf(stderr, "quillon-cli print: unknown option %s\n", name.c_str());
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                std::fprintf(stderr, "quillon-cli print: %s needs a value\n", name.c_str());
                return std::nullopt;
            }
            value = arguments[++i];
        }
        if (name == "--dir") options.Directory = *value;
        if (name == "--pdf") options.PdfFile = *value;
        if (name == "--now") {
            options.Now = ParseDateTime(*value);
            if (!options.Now) {
                std::fprintf(stderr, "quillon-cli print: --now wants \"YYYY-MM-DD HH:MM:SS\"\n");
                return std::nullopt;
            }
        }
    }
    if (options.PdfFile.empty() && !options.Help) {
        std::fprintf(stderr, "quillon-cli print: --pdf FILE is required\n");
        return std::nullopt;
    }
    return options;
}

// Fonts and PDF writing need a GUI application, but not a screen.
void UseOffscreenWithoutDisplay()
{
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
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
    const std::vector<std::string> arguments(argv + std::min(argc, 2), argv + argc);
    const auto options = ParsePrintOptions(arguments);
    if (!options) {
        std::fputs(PrintUsageText, stderr);
        return 2;
    }
    if (options->Help) {
        std::fputs(PrintUsageText, stdout);
        return 0;
    }
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const QString directory = options->Directory.empty() ? QCoreApplication::applicationDirPath()
                                                         : QString::fromStdString(options->Directory);
    const FilePaths paths = FilePaths::Build(directory.toStdString());
    const SystemClock systemClock;
    const FixedClock fixedClock(options->Now.value_or(LocalDateTime{}));
    const Clock& clock = options->Now ? static_cast<const Clock&>(fixedClock) : systemClock;

    // A mistyped --dir must not cost an existing FILE: the inputs are looked at before anything is
    // written, and the PDF takes FILE's place only once it is whole.
    if (const auto unreadable = UnreadableInput(paths)) return NothingToPrint(*unreadable);
    if (const auto pages = CountResultsPages(paths); pages && *pages > ManyPages)
        std::fprintf(stderr, "Quillon: warning: %s makes %ld pages.\n", paths.FnResults.c_str(), *pages);
    const QString pdfFile = QString::fromStdString(options->PdfFile);
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
