#include "core/chains/SkippedRows.h"

namespace {

constexpr std::size_t ShownRows = 5;

} // namespace

void SkippedRows::Add(long long line, const std::string& reason)
{
    ++count_;
    if (firstFew_.size() < ShownRows) firstFew_.push_back("  line " + std::to_string(line) + ": " + reason);
}

std::string SkippedRows::Message(const std::string& path) const
{
    if (count_ == 0) return "";
    std::string text = "Skipped " + std::to_string(count_) + (count_ == 1 ? " row" : " rows") + " of " + path +
                       " that " + (count_ == 1 ? "does" : "do") + " not read:\n";
    for (const std::string& row : firstFew_) text += row + "\n";
    if (static_cast<std::size_t>(count_) > firstFew_.size()) text += "  ...\n";
    return text;
}
