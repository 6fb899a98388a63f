#include "core/report/ResultsFile.h"

#include <algorithm>

#include "core/report/DisplayPattern.h"
#include "core/text/TextFile.h"

namespace {

constexpr std::size_t SavedField = 22;

} // namespace

std::string SavedPage(std::string_view block, int savedNumber)
{
    std::string page = PadField("Saved " + std::to_string(savedNumber), SavedField);
    page.append(block.substr(std::min(block.size(), SavedField)));
    page += '\f';
    page += CrLf;
    return page;
}
