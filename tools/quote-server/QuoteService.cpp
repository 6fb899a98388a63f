#include "QuoteService.h"

#include <memory>

#include "HostileAnswers.h"
#include "QuotePages.h"
#include "core/text/Base64.h"

QuoteService::QuoteService(const ServerOptions& options, std::size_t symbolCount, PageMaker stockPage,
                           PageMaker optionPage)
    : expectedAuthorization_("Basic " + Base64Encode(options.UserName + ":" + options.Password)),
      quotePrefix_(options.QuotePrefix), optionsPrefix_(options.OptionsPrefix), symbolCount_(symbolCount),
      stockPage_(std::move(stockPage)), optionPage_(std::move(optionPage)), faults_(options.Faults) {}

QuoteService::QuoteService(const ServerOptions& options, const std::vector<Company>& market,
                           std::function<LocalDateTime()> now)
    : QuoteService(options, 0, nullptr, nullptr) {
    auto companies = std::make_shared<std::map<std::string, Company, std::less<>>>();
    for (const Company& company : market) companies->emplace(company.Symbol, company);
    symbolCount_ = companies->size();
    stockPage_ = [companies, now](const std::string& symbol) {
        const auto company = companies->find(symbol);
        return company == companies->end() ? UnknownStockPage(symbol) : StockPage(company->second, now());
    };
    optionPage_ = [companies, now, rate = options.Rate](const std::string& symbol) {
        const auto company = companies->find(symbol);
        return company == companies->end() ? SymbolNotFoundPage(symbol)
                                           : OptionPage(company->second, OptionChain(company->second, now(), rate));
    };
}

QuoteService::QuoteService(const ServerOptions& options, const ChainMarket& chains)
    : QuoteService(options, chains.SymbolCount(),
                   [&chains](const std::string& symbol) { return chains.StockPage(symbol); },
                   [&chains](const std::string& symbol) { return chains.OptionPage(symbol); }) {}

Answer QuoteService::Respond(std::string_view target, std::string_view authorization) {
    if (authorization != expectedAuthorization_)
        return {401, "<HTML><BODY>Login refused</BODY></HTML>\r\n", Fault::None, ""};
    // The options prefix is tested first: with prefixes of the user's choice one may begin the other.
    if (target.substr(0, optionsPrefix_.size()) == optionsPrefix_) {
        const std::string symbol(target.substr(optionsPrefix_.size()));
        return PageAnswer(optionPage_, symbol, faults_.Next(symbol));
    }
    if (target.substr(0, quotePrefix_.size()) == quotePrefix_) {
        const std::string symbol(target.substr(quotePrefix_.size()));
        return PageAnswer(stockPage_, symbol, faults_.Next(symbol));
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
    case Fault::GzipBomb: return GzipBomb(BombInflatedBytes);
    case Fault::None:
    case Fault::Slow:
    case Fault::Drop:
    case Fault::CutBody:
    case Fault::Hang:
    case Fault::BadChunk: break;
    }
    return page;
}

} // namespace

Answer QuoteService::PageAnswer(const PageMaker& page, const std::string& symbol, Fault fault) {
    return {200, Spoiled(page(symbol), fault, symbol), fault, symbol};
}
