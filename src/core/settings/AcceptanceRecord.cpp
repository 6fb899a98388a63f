#include "core/settings/AcceptanceRecord.h"

#include <cmath>

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"

namespace {

// Far longer than the one number the record holds; a longer first line does not read anyway.
constexpr std::size_t AcceptanceLineLimit = 64;

} // namespace

std::optional<float> ReadAcceptanceRecord(const std::string& fnAcceptance)
{
    const auto line = ReadFirstLine(fnAcceptance, AcceptanceLineLimit);
    if (!line) return std::nullopt;
    const auto version = ParseDecimal(*line);
    if (!version || !std::isfinite(static_cast<float>(*version))) return std::nullopt;
    return static_cast<float>(*version);
}

bool WriteAcceptanceRecord(const std::string& fnAcceptance, float version)
{
    return ReplaceFile(fnAcceptance, FormatSingle(version) + std::string(CrLf), FileAccess::Everyone,
                       FlushToDisk::Yes);
}
