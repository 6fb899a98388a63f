#pragma once
// Standard comma-separated text as spreadsheets and data tools read it: a field is quoted when it
// holds a comma, a double quote, a line break or blanks at its ends, a double quote inside it is
// doubled, and each row ends with CR LF.

#include <string>
#include <string_view>
#include <vector>

using CsvRow = std::vector<std::string>;

// One row, with its CR LF.
std::string CsvLine(const CsvRow& fields);

// Every row of a text; a quoted field may span lines. Line ends may be CR LF, CR or LF, and a last
// row without its line end still counts. Text that breaks the quoting rules (a quote inside a bare
// field, a quoted field never closed) is taken as it stands rather than refused.
std::vector<CsvRow> ReadCsv(std::string_view text);
