#pragma once
// Peak-memory figures mean nothing under AddressSanitizer: its shadow memory and the quarantine of
// freed blocks keep far more resident than the program uses. Memory assertions check the plain
// build only; the sanitizer build runs the same tests for what it is good at.

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool UnderAddressSanitizer = true;
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
