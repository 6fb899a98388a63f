#include "core/run/ServerSource.h"

#include <array>

#include "core/text/Ascii.h"
#include "core/text/TextFile.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteRecord.h"
#include "core/run/TransferSecurity.h"

std::string TransferStateText(int state) {
    // sic: "Resolvig" is the status text users see.
    static const std::array<const char*, 10> texts = {
        "Resolvig Host Name", "Host Name Resolved", "Connecting", "Connected", "Requesting",
        "Request Sent", "Receiving Response", "Response Received", "Disconnecting", "Disconnected"};
    return state >= 1 && state <= 10 ? texts[state - 1] : "";
}

ServerSource::ServerSource(SharedState& state, RunHost& host, HttpTransfer& transfer,
                           std::function<void()> pauseRun)
    : state_(state), host_(host), transfer_(transfer), pauseRun_(std::move(pauseRun)),
      quotePrefix_(state.Settings.GetQuoteString), optionsPrefix_(state.Settings.GetOptionsQuoteString) {
    request_.Host = state.Settings.DnsName;
    request_.Port = state.Settings.PortNumber;
    request_.UserName = state.Settings.UserName;
    request_.Password = state.Settings.Password;
    request_.MaxBodyBytes = MaxPageBytes + 1;
    request_.UseTls = SwitchSelectsTls(state.Settings.SwitchText);
    warnUnencrypted_ = !request_.UseTls && !IsLoopbackHost(request_.Host);
}

bool ServerSource::StartPass() {
    const FilePaths& paths = state_.Paths;
    // A pass resumed at its first symbol has already moved the last pass's cache away; moving
    // again would put this pass's first records over that backup.
    if (state_.Run.SymbolIndex == 1 && !state_.Run.PassResumed && FileIsNonEmpty(paths.FnQuote)) {
        // A missing Quote.bak is no error; a failed rename leaves Quote.txt to be appended to.
        RemoveFile(paths.FnQuoteBak);
        RenameFile(paths.FnQuote, paths.FnQuoteBak);
    }
    return true;
}

void ServerSource::BeginSymbol() {
    transfer_.Cancel();
    holdingWarning_ = false;
    page_ = Page::Stock;
    phase_ = Phase::Settle;
}

void ServerSource::Cancel() {
    transfer_.Cancel();
    phase_ = Phase::Idle;
}

std::optional<std::int16_t> ServerSource::Step() {
    RunStatus& run = state_.Run;
    if (run.RunState == CloseRequested) return std::nullopt;
    if (phase_ == Phase::Transfer && transferOutcome_ == 0 && run.TimeoutTicks == 0) {
        transfer_.Cancel(); // time-out: the same request goes out again
        phase_ = Phase::Settle;
        ShowRetry("No answer in 60 seconds");
    }
    switch (phase_) {
    case Phase::Settle:
        if (run.SettleTicks == 0) Issue();
        return std::nullopt;
    case Phase::Received:
        return Extract();
    case Phase::Oversized:
        // The page is dropped unread, but what its parser does to the shared record still happens:
        // a stock page clears the record (the bad symbol's report must not show the previous
        // symbol's figures); an option page's stock record is already cached, and an empty page
        // closes it with "NO".
        if (page_ == Page::Stock)
            ClearQuoteRecord(state_.Quote, state_.clock.Now());
        else
            ParseOptionPage(state_.Page, state_.Quote, run.CurrentSymbol, state_.Paths.FnQuote);
        return EndSymbol(0);
    case Phase::LoginRefused:
        phase_ = Phase::PausedForLogin;
        pauseRun_();
        host_.ShowMessage(LoginRefusedText);
        return std::nullopt;
    case Phase::PausedForLogin:
        return AwaitGoAfterRefusal();
    case Phase::Idle:
    case Phase::Transfer:
        break;
    }
    return std::nullopt;
}

void ServerSource::Issue() {
    RunStatus& run = state_.Run;
    transfer_.Cancel();
    const bool stock = page_ == Page::Stock;
    host_.SetStatus1((stock ? "Waiting for stock data of " : "Waiting for options data of ") + run.CurrentSymbol);
    if (warnUnencrypted_) {
        warnUnencrypted_ = false;
        holdingWarning_ = true;
        host_.SetStatus2(UnencryptedPasswordText);
    }
    transferOutcome_ = 0;
    state_.Page.PageText.clear();
    request_.Path = (stock ? quotePrefix_ : optionsPrefix_) + run.CurrentSymbol;
    phase_ = Phase::Transfer;
    transfer_.Start(request_, *this);
    run.TimeoutTicks = TimeoutTickCount;
}

