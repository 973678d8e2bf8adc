#include "e2e/CtlProgram.h"

#include "fakes/TempFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace {

const char* const Changed[] = {"PATH", "XDG_DATA_HOME", "FAKE_NMCLI_LOG", "FAKE_NMCLI_EXIT"};

} // namespace

TCtlProgram::TCtlProgram(const TempFolder& Folder) : FFolder(PathText(Folder.Path())) {
    for (const char* Name : Changed)
        FSavedEnvironment.emplace_back(Name, std::getenv(Name) ? std::getenv(Name) : "");
    WriteWholeFile(FFolder + "/nmcli", "#!/bin/sh\n"
                                       "echo \"$*\" >> \"$FAKE_NMCLI_LOG\"\n"
                                       "exit ${FAKE_NMCLI_EXIT:-0}\n");
    std::filesystem::permissions(FFolder + "/nmcli", std::filesystem::perms::owner_all);
    setenv("PATH", (FFolder + ":" + FSavedEnvironment[0].second).c_str(), 1);
    setenv("XDG_DATA_HOME", FFolder.c_str(), 1);
    setenv("FAKE_NMCLI_LOG", (FFolder + "/nmcli.log").c_str(), 1);
    unsetenv("FAKE_NMCLI_EXIT");
}

TCtlProgram::~TCtlProgram() {
    for (const auto& [Name, Value] : FSavedEnvironment)
        setenv(Name.c_str(), Value.c_str(), 1);
}

std::string TCtlProgram::DatabaseFile() const {
    return FFolder + "/quelvano/quelvano.ipdb";
}

TProgramRun TCtlProgram::Run(const std::vector<std::string>& Args) const {
    const std::string Out = FFolder + "/out", Err = FFolder + "/err";
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, Out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&Actions, 2, Err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string Exe = QUELVANO_CTL_EXE;
    std::vector<std::string> Words = Args;
    std::vector<char*> Argv = {Exe.data()};
    for (std::string& W : Words)
        Argv.push_back(W.data());
    Argv.push_back(nullptr);
    pid_t Child = 0;
    TProgramRun Result;
    int Status = 0;
    if (posix_spawn(&Child, Exe.c_str(), &Actions, nullptr, Argv.data(), environ) == 0 &&
        waitpid(Child, &Status, 0) == Child && WIFEXITED(Status))
        Result.Code = WEXITSTATUS(Status);
    posix_spawn_file_actions_destroy(&Actions);
    Result.Out = ReadWholeFile(Out);
    Result.Err = ReadWholeFile(Err);
    return Result;
}

std::vector<std::string> TCtlProgram::FakeCalls() const {
    std::vector<std::string> Calls;
    std::istringstream Log(ReadWholeFile(FFolder + "/nmcli.log"));
    for (std::string Line; std::getline(Log, Line);)
        Calls.push_back(Line);
    return Calls;
}

void TCtlProgram::SetFakeExitCode(int Code) {
    setenv("FAKE_NMCLI_EXIT", std::to_string(Code).c_str(), 1);
}
