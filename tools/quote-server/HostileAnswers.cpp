#include "HostileAnswers.h"

#include <cstdint>
#include <functional>
#include <random>

std::string JunkBody(std::string_view symbol) {
    std::mt19937 random(static_cast<std::uint32_t>(std::hash<std::string_view>{}(symbol)));
    std::uniform_int_distribution<int> byte(0, 255);
    std::string junk(64 * 1024, '\0');
    for (char& c : junk) c = static_cast<char>(byte(random));
    return junk;
}

std::string WithNulBehindTags(std::string_view page) {
    std::string spoiled;
    spoiled.reserve(page.size() + page.size() / 8);
    for (const char c : page) {
        spoiled += c;
        if (c == '>') spoiled += '\0';
    }
    return spoiled;
}

std::string Inflated(std::string_view page, std::size_t size) {
    std::string body(page);
    static constexpr std::string_view filler = "<P>Filler paragraph of an answer that does not end soon.</P>\r\n";
    while (body.size() < size) body.append(filler.substr(0, std::min(filler.size(), size - body.size())));
    return body;
}
