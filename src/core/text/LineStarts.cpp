#include "core/text/LineStarts.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace {

constexpr std::size_t ReadBufferBytes = 64 * 1024;

class RegularFile {
public:
    // Opened without waiting, so that a FIFO is refused instead of blocking until a writer comes.
    explicit RegularFile(const std::string& path) : descriptor_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
        struct stat status {};
        if (descriptor_ >= 0 && (fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode))) {
            close(descriptor_);
            descriptor_ = -1;
        }
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile()
    {
        if (descriptor_ >= 0) close(descriptor_);
    }

    bool IsOpen() const { return descriptor_ >= 0; }

    // Bytes read into `buffer`: 0 at the end of the file, -1 on a read error.
    ssize_t Read(std::array<char, ReadBufferBytes>& buffer)
    {
        ssize_t length;
        do length = read(descriptor_, buffer.data(), buffer.size());
        while (length < 0 && errno == EINTR);
        return length;
    }

private:
    int descriptor_;
};

} // namespace

bool ReadLineStarts(const std::string& path, std::size_t keep, const std::function<bool(std::string_view)>& visit)
{
    RegularFile file(path);
    if (!file.IsOpen()) return false;
    std::array<char, ReadBufferBytes> buffer;
    std::string line;
    bool lineOpen = false;    // bytes of a line not yet handed over
    bool afterCr = false;     // an LF right after a CR belongs to the same line end
    for (;;) {
        const ssize_t length = file.Read(buffer);
        if (length < 0) return false;
        if (length == 0) break;
        for (ssize_t i = 0; i < length; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            const bool secondHalfOfCrLf = afterCr && c == '\n';
            afterCr = c == '\r';
            if (secondHalfOfCrLf) continue;
            if (c == '\r' || c == '\n') {
                if (!visit(line)) return true;
                line.clear();
                lineOpen = false;
                continue;
            }
            lineOpen = true;
            if (line.size() < keep) line += c;
        }
    }
    if (lineOpen) visit(line);
    return true;
}
