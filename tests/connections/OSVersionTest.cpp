#include "connections/OSVersion.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    bool Available;
    unsigned Platform, Major, Minor;
    const char* CSD;
    int Code;
};

TEST(GetOSVersionCode, MapsEveryRowOfTheTable) {
    const VersionCase Cases[] = {
        {false, 2, 6, 1, "", 0},   {true, 1, 4, 0, "", 1},   {true, 1, 4, 10, " A", 3},
        {true, 1, 4, 10, "A ", 2}, {true, 1, 4, 10, "", 2},  {true, 1, 4, 90, "", 5},
        {true, 1, 5, 0, "", 0},    {true, 2, 3, 51, "", 4},  {true, 2, 4, 0, "", 4},
        {true, 2, 5, 0, "", 6},    {true, 2, 5, 1, "", 7},   {true, 2, 5, 2, "", 0},
        {true, 2, 6, 0, "", 8},    {true, 2, 6, 1, "", 9},   {true, 2, 6, 2, "", 10},
        {true, 2, 6, 3, "", 10},   {true, 2, 10, 0, "", 10}, {true, 0, 6, 1, "", 0},
        {true, 3, 10, 0, "", 0},
    };
    for (const VersionCase& C : Cases) {
        TOSVersionInfo Info;
        Info.Available = C.Available;
        Info.PlatformId = C.Platform;
        Info.Major = C.Major;
        Info.Minor = C.Minor;
        Info.CSDVersion = C.CSD;
        EXPECT_EQ(GetOSVersionCode(Info), C.Code)
            << C.Platform << " " << C.Major << "." << C.Minor << " '" << C.CSD << "'";
    }
}

TEST(GetPlatformVersionInfo, ChoosesAWalkThatFindsConnections) {
    const int Code = GetOSVersionCode(GetPlatformVersionInfo());
    EXPECT_TRUE(Code == 7 || Code >= 8) << Code;
}

} // namespace
