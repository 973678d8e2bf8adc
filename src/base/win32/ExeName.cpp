#include "base/TApplication.h"
#include "base/win32/WideText.h"

#include <windows.h>

std::string TApplication::ExeName() const {
    std::wstring Path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD Length = GetModuleFileNameW(nullptr, Path.data(), DWORD(Path.size()));
        if (Length < Path.size()) {
            Path.resize(Length);
            return FromWide(Path);
        }
        Path.resize(Path.size() * 2);
    }
}
