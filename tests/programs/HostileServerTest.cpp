// A live pass of quillon-cli against a stand-in server that drops the connection, asks to try
// again, or answers with junk, NUL bytes, ten megabytes, a body cut off half-way, an answer that
// never ends, a gzip bomb or a chunked body broken off by a chunk size that does not read. Each
// row says where its symbol must end and how often its pages may be asked for.

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <filesystem>

#include "support/QuoteServerProcess.h"
#include "LiveRunSupport.h"
#include "support/SanitizerBuild.h"

namespace {

struct Row {
    const char* Flag;     // the server's fault option; empty for the clean symbol
    const char* Symbol;
    bool Good;            // GoodSym.txt, else BadSym.txt
    int StockRequests;    // how often the stock page was asked for
    int OptionRequests;
};

// A 5 ms tick: the 600-tick time-out of the endless answer is three seconds.
constexpr int TickMs = 5;
const Row Rows[] = {
    {"", "G00001", true, 1, 1},
    {"--junk", "G00002", false, 1, 0},       // nothing to read: bad, not retried
    {"--nul", "G00003", true, 1, 1},         // NUL bytes are blanks, the page reads as usual
    {"--huge", "G00004", false, 1, 0},       // abandoned at the 4 MB cap
    {"--cut-body", "G00005", true, 2, 1},    // a transfer error: asked again
    {"--hang", "G00006", true, 2, 1},        // timed out: asked again
    {"--gzip-bomb", "G00007", true, 2, 1},   // compressed though not asked for: asked again
    {"--drop", "G00008", true, 2, 1},        // closed before the body: asked again
    {"--try-again", "G00009", false, 1, 0},  // the server's refusal page: bad, not retried
    {"--bad-chunk", "G00010", true, 2, 1},   // a broken chunked body is no page: asked again
};
const QStringList Market{"--generate", "10"};

QStringList FaultArguments() {
    QStringList arguments = Market;
    for (const Row& row : Rows)
        if (*row.Flag != '\0') arguments << row.Flag << row.Symbol;
    return arguments;
}

std::vector<std::string> RowSymbols() {
    std::vector<std::string> symbols;
    for (const Row& row : Rows) symbols.push_back(row.Symbol);
    return symbols;
}

// The run's peak resident size in kilobytes; the run must end well.
long RunPass(const ProgramDirectory& dir) {
    QProcess cli;
    dir.Start(cli, "server", TickMs);
    EXPECT_TRUE(cli.waitForStarted(10000));
    const long peak = PeakKilobytesUntilFinished(cli);
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAll().toStdString();
    return peak;
}

TEST(HostileServerTest, HostileAnswersEndTheirSymbolOrAreRetriedAndNeverReachTheFiles) {
    ProgramDirectory clean("hostile-clean");
    long cleanPeak = 0;
    {
        QuoteServerProcess server(clean.ServerArguments("", Market));
        ASSERT_GT(server.Port(), 0);
        clean.WriteSettings(server.Port());
        clean.WriteSymbols(RowSymbols());
        cleanPeak = RunPass(clean);
    }

    ProgramDirectory dir("hostile");
    QuoteServerProcess server(dir.ServerArguments("", FaultArguments()));
    ASSERT_GT(server.Port(), 0);
    dir.WriteSettings(server.Port());
    dir.WriteSymbols(RowSymbols());
    const long hostilePeak = RunPass(dir);

    const std::string good = dir.Read(dir.Paths().FnGoodSym);
    const std::string bad = dir.Read(dir.Paths().FnBadSym);
    const QString log = dir.ServerLog();
    for (const Row& row : Rows) {
        SCOPED_TRACE(std::string(row.Flag) + " " + row.Symbol);
        EXPECT_EQ(HasLineStarting(good, row.Symbol), row.Good);
        EXPECT_EQ(HasLineStarting(bad, row.Symbol), !row.Good);
        EXPECT_EQ(log.count(QString("getquote.dll?TICKER=%1 ").arg(row.Symbol)), row.StockRequests) << log.toStdString();
        EXPECT_EQ(log.count(QString("options.dll?TICKER=%1 ").arg(row.Symbol)), row.OptionRequests);
    }

    // The good symbols come out as they do from a clean server, and nothing of a hostile answer
    // (no NUL byte, no junk) is written anywhere.
    std::vector<std::string> expectedGood;
    for (const std::string& line : Lines(clean.Read(clean.Paths().FnGoodSym)))
        for (const Row& row : Rows)
            if (row.Good && line.rfind(row.Symbol, 0) == 0) expectedGood.push_back(line);
    EXPECT_EQ(Lines(good), expectedGood);
    for (const std::string& file : {dir.Paths().FnGoodSym, dir.Paths().FnBadSym, dir.Paths().FnQuote,
                                    dir.Paths().FnResults, dir.Paths().FnSavedSym}) {
        const std::string text = dir.Read(file);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\0'), 0) << file;
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }))
            << file;
    }

    // Abandoning the ten megabytes at the 4 MB cap costs about 16 MB of peak (the transfer's
    // buffer, the page text, the network layer's own); taking the whole answer in costs over 21.
    ASSERT_GT(cleanPeak, 0);
    if (!UnderAddressSanitizer) {
        EXPECT_LT(hostilePeak - cleanPeak, 19 * 1024) << cleanPeak << " kB clean, " << hostilePeak << " kB hostile";
    }
}

} // namespace
