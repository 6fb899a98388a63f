#pragma once
// The progress record: where an interrupted run resumes. One line "SavedCount,SymbolIndex" and
// CR LF, for example "3,17".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Replaces the progress file with the record, atomically: a run killed while writing leaves the
// previous record, never an empty or half-written one. False when it could not be written.
[[nodiscard]] bool WriteProgress(const std::string& path, std::int16_t savedCount,
                                 std::int16_t symbolIndex);

// The record's (SavedCount, SymbolIndex), or nothing when the file is missing or its first line is
// not two whole numbers from 0 to 30000 separated by a comma (blanks around them allowed).
std::optional<std::pair<std::int16_t, std::int16_t>> ReadProgress(const std::string& path);

// The saved count alone: the first comma-separated field of the record's first line, under the
// same rule. Nothing when that field cannot be read.
std::optional<std::int16_t> ParseSavedCountField(std::string_view record);
