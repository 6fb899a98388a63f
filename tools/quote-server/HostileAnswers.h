#pragma once
// Bodies no quote server should send, for the faults of FaultPlan.h that spoil a page.

#include <cstddef>
#include <string>
#include <string_view>

// Ten megabytes: far beyond any page the screener will read.
inline constexpr std::size_t HugeBodyBytes = 10 * 1024 * 1024;
// What the compressed answer inflates to: two gigabytes from two megabytes.
inline constexpr std::size_t BombInflatedBytes = std::size_t{2} * 1024 * 1024 * 1024;

// 64 KiB of bytes of every value, the same for the same symbol.
std::string JunkBody(std::string_view symbol);

// The page with a NUL byte behind every ">": each text run then begins with one.
std::string WithNulBehindTags(std::string_view page);

// A gzip stream of `inflatedBytes` zero bytes (a multiple of a mebibyte), about a thousandth of
// that long: made by repeating one deflate block that stands alone, so it takes milliseconds.
std::string GzipBomb(std::size_t inflatedBytes);

// The page, still whole at its start, padded with filler paragraphs to exactly `size` bytes (or
// left as it is when it is already that long).
std::string Inflated(std::string_view page, std::size_t size);
