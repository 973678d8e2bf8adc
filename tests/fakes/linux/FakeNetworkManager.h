#pragma once

// What the Linux back end sees of NetworkManager, made up by a test: nmcli on PATH and the
// system bus, each changed only while the object lives.
#include "base/linux/Process.h"
#include "fakes/TempFolder.h"

#include <systemd/sd-bus.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

// An environment variable set for the life of the object, then put back as it was.
class ScopedEnv {
public:
    ScopedEnv(const char* Name, const std::string& Value) : FName(Name) {
        const char* Old = std::getenv(Name);
        FHadOld = Old != nullptr;
        FOld = FHadOld ? Old : "";
        setenv(Name, Value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (FHadOld)
            setenv(FName, FOld.c_str(), 1);
        else
            unsetenv(FName);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* FName;
    bool FHadOld;
    std::string FOld;
};

// A script named nmcli first on PATH. It appends "called" to Log() each time it runs, then runs
// Body.
class FakeNmcli {
public:
    explicit FakeNmcli(const std::string& Body)
        : FPath("PATH", FFolder.Path().string() + ":" + std::getenv("PATH")) {
        const std::string Script = FFolder.File("nmcli");
        WriteWholeFile(Script, "#!/bin/sh\necho called >> '" + Log() + "'\n" + Body + "\n");
        std::filesystem::permissions(Script, std::filesystem::perms::owner_all);
    }

    std::string Log() const { return FFolder.File("log"); }
    int Calls() const {
        const std::string Text = ReadWholeFile(Log());
        return static_cast<int>(Text.size() / std::string("called\n").size());
    }

private:
    TempFolder FFolder;
    ScopedEnv FPath;
};

// A dbus-daemon of the test's own as the system bus, through DBUS_SYSTEM_BUS_ADDRESS as the
// NetworkManager sandbox points nmcli at its bus. Own() makes this process hold a name on it.
class PrivateSystemBus {
public:
    PrivateSystemBus() : FAddress("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + FFolder.File("bus")) {
        const std::string Config = FFolder.File("bus.conf");
        WriteWholeFile(Config,
                       "<busconfig><type>system</type><listen>unix:path=" + FFolder.File("bus") +
                           "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                           "<allow own=\"*\"/><allow send_destination=\"*\"/>"
                           "<allow receive_sender=\"*\"/>"
                           "</policy></busconfig>\n");
        const TProcessResult Run =
            RunProcess({"dbus-daemon", "--config-file=" + Config, "--fork", "--print-pid=1"});
        if (Run.ExitCode != 0)
            throw std::runtime_error("dbus-daemon did not start: " + Run.Errors);
        FDaemon = std::stoi(Run.Output);
    }
    ~PrivateSystemBus() {
        sd_bus_flush_close_unref(FOwner);
        kill(FDaemon, SIGTERM);
    }
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    void Own(const std::string& Name) {
        if (FOwner == nullptr && sd_bus_open_system(&FOwner) < 0)
            throw std::runtime_error("cannot reach the private bus");
        if (sd_bus_request_name(FOwner, Name.c_str(), 0) < 0)
            throw std::runtime_error("cannot own " + Name);
    }

private:
    TempFolder FFolder;
    ScopedEnv FAddress;
    pid_t FDaemon = 0;
    sd_bus* FOwner = nullptr;
};

// No system bus at all, as in a container: the address names a socket that does not exist.
class NoSystemBus {
public:
    NoSystemBus() : FAddress("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + FFolder.File("none")) {}

private:
    TempFolder FFolder;
    ScopedEnv FAddress;
};
