// The console program against what is not an ordinary file: a device or a pipe to import from,
// a full disk to export to.
#include "e2e/CtlProgram.h"

#include "base/linux/Process.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(CtlDevices, ImportFromADeviceOrAPipe_IsRefusedBeforeReading) {
    TempFolder Folder;
    const TCtlProgram Ctl(Folder);
    const std::string Pipe = Folder.File("tuberia");
    ASSERT_EQ(mkfifo(Pipe.c_str(), 0600), 0);
    // Either would never end: /dev/zero has no end and the pipe has no writer.
    for (const std::string& Name : {std::string("/dev/zero"), Pipe}) {
        const TProgramRun Run = Ctl.Run({"import", Name});
        EXPECT_EQ(Run.Code, 2) << Name;
        EXPECT_EQ(Run.Err, "quelvanoctl: El archivo \"" + Name +
                               "\" no es un archivo comun: no se importa de una carpeta, una "
                               "tuberia ni un dispositivo.\n");
    }
}

TEST(CtlDevices, ExportToAFullDiskOrToWhatIsNoFile_Fails) {
    TempFolder Folder;
    const TCtlProgram Ctl(Folder);
    ASSERT_EQ(Ctl.Run({"list"}).Code, 0);
    const TProcessResult Full = RunProcess(
        {"/bin/sh", "-c", std::string("exec \"$0\" export > /dev/full"), QUELVANO_CTL_EXE});
    EXPECT_EQ(Full.ExitCode, 1);
    EXPECT_EQ(Full.Errors, "quelvanoctl: No se pudo escribir la salida completa.\n");
    // Run by root, a file moved over a device would replace it.
    const std::string Pipe = Folder.File("tuberia");
    ASSERT_EQ(mkfifo(Pipe.c_str(), 0600), 0);
    const TProgramRun ToPipe = Ctl.Run({"export", Pipe});
    EXPECT_EQ(ToPipe.Code, 2);
    EXPECT_EQ(ToPipe.Err, "quelvanoctl: El archivo \"" + Pipe +
                              "\" no es un archivo comun: no se exporta a una carpeta, una "
                              "tuberia ni un dispositivo.\n");
    struct stat Status {};
    EXPECT_TRUE(stat(Pipe.c_str(), &Status) == 0 && S_ISFIFO(Status.st_mode));
}

} // namespace
