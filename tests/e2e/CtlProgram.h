#pragma once

#include <string>
#include <utility>
#include <vector>

class TempFolder;

// What one run of the program gave.
struct TProgramRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

// The real console program working in a folder of the test's own (Windows: a copy of it there,
// its database beside it; Linux: the folder as its XDG_DATA_HOME), and a fake standing in for
// the program an apply starts (netsh.exe in the Wine prefix's system folder; nmcli first on
// PATH) that logs each call and succeeds.
class TCtlProgram {
public:
    explicit TCtlProgram(const TempFolder& Folder);
    ~TCtlProgram();
    TCtlProgram(const TCtlProgram&) = delete;
    TCtlProgram& operator=(const TCtlProgram&) = delete;

    std::string DatabaseFile() const;
    TProgramRun Run(const std::vector<std::string>& Args) const;
    // What the fake was asked, one call a line: netsh's command line, or nmcli's arguments.
    std::vector<std::string> FakeCalls() const;
    // What an apply reads back: on Windows the fake IP Helper shows what the fake netsh was
    // asked for; on Linux the fake nmcli changes no adapter, so no adapter has the connection.
    static const char* const AppliedOutput;

private:
    std::string FFolder;
    std::vector<std::pair<std::string, std::string>> FSavedEnvironment;
};
