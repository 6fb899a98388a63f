#pragma once
// A filter criterion: a number, or a text. It is in force when it holds a number or a text that
// reads as a decimal number; any other text ("NA" by convention) switches it off.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

class Criterion {
public:
    Criterion() : value_(std::string("NA")) {}
    static Criterion Number(double number) { return Criterion(number); }
    static Criterion Text(std::string text) { return Criterion(std::move(text)); }

    bool IsText() const { return std::holds_alternative<std::string>(value_); }
    // Only valid for the matching kind.
    double NumberValue() const { return std::get<double>(value_); }
    const std::string& TextValue() const { return std::get<std::string>(value_); }

    // The bound this criterion sets, or nothing when it is switched off.
    std::optional<double> InForce() const;

    // The text a dialog box shows: a number in its plain decimal form, a text unchanged.
    std::string DisplayText() const;

    bool operator==(const Criterion&) const = default;

private:
    explicit Criterion(double number) : value_(number) {}
    explicit Criterion(std::string text) : value_(std::move(text)) {}
    std::variant<double, std::string> value_;
};

// Turns a dialog entry into a criterion: the number it reads as, else the text "NA".
Criterion ValueCheck(std::string_view entry);
