#include "core/run/ProgressFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/numbers/NumberText.h"
#include "core/text/TextFile.h"
#include "core/run/RunStatus.h"

namespace {

// Two counters, a comma and room for blanks; a longer first line is damage and is not read on.
constexpr std::size_t RecordLineLimit = 256;

// No pass can count past the length of the longest symbol list, so a larger figure is damage.
std::optional<std::int16_t> ReadCounter(std::string_view field)
{
    const auto value = ParseInteger(field);
    if (!value || *value < 0 || *value > SymbolCapacityLimit) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::string_view FirstLine(std::string_view record)
{
    const auto lines = SplitLines(record);
    return lines.empty() ? std::string_view{} : lines.front();
}

} // namespace

bool ProgressRecord::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    length_ = status.st_size;
    return true;
}

int ProgressRecord::Write(std::int16_t savedCount, std::int16_t symbolIndex)
{
    const std::string record =
        std::to_string(savedCount) + "," + std::to_string(symbolIndex) + std::string(CrLf);
    const ssize_t written = ::pwrite(fd_, record.data(), record.size(), 0);
    if (written < 0) return errno;
    if (static_cast<std::size_t>(written) != record.size()) return ENOSPC;
    // The cut only removes an older, longer record's tail, which lies after the new line end. The
    // index mostly keeps its length or grows, so most records need none.
    const auto length = static_cast<std::int64_t>(record.size());
    if (length < length_ && ::ftruncate(fd_, static_cast<off_t>(length)) != 0) return errno;
    length_ = length;
    return 0;
}

void ProgressRecord::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool WriteProgress(const std::string& path, std::int16_t savedCount, std::int16_t symbolIndex)
{
    ProgressRecord record;
    return record.Open(path) && record.Write(savedCount, symbolIndex) == 0;
}

std::optional<std::string> ReadProgressLine(const std::string& path)
{
    return ReadFirstLine(path, RecordLineLimit);
}

std::optional<std::pair<std::int16_t, std::int16_t>> ReadProgress(const std::string& path)
{
    const auto line = ReadProgressLine(path);
    if (!line) return std::nullopt;
    const auto comma = line->find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto savedCount = ReadCounter(std::string_view(*line).substr(0, comma));
    const auto symbolIndex = ReadCounter(std::string_view(*line).substr(comma + 1));
    if (!savedCount || !symbolIndex) return std::nullopt;
    return std::make_pair(*savedCount, *symbolIndex);
}

std::optional<std::int16_t> ParseSavedCountField(std::string_view record)
{
    const std::string_view line = FirstLine(record);
    return ReadCounter(line.substr(0, line.find(',')));
}
