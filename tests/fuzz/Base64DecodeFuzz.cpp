// Base64Decode never fails on any text, and decoding an encoding gives the bytes back.

#include <cstdint>
#include <string>

#include "core/text/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)Base64Decode(input);
    if (Base64Decode(Base64Encode(input)) != input) __builtin_trap();
    return 0;
}
