#include "core/settings/AcceptanceRecord.h"

#include <cmath>

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"

std::optional<float> ReadAcceptanceRecord(const std::string& fnAcceptance)
{
    const auto content = ReadWholeFile(fnAcceptance);
    if (!content) return std::nullopt;
    const auto lines = SplitLines(*content);
    if (lines.empty()) return std::nullopt;
    const auto version = ParseDecimal(lines.front());
    if (!version || !std::isfinite(static_cast<float>(*version))) return std::nullopt;
    return static_cast<float>(*version);
}

bool WriteAcceptanceRecord(const std::string& fnAcceptance, float version)
{
    return ReplaceFile(fnAcceptance, FormatSingle(version) + std::string(CrLf), FileAccess::Everyone,
                       FlushToDisk::Yes);
}
