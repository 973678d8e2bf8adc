// The Linux console check: one copy at a time, the data folder, provisioning, both tables opened
// and a short report of what they hold.
#include "DataFolder.h"

#include "base/TApplication.h"
#include "data/o_DatabaseConnection.h"
#include "shell/GlobalUnit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const NoLock = "Error creando mutex";
const char* const AlreadyRunning =
    "Quelvano ya se encuentra en ejecucion.\rRecuerde que cuando usted minimiza Quelvano la "
    "aplicacion se oculta al costado del reloj.";

std::string EnvOr(const char* Name, const std::string& Fallback) {
    const char* V = std::getenv(Name);
    return V && *V ? V : Fallback;
}

enum class TInstanceLock { Taken, Held, Failed };

// The kernel drops the lock when the process dies, however it dies. Without a runtime folder it
// lives in the user's own data folder: in a shared one, another user's copy (or whoever made the
// file first) would hold it.
TInstanceLock TakeInstanceLock(const std::string& Data) {
    std::string Dir = EnvOr("XDG_RUNTIME_DIR", "");
    if (Dir.empty()) {
        if (!MakeFolder(Data))
            return TInstanceLock::Failed;
        Dir = Data;
    }
    const int Fd = open((Dir + "/quelvano.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Fd < 0)
        return TInstanceLock::Failed;
    if (flock(Fd, LOCK_EX | LOCK_NB) == 0)
        return TInstanceLock::Taken;
    return errno == EWOULDBLOCK ? TInstanceLock::Held : TInstanceLock::Failed;
}

int Run() {
    TApplication App;
    ProvisionDataFolder();
    TgtIPDBManager* Manager = GetIPDBManager();
    Manager->OpenDatabase();
    std::printf("%s\n%d IP sets, %d connections\n", DatabaseFileName().c_str(),
                Manager->IPSets()->RecordCount(), Manager->ConnectionNames()->RecordCount());
    return 0;
}

} // namespace

int main() {
    const std::string Data = DataFolder();
    const TInstanceLock Lock = TakeInstanceLock(Data);
    if (Lock != TInstanceLock::Taken) {
        std::fprintf(stderr, "%s\n", Lock == TInstanceLock::Held ? AlreadyRunning : NoLock);
        return 0;
    }
    try {
        return Run();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "Application Error: %s\n", E.what());
        return 1;
    }
}
