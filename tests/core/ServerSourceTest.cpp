// The quote retrieval against a scripted transfer and a hand-driven tick: what is asked, when it
// is asked again, and what reaches the parsers and the quote cache.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/run/ServerSource.h"
#include "core/run/TransferSecurity.h"
#include "support/FakeRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

const LocalDateTime Now{2026, 3, 4, 11, 30, 0};

class StringBody final : public HttpResponseBody {
public:
    explicit StringBody(std::string text) : text_(std::move(text)) {}
    std::string GetChunk(std::size_t maxLength) override {
        const std::string piece = text_.substr(std::min(position_, text_.size()), maxLength);
        position_ += piece.size();
        if (!piece.empty()) pieces.push_back(piece.size());
        return piece;
    }
    std::vector<std::size_t> pieces;

private:
    std::string text_;
    std::size_t position_ = 0;
};

class FakeTransfer final : public HttpTransfer {
public:
    void Start(const HttpRequest& request, HttpTransferListener& listener) override {
        requests.push_back(request);
        listener_ = &listener;
        running = true;
    }
    void Cancel() override {
        if (running) ++cancels;
        running = false;
    }
    // Delivers an answer to the transfer in progress, as the event loop would.
    std::vector<std::size_t> Complete(int status, const std::string& body) {
        StringBody reader(body);
        running = false;
        listener_->Completed(status, reader);
        return reader.pieces;
    }
    void Fail(int code, const std::string& text) {
        running = false;
        listener_->Failed(code, text);
    }
    HttpTransferListener& Listener() { return *listener_; }

    std::vector<HttpRequest> requests;
    bool running = false;
    int cancels = 0;

private:
    HttpTransferListener* listener_ = nullptr;
};

std::string StockPage(const std::string& lastSale) {
    return "<html><p>quote</p><p>sec filings</p><p>last trade</p><p>Acme Widgets</p>"
           "<p>Last Sale</p><p>" + lastSale + "</p><p>Yield</p><p>1.5</p></html>";
}

// One call row at strike position 2 and the nearest expiration of the calendar of Now.
std::string OptionPage(const std::string& root, float lastSale) {
    const ExpirationCalendar calendar = BuildExpirationCalendar(Now);
    const StrikeTable strikes = SelectStrikes(lastSale);
    const std::string symbol = root + calendar.ExpiryMonthCode[0][0] + strikes.StrikeCode[2];
    return "<table><tr><td>Call (.<b>" + symbol + "</b>)</td><td>2.5</td><td>0.1</td><td>2.4</td>"
           "<td>2.6</td><td>10</td><td>100</td></tr></table>";
}

class ServerSourceTest : public ::testing::Test {
protected:
    ServerSourceTest() : clock(Now), state(clock) {
        state.Paths = FilePaths::Build(directory.Path());
        state.Settings.DnsName = "127.0.0.1";
        state.Settings.PortNumber = 8123;
        state.Settings.UserName = "NORVALE";
        state.Settings.Password = "lantern4";
        state.Settings.GetQuoteString = "/cgi-bin/getquote.dll?TICKER=";
        state.Settings.GetOptionsQuoteString = "/cgi-bin/options.dll?TICKER=";
        state.Run.RunState = Running;
        state.Run.CurrentSymbol = "ABC";
        MakeSource();
    }

    // A source on the settings as they are now, as the run window makes one when it opens.
    void MakeSource() {
        source = std::make_unique<ServerSource>(state, host, transfer, [this] {
            ++pauses;
            state.Run.RunState = Waiting;
        });
    }

    // Fetches both pages of `symbol` with good answers; the symbol's result.
    std::optional<std::int16_t> FetchSymbol(const std::string& symbol) {
        state.Run.CurrentSymbol = symbol;
        source->BeginSymbol();
        Tick(SettleTickCount);
        transfer.Listener().StateChanged(5);
        transfer.Complete(200, StockPage("47 1/2"));
        Tick(SettleTickCount);
        transfer.Listener().StateChanged(5);
        transfer.Complete(200, OptionPage(symbol, 47.5f));
        return Tick();
    }

    long Count(const std::vector<std::string>& lines, const std::string& text) {
        return std::count(lines.begin(), lines.end(), text);
    }

    // The run controller's timer: counts the retrieval's countdowns down by n ticks, stepping the
    // source after each, and returns the source's result once it has one.
    std::optional<std::int16_t> Tick(int n = 1) {
        std::optional<std::int16_t> ok = source->Step();
        for (int i = 0; i < n && !ok; ++i) {
            if (state.Run.SettleTicks != 0) --state.Run.SettleTicks;
            if (state.Run.TimeoutTicks != 0) --state.Run.TimeoutTicks;
            ok = source->Step();
        }
        return ok;
    }

