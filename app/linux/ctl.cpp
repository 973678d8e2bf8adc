// The console program on Linux: the same data folder and database as the window program.
#include "DataFolder.h"

#include "base/TApplication.h"
#include "cli/CtlMain.h"
#include "data/o_DatabaseConnection.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    TApplication App;
    const std::vector<std::string> Args(argv + 1, argv + argc);
    const TCtlEnvironment Env{std::cout, std::cerr,
                              [](TgtIPDBManager& Db) {
                                  ProvisionDataFolder();
                                  Db.OpenDatabase();
                              },
                              nullptr, nullptr};
    return QuelvanoCtl(Args, Env);
}
