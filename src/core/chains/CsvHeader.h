#pragma once
// Finding the columns of a CSV file by the names in its header line, however a vendor spells them.

#include <string>
#include <string_view>
#include <vector>

// A header name as compared: ASCII lower case, without '_', '-', '.' and blanks, so that
// "open_interest", "openInterest" and "Open Interest" are one name.
std::string NormalizedHeaderName(std::string_view name);

// The header's names, each normalized.
std::vector<std::string> NormalizedHeader(const std::vector<std::string_view>& header);

// The position of the first of `spellings` (in their order of preference) that the normalized
// header holds; -1 when it holds none.
int FindColumn(const std::vector<std::string>& normalizedHeader, const std::vector<std::string_view>& spellings);

// The field at `column` of a record, or nothing when the column is absent (-1) or the record is short.
const std::string_view* FieldAt(const std::vector<std::string_view>& fields, int column);
