#pragma once
// The comma-delimited record format of the files the program reads back (settings, quote cache,
// progress): texts in double quotes without escaping, numbers bare in invariant form, booleans
// #TRUE# / #FALSE#. Writers build items with the Format* functions and end each record with CR LF;
// readers take one value at a time with RecordReader.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A text item: the text in double quotes, not escaped. A double quote inside the text would end the
// value early when it is read back (shifting every later value of a record, or turning a switched-off
// criterion into a number), so it is written as a single quote instead. A line break inside the
// text still does not read back as it was.
std::string FormatTextItem(std::string_view text);
// Number items: FormatSingle / FormatDouble / decimal digits, "-" when negative.
std::string FormatSingleItem(float value);
std::string FormatDoubleItem(double value);
std::string FormatIntegerItem(std::int64_t value);
std::string FormatBooleanItem(bool value);

// One value as read: its text (without the enclosing quotes when it was quoted).
struct RecordValue {
    std::string Text;
    bool Quoted = false;
};

// Reads values one after the other from a text of records. A value begins after blanks; a quoted
// value runs to its closing quote (anything between that and the next delimiter is dropped), a
// bare one to the next comma or line end, its trailing blanks removed. A line ends at CR LF, a lone
// CR or a lone LF, and a quoted value never runs past a line end, so one damaged line cannot
// swallow the lines after it.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : text_(text) {}

    // The next value, or nothing when the text is used up.
    std::optional<RecordValue> Next();

    // After a value that a comma followed: passes over the rest of its line and the line end.
    void SkipRestOfLine();

    bool AtEnd() const { return position_ >= text_.size(); }
    // True when the value last read was followed by a comma rather than a line end.
    bool FollowedByComma() const { return followedByComma_; }

private:
    // Passes over the comma or line end at the current position.
    void PassDelimiter();

    std::string_view text_;
    std::size_t position_ = 0;
    bool followedByComma_ = false;
};

// All values of one line; a line that ends in a comma has an empty last value, and an empty line
// has one empty value.
std::vector<RecordValue> SplitRecord(std::string_view line);

// Conversions of a read value to the type of its target; nothing when it does not convert. A number
// may be quoted or bare; a boolean is #TRUE# or #FALSE# in any letter case.
std::optional<double> RecordNumber(const RecordValue& value);
std::optional<std::int32_t> RecordInteger(const RecordValue& value);
std::optional<bool> RecordBoolean(const RecordValue& value);
