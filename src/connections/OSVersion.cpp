#include "connections/OSVersion.h"

namespace {

int Win9xCode(const TOSVersionInfo& Info) {
    if (Info.Major != 4)
        return 0;
    switch (Info.Minor) {
    case 0:
        return 1;
    case 10:
        return Info.CSDVersion.size() > 1 && Info.CSDVersion[1] == 'A' ? 3 : 2;
    case 90:
        return 5;
    default:
        return 0;
    }
}

int NTCode(const TOSVersionInfo& Info) {
    if (Info.Major <= 4)
        return 4;
    if (Info.Major == 5)
        return Info.Minor == 0 ? 6 : Info.Minor == 1 ? 7 : 0;
    if (Info.Major == 6 && Info.Minor <= 1)
        return Info.Minor == 0 ? 8 : 9;
    // Windows 8 and every later system keep the layout of 6.1; without a code of their own they
    // would find no connection at all.
    return 10;
}

} // namespace

int GetOSVersionCode(const TOSVersionInfo& Info) {
    if (!Info.Available)
        return 0;
    switch (Info.PlatformId) {
    case VER_PLATFORM_WIN_9X:
        return Win9xCode(Info);
    case VER_PLATFORM_NT:
        return NTCode(Info);
    default:
        return 0;
    }
}
