#include "QuoteService.h"

#include "HostileAnswers.h"
#include "QuotePages.h"
#include "core/text/Base64.h"

QuoteService::QuoteService(const ServerOptions& options, const std::vector<Company>& market,
                           std::function<LocalDateTime()> now)
    : expectedAuthorization_("Basic " + Base64Encode(options.UserName + ":" + options.Password)),
      quotePrefix_(options.QuotePrefix), optionsPrefix_(options.OptionsPrefix), rate_(options.Rate),
      now_(std::move(now)), faults_(options.Faults) {
    for (const Company& company : market) market_.emplace(company.Symbol, company);
}

Answer QuoteService::Respond(std::string_view target, std::string_view authorization) {
    if (authorization != expectedAuthorization_)
        return {401, "<HTML><BODY>Login refused</BODY></HTML>\r\n", Fault::None, ""};
    // The options prefix is tested first: with prefixes of the user's choice one may begin the other.
    if (target.substr(0, optionsPrefix_.size()) == optionsPrefix_) {
        const std::string symbol(target.substr(optionsPrefix_.size()));
        return OptionAnswer(symbol, faults_.Next(symbol));
    }
    if (target.substr(0, quotePrefix_.size()) == quotePrefix_) {
        const std::string symbol(target.substr(quotePrefix_.size()));
        return StockAnswer(symbol, faults_.Next(symbol));
    }
    return {404, "<HTML><BODY>No such page</BODY></HTML>\r\n", Fault::None, ""};
}

namespace {

// The page as the fault wants it; faults of the HTTP layer leave it as it is.
std::string Spoiled(std::string page, Fault fault, const std::string& symbol) {
    switch (fault) {
    case Fault::TryAgain: return TryAgainPage(symbol);
    case Fault::Junk: return JunkBody(symbol);
    case Fault::Nul: return WithNulBehindTags(page);
    case Fault::Huge: return Inflated(page, HugeBodyBytes);
    case Fault::None:
    case Fault::Slow:
    case Fault::Drop:
    case Fault::CutBody:
    case Fault::Hang: break;
    }
    return page;
}

} // namespace

Answer QuoteService::StockAnswer(const std::string& symbol, Fault fault) {
    const auto company = market_.find(symbol);
    std::string page = company == market_.end() ? UnknownStockPage(symbol) : StockPage(company->second, now_());
    return {200, Spoiled(std::move(page), fault, symbol), fault, symbol};
}

Answer QuoteService::OptionAnswer(const std::string& symbol, Fault fault) {
    const auto company = market_.find(symbol);
    std::string page = company == market_.end()
                           ? SymbolNotFoundPage(symbol)
                           : OptionPage(company->second, OptionChain(company->second, now_(), rate_));
    return {200, Spoiled(std::move(page), fault, symbol), fault, symbol};
}
