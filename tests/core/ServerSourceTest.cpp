// The quote retrieval against a scripted transfer and a hand-driven tick: what is asked, when it
// is asked again, and what reaches the parsers and the quote cache. The scenes are the scripts of
// cases/scripts/server-source.txt.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "core/quotes/OptionCalendar.h"
#include "core/run/ServerSource.h"
#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"
#include "support/LoggingRunHost.h"
#include "support/Transcript.h"

namespace {

const LocalDateTime Now{2026, 3, 4, 11, 30, 0};

// A page that holds its text, read in the pieces the reader asks for; the pieces are logged.
class StringBody final : public HttpResponseBody {
public:
    explicit StringBody(std::string text) : text_(std::move(text)) {}
    std::string GetChunk(std::size_t maxLength) override
    {
        const std::string piece = text_.substr(std::min(position_, text_.size()), maxLength);
        position_ += piece.size();
        if (!piece.empty()) ++pieces, largest = std::max(largest, piece.size()), total += piece.size();
        return piece;
    }
    std::size_t pieces = 0, largest = 0, total = 0;

private:
    std::string text_;
    std::size_t position_ = 0;
};

class LoggingTransfer final : public HttpTransfer {
public:
    explicit LoggingTransfer(std::vector<std::string>& log) : log_(log) {}
    void Start(const HttpRequest& r, HttpTransferListener& listener) override
    {
        log_.push_back("request " + std::string(r.UseTls ? "https://" : "http://") + r.UserName + ":" + r.Password +
                       "@" + r.Host + ":" + std::to_string(r.Port) + r.Path + " (at most " +
                       std::to_string(r.MaxBodyBytes) + " bytes)");
        listener_ = &listener;
        running_ = true;
    }
    void Cancel() override
    {
        if (running_) log_.push_back("cancelled");
        running_ = false;
    }
    // Delivers an answer to the transfer in progress, as the event loop would.
    void Complete(int status, const std::string& text)
    {
        StringBody body(text);
        running_ = false;
        listener_->Completed(status, body);
        log_.push_back("read " + std::to_string(body.total) + " bytes in " + std::to_string(body.pieces) +
                       " pieces of at most " + std::to_string(body.largest));
    }
    void Fail(int code, const std::string& text)
    {
        running_ = false;
        listener_->Failed(code, text);
    }
    HttpTransferListener& Listener() { return *listener_; }

private:
    std::vector<std::string>& log_;
    HttpTransferListener* listener_ = nullptr;
    bool running_ = false;
};

// A page as a script writes it: {stock LAST} is a stock page with that last sale, {option ROOT} an
// option page with one call of ROOT at strike position 2 and the nearest expiration of Now's
// calendar (last sale 47.5), {N*C} the character C N times; the rest stands for itself.
std::string Page(const std::string& recipe)
{
    std::string page;
    for (std::size_t i = 0; i < recipe.size(); ++i) {
        const std::size_t close = recipe.find('}', i);
        if (recipe[i] != '{' || close == std::string::npos) {
            page += recipe[i];
            continue;
        }
        const std::string inner = recipe.substr(i + 1, close - i - 1);
        i = close;
        if (inner.starts_with("stock "))
            page += "<html><p>quote</p><p>sec filings</p><p>last trade</p><p>Acme Widgets</p><p>Last Sale</p><p>" +
                    inner.substr(6) + "</p><p>Yield</p><p>1.5</p></html>";
        else if (inner.starts_with("option "))
            page += "<table><tr><td>Call (.<b>" + inner.substr(7) + BuildExpirationCalendar(Now).ExpiryMonthCode[0][0] +
                    SelectStrikes(47.5f).StrikeCode[2] +
                    "</b>)</td><td>2.5</td><td>0.1</td><td>2.4</td><td>2.6</td><td>10</td><td>100</td></tr></table>";
        else
            page += std::string(std::stoul(inner), inner.back());
    }
    return page;
}

class ServerScene : public DirectoryScene {
public:
    ServerScene() : clock(Now), state(clock)
    {
        state.Paths = FilePaths::Build(directory.Path());
        state.Settings.DnsName = "127.0.0.1";
        state.Settings.PortNumber = 8123;
        state.Settings.UserName = "NORVALE";
        state.Settings.Password = "lantern4";
        state.Settings.GetQuoteString = "/cgi-bin/getquote.dll?TICKER=";
        state.Settings.GetOptionsQuoteString = "/cgi-bin/options.dll?TICKER=";
        state.Run.RunState = Running;
        state.Run.CurrentSymbol = "ABC";
        NewSource();
    }

