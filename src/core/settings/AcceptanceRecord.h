#pragma once
// The acceptance record of the agreement gate: a one-line file holding the program version for
// which the user last accepted the agreement, e.g. "1.77" CR LF.

#include <optional>
#include <string>

// The version the record holds, or nothing when there is no record or its first line is not a
// bare number.
std::optional<float> ReadAcceptanceRecord(const std::string& fnAcceptance);

// Replaces the record with `version`. False when it could not be written.
[[nodiscard]] bool WriteAcceptanceRecord(const std::string& fnAcceptance, float version);
