#include "e2e/CtlProgram.h"

#include "base/linux/Process.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(CtlDevices, ImportFromEndlessDeviceIsRefusedAndExportToFullDiskFails) {
    TempFolder Folder;
    const TCtlProgram Ctl(Folder);
    EXPECT_EQ(Ctl.Run({"import", "/dev/zero"}).Code, 2);
    const TProcessResult Full = RunProcess(
        {"/bin/sh", "-c", std::string("exec \"$0\" export > /dev/full"), QUELVANO_CTL_EXE});
    EXPECT_EQ(Full.ExitCode, 1);
    EXPECT_EQ(Full.Errors, "quelvanoctl: No se pudo escribir la salida completa.\n");
}

} // namespace
