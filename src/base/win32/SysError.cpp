#include "base/SysError.h"
#include "base/win32/WideText.h"

#include <windows.h>

unsigned LastOSError() {
    return GetLastError();
}

std::string SysErrorMessage(unsigned Code) {
    wchar_t Buffer[256] = {};
    const DWORD Len = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                         FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                     nullptr, Code, 0, Buffer, 256, nullptr);
    return TrimSystemMessage(FromWide(std::wstring(Buffer, Len)));
}
