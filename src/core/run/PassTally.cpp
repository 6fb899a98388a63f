#include "core/run/PassTally.h"

namespace {

std::string Symbols(int count) { return std::to_string(count) + (count == 1 ? " symbol" : " symbols"); }

} // namespace

std::string PassTallyText(const PassTally& tally)
{
    std::string text = "Pass done: " + Symbols(tally.Evaluated) + " evaluated, " + std::to_string(tally.WithQuotes) +
                       " with quotes, " + std::to_string(tally.WithoutQuotes) + " without, " +
                       std::to_string(tally.Saved) + " saved";
    if (tally.Errors > 0) text += ", " + std::to_string(tally.Errors) + " failed";
    text += '.';
    if (tally.MissingFromQuoteFile > 0)
        text += " " + std::to_string(tally.MissingFromQuoteFile) + " of " + Symbols(tally.Evaluated) +
                (tally.MissingFromQuoteFile == 1 ? " is" : " are") + " not in Quote.txt.";
    return text;
}
