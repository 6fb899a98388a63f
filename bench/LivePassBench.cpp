// A live pass of quillon-cli over 500 symbols (the demo market and 200 generated ones) from the
// stand-in quote server on loopback, with a 1 ms tick. Reports the time per symbol beyond the two
// settle waits of 10 ticks each, which are the program's own pacing, not its cost.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QProcess>

#include <filesystem>

#include "support/QuoteServerProcess.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"

namespace {

constexpr int GeneratedCount = 200;
constexpr int TickMilliseconds = 1;
constexpr int SettleTicksPerSymbol = 2 * 10;

std::vector<std::string> DemoSymbols() {
    std::vector<std::string> symbols;
    const std::string market = ReadWholeFile(QUILLON_SOURCE_DIR "/data/demo-market.csv").value_or("");
    const std::vector<std::string_view> lines = SplitLines(market);
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty()) symbols.emplace_back(lines[i].substr(0, lines[i].find(',')));
    for (int i = 1; i <= GeneratedCount; ++i)
        symbols.push_back(QString("G%1").arg(i, 5, 10, QChar('0')).toStdString());
    return symbols;
}

bool PrepareDirectory(const FilePaths& paths, int port, const std::vector<std::string>& symbols) {
    UserSettings settings;
    SetDefaults(settings);
    settings.DnsName = "127.0.0.1";
    settings.PortNumber = port;
    settings.FnSym = paths.DefaultFnSym;
    std::string text;
    for (const std::string& symbol : symbols) text += symbol + "\r\n";
    for (const std::string* file : {&paths.FnResults, &paths.FnQuote, &paths.FnProgress, &paths.FnGoodSym})
        RemoveFile(*file);
    return WriteSettings(settings, paths.FnSettings) && ReplaceFile(paths.DefaultFnSym, text);
}

void BM_LivePass(benchmark::State& state) {
    QuoteServerProcess server({"--generate", QString::number(GeneratedCount), "--quiet"});
    if (server.Port() == 0) return state.SkipWithError("the quote server did not start");
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillon-live-pass-bench";
    std::filesystem::create_directories(dir);
    const FilePaths paths = FilePaths::Build(dir.string());
    const std::vector<std::string> symbols = DemoSymbols();
    double beyondSettle = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!PrepareDirectory(paths, server.Port(), symbols)) return state.SkipWithError("cannot prepare");
        state.ResumeTiming();
        QElapsedTimer wall;
        wall.start();
        const int exit = QProcess::execute(QUILLON_BINARY_DIR "/quillon-cli",
                                           {"run", "--dir", QString::fromStdString(dir.string()), "--source",
                                            "server", "--tick-ms", QString::number(TickMilliseconds), "--quiet"});
        const double milliseconds = static_cast<double>(wall.elapsed());
        if (exit != 0) return state.SkipWithError("the live pass failed");
        beyondSettle = (milliseconds - static_cast<double>(symbols.size()) * SettleTicksPerSymbol * TickMilliseconds) /
                       static_cast<double>(symbols.size());
    }
    state.counters["symbols"] = static_cast<double>(symbols.size());
    state.counters["ms_per_symbol_beyond_settle"] = beyondSettle;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LivePass)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
