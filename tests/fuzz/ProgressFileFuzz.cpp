// The progress reader on any file content: either nothing or a position inside the list limits.

#include <cstdint>

#include "FuzzFile.h"
#include "core/run/ProgressFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto progress = ReadProgress(WriteFuzzFile("Progress.---", data, size));
    if (progress && (progress->first < 0 || progress->second < 0)) __builtin_trap();
    return 0;
}
