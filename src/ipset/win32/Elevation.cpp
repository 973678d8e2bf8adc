#include "ipset/win32/Elevation.h"

#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

const wchar_t* const TrustedInstaller =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// What lets its holder change a file or folder, or what a folder holds.
const ACCESS_MASK ChangeRights =
    FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;

bool IsTrusted(PSID Sid, std::vector<BYTE>& User) {
    if (!User.empty() && EqualSid(Sid, User.data()))
        return true;
    if (IsWellKnownSid(Sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(Sid, WinLocalSystemSid))
        return true;
    wchar_t* Text = nullptr;
    if (!ConvertSidToStringSidW(Sid, &Text))
        return false;
    const TLocal Owned(Text);
    return std::wcscmp(Text, TrustedInstaller) == 0;
}

// The rights an entry grants, generic ones spelled out as a file's.
ACCESS_MASK FileRights(ACCESS_MASK Mask) {
    GENERIC_MAPPING Mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                               FILE_ALL_ACCESS};
    MapGenericMask(&Mask, &Mapping);
    return Mask;
}

// Open to others too when its security cannot be read.
bool IsPathOpenToOthers(const std::wstring& Path) {
    PSECURITY_DESCRIPTOR Descriptor = nullptr;
    if (GetNamedSecurityInfoW(Path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &Descriptor) != ERROR_SUCCESS)
        return true;
    const TLocal Owned(Descriptor);
    return IsOpenToOthers(Descriptor);
}

// The folder that holds Program, a drive's root keeping its separator; none for a bare name,
// whose security then cannot be read. Done by hand: the library's path class brings the whole
// of the C++ locales into the executable.
std::wstring FolderOf(const std::wstring& Program) {
    const std::size_t Last = Program.find_last_of(L"\\/");
    if (Last == std::wstring::npos)
        return std::wstring();
    const bool DriveRoot = Last == 2 && Program[1] == L':';
    return Program.substr(0, DriveRoot ? Last + 1 : Last);
}

} // namespace

bool IsProcessElevated() {
    wchar_t Told[2] = {};
    if (GetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", Told, 2) == 1 && Told[0] == L'1')
        return false;
    HANDLE Token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &Token))
        return false;
    const THandle Owned(Token);
    TOKEN_ELEVATION Elevation = {};
    DWORD Size = 0;
    return GetTokenInformation(Token, TokenElevation, &Elevation, sizeof Elevation, &Size) &&
           Elevation.TokenIsElevated != 0;
}

std::vector<BYTE> UserSid() {
    HANDLE Token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &Token))
        return {};
    const THandle Owned(Token);
    DWORD Size = 0;
    GetTokenInformation(Token, TokenUser, nullptr, 0, &Size);
    std::vector<BYTE> Buffer(Size);
    if (Size == 0 || !GetTokenInformation(Token, TokenUser, Buffer.data(), Size, &Size))
        return {};
    const PSID Sid = reinterpret_cast<TOKEN_USER*>(Buffer.data())->User.Sid;
    const BYTE* Begin = static_cast<const BYTE*>(Sid);
    return std::vector<BYTE>(Begin, Begin + GetLengthSid(Sid));
}

// The owner may always change the permissions, so it must be one of the trusted. Deny entries
// are not weighed: an allow that one of them might cancel still counts, which can only refuse
// more. Entries that only pass to what the folder will hold do not apply to it.
bool IsOpenToOthers(PSECURITY_DESCRIPTOR Descriptor) {
    std::vector<BYTE> User = UserSid();
    PSID Owner = nullptr;
    BOOL Defaulted = FALSE, Present = FALSE;
    PACL Dacl = nullptr;
    if (!GetSecurityDescriptorOwner(Descriptor, &Owner, &Defaulted) || Owner == nullptr ||
        !IsTrusted(Owner, User) ||
        !GetSecurityDescriptorDacl(Descriptor, &Present, &Dacl, &Defaulted) || !Present ||
        Dacl == nullptr)
        return true;
    for (WORD I = 0; I < Dacl->AceCount; ++I) {
        void* Ace = nullptr;
        if (!GetAce(Dacl, I, &Ace))
            return true;
        const auto* Allowed = static_cast<const ACCESS_ALLOWED_ACE*>(Ace);
        const BYTE Type = Allowed->Header.AceType;
        if (Type == ACCESS_DENIED_ACE_TYPE || (Allowed->Header.AceFlags & INHERIT_ONLY_ACE) != 0)
            continue;
        // Other kinds of entry are not expected on files: taken as granting everything.
        if (Type != ACCESS_ALLOWED_ACE_TYPE)
            return true;
        if ((FileRights(Allowed->Mask) & ChangeRights) != 0 &&
            !IsTrusted(const_cast<DWORD*>(&Allowed->SidStart), User))
            return true;
    }
    return false;
}

TLaunch LaunchElevated(const std::wstring& Program, const std::wstring& Parameters) {
    TLaunch Launch;
    // Whoever may change the program or its folder could have their own code run elevated: as a
    // DLL planted beside it, or as the program itself.
    if (IsPathOpenToOthers(Program) || IsPathOpenToOthers(FolderOf(Program))) {
        Launch.Error = ErrorOpenToOthers;
        return Launch;
    }
    SHELLEXECUTEINFOW Info = {};
    Info.cbSize = sizeof Info;
    // The process handle back; the answer known before returning; failures told to the caller
    // rather than in a box of the shell's.
    Info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    Info.hwnd = GetActiveWindow();
    Info.lpVerb = L"runas";
    Info.lpFile = Program.c_str();
    Info.lpParameters = Parameters.c_str();
    Info.nShow = SW_HIDE;
    // The shell may hand the start to extensions that need COM on this thread.
    const HRESULT Com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (!ShellExecuteExW(&Info))
        Launch.Error = GetLastError();
    if (SUCCEEDED(Com))
        CoUninitialize();
    if (Launch.Error != 0)
        return Launch;
    if (Info.hProcess == nullptr)
        Launch.Error = ERROR_INVALID_HANDLE;
    else
        Launch.Process = OwnHandle(Info.hProcess);
    return Launch;
}
