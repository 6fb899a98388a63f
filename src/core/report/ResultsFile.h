#pragma once
// Appending saved blocks to the results report, one printed page each.

#include <cstdint>
#include <string>

// Stamps "Saved " + (savedCount + 1) into the first 22 characters of the block and appends it, a
// form feed and CR LF to `fnResults` with one write. Only when that succeeded do `block` (so the
// shown block carries the same number) and savedCount (plus one) change; false when the file could
// not be appended to, and the block is then lost.
[[nodiscard]] bool AppendSavedBlock(std::string& block, std::int16_t& savedCount,
                                    const std::string& fnResults);
