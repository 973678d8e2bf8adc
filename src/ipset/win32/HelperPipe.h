#pragma once

#include "base/win32/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

// The channel between the copy of the program that applies an IP set and the elevated copy that
// carries out its lines: a named pipe with a name nobody can guess, made by the first and open to
// the user's own processes alone. Text goes both ways as lines ended by a line feed: the apply's
// lines down, ended by an empty line, then each line's exit code back as soon as it is known.
class THelperPipe {
public:
    THelperPipe() = default;

    // The server end under a new random name: one local client, owned by the user and open to
    // the user alone. Invalid when it cannot be made.
    static THelperPipe Create();

    // The client end of the pipe with that name, when it is one that Create made for this user
    // in the process ServerPid, and that process runs this program's own file at medium
    // integrity or above; invalid otherwise. The server may identify this process but may
    // never act in its name.
    static THelperPipe Open(const std::wstring& Name, DWORD ServerPid);

    bool Valid() const { return FPipe != nullptr; }
    const std::wstring& Name() const { return FName; }

    // Server: waits for the process Client to connect. False when another process connects or
    // Client ends first; from then on every wait also gives up when Client ends.
    bool Accept(HANDLE Client);

    bool SendLines(const std::vector<std::string>& Lines);
    // False when the lines did not come whole, or were more or longer than an apply's can be.
    bool ReceiveLines(std::vector<std::string>& Lines);
    bool SendResult(int Result);
    bool ReceiveResult(int& Result);

private:
    explicit THelperPipe(THandle Pipe, std::wstring Name);
    // Waits for the transfer in Io to end; gives it up when the peer ends first.
    bool Await(OVERLAPPED& Io, DWORD& Done);
    bool Transfer(bool Write, char* Data, DWORD Size, DWORD& Done);
    bool Send(std::string Text);
    bool ReceiveLine(std::string& Line);

    THandle FPipe;
    THandle FEvent; // signals the end of each transfer
    HANDLE FPeer = nullptr;
    std::wstring FName;
    std::string FReceived; // what came after the last line taken
};
