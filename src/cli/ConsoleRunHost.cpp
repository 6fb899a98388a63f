#include "cli/ConsoleRunHost.h"

namespace {

std::string WithPlainLineEnds(std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

} // namespace

ConsoleRunHost::ConsoleRunHost(const SharedState& state, Options options,
                               std::function<bool()> repeat, std::FILE* out)
    : state_(state), options_(options), repeat_(std::move(repeat)), out_(out)
{
}

void ConsoleRunHost::SetStatus1(const std::string& text) { ShowStatus(text); }

void ConsoleRunHost::SetStatus2(const std::string& text) { ShowStatus(text); }

void ConsoleRunHost::ShowStatus(const std::string& text)
{
    if (options_.Quiet) return;
    std::string line;
    if (state_.Symbols.SymbolCount > 0 && state_.SymbolsLoaded)
        line = "[" + std::to_string(state_.Run.SymbolIndex) + "/" +
               std::to_string(state_.Symbols.SymbolCount) + "] ";
    line += text;
    if (!options_.Terminal) {
        std::fprintf(out_, "%s\n", line.c_str());
        return;
    }
    // Back to the line's start, the new text, and the rest of the old one erased.
    std::fprintf(out_, "\r%s\x1b[K", line.c_str());
    std::fflush(out_);
    lineOpen_ = true;
}

void ConsoleRunHost::ShowMessage(const std::string& text) { WriteLine("Quillon: " + WithPlainLineEnds(text)); }

bool ConsoleRunHost::AskYesNo(const std::string& text, const std::string& title)
{
    WriteLine("Quillon: " + title + " " + text + " No");
    return false;
}

void ConsoleRunHost::Beep()
{
    std::fputc('\a', out_);
    std::fflush(out_);
}

void ConsoleRunHost::AnnounceSaved(const std::string& symbol) { WriteLine(SavedAlarmText(symbol)); }

void ConsoleRunHost::WriteLine(const std::string& line)
{
    EndStatusLine();
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void ConsoleRunHost::EndStatusLine()
{
    if (!lineOpen_) return;
    std::fputc('\n', out_);
    lineOpen_ = false;
}
