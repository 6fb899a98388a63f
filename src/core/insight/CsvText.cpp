#include "core/insight/CsvText.h"

#include "core/text/TextFile.h"

namespace {

bool NeedsQuotes(std::string_view field)
{
    return field.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

std::string QuotedField(std::string_view field)
{
    std::string text = "\"";
    for (const char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    return text + '"';
}

} // namespace

std::string CsvLine(const CsvRow& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) line += ',';
        line += NeedsQuotes(fields[i]) ? QuotedField(fields[i]) : fields[i];
    }
    return line + std::string(CrLf);
}

std::vector<CsvRow> ReadCsv(std::string_view text)
{
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    bool rowStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        rowStarted = true;
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            rowStarted = false;
        } else {
            field += c;
        }
    }
    if (rowStarted) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}