    void Do(const std::string& verb, const std::string& arguments)
    {
        std::istringstream words(arguments);
        int number = 1;
        std::string rest;
        if (verb == "server") { // HOST [SWITCH]: the settings the next source takes
            words >> state.Settings.DnsName;
            std::getline(words >> std::ws, state.Settings.SwitchText);
        } else if (verb == "new-source") {
            NewSource();
        } else if (verb == "symbol") {
            words >> state.Run.CurrentSymbol;
        } else if (verb == "begin") {
            source->BeginSymbol();
        } else if (verb == "tick") { // the run controller's timer, N ticks (1 when not given)
            words >> number;
            Tick(number);
        } else if (verb == "progress") {
            words >> number;
            transfer.Listener().StateChanged(number);
        } else if (verb == "answer") {
            words >> number;
            std::getline(words >> std::ws, rest);
            transfer.Complete(number, Page(rest));
        } else if (verb == "fail") {
            words >> number;
            std::getline(words >> std::ws, rest);
            transfer.Fail(number, rest);
        } else if (verb == "go") {
            state.Run.RunState = Running;
        } else if (verb == "close") {
            state.Run.RunState = CloseRequested;
        } else if (verb == "cancel") {
            source->Cancel();
        } else if (verb == "fetch") { // both pages of a symbol with good answers
            Do("symbol", arguments);
            Do("begin", "");
            Do("tick", "10");
            Do("progress", "5");
            Do("answer", "200 {stock 47 1/2}");
            Do("tick", "10");
            Do("progress", "5");
            Do("answer", "200 {option " + arguments + "}");
            Do("tick", "");
        } else if (verb == "show") {
            Show(arguments);
        } else if (verb == "start-pass") { // at symbol INDEX [resumed]
            words >> state.Run.SymbolIndex >> rest;
            state.Run.PassResumed = rest == "resumed";
            log.push_back(source->StartPass() ? "started" : "not started");
        } else if (!DoInDirectory(verb, arguments)) {
            ADD_FAILURE() << "no action " << verb;
        }
    }

private:
    void NewSource()
    {
        source = std::make_unique<ServerSource>(state, host, transfer, [this] {
            log.push_back("paused");
            state.Run.RunState = Waiting;
        });
    }

    // Counts the retrieval's countdowns down by n ticks, stepping the source after each, until the
    // source has its result.
    void Tick(int n)
    {
        std::optional<std::int16_t> ok = source->Step();
        for (int i = 0; i < n && !ok; ++i) {
            if (state.Run.SettleTicks != 0) --state.Run.SettleTicks;
            if (state.Run.TimeoutTicks != 0) --state.Run.TimeoutTicks;
            ok = source->Step();
        }
        if (ok) log.push_back("result " + std::to_string(*ok));
    }

    void Show(const std::string& what)
    {
        if (what == "countdowns") {
            log.push_back("settle " + std::to_string(state.Run.SettleTicks) + ", time-out " +
                          std::to_string(state.Run.TimeoutTicks) + ", outcome " +
                          std::to_string(source->TransferOutcome()));
        } else if (what == "quote") {
            const StockQuote& stock = state.Quote.Stock;
            log.push_back("last " + FormatSingle(stock.LastSale) + ", name \"" + stock.CompanyName + "\", bid of call " +
                          state.Quote.Series.OptSymbol[Calls][2][0] + " " +
                          FormatSingle(state.Quote.Series.OptBid[Calls][2][0]) + ", page held " +
                          std::to_string(state.Page.PageText.size()) + " bytes");
        } else {
            ShowFile(what);
        }
    }

    FixedClock clock;
    SharedState state;
    LoggingRunHost host{log};
    LoggingTransfer transfer{log};
    std::unique_ptr<ServerSource> source; // takes the settings when it is made
};

TEST(ServerSource, PlaysItsScripts) { PlayScripts<ServerScene>("server-source.txt"); }

} // namespace
