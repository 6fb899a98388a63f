#include "core/text/Base64.h"

namespace {

constexpr std::string_view Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::uint8_t NotInAlphabet = 255;

char AlphabetChar(unsigned value) { return Alphabet[value & 63u]; }

unsigned Byte(char c) { return static_cast<unsigned char>(c); }

} // namespace

std::string Base64Encode(std::string_view bytes)
{
    std::string result;
    result.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t p = 0;
    while (p < bytes.size()) {
        const unsigned b1 = Byte(bytes[p++]);
        result += AlphabetChar(b1 >> 2);
        if (p == bytes.size()) {
            result += AlphabetChar((b1 & 3u) << 4);
            result += "==";
            break;
        }
        const unsigned b2 = Byte(bytes[p++]);
        result += AlphabetChar(((b1 & 3u) << 4) + (b2 >> 4));
        if (p == bytes.size()) {
            result += AlphabetChar((b2 & 15u) << 2);
            result += '=';
            break;
        }
        const unsigned b3 = Byte(bytes[p++]);
        result += AlphabetChar(((b2 & 15u) << 2) + (b3 >> 6));
        result += AlphabetChar(b3 & 63u);
    }
    return result;
}

std::uint8_t Base64CharValue(char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0' + 52);
    if (c == '+') return 62;
    if (c == '/') return 63;
    return NotInAlphabet;
}

std::string Base64Decode(std::string_view text)
{
    std::string result;
    result.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        const unsigned v1 = Base64CharValue(text[i]);
        const unsigned v2 = Base64CharValue(text[i + 1]);
        const unsigned v3 = Base64CharValue(text[i + 2]);
        const unsigned v4 = Base64CharValue(text[i + 3]);
        result += static_cast<char>(((v1 & 63u) << 2) + ((v2 >> 4) & 3u));
        if (v3 == NotInAlphabet) break;
        result += static_cast<char>(((v2 & 15u) << 4) + ((v3 >> 2) & 15u));
        if (v4 == NotInAlphabet) break;
        result += static_cast<char>(((v3 & 3u) << 6) + (v4 & 63u));
    }
    return result;
}
