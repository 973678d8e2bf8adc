#include "adapters/linux/NetworkManager.h"

#include "base/TextUtils.h"

#include <cerrno>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Output of a program run with its standard output piped; empty unless it exits with 0.
std::string RunCapture(const std::vector<std::string>& Args) {
    int Pipe[2];
    if (pipe(Pipe) != 0)
        return std::string();
    const pid_t Child = fork();
    if (Child == 0) {
        dup2(Pipe[1], STDOUT_FILENO);
        close(Pipe[0]);
        close(Pipe[1]);
        std::vector<char*> Argv;
        for (const std::string& A : Args)
            Argv.push_back(const_cast<char*>(A.c_str()));
        Argv.push_back(nullptr);
        execvp(Argv[0], Argv.data());
        _exit(127);
    }
    close(Pipe[1]);
    std::string Output;
    if (Child > 0) {
        char Buffer[4096];
        ssize_t Got;
        while ((Got = read(Pipe[0], Buffer, sizeof Buffer)) > 0 || (Got < 0 && errno == EINTR))
            if (Got > 0)
                Output.append(Buffer, static_cast<std::size_t>(Got));
    }
    close(Pipe[0]);
    int Status = 0;
    if (Child < 0 || waitpid(Child, &Status, 0) != Child || !WIFEXITED(Status) ||
        WEXITSTATUS(Status) != 0)
        return std::string();
    return Output;
}

std::string AfterPrefix(const std::string& Text, const std::string& Prefix) {
    return Text.compare(0, Prefix.size(), Prefix) == 0 ? Trim(Text.substr(Prefix.size()))
                                                       : std::string();
}

} // namespace

bool NetworkManagerRunning() {
    return Trim(RunCapture({"nmcli", "-t", "-f", "RUNNING", "general"})) == "running";
}

std::map<std::string, TNmDevice> ReadNmDevices() {
    return ParseNmDeviceShow(
        RunCapture({"nmcli", "-t", "-f", "GENERAL,IP4,DHCP4", "device", "show"}));
}

std::map<std::string, TNmDevice> ParseNmDeviceShow(const std::string& Output) {
    std::map<std::string, TNmDevice> Devices;
    TNmDevice* Current = nullptr;
    std::string Vendor;
    std::istringstream In(Output);
    std::string Line;
    while (std::getline(In, Line)) {
        const std::size_t Colon = Line.find(':');
        if (Colon == std::string::npos)
            continue;
        const std::string Key = Line.substr(0, Colon);
        const std::string Value = Trim(Line.substr(Colon + 1));
        if (Key == "GENERAL.DEVICE") {
            Current = &Devices[Value];
            Vendor.clear();
        } else if (Current == nullptr) {
            continue;
        } else if (Key == "GENERAL.VENDOR") {
            Vendor = Value;
        } else if (Key == "GENERAL.PRODUCT") {
            Current->Description = Trim(Vendor + " " + Value);
        } else if (Key.compare(0, 8, "IP4.DNS[") == 0) {
            Current->DnsServers.push_back(Value);
        } else if (Key.compare(0, 13, "DHCP4.OPTION[") == 0) {
            Current->Dhcp = true;
            const std::string Server = AfterPrefix(Value, "dhcp_server_identifier =");
            if (!Server.empty())
                Current->DhcpServer = Server;
        }
    }
    return Devices;
}
