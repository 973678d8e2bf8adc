#include "DataFolder.h"

#include "base/Exception.h"
#include "shell/GlobalUnit.h"
#include "shell/Provisioning.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

extern const unsigned char QuelvanoTemplate[];
extern const std::size_t QuelvanoTemplateSize;

namespace {

std::string EnvOr(const char* Name, const std::string& Fallback) {
    const char* V = std::getenv(Name);
    return V && *V ? V : Fallback;
}

} // namespace

std::string DataFolder() {
    return EnvOr("XDG_DATA_HOME", EnvOr("HOME", ".") + "/.local/share") + "/quelvano";
}

bool MakeFolder(const std::string& Path) {
    for (std::size_t Pos = 1; Pos <= Path.size(); ++Pos)
        if (Pos == Path.size() || Path[Pos] == '/')
            if (mkdir(Path.substr(0, Pos).c_str(), 0700) != 0 && errno != EEXIST)
                return false;
    return true;
}

void ProvisionDataFolder() {
    const std::string Data = DataFolder();
    if (!MakeFolder(Data))
        throw Exception("Cannot create folder \"" + Data + "\". " + std::strerror(errno));
    DataPath = Data + "/";
    ProvisionFile(DatabaseFileName(), std::string(reinterpret_cast<const char*>(QuelvanoTemplate),
                                                  QuelvanoTemplateSize));
}
