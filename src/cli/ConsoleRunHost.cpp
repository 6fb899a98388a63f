#include "cli/ConsoleRunHost.h"

#include <cmath>

#include "cli/TerminalProblemText.h"

namespace {

std::string WithPlainLineEnds(std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

std::string OutcomeText(SymbolOutcome outcome, const std::string& detail)
{
    switch (outcome) {
    case SymbolOutcome::Saved: return "good, saved";
    case SymbolOutcome::ScreenedOut: return "good";
    case SymbolOutcome::NoQuotes: return "bad";
    case SymbolOutcome::Error: break;
    }
    return "error: " + detail;
}

std::string OneDecimal(double value)
{
    const long tenths = std::lround(value * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// "4.2 s", "42 s", "3:07", "1:02:03".
std::string DurationText(double seconds)
{
    if (seconds < 10) return OneDecimal(seconds) + " s";
    const long whole = std::lround(seconds);
    if (whole < 60) return std::to_string(whole) + " s";
    const auto twoDigits = [](long n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    if (whole < 3600) return std::to_string(whole / 60) + ":" + twoDigits(whole % 60);
    return std::to_string(whole / 3600) + ":" + twoDigits(whole / 60 % 60) + ":" + twoDigits(whole % 60);
}

} // namespace

// The output files this pass has put something into.
std::string ConsoleRunHost::WrittenFiles(const PassTally& tally) const
{
    std::string files;
    const auto add = [&files](bool written, const char* name) {
        if (written) files += (files.empty() ? "" : ", ") + std::string(name);
    };
    add(tally.WithQuotes > 0, "GoodSym.txt");
    add(tally.WithoutQuotes > 0, "BadSym.txt");
    add(tally.Saved > 0, "SavedSym.txt");
    add(tally.Saved > 0, "Results.txt");
    add(tally.WithQuotes > 0 && !state_.Settings.GetQuoteFromLocalFile, "Quote.txt");
    return files.empty() ? "none" : files;
}

ConsoleRunHost::ConsoleRunHost(const SharedState& state, Options options, std::function<bool()> repeat,
                               std::FILE* out, std::FILE* errors)
    : state_(state), options_(options), repeat_(std::move(repeat)), out_(out), errors_(errors)
{
}

std::string ConsoleRunHost::Position() const
{
    if (state_.Symbols.SymbolCount == 0 || !state_.SymbolsLoaded) return "";
    return "[" + std::to_string(state_.Run.SymbolIndex) + "/" + std::to_string(state_.Symbols.SymbolCount) + "] ";
}

void ConsoleRunHost::SetStatus1(const std::string& text)
{
    if (options_.Mode == ProgressMode::Verbose) return WriteLine(out_, Position() + text);
    status1_ = text;
    if (options_.Mode == ProgressMode::Terminal) DrawStatusLine();
}

void ConsoleRunHost::SetStatus2(const std::string& text)
{
    if (options_.Mode == ProgressMode::Verbose) return WriteLine(out_, Position() + text);
    status2_ = text;
    if (options_.Mode == ProgressMode::Terminal) DrawStatusLine();
}

// Symbols per second and the time the rest of the pass takes at that pace; empty before the
// first symbol.
std::string ConsoleRunHost::PaceText() const
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - passStart_).count();
    if (evaluated_ == 0 || seconds <= 0) return "";
    const double perSecond = evaluated_ / seconds;
    const int left = state_.Symbols.SymbolCount - state_.Run.SymbolIndex + 1;
    return OneDecimal(perSecond) + "/s, " + DurationText(left / perSecond) + " left, ";
}

void ConsoleRunHost::DrawStatusLine()
{
    std::string line = Position() + status1_;
    if (!status2_.empty()) line += ": " + status2_;
    line += "  (" + PaceText() + std::to_string(saved_) + " saved)";
    // A line longer than the terminal would wrap, and the carriage return would then rewrite only
    // its last row.
    const std::size_t room = options_.TerminalColumns > 1 ? static_cast<std::size_t>(options_.TerminalColumns - 1) : 0;
    if (line.size() > room) line.resize(room);
    // Back to the line's start, the new text, and the rest of the old one erased.
    std::fprintf(out_, "\r%s\x1b[K", line.c_str());
    std::fflush(out_);
    lineOpen_ = true;
}

void ConsoleRunHost::SymbolDone(const std::string& symbol, SymbolOutcome outcome, const std::string& detail)
{
    ++evaluated_;
    if (outcome == SymbolOutcome::Saved) ++saved_;
    status2_.clear();
    const std::string line = Position() + symbol + " " + OutcomeText(outcome, detail);
    if (outcome == SymbolOutcome::Error && options_.Mode != ProgressMode::Verbose) return WriteLine(errors_, line);
    if (options_.Mode == ProgressMode::Lines) WriteLine(out_, line);
}

void ConsoleRunHost::PassDone(const PassTally& tally)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - passStart_).count();
    std::string summary = "Pass done: " + std::to_string(tally.Evaluated) + " symbols in " + DurationText(seconds) +
                          ": " + std::to_string(tally.WithQuotes) + " with quotes, " +
                          std::to_string(tally.WithoutQuotes) + " without, " + std::to_string(tally.Saved) +
                          " saved";
    if (tally.Errors > 0) summary += ", " + std::to_string(tally.Errors) + " errors";
    summary += "\nFiles written in " + state_.Paths.ProgramDirectory + ": " + WrittenFiles(tally);
    WriteLine(out_, summary);
    passStart_ = std::chrono::steady_clock::now();
    evaluated_ = 0;
    saved_ = 0;
    status1_.clear();
    status2_.clear();
}

void ConsoleRunHost::ShowMessage(const std::string& text) { WriteLine(errors_, "Quillon: " + WithPlainLineEnds(text)); }

void ConsoleRunHost::ShowProblem(RunProblem problem, const std::string& path)
{
    ShowMessage(TerminalProblemText(problem, path));
}

bool ConsoleRunHost::AskYesNo(const std::string& text, const std::string& title)
{
    WriteLine(errors_, "Quillon: " + title + " " + text + " No");
    return false;
}

void ConsoleRunHost::Beep()
{
    std::fputc('\a', out_);
    std::fflush(out_);
}

// A saved symbol's own line is its outcome line, and the status line counts it; only the verbose
// account, which has every status text, gives the alarm a line.
void ConsoleRunHost::AnnounceSaved(const std::string& symbol)
{
    if (options_.Mode == ProgressMode::Verbose) WriteLine(out_, Position() + SavedAlarmText(symbol));
}

void ConsoleRunHost::WriteLine(std::FILE* stream, const std::string& line)
{
    EndStatusLine();
    std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stream);
}

void ConsoleRunHost::EndStatusLine()
{
    if (!lineOpen_) return;
    // The status line goes; what is printed in its place stays.
    std::fputs("\r\x1b[K", out_);
    std::fflush(out_);
    lineOpen_ = false;
}
