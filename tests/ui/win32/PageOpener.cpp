// Stands in for the default handler of .html files: writes the file it was given into
// opened.txt beside itself and ends.
#include <windows.h>

#include <string>

int wmain(int Count, wchar_t** Arguments) {
    if (Count < 2)
        return 1;
    std::wstring Record(MAX_PATH, L'\0');
    Record.resize(GetModuleFileNameW(nullptr, Record.data(), MAX_PATH));
    Record = Record.substr(0, Record.find_last_of(L'\\') + 1) + L"opened.txt";
    const HANDLE File = CreateFileW(Record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return 1;
    DWORD Written = 0;
    const std::wstring Opened = Arguments[1];
    WriteFile(File, Opened.data(), DWORD(Opened.size() * sizeof(wchar_t)), &Written, nullptr);
    CloseHandle(File);
    return 0;
}
