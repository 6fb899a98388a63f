#pragma once
// One run at a time on a program directory. Two runs appending to the same output files interleave
// their records and spoil every file, so a run holds an exclusive lock on a lock file in the
// directory for as long as it lasts. The lock is the system's (flock): it goes with the process,
// so a killed run never leaves a stale lock behind. The file names its holder, for the message a
// second run shows.

#include <string>

inline constexpr const char* RunLockFileName = "Quillon.lock";

class RunLock {
public:
    RunLock() = default;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock() { Release(); }

    // Takes the lock of `directory` for this process, writing "<program>, process <pid>" into the lock
    // file. False when another process (or another RunLock of this one) holds it; `refusal` then
    // says so, naming the directory and the holder. A lock file that cannot be created at all (a
    // read-only directory) takes nothing and refuses nothing: such a run cannot write its results
    // either, and says so on its own.
    [[nodiscard]] bool Take(const std::string& directory, std::string& refusal);

    // Gives the lock up and removes the lock file; nothing when none is held.
    void Release();

private:
    int descriptor_ = -1;
    std::string path_;
};
