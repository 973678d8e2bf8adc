#include "base/linux/Process.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using TArgs = std::vector<std::string>;

TEST(RunProcess, ArgumentsOutputsAndExitCodes) {
    const std::string Big(100000, 'x'); // more than a pipe holds, less than one argument may
    const struct {
        TArgs Args;
        int ExitCode;
        std::string Output;
        std::string Errors;
    } Cases[] = {
        // Each argument arrives whole, with nothing a shell would expand.
        {{"sh", "-c", "printf '%s|' \"$@\"", "sh", "LAN 1", "$(id)", "a\"b", ""},
         0,
         "LAN 1|$(id)|a\"b||",
         ""},
        {{"sh", "-c", "echo out; echo err >&2; exit 8"}, 8, "out\n", "err\n"},
        // Filling one pipe while the other waits must not stall either side.
        {{"sh", "-c", "printf %s \"$0\" >&2; printf %s \"$0\"", Big}, 0, Big, Big},
        {{"cat"}, 0, "", ""}, // reads an empty input instead of ours
        {{"sh", "-c", "kill -TERM $$"}, 128 + 15, "", ""},
        {{"quelvano-no-such-program"}, -1, "", ""},
        {{}, -1, "", ""},
    };
    for (const auto& C : Cases) {
        const TProcessResult R = RunProcess(C.Args);
        const std::string Name = C.Args.empty() ? "(none)" : C.Args.back().substr(0, 20);
        EXPECT_EQ(R.ExitCode, C.ExitCode) << Name;
        EXPECT_EQ(R.Output, C.Output) << Name;
        EXPECT_EQ(R.Errors, C.Errors) << Name;
    }
}

// Our standard error is the user's terminal: the program's must not reach it, and a descriptor
// we hold must not reach the program, even one opened without close-on-exec.
TEST(RunProcess, ChildSeesOnlyItsThreeStandardDescriptors) {
    TempFolder Folder;
    const int Terminal = open(Folder.File("terminal").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(Terminal, 3);
    const int SavedErr = dup(STDERR_FILENO);
    dup2(Terminal, STDERR_FILENO);
    const TProcessResult R =
        RunProcess({"sh", "-c", "ls /proc/self/fd; echo 'Error: no NMClient' >&2"});
    dup2(SavedErr, STDERR_FILENO);
    close(SavedErr);
    close(Terminal);
    EXPECT_EQ(ReadWholeFile(Folder.File("terminal")), "");
    EXPECT_EQ(R.Errors, "Error: no NMClient\n");
    // 0, 1, 2 and the one ls opens to list the folder.
    EXPECT_EQ(R.Output, "0\n1\n2\n3\n");
}

TEST(RunProcess, WhileRunningIsCalledOnceTheProgramHasStarted) {
    int Calls = 0;
    RunProcess({"true"}, [&] { ++Calls; });
    RunProcess({"quelvano-no-such-program"}, [&] { ++Calls; });
    EXPECT_EQ(Calls, 1);
}

} // namespace
