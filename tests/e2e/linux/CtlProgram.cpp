#include "e2e/CtlProgram.h"

#include "base/linux/Process.h"
#include "fakes/TempFolder.h"

#include <cstdlib>
#include <sstream>

namespace {

const char* const Changed[] = {"PATH", "XDG_DATA_HOME", "FAKE_NMCLI_LOG"};

} // namespace

TCtlProgram::TCtlProgram(const TempFolder& Folder) : FFolder(PathText(Folder.Path())) {
    for (const char* Name : Changed)
        FSavedEnvironment.emplace_back(Name, std::getenv(Name) ? std::getenv(Name) : "");
    WriteWholeFile(FFolder + "/nmcli", "#!/bin/sh\n"
                                       "echo \"$*\" >> \"$FAKE_NMCLI_LOG\"\n"
                                       "exit 0\n");
    std::filesystem::permissions(FFolder + "/nmcli", std::filesystem::perms::owner_all);
    setenv("PATH", (FFolder + ":" + FSavedEnvironment[0].second).c_str(), 1);
    setenv("XDG_DATA_HOME", FFolder.c_str(), 1);
    setenv("FAKE_NMCLI_LOG", (FFolder + "/nmcli.log").c_str(), 1);
}

TCtlProgram::~TCtlProgram() {
    for (const auto& [Name, Value] : FSavedEnvironment)
        setenv(Name.c_str(), Value.c_str(), 1);
}

std::string TCtlProgram::DatabaseFile() const {
    return FFolder + "/quelvano/quelvano.ipdb";
}

TProgramRun TCtlProgram::Run(const std::vector<std::string>& Args) const {
    std::vector<std::string> Argv = {QUELVANO_CTL_EXE};
    Argv.insert(Argv.end(), Args.begin(), Args.end());
    const TProcessResult Result = RunProcess(Argv);
    return {Result.ExitCode, Result.Output, Result.Errors};
}

const char* const TCtlProgram::AppliedOutput =
    "Error al aplicar configuracion IP\nNo se encontro el adaptador de la conexion \"LAN 1\".\n";

std::vector<std::string> TCtlProgram::FakeCalls() const {
    std::vector<std::string> Calls;
    std::istringstream Log(ReadWholeFile(FFolder + "/nmcli.log"));
    for (std::string Line; std::getline(Log, Line);)
        Calls.push_back(Line);
    return Calls;
}
