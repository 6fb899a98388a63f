#include "core/text/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/AppendFile.h"

namespace {

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The temporary is created, never reused: a name planted in its place (a link to a file elsewhere)
// is removed, not followed, and a second one planted in between makes the replace fail.
int CreateTemporary(const std::string& temporary, mode_t mode)
{
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), flags, mode);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0) fd = ::open(temporary.c_str(), flags, mode);
    return fd;
}

} // namespace

bool ReplaceFile(const std::string& path, std::string_view content, FileAccess access, FlushToDisk flush)
{
    const std::string temporary = path + std::string(TemporarySuffix);
    const int fd = CreateTemporary(temporary, access == FileAccess::OwnerOnly ? 0600 : 0644);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, content) && (flush == FlushToDisk::No || ::fsync(fd) == 0);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool AppendToFile(const std::string& path, std::string_view content)
{
    AppendFile file;
    return file.Open(path) && file.Append(content) == 0;
}

bool CreateEmptyFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

bool CanAppendTo(const std::string& path)
{
    AppendFile file;
    return file.Open(path);
}

std::optional<std::string> ReadFirstLine(const std::string& path, std::size_t maxLength)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    std::string line;
    bool failed = !regular;
    char buffer[512];
    while (!failed && line.size() < maxLength) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        const std::string_view piece(buffer, static_cast<std::size_t>(got));
        const auto end = piece.find_first_of("\r\n");
        line.append(piece.substr(0, end));
        if (end != std::string_view::npos) break;
    }
    ::close(fd);
    if (failed) return std::nullopt;
    if (line.size() > maxLength) line.resize(maxLength);
    return line;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return content;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool FileIsNonEmpty(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return !error && size > 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

void RemoveLeftoverTemporaryFiles(const std::string& directory)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > TemporarySuffix.size() && name.ends_with(TemporarySuffix))
            std::filesystem::remove(entry.path(), error);
    }
}
