// Drives the real quelvanoctl beside the window program's store object, as a person or a script
// would while the window is open.
#include "e2e/CtlProgram.h"

#include "data/o_DatabaseConnection.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

namespace {

const std::vector<std::string> Oficina = {
    "add",       "--name",     "oficina",    "--connection",  "LAN 1",
    "--ip",      "192.0.2.10", "--mask",     "255.255.255.0", "--gateway",
    "192.0.2.1", "--dns1",     "192.0.2.53", "--dns2",        "198.51.100.53"};

// Runs "list" once, which writes the database file, and adds a connection as discovery would
// when discovery has not found it (only the fake IP Helper of Windows has an adapter for it).
int Provision(const TCtlProgram& Ctl) {
    EXPECT_EQ(Ctl.Run({"list"}).Code, 0);
    TgtIPDBManager Window(nullptr);
    Window.OpenDatabase(Ctl.DatabaseFile());
    if (Window.ConnectionNames()->Locate("CONNECTIONNAME", "LAN 1"))
        return Window.ConnectionNames()->FieldByName("ID").AsInteger();
    return PostConnection(Window, "LAN 1");
}

TEST(CtlProgram, AddListAndApply_ReachTheStoreAndTheSystemsTool) {
    TempFolder Folder;
    TCtlProgram Ctl(Folder);
    Provision(Ctl);
    const TProgramRun Added = Ctl.Run(Oficina);
    EXPECT_EQ(Added.Code, 0) << Added.Err;
    EXPECT_EQ(Added.Out, "Configuracion IP agregada con el ID 1.\n");
    EXPECT_EQ(Ctl.Run({"list"}).Out, "ID  Nombre   Conexion  Configuracion\n"
                                     "1   OFICINA  LAN 1     192.0.2.10/255.255.255.0\n");

    const TProgramRun Applied = Ctl.Run({"apply", "Oficina"});
    EXPECT_EQ(Applied.Out, TCtlProgram::AppliedOutput);
    EXPECT_EQ(Applied.Code, Applied.Out.rfind("Cambio", 0) == 0 ? 0 : 1) << Applied.Err;
    EXPECT_NE(Applied.Err.find("Paso 3 de 3: netsh interface ip add dns \"LAN 1\" 198.51.100.53 2 "
                               "-> correcto\n"),
              std::string::npos)
        << Applied.Err;
    const std::vector<std::string> Calls = Ctl.FakeCalls();
    ASSERT_FALSE(Calls.empty());
    // On Linux the profile's routes are read first; the first change sets the address.
    const std::size_t First = Calls[0].find("ipv4.routes") != std::string::npos ? 1 : 0;
    ASSERT_GT(Calls.size(), First);
    EXPECT_NE(Calls[First].find("192.0.2.10"), std::string::npos) << Calls[First];
    for (const std::string& Call : Calls)
        EXPECT_NE(Call.find("LAN 1"), std::string::npos) << Call;
}

// The window program's store posts rows for as long as the console program adds its own, one
// process after another: each waits while the other writes, and every row is there at the end.
// The window posts one row every few milliseconds, far faster than a person does: a writer that
// never lets go of the file would starve any other, since the store's locks are not fair.
TEST(CtlProgram, TwoWritersAtOnce_LoseNothing) {
    TempFolder Folder;
    TCtlProgram Ctl(Folder);
    const int Lan = Provision(Ctl);
    const int Runs = 12;
    std::vector<TProgramRun> Results;
    std::atomic<bool> Done{false};
    std::thread Console([&] {
        for (int I = 0; I < Runs; ++I)
            Results.push_back(Ctl.Run(
                {"add", "--name", "CTL " + std::to_string(I), "--connection", "LAN 1", "--dhcp"}));
        Done = true;
    });
    TgtIPDBManager Window(nullptr);
    Window.OpenDatabase(Ctl.DatabaseFile());
    int Posted = 0;
    std::string WindowError;
    for (; !Done && WindowError.empty(); ++Posted) {
        try {
            PostIPSet(Window, "WIN " + std::to_string(Posted), Lan, true, {});
        } catch (const std::exception& E) {
            WindowError = E.what();
            Window.IPSets()->Cancel();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Console.join();
    EXPECT_EQ(WindowError, "");

    for (const TProgramRun& R : Results)
        EXPECT_EQ(R.Code, 0) << R.Err;
    Window.IPSets()->Refresh();
    std::vector<std::string> Names = ColumnValues(*Window.IPSets(), "IPSET_NAME");
    std::sort(Names.begin(), Names.end());
    std::vector<std::string> Expected;
    for (int I = 0; I < Runs; ++I)
        Expected.push_back("CTL " + std::to_string(I));
    for (int I = 0; I < Posted; ++I)
        Expected.push_back("WIN " + std::to_string(I));
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Names, Expected);
    std::cout << "[ figures  ] window posts during " << Runs << " console adds: " << Posted << "\n";
}

} // namespace
