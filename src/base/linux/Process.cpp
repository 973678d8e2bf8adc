#include "base/linux/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

class TDescriptor {
public:
    TDescriptor() = default;
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor() { Close(); }

    int Get() const { return FFd; }
    void Reset(int Fd) {
        Close();
        FFd = Fd;
    }
    void Close() {
        if (FFd >= 0)
            close(FFd);
        FFd = -1;
    }

private:
    int FFd = -1;
};

// Both ends sit above the standard descriptors, even when ours were closed at start, so that
// setting up the child's 0, 1 and 2 cannot overwrite an end it still has to copy.
bool MakePipe(TDescriptor& Read, TDescriptor& Write) {
    int Ends[2];
    if (pipe2(Ends, O_CLOEXEC) != 0)
        return false;
    for (int& End : Ends)
        if (End < 3) {
            const int Lifted = fcntl(End, F_DUPFD_CLOEXEC, 3);
            close(End);
            End = Lifted;
        }
    Read.Reset(Ends[0]);
    Write.Reset(Ends[1]);
    return Read.Get() >= 0 && Write.Get() >= 0;
}

// Reads both pipes together, so a program that fills one while we wait on the other cannot stall.
void ReadBoth(int OutputFd, int ErrorsFd, TProcessResult& Result) {
    pollfd Fds[2] = {{OutputFd, POLLIN, 0}, {ErrorsFd, POLLIN, 0}};
    std::string* Sinks[2] = {&Result.Output, &Result.Errors};
    int Open = 2;
    while (Open > 0) {
        if (poll(Fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (int I = 0; I < 2; ++I) {
            if (Fds[I].fd < 0 || Fds[I].revents == 0)
                continue;
            char Buffer[4096];
            const ssize_t Got = read(Fds[I].fd, Buffer, sizeof Buffer);
            if (Got > 0) {
                Sinks[I]->append(Buffer, static_cast<std::size_t>(Got));
            } else if (Got == 0 || errno != EINTR) {
                Fds[I].fd = -1; // poll skips it from now on
                --Open;
            }
        }
    }
}

int WaitFor(pid_t Child) {
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0)
        if (errno != EINTR)
            return -1;
    if (WIFEXITED(Status))
        return WEXITSTATUS(Status);
    return 128 + WTERMSIG(Status);
}

} // namespace

TProcessResult RunProcess(const std::vector<std::string>& Args,
                          const std::function<void()>& WhileRunning) {
    TProcessResult Result;
    TDescriptor OutputRead, OutputWrite, ErrorsRead, ErrorsWrite;
    if (Args.empty() || !MakePipe(OutputRead, OutputWrite) || !MakePipe(ErrorsRead, ErrorsWrite))
        return Result;
    std::vector<char*> Argv;
    for (const std::string& A : Args)
        Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);

    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_adddup2(&Actions, OutputWrite.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&Actions, ErrorsWrite.Get(), STDERR_FILENO);
    posix_spawn_file_actions_addopen(&Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Close-on-exec covers what we open; this also covers what a library opened without it.
    posix_spawn_file_actions_addclosefrom_np(&Actions, 3);
    pid_t Child = 0;
    const int Spawned = posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    if (Spawned != 0)
        return Result;

    OutputWrite.Close();
    ErrorsWrite.Close();
    if (WhileRunning)
        WhileRunning();
    ReadBoth(OutputRead.Get(), ErrorsRead.Get(), Result);
    Result.ExitCode = WaitFor(Child);
    return Result;
}
