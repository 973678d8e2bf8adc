#include "ipset/win32/HelperPipe.h"

#include "base/win32/SystemFolder.h"
#include "ipset/win32/Elevation.h"

#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace {

const std::wstring PipeFolder = L"\\\\.\\pipe\\";
const std::wstring NamePrefix = L"Quelvano-";
const wchar_t* const Hex = L"0123456789abcdef";
const size_t RandomBytes = 16;
// An apply has the set's own three lines at most and one for each of its extra values, far fewer
// than this; each of at most 512 characters, each up to three bytes in UTF-8.
const size_t MaxLines = 256;
const size_t MaxLineLength = 3 * 512;

bool IsHelperPipeName(const std::wstring& Name) {
    return Name.size() == NamePrefix.size() + 2 * RandomBytes &&
           Name.compare(0, NamePrefix.size(), NamePrefix) == 0 &&
           Name.find_first_not_of(Hex, NamePrefix.size()) == std::wstring::npos;
}

// bcrypt is not among the DLLs that the system always takes from its own folder, so it is loaded
// from there by hand rather than imported.
bool FillRandom(unsigned char* Bytes, ULONG Count) {
    using TGenRandom = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
    const HMODULE Library = LoadSystemLibrary(L"bcrypt.dll");
    if (Library == nullptr)
        return false;
    const auto GenRandom = reinterpret_cast<TGenRandom>(
        reinterpret_cast<void*>(GetProcAddress(Library, "BCryptGenRandom")));
    const bool Filled =
        GenRandom != nullptr &&
        BCRYPT_SUCCESS(GenRandom(nullptr, Bytes, Count, BCRYPT_USE_SYSTEM_PREFERRED_RNG));
    FreeLibrary(Library);
    return Filled;
}

std::wstring NewName() {
    unsigned char Random[RandomBytes] = {};
    if (!FillRandom(Random, RandomBytes))
        return std::wstring();
    std::wstring Name = NamePrefix;
    for (unsigned char Byte : Random) {
        Name += Hex[Byte >> 4];
        Name += Hex[Byte & 15];
    }
    return Name;
}

// Owned by the user, one entry that lets the user do anything, and no inherited entries.
TLocal OnlyUserDescriptor() {
    std::vector<BYTE> User = UserSid();
    wchar_t* Text = nullptr;
    if (User.empty() || !ConvertSidToStringSidW(User.data(), &Text))
        return nullptr;
    const TLocal OwnedText(Text);
    const std::wstring Sddl = L"O:" + std::wstring(Text) + L"D:P(A;;GA;;;" + Text + L")";
    PSECURITY_DESCRIPTOR Descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(Sddl.c_str(), SDDL_REVISION_1,
                                                              &Descriptor, nullptr))
        return nullptr;
    return TLocal(Descriptor);
}

// Whether the object is owned by this user and lets nobody else in.
bool IsOnlyUsers(HANDLE Object) {
    std::vector<BYTE> User = UserSid();
    PSID Owner = nullptr;
    PACL Dacl = nullptr;
    PSECURITY_DESCRIPTOR Descriptor = nullptr;
    if (User.empty() ||
        GetSecurityInfo(Object, SE_KERNEL_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &Owner, nullptr,
                        &Dacl, nullptr, &Descriptor) != ERROR_SUCCESS)
        return false;
    const TLocal Owned(Descriptor);
    // No DACL at all would let everyone in.
    if (Owner == nullptr || !EqualSid(Owner, User.data()) || Dacl == nullptr || Dacl->AceCount == 0)
        return false;
    for (WORD I = 0; I < Dacl->AceCount; ++I) {
        void* Ace = nullptr;
        if (!GetAce(Dacl, I, &Ace))
            return false;
        auto* Allowed = static_cast<ACCESS_ALLOWED_ACE*>(Ace);
        if (Allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
            !EqualSid(&Allowed->SidStart, User.data()))
            return false;
    }
    return true;
}

// What tells the file at Path from every other: its volume and its number on it.
bool FileIdentity(const std::wstring& Path, BY_HANDLE_FILE_INFORMATION& Info) {
    const THandle File = OwnHandle(
        CreateFileW(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr));
    return File && GetFileInformationByHandle(File.get(), &Info);
}

std::wstring ImageOf(HANDLE Process) {
    std::wstring Path(32768, L'\0');
    DWORD Length = DWORD(Path.size());
    if (!QueryFullProcessImageNameW(Process, 0, Path.data(), &Length))
        return std::wstring();
    Path.resize(Length);
    return Path;
}

bool IsMediumOrAbove(HANDLE Process) {
    HANDLE Token = nullptr;
    if (!OpenProcessToken(Process, TOKEN_QUERY, &Token))
        return false;
    const THandle Owned(Token);
    DWORD Size = 0;
    GetTokenInformation(Token, TokenIntegrityLevel, nullptr, 0, &Size);
    std::vector<BYTE> Buffer(Size);
    if (Size == 0 || !GetTokenInformation(Token, TokenIntegrityLevel, Buffer.data(), Size, &Size))
        return false;
    const PSID Level = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(Buffer.data())->Label.Sid;
    return *GetSidSubAuthority(Level, *GetSidSubAuthorityCount(Level) - 1u) >=
           SECURITY_MANDATORY_MEDIUM_RID;
}

