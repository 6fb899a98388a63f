#pragma once
// Whole-file and append operations on our text files. Writers use CR LF; readers also accept a
// lone CR or a lone LF as a line end, so files touched by any editor read back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view CrLf = "\r\n";

// Suffix of the temporary file that an atomic rewrite renames over its target. A file with this
// suffix left in the program directory is debris of a killed process.
inline constexpr std::string_view TemporarySuffix = ".quillon-tmp";

enum class FileAccess { Everyone, OwnerOnly };
// Flushing to the disk costs milliseconds; the rename alone already protects against a killed
// process, so only rarely written files that must survive a power loss ask for it.
enum class FlushToDisk { No, Yes };

// Replaces the file at `path` with `content`: written to a temporary file in the same directory
// (path + TemporarySuffix, created anew, never through a link), then renamed over the target, so a
// crash or a full disk never leaves a truncated file. FileAccess::OwnerOnly creates it with mode
// 0600. Returns false when the file could not be replaced (the old one is then untouched).
[[nodiscard]] bool ReplaceFile(const std::string& path, std::string_view content,
                               FileAccess access = FileAccess::Everyone,
                               FlushToDisk flush = FlushToDisk::No);

// Appends `content` with one write, creating the file when missing. False when it cannot (a link
// or anything but a regular file in its place is refused).
[[nodiscard]] bool AppendToFile(const std::string& path, std::string_view content);

// Creates the file when missing, or truncates it to zero length. False when it cannot.
[[nodiscard]] bool CreateEmptyFile(const std::string& path);

// True when the file can be opened for appending (created when missing), as a run checks before it
// starts writing results.
[[nodiscard]] bool CanAppendTo(const std::string& path);

// The first line of a regular file without its line end, cut after `maxLength` characters: the
// file is read no further. Nothing when it cannot be opened or is not a regular file (a link to
// one included). A file without any line end is one line.
std::optional<std::string> ReadFirstLine(const std::string& path, std::size_t maxLength);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);
bool FileIsNonEmpty(const std::string& path);
// Missing files are no error: these report only whether the file is gone / was renamed.
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// Splits text into lines at CR LF, lone CR or lone LF. Text after the last line end is a line of
// its own when it is not empty.
std::vector<std::string_view> SplitLines(std::string_view text);

// Removes temporary files of interrupted rewrites from a directory (done at start-up).
void RemoveLeftoverTemporaryFiles(const std::string& directory);
