#pragma once
// Starts the real quillon-cli as a child process with its standard error in a file, so tests can
// signal or kill it at any moment and read what it said.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class CliProcess {
public:
    // Starts `quillon-cli` with `arguments`; standard error goes to `stderrPath`.
    CliProcess(const std::vector<std::string>& arguments, const std::string& stderrPath)
    {
        std::vector<std::string> all{QUILLON_BINARY_DIR "/quillon-cli"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CliProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Signal(int number) { ::kill(pid_, number); }

    // The exit status, or 128 + the signal that ended the process (as a shell reports it).
    int Wait()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
        exited_ = true;
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }

    // True when the process has ended by itself, without waiting for it.
    bool HasExited(int& code)
    {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        exited_ = true;
        code = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
        return true;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

// Runs quillon-cli to its end and returns its exit status.
inline int RunCli(const std::vector<std::string>& arguments, const std::string& stderrPath)
{
    CliProcess process(arguments, stderrPath);
    return process.Started() ? process.Wait() : -1;
}
