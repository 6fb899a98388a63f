#include "cli/ChartCommand.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "charts/ChartPane.h"
#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "core/history/QuoteCacheImport.h"
#include "core/history/SymbolChart.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/CommandLine.h"
#include "qt/SystemClock.h"

namespace {

const CommandUsage ChartUsage{
    "quillon-cli chart", "SYMBOL --png FILE | --svg FILE [OPTIONS]",
    "Draws SYMBOL's volatility smile (implied volatility by strike, a line per side and expiration,\n"
    "the last sale marked) above its IV history of 52 weeks (high, low, IV rank and percentile),\n"
    "from Quote.txt and History.db of the program directory, into a PNG or SVG file.",
    "Exit status: 0 drawn, 1 no usable quotes of SYMBOL or FILE not written, 2 usage error.\n"};

struct ChartOptions {
    std::string Symbol;
    std::string Directory;
    std::string PngFile, SvgFile;
    int Width = 900, Height = 1000;
    std::optional<LocalDateTime> Now;
};

std::vector<CommandOption> ChartOptionTable(ChartOptions& o)
{
    return {
        {"", "", "SYMBOL", "the symbol to draw, as the quote cache names it",
         [&o](const std::string& operand) -> std::optional<std::string> {
             if (!o.Symbol.empty()) return "unexpected argument '" + operand + "'";
             o.Symbol = operand;
             return std::nullopt;
         }},
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        TextOption("--png", "FILE", "the PNG file to write", o.PngFile),
        TextOption("--svg", "FILE", "the SVG file to write", o.SvgFile),
        CountOption("--width", "N", "picture width in pixels (default 900)", o.Width, 200),
        CountOption("--height", "N", "picture height in pixels (default 1000)", o.Height, 200),
        TimeOption("--now", "date and time of the quotes (default: the clock)", o.Now),
    };
}

int CannotWriteChart(const QString& file)
{
    std::fprintf(stderr, "quillon-cli chart: cannot write %s.\n", qPrintable(file));
    return ExitCannotGoOn;
}

// The pane drawn into `file` as PNG or SVG; the file takes its place only once it is whole.
int WritePicture(ChartPane& pane, const ChartOptions& options)
{
    const bool png = !options.PngFile.empty();
    const QString path = QString::fromStdString(png ? options.PngFile : options.SvgFile);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return CannotWriteChart(path);
    const QSize size(options.Width, options.Height);
    if (png) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(pane.palette().base().color());
        QPainter painter(&image);
        pane.render(&painter);
        painter.end();
        if (!image.save(&file, "PNG")) return CannotWriteChart(path);
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(pane.SmileView->chart()->title());
        QPainter painter(&svg);
        pane.render(&painter);
    }
    return file.commit() ? ExitDone : CannotWriteChart(path);
}

} // namespace

int ChartCommand(int argc, char** argv)
{
    ChartOptions options;
    if (const auto ended = ReadCommandLineOrEnd(ChartUsage, ChartOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (options.Symbol.empty()) return UsageError(ChartUsage, "give one SYMBOL");
    if (options.PngFile.empty() == options.SvgFile.empty())
        return UsageError(ChartUsage, "give either --png FILE or --svg FILE");
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(ChartUsage.Program, options.Directory);
    if (!directory) return ExitCannotGoOn;
    const FilePaths paths = FilePaths::Build(*directory);
    const UserSettings settings = ReadSettingsOverDefaults(paths.FnSettings);

    std::string problem;
    const std::optional<HistoryDay> today =
        CachedDay(paths.FnQuote, options.Symbol, options.Now.value_or(SystemClock().Now()), settings, problem);
    if (!today) {
        std::fprintf(stderr, "quillon-cli chart: %s\n", problem.c_str());
        return ExitCannotGoOn;
    }
    HistoryStore store;
    if (const std::optional<std::string> failure = store.OpenExisting(paths.FnHistory))
        std::fprintf(stderr, "quillon-cli chart: %s; the chart shows today alone\n", failure->c_str());

    ChartPane pane;
    pane.resize(options.Width, options.Height);
    pane.ShowChart(ChartOfDay(*today, store));
    return WritePicture(pane, options); // rendering lays the hidden pane out at the picture's size
}