// Whether the process runs, at medium integrity or above, the very file this process runs (the
// same file on the same volume, whatever path led to it): only a copy of the program itself may
// hand lines to its elevated helper.
bool IsOurProgram(DWORD Pid) {
    const THandle Process = OwnHandle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Pid));
    BY_HANDLE_FILE_INFORMATION Theirs = {}, Ours = {};
    return Process && IsMediumOrAbove(Process.get()) &&
           FileIdentity(ImageOf(Process.get()), Theirs) &&
           FileIdentity(ImageOf(GetCurrentProcess()), Ours) &&
           Theirs.dwVolumeSerialNumber == Ours.dwVolumeSerialNumber &&
           Theirs.nFileIndexHigh == Ours.nFileIndexHigh &&
           Theirs.nFileIndexLow == Ours.nFileIndexLow;
}

} // namespace

THelperPipe::THelperPipe(THandle Pipe, std::wstring Name)
    : FPipe(std::move(Pipe)), FEvent(OwnHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))),
      FName(std::move(Name)) {
    if (!FEvent)
        FPipe.reset();
}

THelperPipe THelperPipe::Create() {
    const std::wstring Name = NewName();
    const TLocal Descriptor = OnlyUserDescriptor();
    if (Name.empty() || !Descriptor)
        return THelperPipe();
    SECURITY_ATTRIBUTES Attributes = {sizeof Attributes, Descriptor.get(), FALSE};
    // The first instance only: a pipe of that name someone else made beforehand is not used.
    THandle Pipe = OwnHandle(CreateNamedPipeW(
        (PipeFolder + Name).c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096, 4096,
        0, &Attributes));
    return Pipe ? THelperPipe(std::move(Pipe), Name) : THelperPipe();
}

THelperPipe THelperPipe::Open(const std::wstring& Name, DWORD ServerPid) {
    if (!IsHelperPipeName(Name))
        return THelperPipe();
    // Identification only: an elevated client must not lend its rights to whoever serves.
    THandle Pipe = OwnHandle(CreateFileW(
        (PipeFolder + Name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    ULONG Server = 0;
    if (!Pipe || !GetNamedPipeServerProcessId(Pipe.get(), &Server) || Server != ServerPid ||
        !IsOnlyUsers(Pipe.get()) || !IsOurProgram(Server))
        return THelperPipe();
    return THelperPipe(std::move(Pipe), Name);
}

bool THelperPipe::Accept(HANDLE Client) {
    FPeer = Client;
    OVERLAPPED Io = {};
    Io.hEvent = FEvent.get();
    DWORD Done = 0;
    if (!ConnectNamedPipe(FPipe.get(), &Io)) {
        const DWORD Error = GetLastError();
        if (Error != ERROR_PIPE_CONNECTED && !(Error == ERROR_IO_PENDING && Await(Io, Done)))
            return false;
    }
    ULONG ClientPid = 0;
    return GetNamedPipeClientProcessId(FPipe.get(), &ClientPid) &&
           ClientPid == GetProcessId(Client);
}

bool THelperPipe::Await(OVERLAPPED& Io, DWORD& Done) {
    const HANDLE Waits[] = {FEvent.get(), FPeer};
    if (WaitForMultipleObjects(FPeer != nullptr ? 2 : 1, Waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIoEx(FPipe.get(), &Io);
        GetOverlappedResult(FPipe.get(), &Io, &Done, TRUE);
        return false;
    }
    return GetOverlappedResult(FPipe.get(), &Io, &Done, FALSE) != 0;
}

bool THelperPipe::Transfer(bool Write, char* Data, DWORD Size, DWORD& Done) {
    OVERLAPPED Io = {};
    Io.hEvent = FEvent.get();
    const BOOL Ok = Write ? WriteFile(FPipe.get(), Data, Size, nullptr, &Io)
                          : ReadFile(FPipe.get(), Data, Size, nullptr, &Io);
    if (!Ok && GetLastError() != ERROR_IO_PENDING)
        return false;
    return Await(Io, Done);
}

bool THelperPipe::Send(std::string Text) {
    DWORD Done = 0;
    return Transfer(true, Text.data(), DWORD(Text.size()), Done) && Done == Text.size();
}

bool THelperPipe::ReceiveLine(std::string& Line) {
    for (;;) {
        const size_t End = FReceived.find('\n');
        if (End != std::string::npos) {
            Line = FReceived.substr(0, End);
            FReceived.erase(0, End + 1);
            return true;
        }
        if (FReceived.size() > MaxLineLength)
            return false;
        char Buffer[512];
        DWORD Done = 0;
        if (!Transfer(false, Buffer, sizeof Buffer, Done) || Done == 0)
            return false;
        FReceived.append(Buffer, Done);
    }
}

bool THelperPipe::SendLines(const std::vector<std::string>& Lines) {
    std::string Text;
    for (const std::string& Line : Lines)
        Text += Line + "\n";
    return Send(Text + "\n");
}

bool THelperPipe::ReceiveLines(std::vector<std::string>& Lines) {
    Lines.clear();
    for (std::string Line; ReceiveLine(Line);) {
        if (Line.empty())
            return true;
        if (Lines.size() == MaxLines)
            return false;
        Lines.push_back(Line);
    }
    return false;
}

bool THelperPipe::SendResult(int Result) {
    return Send(std::to_string(Result) + "\n");
}

bool THelperPipe::ReceiveResult(int& Result) {
    std::string Line;
    if (!ReceiveLine(Line) || Line.empty())
        return false;
    char* End = nullptr;
    const long long Value = std::strtoll(Line.c_str(), &End, 10);
    if (*End != '\0' || Value < INT_MIN || Value > INT_MAX)
        return false;
    Result = int(Value);
    return true;
}
