#include "core/chains/CsvHeader.h"

std::string NormalizedHeaderName(std::string_view name)
{
    std::string normalized;
    for (const char c : name) {
        if (c == '_' || c == '-' || c == '.' || c == ' ' || c == '\t') continue;
        normalized += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return normalized;
}

std::vector<std::string> NormalizedHeader(const std::vector<std::string_view>& header)
{
    std::vector<std::string> names;
    names.reserve(header.size());
    for (const std::string_view name : header) names.push_back(NormalizedHeaderName(name));
    return names;
}

int FindColumn(const std::vector<std::string>& normalizedHeader, const std::vector<std::string_view>& spellings)
{
    for (const std::string_view spelling : spellings) {
        const std::string wanted = NormalizedHeaderName(spelling);
        for (std::size_t i = 0; i < normalizedHeader.size(); ++i)
            if (normalizedHeader[i] == wanted) return static_cast<int>(i);
    }
    return -1;
}

const std::string_view* FieldAt(const std::vector<std::string_view>& fields, int column)
{
    if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return nullptr;
    return &fields[static_cast<std::size_t>(column)];
}
