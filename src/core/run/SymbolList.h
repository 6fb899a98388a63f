#pragma once
// The symbol file turned into the run's list: one symbol per usable line, upper-cased, sorted by
// character code, duplicates merged. Loading is split into steps so the run controller can show
// progress and honour a close request between them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The symbol a line of the symbol file gives: its leading run of ASCII letters and digits, at most
// 6 characters, upper-cased. Empty when the line starts with anything else (a blank, punctuation,
// a non-ASCII byte) or is empty.
std::string SymbolOfLine(std::string_view line);

// Reads the symbols of the file at `fnSym`, one per usable line, in file order (not yet sorted or
// merged), in bounded memory however large the file. Lines end at CR LF, a lone CR or a lone LF.
// Reading stops at the first usable line past SymbolCapacityLimit: the rest of the file is
// ignored, and `*restIgnored` (when given) tells whether that happened. Nothing when the file
// cannot be opened or is no regular file (a device, a pipe, a directory).
std::optional<std::vector<std::string>> ReadSymbolFile(const std::string& fnSym, bool* restIgnored = nullptr);

// Ascending character-code order (digits before letters, AB before ABC).
void SortSymbols(std::vector<std::string>& symbols);

// Removes repeated neighbours of a sorted list.
void MergeDuplicateSymbols(std::vector<std::string>& symbols);

// The messages of a symbol file that cannot be used; `fnSym` is the full path.
std::string CannotOpenSymbolFileText(std::string_view fnSym);
std::string NoSymbolsText(std::string_view fnSym);
// The note of a symbol file with more usable lines than the list keeps.
std::string RestIgnoredText(std::string_view fnSym);

// The first status line while each loading step runs.
inline constexpr const char* ReadingSymbolsText = "Reading symbols please wait...";
std::string SortingSymbolsText(std::size_t count);
inline constexpr const char* MergingSymbolsText = "Merging duplicate symbols, please wait...";
