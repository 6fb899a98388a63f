#pragma once
// Fuzz inputs for readers that take a path: each input is written to a file in a private scratch
// directory made once per process.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

inline const std::string& FuzzScratchDirectory()
{
    static const std::string directory = [] {
        char pattern[] = "/tmp/quillon-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        return std::string(made);
    }();
    return directory;
}

// Writes the input to `name` in the scratch directory and returns its path.
inline std::string WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzScratchDirectory() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}
