#pragma once
// Reading a file of which only the start of each line matters (a symbol file) in bounded memory:
// whatever the file holds, one read buffer and one line's start are all that is kept. Devices,
// pipes and directories are refused, since /dev/zero or a FIFO named in a setting would otherwise
// be read for ever.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Hands `visit` the first `keep` bytes of each line of the regular file at `path`, in order; lines
// end at CR LF, a lone CR or a lone LF, and text after the last line end is a line of its own.
// Stops as soon as `visit` returns false. False, having visited nothing, when `path` is not a
// regular file or cannot be opened; false too when reading fails part-way.
[[nodiscard]] bool ReadLineStarts(const std::string& path, std::size_t keep,
                                  const std::function<bool(std::string_view)>& visit);
