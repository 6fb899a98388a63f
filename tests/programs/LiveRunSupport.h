#pragma once
// A program directory for live runs of quillon-cli against the stand-in quote server on loopback:
// its settings, its symbol file, the runner started on it, and the files it leaves.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "BuiltProgram.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"
#include "support/QuoteCacheGenerator.h"

inline const char* const NowText = "2026-03-04 11:30:00";
inline const std::string PreviousResults = "results of the pass before\r\n";

struct RunResult {
    int ExitCode = -1; // -1: the run did not end by itself in time
    std::string Output;
};

class ProgramDirectory {
public:
    explicit ProgramDirectory(const std::string& name) {
        // The process id keeps test runs of several checkouts on one machine apart.
        path_ = std::filesystem::path(::testing::TempDir()) / ("LiveRun-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        paths_ = FilePaths::Build(path_.string());
    }
    const FilePaths& Paths() const { return paths_; }
    std::string Dir() const { return path_.string(); }

    // Settings for the server at 127.0.0.1:`port` that save every symbol with an included option
    // (the option criteria off).
    void WriteSettings(int port) {
        UserSettings settings;
        SetDefaults(settings);
        settings.DnsName = "127.0.0.1";
        settings.PortNumber = port;
        settings.FnSym = paths_.DefaultFnSym;
        for (Criterion* criterion : {&settings.MinOptInt, &settings.MinTimeVal, &settings.MinQVAC_QVAP,
                                     &settings.MinQVAP_QVAC})
            *criterion = ValueCheck("NA");
        settings.Credentials = CredentialsOf(settings.UserName, settings.Password);
        ASSERT_TRUE(::WriteSettings(settings, paths_.FnSettings));
    }
    void WriteSymbols(const std::vector<std::string>& symbols) {
        std::string text;
        for (const std::string& symbol : symbols) text += symbol + "\r\n";
        ASSERT_TRUE(ReplaceFile(paths_.DefaultFnSym, text));
    }
    std::string Read(const std::string& file) const { return ReadWholeFile(file).value_or(""); }

    // Starts `quillon-cli run --quiet` on this directory with a fixed date; the caller waits for it.
    void Start(QProcess& cli, const QString& source, int tickMs) const {
        cli.setProgram(BuiltProgram("quillon-cli"));
        cli.setArguments({"run", "--dir", QString::fromStdString(Dir()), "--source", source, "--tick-ms",
                          QString::number(tickMs), "--now", NowText, "--quiet"});
        cli.setProcessChannelMode(QProcess::MergedChannels);
        cli.start();
    }
    RunResult Run(const QString& source, int tickMs = 5) const {
        QProcess cli;
        Start(cli, source, tickMs);
        const ProgramEnd end = WaitForEnd(cli);
        return {end.Crashed ? -1 : end.ExitCode, end.Output.toStdString()};
    }

private:
    std::filesystem::path path_;
    FilePaths paths_;
};

// The symbol of each line (its first field), header lines (blank or dashed at the start) left out.
inline std::vector<std::string> SymbolsOf(const std::string& text) {
    std::vector<std::string> symbols;
    for (const std::string_view line : SplitLines(text)) {
        std::string symbol(line.substr(0, line.find(' ')));
        if (!symbol.empty() && symbol.find('-') == std::string::npos) symbols.push_back(std::move(symbol));
    }
    return symbols;
}

// A pass writes its symbols in ascending order, so a symbol at or below the last one kept marks a
// restart that went back to its progress record. Returns the symbols without the redone ones, and
// how many were redone at each restart.
inline std::pair<std::vector<std::string>, std::vector<int>> WithoutRedone(const std::vector<std::string>& symbols) {
    std::vector<std::string> kept;
    std::vector<int> redone;
    for (const std::string& symbol : symbols) {
        if (!kept.empty() && kept.back() >= symbol) redone.push_back(0);
        while (!kept.empty() && kept.back() >= symbol) {
            kept.pop_back();
            ++redone.back();
        }
        kept.push_back(symbol);
    }
    return {kept, redone};
}

// G00001, G00002, ...: the symbols of the server's --generate option.
inline std::vector<std::string> GeneratedSymbols(int count) {
    std::vector<std::string> symbols;
    for (int i = 1; i <= count; ++i) symbols.push_back(QString("G%1").arg(i, 5, 10, QChar('0')).toStdString());
    return symbols;
}

// A program directory to replay: a generated quote cache of `count` symbols with its symbol list and
// settings, and the results of a pass before.
inline void PrepareGeneratedReplay(const ProgramDirectory& dir, int count) {
    quote_cache_generator::GenerateQuoteCache(dir.Dir(), count, LocalDateTime{2026, 3, 4, 11, 30, 0});
    ASSERT_TRUE(ReplaceFile(dir.Paths().FnResults, PreviousResults));
}
