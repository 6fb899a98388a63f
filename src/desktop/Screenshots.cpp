#include "desktop/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScatterSeries>
#include <QTableView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "charts/ChartPane.h"

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/windows/PassScatter.h"
#include "desktop/windows/PassTableWindow.h"
#include "desktop/windows/Splash.h"
#include "desktop/windows/SymbolBlockView.h"
#include "desktop/services/DesktopServices.h"
#include "desktop/services/HelpWindow.h"
#include "desktop/services/LayoutCheck.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/services/SymbolFileDialog.h"
#include "core/report/Printer.h"
#include "core/run/ServerSource.h"
#include "desktop/RefusingTransfer.h"
#include "desktop/windows/Tracing.h"

namespace {

// Nothing leaves the process while pictures are taken: no editor, no printer, no sound.
class SilentServices final : public DesktopServices {
public:
    std::optional<QString> ChooseSymbolFile(QWidget*, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseExportFile(QWidget*, const QString&) override { return std::nullopt; }
    bool OpenInEditor(QWidget*, const QString&) override { return false; }
    void ShowHelpTopic(QWidget* parent, int contextNumber) override { ::ShowHelpTopic(parent, contextNumber); }
    std::unique_ptr<DesktopPrinter> SetUpPrinter(QWidget*, const QString&) override { return nullptr; }
    void Beep() override {}
    bool AlarmAudible() const override { return false; }
};

class Camera {
public:
    explicit Camera(const QString& directory) : directory_(directory) {}

    void Take(QWidget& window, const QString& name)
    {
        window.show();
        window.activateWindow();
        Settle();
        const QString file = QDir(directory_).filePath(name + QStringLiteral(".png"));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ok_ = false;
        }
        for (const QString& clipped : FindClippedControls(&window)) {
            std::fprintf(stderr, "%s: clipped %s\n", qPrintable(name), qPrintable(clipped));
            ok_ = false;
        }
    }

    void TakeMenu(QMainWindow& window, const char* menuName, const QString& name)
    {
        auto* menu = window.findChild<QMenu*>(QLatin1String(menuName));
        if (!menu) return;
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        Settle();
        menu->grab().save(QDir(directory_).filePath(name + QStringLiteral(".png")));
        menu->hide();
    }

    static void Settle()
    {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }

    bool Ok() const { return ok_; }

private:
    QString directory_;
    bool ok_ = true;
};

void PrepareScratchDirectory(SharedState& state, const QString& directory)
{
    PrepareSharedState(state, directory.toStdString());
    SetDefaults(state.Settings);
    state.Settings.GetQuoteFromLocalFile = true;
    static_cast<void>(ReplaceFile(state.Settings.FnSym, "IBM\r\nMSFT\r\nINTC\r\n"));
    static_cast<void>(ReplaceFile(state.Paths.FnQuote, ""));
}

// A made-up symbol for the chart pictures: a smile per side and expiration around a last sale of
// 101.25, and 120 days of history with a swell in the middle.
SymbolChart ExampleChart()
{
    SymbolChart chart;
    chart.Symbol = "EXMPL";
    chart.Date = "2026-12-04";
    chart.LastSale = 101.25;
    for (const int side : {Calls, Puts})
        for (const int expiration : {0, 1}) {
            SmileLine line{side, expiration, expiration == 0 ? 15 : 43, {}};
            for (const double strike : {95.0, 100.0, 105.0})
                line.Points.emplace_back(strike, 30 + side * 2 - expiration * 1.5 + std::abs(strike - 100) * 0.6);
            chart.Smile.push_back(line);
        }
    const std::chrono::sys_days last{std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::December, std::chrono::day{4}}};
    for (int i = 119; i >= 0; --i) {
        const std::chrono::year_month_day day{last - std::chrono::days{i * 2}};
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02u-%02u", static_cast<int>(day.year()),
                      static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
        chart.History.push_back({date, 28 + 9 * std::sin(i / 19.0) + (i % 7) * 0.4});
    }
    std::vector<double> year;
    for (const HistoryPoint& point : chart.History) year.push_back(point.Volatility);
    chart.YearLow = *std::min_element(year.begin(), year.end());
    chart.YearHigh = *std::max_element(year.begin(), year.end());
    chart.Standing = StandingOf(year.back(), year);
    return chart;
}