    std::string Cache() { return ReadWholeFile(state.Paths.FnQuote).value_or(""); }

    TemporaryDirectory directory;
    FixedClock clock;
    SharedState state;
    FakeRunHost host;
    FakeTransfer transfer;
    int pauses = 0;
    std::unique_ptr<ServerSource> source; // takes the settings above when it is made
};

TEST_F(ServerSourceTest, FetchesStockThenOptionsAfterTheSettleTimeInPiecesOf1024AndCachesBoth) {
    source->BeginSymbol();
    EXPECT_FALSE(source->Step());
    EXPECT_EQ(state.Run.TimeoutTicks, TimeoutTickCount);
    ASSERT_EQ(transfer.requests.size(), 1u);
    const HttpRequest& stock = transfer.requests[0];
    EXPECT_EQ(stock.Host, "127.0.0.1");
    EXPECT_EQ(stock.Port, 8123);
    EXPECT_EQ(stock.Path, "/cgi-bin/getquote.dll?TICKER=ABC");
    EXPECT_EQ(stock.UserName, "NORVALE");
    EXPECT_EQ(stock.Password, "lantern4");
    EXPECT_EQ(host.status1.back(), "Waiting for stock data of ABC");

    transfer.Listener().StateChanged(1);
    EXPECT_EQ(host.status2.back(), "Resolvig Host Name");
    std::string body = StockPage("47 1/2");
    body += std::string(2500 - body.size(), ' ');
    EXPECT_EQ(transfer.Complete(200, body), (std::vector<std::size_t>{1024, 1024, 452}));
    EXPECT_EQ(host.status2.back(), "Received 2500 Bytes Total");
    EXPECT_EQ(source->TransferOutcome(), 1);
    EXPECT_FALSE(Tick(SettleTickCount - 1));
    EXPECT_EQ(host.status1.back(), "Extracting stock data");
    EXPECT_EQ(transfer.requests.size(), 1u) << "the option page waits out the settle time";
    EXPECT_FALSE(Tick());
    ASSERT_EQ(transfer.requests.size(), 2u);
    EXPECT_EQ(transfer.requests[1].Path, "/cgi-bin/options.dll?TICKER=ABC");
    EXPECT_EQ(host.status1.back(), "Waiting for options data of ABC");

    transfer.Complete(200, OptionPage("ABC", 47.5f));
    EXPECT_EQ(Tick(), std::optional<std::int16_t>(1));
    EXPECT_EQ(host.status1.back(), "Extracting options data");
    EXPECT_FLOAT_EQ(state.Quote.Stock.LastSale, 47.5f);
    EXPECT_EQ(state.Quote.Stock.CompanyName, "ACME WIDGETS") << "the page is upper-cased";
    EXPECT_FLOAT_EQ(state.Quote.Series.OptBid[0][2][0], 2.4f);
    const std::string cache = Cache();
    EXPECT_EQ(cache.find("\"<STOCK>ABC\"\r\n"), 0u);
    EXPECT_NE(cache.find("<OPTIONS>YES"), std::string::npos);
}

TEST_F(ServerSourceTest, RetriesAfterAnErrorOnceTheSettleTimeIsOverAndAfterATimeOut) {
    source->BeginSymbol();
    Tick();
    host.lamp = Lamp::Running;
    transfer.Fail(12029, "Connection refused");
    EXPECT_EQ(host.status2.back(), "Error 12029 : Connection refused, retry 1: check Setup - Quote Server (127.0.0.1:8123)");
    EXPECT_EQ(host.lamp, Lamp::Retrying);
    EXPECT_EQ(source->TransferOutcome(), -1);
    EXPECT_FALSE(Tick(SettleTickCount - 1));
    EXPECT_EQ(transfer.requests.size(), 1u);
    EXPECT_FALSE(Tick());
    ASSERT_EQ(transfer.requests.size(), 2u);
    EXPECT_EQ(transfer.requests[1].Path, transfer.requests[0].Path);

    // No answer at all: 600 ticks later the request is abandoned and made again.
    EXPECT_FALSE(Tick(TimeoutTickCount - 1));
    EXPECT_EQ(transfer.requests.size(), 2u);
    const int cancelsBefore = transfer.cancels;
    EXPECT_FALSE(Tick());
    EXPECT_EQ(host.status2.back(), "No answer in 60 seconds, retry 2: check Setup - Quote Server (127.0.0.1:8123)");
    EXPECT_EQ(transfer.cancels, cancelsBefore + 1);
    ASSERT_EQ(transfer.requests.size(), 3u);
    EXPECT_EQ(transfer.requests[2].Path, "/cgi-bin/getquote.dll?TICKER=ABC");

    // A redirect is not followed: it counts as an error.
    transfer.Complete(302, "moved");
    EXPECT_EQ(host.status2.back(), "Error 302 : Redirect not followed, retry 3: check Setup - Quote Server (127.0.0.1:8123)");
    EXPECT_FALSE(Tick(SettleTickCount));
    EXPECT_EQ(transfer.requests.size(), 4u);

    // An answer ends the retries: the lamp is back to running and the count starts again.
    transfer.Complete(200, StockPage("12"));
    EXPECT_EQ(host.lamp, Lamp::Running);
    Tick(SettleTickCount);
    transfer.Fail(12029, "Connection refused");
    EXPECT_EQ(host.status2.back(), "Error 12029 : Connection refused, retry 1: check Setup - Quote Server (127.0.0.1:8123)");
}

