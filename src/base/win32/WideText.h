#pragma once

#include "base/TextUtils.h"

#include <string>

// wchar_t is UTF-16 on Windows: the W functions take our UTF-8 text through these.
inline std::wstring ToWide(const std::string& S) {
    const std::u16string U = Utf8ToUtf16(S);
    return std::wstring(U.begin(), U.end());
}

inline std::string FromWide(const std::wstring& S) {
    return Utf16ToUtf8(std::u16string(S.begin(), S.end()));
}
