#include "core/http/HttpGetRequest.h"

#include <algorithm>

#include "core/text/Ascii.h"
#include "core/text/Base64.h"

namespace {

std::string PercentEncodedBytes(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 0x7F && c != '#') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        }
    }
    return encoded;
}

// The Host field: an IPv6 address in brackets, the port only where it is not the scheme's own.
std::string HostField(const HttpRequest& request)
{
    const bool bareIpv6 = request.Host.find(':') != std::string::npos && !request.Host.starts_with('[');
    std::string field = bareIpv6 ? "[" + request.Host + "]" : request.Host;
    if (request.Port != (request.UseTls ? 443 : 80)) field += ":" + std::to_string(request.Port);
    return field;
}

} // namespace

std::string HttpGetRequest(const HttpRequest& request)
{
    // A request target must begin with "/"; a path prefix typed without one still means the root.
    const std::string target = (request.Path.starts_with('/') ? "" : "/") + PercentEncodedBytes(request.Path);
    return "GET " + target + " HTTP/1.1\r\n" +
           "Host: " + HostField(request) + "\r\n" +
           "Authorization: Basic " + Base64Encode(request.UserName + ":" + request.Password) + "\r\n" +
           "Accept-Encoding: identity\r\n" +
           "Connection: close\r\n\r\n";
}

bool IsUsableHostName(std::string_view host)
{
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        return IsSpaceOrBelow(c) || c == 0x7F || std::string_view("/?#@\\").find(c) != std::string_view::npos;
    });
}
