#include "core/run/RunLock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t MaxHolderLength = 200;

// The holder's line of the lock file, read in one bounded piece: whatever the file holds, it is
// shown only as far as a name and a process id reach.
std::string HolderIn(int descriptor)
{
    char text[MaxHolderLength];
    const ssize_t length = pread(descriptor, text, sizeof text, 0);
    std::string holder;
    for (ssize_t i = 0; i < length && text[i] != '\n'; ++i)
        if (static_cast<unsigned char>(text[i]) >= ' ') holder += text[i];
    return holder.empty() ? "another program" : holder;
}

// True when `path` still names the file open as `descriptor`: a holder that released the lock
// removes the file, and a lock taken on the removed file would guard nothing.
bool StillNamed(int descriptor, const std::string& path)
{
    struct stat open {}, named {};
    return fstat(descriptor, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

} // namespace

bool RunLock::Take(const std::string& directory, std::string& refusal)
{
    Release();
    const std::string path = directory + "/" + RunLockFileName;
    for (;;) {
        const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (descriptor < 0) return true;
        if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            refusal = "The program directory " + directory + " is in use by another run (" + HolderIn(descriptor) +
                      "). Close that run first.";
            close(descriptor);
            return false;
        }
        if (!StillNamed(descriptor, path)) {
            close(descriptor); // taken on a file its holder has just removed: try the new one
            continue;
        }
        const std::string holder =
            std::string(program_invocation_short_name) + ", process " + std::to_string(getpid()) + "\n";
        if (ftruncate(descriptor, 0) != 0 || pwrite(descriptor, holder.data(), holder.size(), 0) < 0) {
            // Still locked: a second run is refused all the same, its message just names no holder.
        }
        descriptor_ = descriptor;
        path_ = path;
        return true;
    }
}

void RunLock::Release()
{
    if (descriptor_ < 0) return;
    // Removed while still locked, so that nobody takes the lock on a file about to vanish.
    unlink(path_.c_str());
    close(descriptor_);
    descriptor_ = -1;
}
