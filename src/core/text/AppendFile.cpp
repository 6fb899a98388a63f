#include "core/text/AppendFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool AppendFile::Open(const std::string& path)
{
    Close();
    // O_NONBLOCK keeps a FIFO planted at the name from blocking the open; it is refused below.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    fd_ = fd;
    path_ = path;
    size_ = status.st_size;
    return true;
}

int AppendFile::Append(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd_, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC; // a regular file that takes nothing has no room left
        size_ += written;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int AppendFile::TruncateTo(std::int64_t size)
{
    if (::ftruncate(fd_, size) != 0) return errno;
    size_ = size;
    return 0;
}

void AppendFile::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}
