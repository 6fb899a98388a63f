#pragma once
// What the stand-in server answers to one GET: the login check, the two page kinds, the injected
// faults. Independent of the HTTP library, so tests can ask it directly.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "FaultPlan.h"
#include "MarketFile.h"
#include "ServerOptions.h"
#include "core/chains/ChainMarket.h"
#include "core/quotes/Clock.h"

struct Answer {
    int Status = 200;
    std::string Body;
    Fault Injected = Fault::None; // Slow, Drop, CutBody and Hang are carried out by the HTTP layer
    std::string Symbol;           // empty when the path named none
};

class QuoteService {
public:
    // `now` gives the date whose expiration calendar the chains are priced for.
    QuoteService(const ServerOptions& options, const std::vector<Company>& market,
                 std::function<LocalDateTime()> now);
    // Serves the pages of real chain files; `chains` must outlive the service.
    QuoteService(const ServerOptions& options, const ChainMarket& chains);

    // `target` is the request path with its query string; `authorization` the header's value.
    Answer Respond(std::string_view target, std::string_view authorization);
    std::size_t SymbolCount() const { return symbolCount_; }

private:
    using PageMaker = std::function<std::string(const std::string& symbol)>;

    QuoteService(const ServerOptions& options, std::size_t symbolCount, PageMaker stockPage, PageMaker optionPage);
    Answer PageAnswer(const PageMaker& page, const std::string& symbol, Fault fault);

    std::string expectedAuthorization_;
    std::string quotePrefix_, optionsPrefix_;
    std::size_t symbolCount_;
    PageMaker stockPage_, optionPage_;
    FaultPlan faults_;
};
