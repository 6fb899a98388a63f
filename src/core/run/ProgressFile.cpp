#include "core/run/ProgressFile.h"

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"
#include "core/run/RunStatus.h"

namespace {

// No pass can count past the length of the longest symbol list, so a larger figure is damage.
std::optional<std::int16_t> ReadCounter(std::string_view field)
{
    const auto value = ParseInteger(field);
    if (!value || *value < 0 || *value > SymbolCapacityLimit) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::string_view FirstLine(std::string_view record)
{
    const auto lines = SplitLines(record);
    return lines.empty() ? std::string_view{} : lines.front();
}

} // namespace

bool WriteProgress(const std::string& path, std::int16_t savedCount, std::int16_t symbolIndex)
{
    const std::string record =
        std::to_string(savedCount) + "," + std::to_string(symbolIndex) + std::string(CrLf);
    return ReplaceFile(path, record);
}

std::optional<std::pair<std::int16_t, std::int16_t>> ReadProgress(const std::string& path)
{
    const auto content = ReadWholeFile(path);
    if (!content) return std::nullopt;
    const std::string_view line = FirstLine(*content);
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto savedCount = ReadCounter(line.substr(0, comma));
    const auto symbolIndex = ReadCounter(line.substr(comma + 1));
    if (!savedCount || !symbolIndex) return std::nullopt;
    return std::make_pair(*savedCount, *symbolIndex);
}

std::optional<std::int16_t> ParseSavedCountField(std::string_view record)
{
    const std::string_view line = FirstLine(record);
    return ReadCounter(line.substr(0, line.find(',')));
}