std::optional<std::int16_t> ServerSource::Extract() {
    const RunStatus& run = state_.Run;
    if (page_ == Page::Stock) {
        host_.SetStatus1("Extracting stock data");
        if (!ParseStockPage(state_.Page, state_.Quote, run.CurrentSymbol, state_.Paths.FnQuote,
                            state_.clock.Now()))
            return EndSymbol(0); // no option request for a symbol without a usable stock page
        page_ = Page::Options;
        phase_ = Phase::Settle;
        return std::nullopt;
    }
    host_.SetStatus1("Extracting options data");
    return EndSymbol(ParseOptionPage(state_.Page, state_.Quote, run.CurrentSymbol, state_.Paths.FnQuote) ? 1 : 0);
}

std::optional<std::int16_t> ServerSource::EndSymbol(std::int16_t ok) {
    phase_ = Phase::Idle;
    holdingWarning_ = false;
    return ok;
}

// The symbol is held, not marked bad: once the user presses Go (or Reset) the page is asked again.
std::optional<std::int16_t> ServerSource::AwaitGoAfterRefusal() {
    if (state_.Run.RunState != Waiting) phase_ = Phase::Settle;
    return std::nullopt;
}

void ServerSource::StateChanged(int state) {
    const std::string text = TransferStateText(state);
    if (phase_ == Phase::Transfer && !text.empty()) ShowProgress(text);
}

void ServerSource::ShowProgress(const std::string& text) {
    if (!holdingWarning_) host_.SetStatus2(text);
}

void ServerSource::ShowError(const std::string& text) {
    holdingWarning_ = false;
    host_.SetStatus2(text);
}

void ServerSource::ShowRetry(const std::string& what) {
    ++failedTries_;
    holdingWarning_ = false;
    host_.SetStatus2(what + ", retry " + std::to_string(failedTries_) + ": check Setup - Quote Server (" +
                     request_.Host + ":" + std::to_string(request_.Port) + ")");
    if (state_.Run.RunState == Running) host_.SetLamp(Lamp::Retrying);
}

void ServerSource::EndRetries() {
    if (failedTries_ == 0) return;
    failedTries_ = 0;
    // A pause pressed meanwhile keeps its lamp.
    if (state_.Run.RunState == Running) host_.SetLamp(Lamp::Running);
}

void ServerSource::Completed(int httpStatus, HttpResponseBody& body) {
    if (phase_ != Phase::Transfer) return;
    if (httpStatus >= 300 && httpStatus < 400) {
        Failed(httpStatus, "Redirect not followed");
        return;
    }
    EndRetries();
    state_.Run.SettleTicks = SettleTickCount;
    if (httpStatus == 401 || httpStatus == 403) {
        transferOutcome_ = -1;
        ShowError("Error " + std::to_string(httpStatus) + " : Login refused");
        phase_ = Phase::LoginRefused;
        return;
    }
    const bool complete = ReadBody(body);
    transferOutcome_ = 1;
    ShowProgress("Received " + std::to_string(state_.Page.PageText.size()) + " Bytes Total");
    if (!complete) {
        state_.Page.PageText.clear();
        phase_ = Phase::Oversized;
        return;
    }
    state_.Page.PageText = StripHtmlTags(state_.Page.PageText);
    phase_ = Phase::Received;
}

bool ServerSource::ReadBody(HttpResponseBody& body) {
    std::string& text = state_.Page.PageText;
    text.clear();
    for (std::string piece = body.GetChunk(ChunkLength); !piece.empty(); piece = body.GetChunk(ChunkLength)) {
        // Tested before the piece is added, so that a page past the limit never doubles the text.
        if (text.size() + piece.size() > MaxPageBytes) return false;
        AppendAsciiUpper(text, piece); // the labels the parsers look for are upper case
    }
    return true;
}

void ServerSource::Failed(int code, const std::string& text) {
    if (phase_ != Phase::Transfer) return;
    transferOutcome_ = -1;
    ShowRetry("Error " + std::to_string(code) + " : " + text);
    state_.Run.SettleTicks = SettleTickCount;
    phase_ = Phase::Settle;
}
