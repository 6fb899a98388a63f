// The settings reader over arbitrary bytes: no crash, whatever it takes over is written back as
// exactly 36 lines (no value read can carry a line break into the file), and the login codec
// returns what it encoded.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/Base64.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    UserSettings settings;
    SetDefaults(settings);
    ReadSettingsText(settings, bytes);
    const std::string written = SettingsFileText(settings);
    if (SplitLines(written).size() != 36) __builtin_trap();

    if (Base64Decode(Base64Encode(bytes)) != bytes) __builtin_trap();
    (void)Base64Decode(bytes);
    return 0;
}
