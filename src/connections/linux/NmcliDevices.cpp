#include "connections/linux/NmcliDevices.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Terse output escapes ':' and '\' inside values with a backslash.
std::vector<std::string> SplitTerseLine(const std::string& Line) {
    std::vector<std::string> Fields(1);
    for (std::size_t I = 0; I < Line.size(); ++I) {
        const char C = Line[I];
        if (C == '\\' && I + 1 < Line.size())
            Fields.back() += Line[++I];
        else if (C == ':')
            Fields.emplace_back();
        else
            Fields.back() += C;
    }
    return Fields;
}

} // namespace

std::vector<std::pair<std::string, std::string>> ParseNmcliDevices(const std::string& Output) {
    std::vector<std::pair<std::string, std::string>> Devices;
    std::size_t Start = 0;
    while (Start < Output.size()) {
        std::size_t End = Output.find('\n', Start);
        if (End == std::string::npos)
            End = Output.size();
        const std::vector<std::string> Fields = SplitTerseLine(Output.substr(Start, End - Start));
        if (Fields.size() == 2 && !Fields[0].empty())
            Devices.emplace_back(Fields[0], Fields[1]);
        Start = End + 1;
    }
    return Devices;
}

bool RunNmcli(const std::vector<std::string>& Args, std::string& Output) {
    std::vector<char*> Argv;
    std::string Program = "nmcli";
    Argv.push_back(Program.data());
    std::vector<std::string> Copies = Args;
    for (std::string& A : Copies)
        Argv.push_back(A.data());
    Argv.push_back(nullptr);

    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0)
        return false;
    const pid_t Child = fork();
    if (Child < 0) {
        close(Pipe[0]);
        close(Pipe[1]);
        return false;
    }
    if (Child == 0) {
        dup2(Pipe[1], STDOUT_FILENO);
        const int Null = open("/dev/null", O_RDWR);
        if (Null >= 0) {
            dup2(Null, STDIN_FILENO);
            dup2(Null, STDERR_FILENO);
        }
        execvp(Argv[0], Argv.data());
        _exit(127);
    }
    close(Pipe[1]);
    Output.clear();
    char Buffer[4096];
    for (;;) {
        const ssize_t Got = read(Pipe[0], Buffer, sizeof Buffer);
        if (Got > 0)
            Output.append(Buffer, static_cast<std::size_t>(Got));
        else if (Got == 0 || errno != EINTR)
            break;
    }
    close(Pipe[0]);
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
