#include "core/run/TransferSecurity.h"

#include <array>
#include <charconv>

#include "core/text/Ascii.h"

namespace {

std::string_view Trimmed(std::string_view text)
{
    // Codes up to the space are blanks, as in the page readers.
    while (!text.empty() && IsSpaceOrBelow(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpaceOrBelow(text.back())) text.remove_suffix(1);
    return text;
}

// Four decimal parts of 0 to 255 separated by dots, the first one 127.
bool IsLoopbackIpv4(std::string_view host)
{
    std::array<int, 4> parts{};
    const char* at = host.data();
    const char* const end = host.data() + host.size();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != '.') return false;
            ++at;
        }
        const char* const digits = at;
        const auto [next, error] = std::from_chars(at, end, parts[i]);
        // from_chars takes no sign or blank, so only digits were read; three at most.
        if (error != std::errc() || next - digits > 3 || parts[i] > 255) return false;
        at = next;
    }
    return at == end && parts[0] == 127;
}

} // namespace

bool SwitchSelectsTls(std::string_view switchText) { return EqualsIgnoringAsciiCase(Trimmed(switchText), "https"); }

bool IsLoopbackHost(std::string_view host)
{
    host = Trimmed(host);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.ends_with('.')) host.remove_suffix(1);
    return EqualsIgnoringAsciiCase(host, "localhost") || host == "::1" || IsLoopbackIpv4(host);
}
