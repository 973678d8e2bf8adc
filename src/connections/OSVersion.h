#pragma once

#include <string>

// What the platform says about the running system.
struct TOSVersionInfo {
    bool Available = false;
    unsigned PlatformId = 0; // 1 for the old Windows family, 2 for NT
    unsigned Major = 0;
    unsigned Minor = 0;
    std::string CSDVersion; // the service-pack string
};

constexpr unsigned VER_PLATFORM_WIN_9X = 1;
constexpr unsigned VER_PLATFORM_NT = 2;

// The code the discovery chooses its walk by: 7 walks class by class; 8, 9 and 10 walk adapter by
// adapter; every other code finds nothing.
int GetOSVersionCode(const TOSVersionInfo& Info);

// The version information of the running platform.
TOSVersionInfo GetPlatformVersionInfo();
