#pragma once
// The bytes of a quote request as they go out on the connection: one GET, the login as Basic
// authentication, the page asked for uncompressed, the connection closed after the answer.

#include <string>
#include <string_view>

#include "core/run/HttpTransfer.h"

// The request line and header fields, ended by the empty line. The path goes out byte for byte:
// the settings file is not UTF-8, so a byte outside printable ASCII (or a "#") is percent-encoded
// as the byte it is, never decoded as text first.
std::string HttpGetRequest(const HttpRequest& request);

// False for a host name that would break the request before any lookup: empty, or holding a
// blank, a control character or one of "/?#@\" that ends a host name in an address.
bool IsUsableHostName(std::string_view host);
