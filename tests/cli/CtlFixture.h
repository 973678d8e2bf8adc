#pragma once

#include "cli/CtlMain.h"
#include "connections/o_SystemConnections.h"
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeLiveAdapters.h"
#include "fakes/FakeRegistry.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using Words = std::vector<std::string>;

// Answers each command line with the next scripted exit code (0 when none is left); a line
// that ends with 0 changes State as netsh would.
class ScriptedRunner : public TCommandRunner {
public:
    ScriptedRunner(std::vector<int>& Results, TNetshState& State)
        : FResults(Results), FState(State) {}
    int Run(const std::string& Line, int) override {
        const int Result = FResults.empty() ? 0 : FResults.front();
        if (!FResults.empty())
            FResults.erase(FResults.begin());
        if (Result == 0)
            ApplyNetshLine(FState, Line);
        return Result;
    }

private:
    std::vector<int>& FResults;
    TNetshState& FState;
};

struct Outcome {
    int Code;
    std::string Out;
    std::string Err;
};

// The console program in process, on a fresh store, with two connections for discovery to find.
class Ctl : public ::testing::Test {
protected:
    void SetUp() override {
        CreateEmptyDatabase(File);
        IpHelper.Adapters = {FakeIpHelper::Adapter("{A}", 1, {{"192.0.2.7", "255.255.255.0"}}),
                             FakeIpHelper::Adapter("{B}", 2, {})};
        Registry.AddConnection("{CLASS}", "{A}", "LAN 1");
        Registry.AddConnection("{CLASS}", "{B}", "Wi-Fi");
        GetIPSystemConnections()->SetRegistryReaderFactory(Registry.Factory());
        TOSVersionInfo Seven;
        Seven.Available = true;
        Seven.PlatformId = 2;
        Seven.Major = 6;
        Seven.Minor = 1;
        GetIPSystemConnections()->SetVersionInfo(Seven);
    }
    void TearDown() override {
        GetIPSystemConnections()->SetRegistryReaderFactory(CreateMachineRegistryReader);
    }

    Outcome Run(const Words& Args) {
        std::ostringstream Out, Err;
        const TCtlEnvironment Env{
            Out, Err,
            [this](TgtIPDBManager& Db) {
                Db.OpenDatabase(File);
                Opened(Db);
            },
            [this] { return std::make_unique<ScriptedRunner>(RunnerResults, Netsh); },
            [this] { return std::make_unique<FakeLiveAdapters>(Netsh); }};
        const int Code = QuelvanoCtl(Args, Env);
        return {Code, Out.str(), Err.str()};
    }

    TempFolder Folder;
    // The database file the next command opens, and what is done with the store it opened.
    std::string File = Folder.File("quelvano.ipdb");
    std::function<void(TgtIPDBManager&)> Opened = [](TgtIPDBManager&) {};
    FakeIpHelper IpHelper;
    FakeRegistry Registry;
    std::vector<int> RunnerResults;
    TNetshState Netsh;
};
