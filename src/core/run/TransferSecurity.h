#pragma once
// Whether a run's transfers are encrypted, and whether a plain one exposes the password to the
// network. The "Switch" text of the quote server settings chooses the encryption.

#include <string_view>

inline constexpr const char* UnencryptedPasswordText =
    "Warning: the password is sent unencrypted; set Switch to HTTPS in Setup - Quote Server";

// True when the Switch text reads "HTTPS" in any case, blanks around it ignored; any other text,
// the empty one included, keeps plain HTTP.
bool SwitchSelectsTls(std::string_view switchText);

// True when `host` names this machine: "localhost" (any case, one trailing dot allowed), a dotted
// IPv4 address in 127.0.0.0/8, or "::1" (bracketed or not). Blanks around the name are ignored.
// Any other name, including ones that might resolve to this machine, counts as remote.
bool IsLoopbackHost(std::string_view host);
