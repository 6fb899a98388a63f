#include "core/report/ResultsFile.h"

#include <algorithm>
#include <utility>

#include "core/text/TextFile.h"
#include "core/report/DisplayPattern.h"

namespace {

constexpr std::size_t SavedField = 22;

} // namespace

bool AppendSavedBlock(std::string& block, std::int16_t& savedCount, const std::string& fnResults)
{
    std::string stamped = block;
    stamped.replace(0, std::min(stamped.size(), SavedField),
                    PadField("Saved " + std::to_string(savedCount + 1), SavedField));
    if (!AppendToFile(fnResults, stamped + "\f" + std::string(CrLf))) return false;
    block = std::move(stamped);
    ++savedCount;
    return true;
}