TEST_F(ServerSourceTest, UnusableStockPagesEndTheSymbolWithoutAnOptionRequest) {
    for (const std::string& page : {StockPage("N/A"), std::string("<p>Please try again later</p>"),
                                    std::string("<html>Internal error</html>")}) {
        SCOPED_TRACE(page);
        transfer.requests.clear();
        source->BeginSymbol();
        Tick(SettleTickCount);
        transfer.Complete(200, page);
        EXPECT_EQ(Tick(), std::optional<std::int16_t>(0));
        EXPECT_FALSE(Tick(3 * SettleTickCount));
        EXPECT_EQ(transfer.requests.size(), 1u);
    }
    EXPECT_EQ(Cache(), "");
}

TEST_F(ServerSourceTest, ARefusedLoginPausesTheRunAndGoAsksTheSamePageAgain) {
    source->BeginSymbol();
    Tick();
    transfer.Complete(401, "<html>Login refused</html>");
    EXPECT_FALSE(Tick());
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(state.Run.RunState, Waiting);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("Setup - Quote Server"), std::string::npos);
    EXPECT_FALSE(Tick(5 * SettleTickCount)) << "the symbol is held, not given up";
    EXPECT_EQ(transfer.requests.size(), 1u);
    EXPECT_EQ(Cache(), "");

    state.Run.RunState = Running; // Go
    EXPECT_FALSE(Tick());
    ASSERT_EQ(transfer.requests.size(), 2u);
    EXPECT_EQ(transfer.requests[1].Path, "/cgi-bin/getquote.dll?TICKER=ABC");
    transfer.Complete(200, StockPage("12"));
    Tick(SettleTickCount);
    transfer.Complete(403, "forbidden");
    Tick();
    EXPECT_EQ(pauses, 2) << "a refusal of the option page pauses as well";
}

TEST_F(ServerSourceTest, PagesOverFourMegabytesAreAbandonedAsUnusable) {
    ASSERT_EQ(FetchSymbol("ABD"), std::optional<std::int16_t>(1));
    const std::string cached = Cache();
    state.Run.CurrentSymbol = "ABC";
    source->BeginSymbol();
    Tick(SettleTickCount);
    EXPECT_EQ(transfer.requests.back().MaxBodyBytes, MaxPageBytes + 1);
    transfer.Complete(200, StockPage("12") + std::string(MaxPageBytes, 'x'));
    EXPECT_EQ(Tick(), std::optional<std::int16_t>(0));
    EXPECT_EQ(Cache(), cached) << "nothing of an abandoned stock page is cached";
    // The bad symbol's report shows no figures of the symbol before it.
    EXPECT_EQ(state.Quote.Stock.LastSale, 0.0f);
    EXPECT_EQ(state.Quote.Stock.CompanyName, "");
    EXPECT_EQ(state.Quote.Series.OptBid[0][2][0], -1.0f);

    source->BeginSymbol();
    Tick(SettleTickCount);
    transfer.Complete(200, StockPage("12"));
    Tick(SettleTickCount);
    std::vector<std::size_t> pieces = transfer.Complete(200, std::string(MaxPageBytes + 5000, 'y'));
    EXPECT_EQ(pieces.size(), MaxPageBytes / ChunkLength + 1) << "reading stops past the limit";
    EXPECT_EQ(Tick(), std::optional<std::int16_t>(0));
    EXPECT_NE(Cache().find("<OPTIONS>NO\r\n"), std::string::npos) << "the cached stock record is closed";
}

TEST_F(ServerSourceTest, ClosingDuringATransferCancelsItAndIgnoresItsLateAnswer) {
    source->BeginSymbol();
    Tick();
    ASSERT_TRUE(transfer.running);
    state.Run.RunState = CloseRequested;
    EXPECT_FALSE(Tick(TimeoutTickCount));
    EXPECT_EQ(transfer.requests.size(), 1u) << "no time-out reissue while closing";
    source->Cancel();
    EXPECT_FALSE(transfer.running);
    transfer.Complete(200, StockPage("12"));
    EXPECT_EQ(state.Page.PageText, "");
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Cache(), "");
}

