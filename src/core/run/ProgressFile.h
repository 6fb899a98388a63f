#pragma once
// The progress record: where an interrupted run resumes. One line "SavedCount,SymbolIndex" and
// CR LF, for example "3,17".
//
// It is rewritten many times a pass (with every commit of the pass's lines, see PassOutputFiles),
// so it is not replaced through a temporary file and a rename (which makes some file systems write
// the data out each time) but overwritten in place with one write at offset 0, and cut to its
// length when it is shorter than what the file held. The write of a few bytes into one page is
// whole or not at all, and its CR LF ends the first line: a reader that takes only the first line
// sees the new record or the previous one, even right after a killed process left a longer old
// record's tail behind it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The progress file held open for a pass.
class ProgressRecord {
public:
    ProgressRecord() = default;
    ProgressRecord(const ProgressRecord&) = delete;
    ProgressRecord& operator=(const ProgressRecord&) = delete;
    ~ProgressRecord() { Close(); }

    // Opens (or creates) the file; a link or anything but a regular file in its place is refused.
    // False when it cannot be opened.
    [[nodiscard]] bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // 0 when the record was written, else the errno of the failure.
    [[nodiscard]] int Write(std::int16_t savedCount, std::int16_t symbolIndex);
    void Close();

private:
    int fd_ = -1;
    std::int64_t length_ = 0; // of the file, as found at Open and left by each write
};

// Opens, writes and closes: for the one record written outside a pass's files. False when it could
// not be written.
[[nodiscard]] bool WriteProgress(const std::string& path, std::int16_t savedCount,
                                 std::int16_t symbolIndex);

// The record's (SavedCount, SymbolIndex), or nothing when the file is missing, not a regular file,
// or its first line is not two whole numbers from 0 to 30000 separated by a comma (blanks around
// them allowed). Only the start of the first line is read.
std::optional<std::pair<std::int16_t, std::int16_t>> ReadProgress(const std::string& path);

// The first line of the progress file as ReadProgress takes it: nothing when it cannot be read.
std::optional<std::string> ReadProgressLine(const std::string& path);

// The saved count alone: the first comma-separated field of the record's first line, under the
// same rule. Nothing when that field cannot be read.
std::optional<std::int16_t> ParseSavedCountField(std::string_view record);
