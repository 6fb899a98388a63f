#include "core/history/YearVolatilities.h"

#include <bit>

namespace {

void AppendLittleEndian(std::string& encoded, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) encoded.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLittleEndian(std::string_view encoded, std::size_t at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(encoded[at + i])) << (8 * i);
    return value;
}

} // namespace

std::string EncodeYearVolatilities(std::span<const DatedVolatility> days)
{
    std::string encoded;
    encoded.reserve(days.size() * BytesPerDatedVolatility);
    for (const DatedVolatility& day : days) {
        AppendLittleEndian(encoded, static_cast<std::uint32_t>(day.Day), 4);
        AppendLittleEndian(encoded, std::bit_cast<std::uint64_t>(day.Volatility), 8);
    }
    return encoded;
}

bool DecodeYearVolatilities(std::string_view encoded, std::vector<DatedVolatility>& days)
{
    if (encoded.size() % BytesPerDatedVolatility != 0) return false;
    days.resize(encoded.size() / BytesPerDatedVolatility);
    for (std::size_t i = 0; i < days.size(); ++i) {
        const std::size_t at = i * BytesPerDatedVolatility;
        days[i].Day = static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadLittleEndian(encoded, at, 4)));
        days[i].Volatility = std::bit_cast<double>(ReadLittleEndian(encoded, at + 4, 8));
    }
    return true;
}
