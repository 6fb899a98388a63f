#pragma once
// The codec with which the quote server login is kept in the settings file: the standard alphabet
// ("A"-"Z", "a"-"z", "0"-"9", "+", "/") with "=" padding and no line breaks. Each char of a text is
// one byte, so any bytes (also a UTF-8 user name) go through unchanged.

#include <cstdint>
#include <string>
#include <string_view>

// The Base64 text of `bytes`; empty for an empty input.
std::string Base64Encode(std::string_view bytes);

// The value 0..63 of one alphabet character; 255 for any other character, "=" included.
std::uint8_t Base64CharValue(char c);

// Decodes complete groups of four characters; characters after the last complete group are
// ignored. Padding or another non-alphabet character in the third or fourth place of a group ends
// the result there; one in the first or second place counts as 63. Never fails.
std::string Base64Decode(std::string_view text);
