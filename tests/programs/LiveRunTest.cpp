// Live passes of quillon-cli against the stand-in quote server on loopback, with a short tick,
// over HTTPS trusted through an added certificate authority.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>
#include <map>

#include "core/history/HistoryStore.h"
#include "support/QuoteServerProcess.h"
#include "support/TestCertificate.h"
#include "LiveRunSupport.h"

namespace {

namespace fs = std::filesystem;


struct Volatilities {
    double Call, Put;
};

// Smile-free companies, so each side is priced at one volatility that the QVA must find again.
const std::map<std::string, Volatilities> Priced = {
    {"ABC", {0.30, 0.34}}, {"BIGCO", {0.45, 0.40}}, {"DRP", {0.25, 0.27}}, {"SLW", {0.60, 0.55}}};

std::string MarketRow(const std::string& symbol, double last, Volatilities v) {
    const std::string price = std::to_string(last);
    return symbol + ",Test Company " + symbol + ",NYSE," + price + ",0.5," + price + "," + price + "," +
           price + "," + price + "," + price + "," + price + "," + price + "," + price +
           ",250000,1,2,20,1.5,40000,1.1," + std::to_string(v.Call) + "," + std::to_string(v.Put) + ",0\r\n";
}

std::string Market() {
    std::string csv = "symbol,company,...\r\n";
    double last = 47.5;
    for (const auto& [symbol, volatilities] : Priced) csv += MarketRow(symbol, last += 13.25, volatilities);
    return csv;
}

// Symbol -> (QVAC, QVAP) in percent, read from the results report's blocks.
std::map<std::string, std::pair<double, double>> ReportedQva(const std::string& results) {
    std::map<std::string, std::pair<double, double>> qva;
    const QRegularExpression symbolLine("^Symbol\\.\\.\\.\\.(\\S+)");
    const QRegularExpression qvaLine("^Call QVA\\.\\.(-?[0-9.]+)%\\s+Put QVA\\.\\.\\.(-?[0-9.]+)%");
    std::string symbol;
    for (const std::string& line : Lines(results)) {
        const QString text = QString::fromStdString(line);
        if (const auto match = symbolLine.match(text); match.hasMatch()) symbol = match.captured(1).toStdString();
        if (const auto match = qvaLine.match(text); match.hasMatch())
            qva[symbol] = {match.captured(1).toDouble(), match.captured(2).toDouble()};
    }
    return qva;
}

// The report without its time stamps (line 14 of each block carries the date from column 45 on).
std::string WithoutTimeStamps(const std::string& results) {
    std::string out;
    for (std::string line : Lines(results)) {
        if (line.rfind("Volume....", 0) == 0) line = line.substr(0, 44);
        out += line + "\n";
    }
    return out;
}

std::string WriteMarket(const ProgramDirectory& dir) {
    const std::string path = dir.Dir() + "/market.csv";
    EXPECT_TRUE(ReplaceFile(path, Market()));
    return path;
}

TEST(LiveRunTest, AnEncryptedPassFindsThePricedVolatilitiesKeepsTheirHistoryAndReplaysAlike) {
    QTemporaryDir certificates;
    const TestCertificate certificate =
        MakeTestCertificate(certificates.path(), "server", "127.0.0.1", "IP:127.0.0.1,DNS:localhost");
    ASSERT_FALSE(certificate.Certificate.isEmpty()) << certificate.Failure.toStdString();
    ProgramDirectory live("live");
    QuoteServerProcess server(
        live.ServerArguments(WriteMarket(live), {"--tls-cert", certificate.Certificate, "--tls-key", certificate.Key}));
    ASSERT_GT(server.Port(), 0);
    live.WriteSettings(server.Port(), [](UserSettings& settings) { settings.SwitchText = " Https "; });
    live.WriteSymbols({"ABC", "BIGCO", "DRP", "NOPE", "SLW"});
    const RunResult run = live.Run("server", 5, {"--verbose", "--ca-file", certificate.Certificate});
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(run.Output.find("Error"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("unencrypted"), std::string::npos);
    EXPECT_EQ(SymbolsOf(live.Read(live.Paths().FnBadSym)), std::vector<std::string>{"NOPE"});
    EXPECT_EQ(live.ServerLog().count("getquote.dll"), 5) << "one stock request per symbol";

    const auto qva = ReportedQva(live.Read(live.Paths().FnResults));
    ASSERT_EQ(qva.size(), Priced.size());
    for (const auto& [symbol, volatilities] : Priced) {
        SCOPED_TRACE(symbol);
        ASSERT_EQ(qva.count(symbol), 1u);
        EXPECT_NEAR(qva.at(symbol).first, volatilities.Call * 100, 0.5);
        EXPECT_NEAR(qva.at(symbol).second, volatilities.Put * 100, 0.5);
    }

    // The live pass kept each symbol with quotes in the history, as of its quote date.
    HistoryStore history;
    ASSERT_FALSE(history.Open(live.Paths().FnHistory));
    for (const auto& [symbol, volatilities] : Priced) {
        const std::vector<HistoryDay> days = history.Days(symbol);
        ASSERT_EQ(days.size(), 1u) << symbol;
        EXPECT_EQ(days[0].Date, "2026-03-04");
        EXPECT_NEAR(*days[0].QVAC, volatilities.Call, 0.005) << symbol;
    }
    EXPECT_TRUE(history.Days("NOPE").empty());

    ProgramDirectory replay("replay");
    fs::copy_file(live.Paths().FnSettings, replay.Paths().FnSettings);
    fs::copy_file(live.Paths().DefaultFnSym, replay.Paths().DefaultFnSym);
    fs::copy_file(live.Paths().FnQuote, replay.Paths().FnQuote);
    const RunResult replayed = replay.Run("local");
    ASSERT_EQ(replayed.ExitCode, 0) << replayed.Output;
    EXPECT_EQ(WithoutTimeStamps(replay.Read(replay.Paths().FnResults)),
              WithoutTimeStamps(live.Read(live.Paths().FnResults)));
    EXPECT_FALSE(fs::exists(replay.Paths().FnHistory)); // a replay records nothing

    // A live pass that finds no quotes writes no quote cache, and its summary says so.
    live.WriteSymbols({"NOPE"});
    const RunResult none = live.Run("server", 5, {"--ca-file", certificate.Certificate});
    EXPECT_NE(none.Output.find("Files written in " + live.Dir() + ": BadSym.txt\n"), std::string::npos) << none.Output;
}

} // namespace
