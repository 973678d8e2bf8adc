#include "base/TextUtils.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsContinuation(unsigned char C) {
    return (C & 0xC0) == 0x80;
}

// Decodes the character starting at S[Pos] and advances Pos past it.
char32_t DecodeUtf8(const std::string& S, std::size_t& Pos) {
    const auto Lead = static_cast<unsigned char>(S[Pos]);
    std::size_t Len = 0;
    char32_t Code = 0;
    char32_t Min = 0;
    if (Lead < 0x80) {
        ++Pos;
        return Lead;
    } else if ((Lead & 0xE0) == 0xC0) {
        Len = 2, Code = Lead & 0x1F, Min = 0x80;
    } else if ((Lead & 0xF0) == 0xE0) {
        Len = 3, Code = Lead & 0x0F, Min = 0x800;
    } else if ((Lead & 0xF8) == 0xF0) {
        Len = 4, Code = Lead & 0x07, Min = 0x10000;
    } else {
        ++Pos;
        return Replacement;
    }
    if (Pos + Len > S.size()) {
        ++Pos;
        return Replacement;
    }
    for (std::size_t I = 1; I < Len; ++I) {
        const auto C = static_cast<unsigned char>(S[Pos + I]);
        if (!IsContinuation(C)) {
            ++Pos;
            return Replacement;
        }
        Code = (Code << 6) | (C & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) {
        ++Pos;
        return Replacement;
    }
    Pos += Len;
    return Code;
}

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= 32;
}

} // namespace

std::string Utf8CutAtLineEnd(const std::string& S, std::size_t MaxChars, char Break) {
    if (Utf8Length(S) <= MaxChars)
        return S;
    std::size_t End = S.rfind(Break);
    while (End != std::string::npos && End > 0 && Utf8Length(S.substr(0, End)) > MaxChars)
        End = S.rfind(Break, End - 1);
    if (End == std::string::npos || End == 0)
        return Utf8Cut(S, MaxChars);
    return S.substr(0, End);
}

void EncodeUtf8(char32_t Code, std::string& Out) {
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

std::string Trim(const std::string& S) {
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && IsBlank(S[First]))
        ++First;
    while (Last > First && IsBlank(S[Last - 1]))
        --Last;
    return S.substr(First, Last - First);
}

std::string UpperCaseAscii(const std::string& S) {
    std::string Result = S;
    for (char& C : Result)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    return Result;
}

std::size_t Utf8Length(const std::string& S) {
    std::size_t Count = 0;
    for (std::size_t Pos = 0; Pos < S.size(); ++Count)
        DecodeUtf8(S, Pos);
    return Count;
}

std::string Utf8Cut(const std::string& S, std::size_t MaxChars) {
    std::size_t Pos = 0;
    for (std::size_t Count = 0; Count < MaxChars && Pos < S.size(); ++Count)
        DecodeUtf8(S, Pos);
    return S.substr(0, Pos);
}

std::u16string Utf8ToUtf16(const std::string& S) {
    std::u16string Out;
    Out.reserve(S.size());
    for (std::size_t Pos = 0; Pos < S.size();) {
        const char32_t Code = DecodeUtf8(S, Pos);
        if (Code < 0x10000) {
            Out += static_cast<char16_t>(Code);
        } else {
            Out += static_cast<char16_t>(0xD800 + ((Code - 0x10000) >> 10));
            Out += static_cast<char16_t>(0xDC00 + ((Code - 0x10000) & 0x3FF));
        }
    }
    return Out;
}

std::string Utf16ToUtf8(const std::u16string& S) {
    std::string Out;
    Out.reserve(S.size());
    for (std::size_t I = 0; I < S.size(); ++I) {
        char32_t Code = S[I];
        if (Code >= 0xD800 && Code <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 &&
            S[I + 1] <= 0xDFFF) {
            Code = 0x10000 + ((Code - 0xD800) << 10) + (S[I + 1] - 0xDC00);
            ++I;
        } else if (Code >= 0xD800 && Code <= 0xDFFF) {
            Code = Replacement;
        }
        EncodeUtf8(Code, Out);
    }
    return Out;
}
