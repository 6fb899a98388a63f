#include "core/chains/ChainImport.h"

#include <filesystem>

#include "core/chains/ChainMarket.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteRecord.h"
#include "core/run/SymbolList.h"
#include "core/text/TextFile.h"

namespace {

// The page as the run hands it to the parsers: upper-cased (ASCII only, as ServerSource does) and
// stripped of its tags.
void Receive(PageBuffer& page, std::string markup)
{
    for (char& c : markup)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    page.PageText = StripHtmlTags(markup);
    page.PageCursor = 1;
}

std::uintmax_t SizeOf(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

struct Tally {
    int Symbols = 0, WithQuote = 0, WithOptions = 0;
};

// Parses the pages of every symbol into `fnQuote`. False when a record did not reach the file.
bool WriteQuotes(const std::vector<std::string>& symbols, const ChainMarket& market, const LocalDateTime& now,
                 const std::string& fnQuote, Tally& tally)
{
    QuoteData quote;
    PageBuffer page;
    for (const std::string& symbol : symbols) {
        ++tally.Symbols;
        const std::uintmax_t before = SizeOf(fnQuote);
        Receive(page, market.StockPage(symbol));
        // A symbol whose stock page is unusable has no record in a live pass either.
        if (!ParseStockPage(page, quote, symbol, fnQuote, now)) continue;
        ++tally.WithQuote;
        Receive(page, market.OptionPage(symbol));
        tally.WithOptions += ParseOptionPage(page, quote, symbol, fnQuote) ? 1 : 0;
        // The parsers append and absorb a failed write; an import must not.
        if (SizeOf(fnQuote) <= before) return false;
    }
    return true;
}

std::string Summary(const Tally& tally, const std::string& fnQuote)
{
    return "Wrote " + fnQuote + ": " + std::to_string(tally.WithQuote) + " of " + std::to_string(tally.Symbols) +
           " symbols with a stock quote, " + std::to_string(tally.WithOptions) + " with options.\n";
}

} // namespace

ImportOutcome ImportChains(const ImportRequest& request, const FilePaths& paths)
{
    std::optional<std::vector<std::string>> symbols = ReadSymbolFile(request.FnSym);
    if (!symbols) return {false, "", CannotOpenSymbolFileText(request.FnSym)};
    if (symbols->empty()) return {false, "", NoSymbolsText(request.FnSym)};
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);

    ChainFileRequest chainRequest = request.Chains;
    chainRequest.Symbols.emplace(symbols->begin(), symbols->end());
    std::string notes;
    auto loaded = LoadChainMarket(chainRequest, request.StocksPath, notes);
    if (auto* error = std::get_if<std::string>(&loaded)) return {false, notes, *error};
    const ChainMarket& market = std::get<ChainMarket>(loaded);

    const std::string temporary = paths.FnQuote + std::string(TemporarySuffix);
    Tally tally;
    if (!CreateEmptyFile(temporary) || !WriteQuotes(*symbols, market, chainRequest.Now, temporary, tally)) {
        RemoveFile(temporary);
        return {false, notes, "Cannot write " + temporary + "; " + paths.FnQuote + " is left as it was."};
    }
    // As a pass does, the last quotes are kept as Quote.bak.
    if (FileIsNonEmpty(paths.FnQuote)) {
        RemoveFile(paths.FnQuoteBak);
        RenameFile(paths.FnQuote, paths.FnQuoteBak);
    }
    if (!RenameFile(temporary, paths.FnQuote)) {
        RemoveFile(temporary);
        return {false, notes, "Cannot replace " + paths.FnQuote + "."};
    }
    return {true, notes, Summary(tally, paths.FnQuote)};
}
