#include "core/insight/SymbolBlock.h"

#include <algorithm>

#include "core/SharedState.h"
#include "core/insight/QuoteSnapshot.h"
#include "core/report/ResultsBlock.h"
#include "core/report/ResultsFile.h"
#include "core/run/SymbolOutputFiles.h"

std::string NoQuotesInCacheText(const std::string& symbol, const std::string& fnQuote)
{
    return "No quotes of " + symbol + " in " + fnQuote + ".";
}

std::string ReplayedResultsBlock(const std::string& symbol, const std::string& fnQuote,
                                 const UserSettings& settings, const Clock& clock)
{
    std::string problem;
    std::optional<QuoteSnapshot> snapshot = ReadQuoteSnapshot(settings.FnSym, fnQuote, clock.Now(), problem);
    if (!snapshot) return problem;
    const auto& symbols = snapshot->Symbols;
    const auto found = std::find_if(symbols.begin(), symbols.end(),
                                    [&](const ReplayedSymbol& replayed) { return replayed.Symbol == symbol; });
    if (found == symbols.end() || !found->Quote) return NoQuotesInCacheText(symbol, fnQuote);
    const auto index = found - symbols.begin();
    // The whole replay, since the block counts the symbols saved before this one; it also leaves
    // every quote record with its QVA results computed under `settings`.
    const std::vector<bool> saved = *SavedSymbols(*snapshot, settings);

    SharedState scratch(clock);
    scratch.Settings = settings;
    scratch.Quote = *found->Quote;
    TrimCompanyName(scratch.Quote.Stock); // as the evaluation does before it builds the block
    scratch.Run.CurrentSymbol = symbol;
    scratch.Run.SymbolIndex = static_cast<std::int16_t>(index + 1);
    scratch.Run.SavedCount = static_cast<std::int16_t>(std::count(saved.begin(), saved.begin() + index, true));
    scratch.Symbols.SymbolCount = static_cast<std::int16_t>(symbols.size());
    std::string block = BuildResultsBlock(scratch);
    if (!saved[static_cast<std::size_t>(index)]) return block;
    block = SavedPage(block, scratch.Run.SavedCount + 1);
    block.resize(block.size() - PageEndLength);
    return block;
}
