#pragma once
// An output file held open for appending: a pass writes each record with one write() instead of an
// open and a close per line. A write that fails part-way can be undone by truncating back to an
// earlier size, so that no half record stays in the file.

#include <cstdint>
#include <string>
#include <string_view>

class AppendFile {
public:
    AppendFile() = default;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile() { Close(); }

    // Opens `path` for appending, creating it (mode 0644 less the umask) when missing. A symbolic
    // link, a directory or anything else that is not a regular file is refused. False when it
    // cannot be opened; errno then tells why.
    [[nodiscard]] bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Writes all of `text` at the end of the file. 0 when it was written, else the errno of the
    // write that failed (what was written of it before is still in the file: see TruncateTo).
    [[nodiscard]] int Append(std::string_view text);
    // The file's length as this object has written it.
    std::int64_t Size() const { return size_; }
    // Cuts the file back to `size` bytes. 0 or the errno of the failure.
    [[nodiscard]] int TruncateTo(std::int64_t size);

    void Close();

private:
    int fd_ = -1;
    std::string path_;
    std::int64_t size_ = 0;
};
