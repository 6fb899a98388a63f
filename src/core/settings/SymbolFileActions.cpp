#include "core/settings/SymbolFileActions.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "core/text/TextFile.h"

namespace {

// The symbol file can no longer be trusted to match the list and position held for the run.
void ForgetRunPosition(SharedState& state)
{
    RemoveFile(state.Paths.FnProgress); // a missing progress file is no error
    state.SymbolsLoaded = false;
}

bool IsReadable(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

// Creates the file only when it does not exist: an existing file that merely cannot be read must
// never be truncated by an attempt to "create" it.
bool CreateMissingFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

// A rename that fails when the target exists, as the swap's three steps rely on: a leftover
// temporary file must stop the swap rather than be overwritten.
bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse by itself; check first (one user, one thread).
    return !FileExists(to) && RenameFile(from, to);
}

} // namespace

bool ChooseSymbolFile(SharedState& state, SymbolFileHost& host)
{
    const std::string previous = state.Settings.FnSym;
    const auto chosen = host.ChooseFileName(state.Paths.ProgramDirectory, previous);
    if (!chosen) return false;
    state.Settings.FnSym = *chosen;
    if (!IsReadable(*chosen) && !CreateMissingFile(*chosen)) {
        host.ShowMessage("Cannot create " + *chosen + ", please try another file name.");
        state.Settings.FnSym = previous;
    }
    host.SaveSettings();
    ForgetRunPosition(state);
    return true;
}

void EditSymbolFile(SharedState& state, SymbolFileHost& host)
{
    const std::string& fnSym = state.Settings.FnSym;
    if (!IsReadable(fnSym)) CreateMissingFile(fnSym); // the editor reports what still fails
    host.OpenInEditor(fnSym);
    ForgetRunPosition(state);
}

bool SwapSymbolFile(SharedState& state, SymbolFileHost& host, const std::string& other)
{
    const std::string& fnSym = state.Settings.FnSym;
    if (!host.AskYesNo(SwapQuestion(fnSym, other))) return false;
    ForgetRunPosition(state);
    // Each step runs even when the one before failed: a missing file on either side then simply
    // moves the other file's content across.
    RenameWithoutReplacing(fnSym, state.Paths.FnTemp);
    RenameWithoutReplacing(other, fnSym);
    RenameWithoutReplacing(state.Paths.FnTemp, other);
    return true;
}

std::string SwapQuestion(const std::string& fnSym, const std::string& other)
{
    return "Swap the contents of " + fnSym + "\r\nwith the contents of " + other + "\r\nAre you sure ?";
}