// The run window after a pass, while its server refuses, and while an alarm holds it.
void TakeRunWindow(Camera& camera, SharedState& state, DesktopServices& services)
{
    RefusingTransfer transfer; // outlives the windows whose sources it calls back
    const ServerSourceFactory refusingServer = [&transfer](SharedState& s, RunHost& host, std::function<void()> pause) {
        return std::unique_ptr<QuoteSource>(std::make_unique<ServerSource>(s, host, transfer, std::move(pause)));
    };
    {
        Tracing tracing(state, services, refusingServer);
        tracing.show();
        // A pass over a quote cache without records: every symbol is read and found missing.
        for (int i = 0; i < 200 && tracing.Controller().PassesCompleted() == 0; ++i) Camera::Settle();
        camera.Take(tracing, QStringLiteral("tracing"));
        tracing.CmdChart->click();
        tracing.Chart->ShowChart(ExampleChart());
        camera.Take(tracing, QStringLiteral("tracing-chart"));
        tracing.CmdChart->click();
        // As the evaluation announces a saved symbol and the controller holds the run for it.
        tracing.SetStatus1("Alarm: IBM saved");
        tracing.SetLamp(Lamp::Alarm);
        camera.Take(tracing, QStringLiteral("tracing-alarm"));
        tracing.close();
    }
    state.Settings.GetQuoteFromLocalFile = false;
    state.Settings.DnsName = "localhost";
    state.Settings.PortNumber = 80;
    Tracing tracing(state, services, refusingServer);
    tracing.show();
    for (int i = 0; i < 200 && tracing.LampText() != QLatin1String("Retrying"); ++i) Camera::Settle();
    camera.Take(tracing, QStringLiteral("tracing-retrying"));
    tracing.close();
}

// The pass of `passDirectory`, on a copy of its settings, symbols, quote cache and pass table: the
// Filter dialog with the count of that cache, the Pass Table window with its scatter, and the block
// of the first saved symbol.
void TakePassWindows(Camera& camera, const Clock& clock, DesktopServices& services, const QString& passDirectory)
{
    QTemporaryDir copy;
    SharedState state(clock);
    PrepareSharedState(state, copy.path().toStdString());
    for (const char* name : {"Quillon.---", "Symbols.sym", "Quote.txt", "Pass.csv"})
        QFile::copy(QDir(passDirectory).filePath(QLatin1String(name)), QDir(copy.path()).filePath(QLatin1String(name)));
    if (!ReadSettings(state.Settings, state.Paths.FnSettings)) SetDefaults(state.Settings);
    state.Settings.FnSym = state.Paths.DefaultFnSym;

    Filter filter(state, services);
    filter.show();
    // The count comes from a worker thread: a few seconds at most for a demo cache.
    auto* count = filter.findChild<QLabel*>(QStringLiteral("LabelPassCount"));
    for (int i = 0; i < 200 && !count->text().contains(QLatin1String(" of ")); ++i) {
        Camera::Settle();
        QThread::msleep(25);
    }
    camera.Take(filter, QStringLiteral("setup-filter-count"));
    filter.hide();

    PassTableWindow table(state, services);
    if (table.Scatter->Saved->count() > 0) emit table.Scatter->Saved->clicked(table.Scatter->Saved->at(0));
    camera.Take(table, QStringLiteral("pass-table"));
    const QModelIndexList selected = table.Table->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    emit table.Table->doubleClicked(selected.front());
    camera.Take(*table.BlockView(), QStringLiteral("pass-table-block"));
}

} // namespace

int TakeScreenshots(const QString& outputDirectory, const QString& passDirectory)
{
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir().mkpath(outputDirectory)) return 1;
    MessageBoxes::BeginScript(); // a question during the pictures is answered No, unseen
    FixedClock clock(LocalDateTime{2026, 12, 4, 15, 30, 0});
    SharedState state(clock);
    PrepareScratchDirectory(state, scratch.path());
    SilentServices services;
    Camera camera(outputDirectory);

    Splash splash(state, services);
    camera.Take(splash, QStringLiteral("main-window"));
    camera.TakeMenu(splash, "mnuFile", QStringLiteral("menu-file"));
    camera.TakeMenu(splash, "mnuView", QStringLiteral("menu-view"));
    camera.TakeMenu(splash, "mnuSetup", QStringLiteral("menu-setup"));
    camera.TakeMenu(splash, "mnuHelp", QStringLiteral("menu-help"));
    splash.hide();

    bool gate = false;
    Agree agree(gate, services);
    camera.Take(agree, QStringLiteral("agreement"));
    agree.hide();
    bool review = true;
    Agree reviewAgree(review, services);
    camera.Take(reviewAgree, QStringLiteral("agreement-review"));
    reviewAgree.hide();

    QuoteServer quoteServer(state, services);
    camera.Take(quoteServer, QStringLiteral("setup-quote-server"));
    quoteServer.hide();
    Filter filter(state, services);
    camera.Take(filter, QStringLiteral("setup-filter"));
    filter.hide();
    Interest interest(state, services);
    camera.Take(interest, QStringLiteral("setup-interest"));
    interest.hide();

    const auto fileDialog = MakeSymbolFileDialog(nullptr, scratch.path(), QString::fromStdString(state.Settings.FnSym));
    camera.Take(*fileDialog, QStringLiteral("choose-symbol-file"));
    fileDialog->hide();

    if (QWidget* help = ShowHelpTopic(nullptr, 1)) {
        camera.Take(*help, QStringLiteral("help-contents"));
        help->close();
    }

    TakeRunWindow(camera, state, services);
    if (!passDirectory.isEmpty()) TakePassWindows(camera, clock, services, passDirectory);
    MessageBoxes::EndScript();
    return camera.Ok() ? 0 : 1;
}
