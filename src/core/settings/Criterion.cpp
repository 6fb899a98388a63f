#include "core/settings/Criterion.h"

#include "core/numbers/NumberText.h"

std::optional<double> Criterion::InForce() const
{
    if (!IsText()) return NumberValue();
    return ParseDecimal(TextValue());
}

std::string Criterion::DisplayText() const
{
    return IsText() ? TextValue() : FormatDouble(NumberValue());
}

Criterion ValueCheck(std::string_view entry)
{
    if (const auto number = ParseDecimal(entry)) return Criterion::Number(*number);
    return Criterion::Text("NA");
}