TEST_F(ServerSourceTest, APassFromTheFirstSymbolMovesTheCacheToTheBackup) {
    ASSERT_TRUE(ReplaceFile(state.Paths.FnQuote, "old pass\r\n"));
    ASSERT_TRUE(ReplaceFile(state.Paths.FnQuoteBak, "older pass\r\n"));
    state.Run.SymbolIndex = 7;
    EXPECT_TRUE(source->StartPass());
    EXPECT_EQ(Cache(), "old pass\r\n") << "a resumed pass appends";
    state.Run.SymbolIndex = 1;
    state.Run.PassResumed = true;
    EXPECT_TRUE(source->StartPass());
    EXPECT_EQ(Cache(), "old pass\r\n") << "a pass resumed at its first symbol appends too";
    EXPECT_EQ(ReadWholeFile(state.Paths.FnQuoteBak), std::optional<std::string>("older pass\r\n"));
    state.Run.PassResumed = false;
    EXPECT_TRUE(source->StartPass());
    EXPECT_FALSE(FileExists(state.Paths.FnQuote));
    EXPECT_EQ(ReadWholeFile(state.Paths.FnQuoteBak), std::optional<std::string>("old pass\r\n"));
    EXPECT_TRUE(source->StartPass()) << "an absent cache is no error";
    EXPECT_EQ(ReadWholeFile(state.Paths.FnQuoteBak), std::optional<std::string>("old pass\r\n"));
}

TEST_F(ServerSourceTest, APlainRunToAnotherMachineWarnsOnceAndTheWarningOutlastsTheFirstSymbolsProgress) {
    state.Settings.DnsName = "quotes.example.com";
    MakeSource();
    EXPECT_EQ(FetchSymbol("ABC"), std::optional<std::int16_t>(1));
    ASSERT_FALSE(transfer.requests.empty());
    EXPECT_FALSE(transfer.requests[0].UseTls);
    EXPECT_EQ(transfer.requests[0].Host, "quotes.example.com");
    EXPECT_EQ(host.status2, std::vector<std::string>{UnencryptedPasswordText})
        << "progress of the first symbol does not cover the warning";

    // An error is shown at once; later symbols, retries and passes do not warn again.
    state.Run.CurrentSymbol = "BCD";
    source->BeginSymbol();
    Tick(SettleTickCount);
    transfer.Fail(12007, "Host not found");
    EXPECT_EQ(host.status2.back(), "Error 12007 : Host not found, retry 1: check Setup - Quote Server (quotes.example.com:8123)");
    Tick(SettleTickCount);
    transfer.Complete(200, "<p>please try again</p>");
    EXPECT_EQ(Tick(), std::optional<std::int16_t>(0));
    EXPECT_TRUE(source->StartPass());
    EXPECT_EQ(FetchSymbol("CDE"), std::optional<std::int16_t>(1));
    EXPECT_EQ(Count(host.status2, UnencryptedPasswordText), 1);
    EXPECT_EQ(host.status2.back(), "Received " + std::to_string(OptionPage("CDE", 47.5f).size()) + " Bytes Total");

    // The next run (the window opened again) warns again, once.
    MakeSource();
    EXPECT_EQ(FetchSymbol("DEF"), std::optional<std::int16_t>(1));
    EXPECT_EQ(Count(host.status2, UnencryptedPasswordText), 2);
}

TEST_F(ServerSourceTest, NoWarningForThisMachineOrAnEncryptedRun) {
    struct Case {
        const char* Host;
        const char* Switch;
        bool Tls;
    };
    for (const Case c : {Case{"localhost", "anything", false}, Case{"quotes.example.com", " https ", true},
                         Case{"127.0.0.1", "HTTPS", true}}) {
        SCOPED_TRACE(std::string(c.Host) + " / " + c.Switch);
        state.Settings.DnsName = c.Host;
        state.Settings.SwitchText = c.Switch;
        transfer.requests.clear();
        host.status2.clear();
        MakeSource();
        EXPECT_EQ(FetchSymbol("ABC"), std::optional<std::int16_t>(1));
        ASSERT_EQ(transfer.requests.size(), 2u);
        for (const HttpRequest& request : transfer.requests) EXPECT_EQ(request.UseTls, c.Tls);
        EXPECT_EQ(Count(host.status2, UnencryptedPasswordText), 0);
        EXPECT_EQ(Count(host.status2, "Requesting"), 2) << "progress is shown as usual";
    }
}

} // namespace
