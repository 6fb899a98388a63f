#pragma once
// The pages of the results report Results.txt, one saved block each.

#include <cstdint>
#include <string>
#include <string_view>

// The page of a saved block: the block with "Saved " + savedNumber stamped into its first 22
// characters, then a form feed and CR LF. The block shown in the window carries the same number:
// it is the page without its last three characters.
std::string SavedPage(std::string_view block, int savedNumber);

inline constexpr std::size_t PageEndLength = 3; // the form feed and CR LF closing a saved page
