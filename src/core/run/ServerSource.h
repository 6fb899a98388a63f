#pragma once
// Quotes from the quote server: for each symbol the stock page, then (when it was usable) the
// option page, each after a settle time of 10 ticks, with a 600-tick time-out and unlimited
// retries; pages are read in pieces of at most 1024 characters, upper-cased, stripped and handed
// to the page parsers, which append the symbol to the quote cache. The Switch setting "HTTPS"
// encrypts the transfers; a plain transfer to another machine is warned about once per run.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/SharedState.h"
#include "core/run/HttpTransfer.h"
#include "core/run/QuoteSource.h"
#include "core/run/RunHost.h"

inline constexpr std::int16_t SettleTickCount = 10;   // one second at the 100 ms tick
inline constexpr std::int16_t TimeoutTickCount = 600; // sixty seconds
inline constexpr std::size_t ChunkLength = 1024;
// A page beyond this is no quote page; reading it would only eat memory.
inline constexpr std::size_t MaxPageBytes = 4 * 1024 * 1024;

inline constexpr const char* LoginRefusedText =
    "The quote server refused the login. Check the user name and password in Setup - Quote Server, "
    "then press Go.";

// The Status2 text of a transfer state 1..10; empty for any other state.
std::string TransferStateText(int state);

class ServerSource final : public QuoteSource, private HttpTransferListener {
public:
    // Takes the quote server settings now: changes made while the run window is open apply the
    // next time it opens. The first request of a plain run to a host that is not this machine
    // shows UnencryptedPasswordText on Status2, where it stays until the symbol's pages are in or
    // a transfer error replaces it. `pauseRun` pauses the run as the Pause button does; it is called when
    // the server refuses the login.
    ServerSource(SharedState& state, RunHost& host, HttpTransfer& transfer, std::function<void()> pauseRun);

    bool StartPass() override;
    void BeginSymbol() override;
    std::optional<std::int16_t> Step() override;
    void Cancel() override;

    // 0 while a transfer is pending, 1 when its page is in PageText, -1 after a failure.
    std::int16_t TransferOutcome() const { return transferOutcome_; }

private:
    enum class Page { Stock, Options };
    enum class Phase { Idle, Settle, Transfer, Received, Oversized, LoginRefused, PausedForLogin };

    void StateChanged(int state) override;
    void Completed(int httpStatus, HttpResponseBody& body) override;
    void Failed(int code, const std::string& text) override;

    void Issue();
    std::optional<std::int16_t> Extract();
    std::optional<std::int16_t> AwaitGoAfterRefusal();
    bool ReadBody(HttpResponseBody& body);
    std::optional<std::int16_t> EndSymbol(std::int16_t ok);
    // Status2 for the transfer's progress, held back while the warning is to be read.
    void ShowProgress(const std::string& text);
    void ShowError(const std::string& text);
    // A failed or timed-out request is asked again: the lamp says so while the run is running, and
    // Status2 counts the tries and names the settings to check.
    void ShowRetry(const std::string& what);
    // An answer came: a lamp showing retries goes back to running.
    void EndRetries();

    SharedState& state_;
    RunHost& host_;
    HttpTransfer& transfer_;
    std::function<void()> pauseRun_;
    HttpRequest request_;
    std::string quotePrefix_, optionsPrefix_;
    Page page_ = Page::Stock;
    Phase phase_ = Phase::Idle;
    std::int16_t transferOutcome_ = 0;
    bool warnUnencrypted_ = false; // not yet shown in this run
    bool holdingWarning_ = false;  // shown, and not to be covered by progress texts yet
    int failedTries_ = 0;          // requests in a row that failed or timed out
};
