#include "core/text/RecordFormat.h"

#include "core/numbers/NumberText.h"
#include "core/text/Ascii.h"

namespace {

constexpr std::string_view TrueItem = "#TRUE#";
constexpr std::string_view FalseItem = "#FALSE#";

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

std::string FormatTextItem(std::string_view text)
{
    std::string item;
    item.reserve(text.size() + 2);
    item += '"';
    for (const char c : text) item += c == '"' ? '\'' : c;
    item += '"';
    return item;
}

std::string FormatSingleItem(float value) { return FormatSingle(value); }

std::string FormatDoubleItem(double value) { return FormatDouble(value); }

std::string FormatIntegerItem(std::int64_t value) { return std::to_string(value); }

std::string FormatBooleanItem(bool value) { return std::string(value ? TrueItem : FalseItem); }

std::optional<RecordValue> RecordReader::Next()
{
    if (AtEnd()) return std::nullopt;
    const std::size_t size = text_.size();
    std::size_t p = position_;
    while (p < size && IsRecordBlank(text_[p])) ++p;

    RecordValue value;
    if (p < size && text_[p] == '"') {
        value.Quoted = true;
        const std::size_t start = ++p;
        while (p < size && text_[p] != '"' && !IsLineEnd(text_[p])) ++p;
        value.Text = text_.substr(start, p - start);
        if (p < size && text_[p] == '"') ++p;
        while (p < size && text_[p] != ',' && !IsLineEnd(text_[p])) ++p;
    } else {
        const std::size_t start = p;
        while (p < size && text_[p] != ',' && !IsLineEnd(text_[p])) ++p;
        std::size_t end = p;
        while (end > start && IsRecordBlank(text_[end - 1])) --end;
        value.Text = text_.substr(start, end - start);
    }

    followedByComma_ = p < size && text_[p] == ',';
    position_ = p;
    PassDelimiter();
    return value;
}

void RecordReader::SkipRestOfLine()
{
    if (!followedByComma_) return;
    while (position_ < text_.size() && !IsLineEnd(text_[position_])) ++position_;
    followedByComma_ = false;
    PassDelimiter();
}

void RecordReader::PassDelimiter()
{
    const std::size_t size = text_.size();
    if (position_ >= size) return;
    if (text_[position_] == '\r' && position_ + 1 < size && text_[position_ + 1] == '\n') ++position_;
    ++position_;
}

std::vector<RecordValue> SplitRecord(std::string_view line)
{
    std::vector<RecordValue> values;
    RecordReader reader(line);
    while (auto value = reader.Next()) values.push_back(std::move(*value));
    if (values.empty() || reader.FollowedByComma()) values.emplace_back();
    return values;
}

std::optional<double> RecordNumber(const RecordValue& value) { return ParseDecimal(value.Text); }

std::optional<std::int32_t> RecordInteger(const RecordValue& value)
{
    return ParseInteger(value.Text);
}

std::optional<bool> RecordBoolean(const RecordValue& value)
{
    if (EqualsIgnoringAsciiCase(value.Text, TrueItem)) return true;
    if (EqualsIgnoringAsciiCase(value.Text, FalseItem)) return false;
    return std::nullopt;
}
