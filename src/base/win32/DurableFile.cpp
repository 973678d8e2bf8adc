#include "base/DurableFile.h"
#include "base/win32/WideText.h"

#include <windows.h>

#include <algorithm>

namespace {

bool WriteAll(HANDLE File, const std::string& Bytes) {
    std::size_t Done = 0;
    while (Done < Bytes.size()) {
        const auto Chunk = static_cast<DWORD>(std::min<std::size_t>(Bytes.size() - Done, 1 << 20));
        DWORD Written = 0;
        if (!WriteFile(File, Bytes.data() + Done, Chunk, &Written, nullptr))
            return false;
        Done += Written;
    }
    return true;
}

HANDLE OpenForReading(const std::string& FileName) {
    return CreateFileW(ToWide(FileName).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Up to Limit bytes from File, which it closes; false on a failed read.
bool ReadAndClose(HANDLE File, std::size_t Limit, std::string& Bytes) {
    char Buffer[65536];
    DWORD Got = 0;
    bool Ok = true;
    while (Bytes.size() < Limit) {
        const auto Want =
            static_cast<DWORD>(std::min<std::size_t>(Limit - Bytes.size(), sizeof Buffer));
        Ok = ReadFile(File, Buffer, Want, &Got, nullptr);
        if (!Ok || Got == 0)
            break;
        Bytes.append(Buffer, Got);
    }
    CloseHandle(File);
    return Ok;
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& FileName, std::size_t Limit) {
    const HANDLE File = OpenForReading(FileName);
    std::string Bytes;
    if (File == INVALID_HANDLE_VALUE || !ReadAndClose(File, Limit, Bytes))
        return std::nullopt;
    return Bytes;
}

TFileRead ReadRegularFile(const std::string& FileName, std::size_t Limit, std::string& Bytes) {
    // A folder can't be opened this way at all; say what it is rather than that it can't be read.
    const DWORD Attributes = GetFileAttributesW(ToWide(FileName).c_str());
    if (Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return TFileRead::NotRegular;
    const HANDLE File = OpenForReading(FileName);
    if (File == INVALID_HANDLE_VALUE)
        return TFileRead::Unreadable;
    if (GetFileType(File) != FILE_TYPE_DISK) {
        CloseHandle(File);
        return TFileRead::NotRegular;
    }
    return ReadAndClose(File, Limit, Bytes) ? TFileRead::Read : TFileRead::Unreadable;
}

bool NameHeldByNonFolder(const std::string& FileName) {
    const DWORD Attributes = GetFileAttributesW(ToWide(FileName).c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

unsigned WriteFileDurably(const std::string& FileName, const std::string& Bytes, bool Replace) {
    const std::wstring Target = ToWide(FileName);
    std::wstring Temp;
    HANDLE File = INVALID_HANDLE_VALUE;
    for (int Try = 0; File == INVALID_HANDLE_VALUE && Try < TemporaryNameTries; ++Try) {
        Temp = ToWide(FreshTemporaryName(FileName));
        File = CreateFileW(Temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (File == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (File == INVALID_HANDLE_VALUE)
        return GetLastError();
    const bool Written = WriteAll(File, Bytes) && FlushFileBuffers(File);
    DWORD Error = Written ? 0 : GetLastError();
    CloseHandle(File);
    const DWORD Flags = MOVEFILE_WRITE_THROUGH | (Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (Written && MoveFileExW(Temp.c_str(), Target.c_str(), Flags))
        return 0;
    if (Written)
        Error = GetLastError();
    DeleteFileW(Temp.c_str());
    return Error;
}
