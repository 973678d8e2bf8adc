#include "cli/Json.h"

#include "base/Exception.h"
#include "base/TextUtils.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace {

const int MaxDepth = 64;
const char* const EarlyEnd = "el documento termina antes de tiempo";

// The length of the well-formed UTF-8 sequence at Pos (overlong forms, surrogates and code points
// past U+10FFFF are not), or 0.
std::size_t Utf8SequenceLength(const std::string& Text, std::size_t Pos) {
    const auto Byte = [&](std::size_t I) {
        return Pos + I < Text.size() ? static_cast<unsigned char>(Text[Pos + I]) : 0u;
    };
    const unsigned Lead = Byte(0);
    std::size_t Length = 0;
    unsigned long Code = 0;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
        Code = Lead & 0x1F;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Code = Lead & 0x0F;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Code = Lead & 0x07;
    } else {
        return 0;
    }
    for (std::size_t I = 1; I < Length; ++I) {
        if ((Byte(I) & 0xC0) != 0x80)
            return 0;
        Code = (Code << 6) | (Byte(I) & 0x3F);
    }
    const unsigned long Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (Code < Least[Length] || (Code >= 0xD800 && Code <= 0xDFFF) || Code > 0x10FFFF)
        return 0;
    return Length;
}

class TJsonReader {
public:
    explicit TJsonReader(const std::string& Text) : FText(Text) {}

    TJson Document() {
        SkipBlanks();
        TJson Value = ReadValue(0);
        SkipBlanks();
        if (FPos != FText.size())
            Fail("sobra texto despues del documento");
        return Value;
    }

private:
    [[noreturn]] void Fail(const std::string& What) const {
        std::size_t Line = 1, Column = 1;
        for (std::size_t I = 0; I < FPos && I < FText.size(); ++I) {
            if (FText[I] == '\n') {
                ++Line;
                Column = 1;
            } else if ((static_cast<unsigned char>(FText[I]) & 0xC0) != 0x80) {
                ++Column;
            }
        }
        throw Exception("linea " + std::to_string(Line) + ", columna " + std::to_string(Column) +
                        ": " + What);
    }

    // '\0' at the end, which no test below takes for anything it wants.
    char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
    bool AtEnd() const { return FPos >= FText.size(); }

    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++FPos;
    }

    void Expect(char Ch) {
        if (AtEnd())
            Fail(EarlyEnd);
        if (Peek() != Ch)
            Fail(std::string("se esperaba '") + Ch + "'");
        ++FPos;
    }

    bool Word(const char* Text) {
        const std::string W = Text;
        if (FText.compare(FPos, W.size(), W) != 0)
            return false;
        FPos += W.size();
        return true;
    }

    TJson ReadValue(int Depth) {
        if (Depth >= MaxDepth)
            Fail("el documento esta anidado demasiado");
        switch (Peek()) {
        case '{':
            return ReadObject(Depth);
        case '[':
            return ReadArray(Depth);
        case '"':
            return TJson(ReadString());
        default:
            break;
        }
        if (Word("true"))
            return TJson(true);
        if (Word("false"))
            return TJson(false);
        if (Word("null"))
            return TJson();
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9'))
            return ReadNumber();
        Fail(AtEnd() ? EarlyEnd : "se esperaba un valor");
    }

    TJson ReadObject(int Depth) {
        TJson Object = TJson::Object();
        // The names so far, so that a name given twice is found at once however many there are.
        std::unordered_set<std::string> Names;
        Expect('{');
        SkipBlanks();
        if (Peek() == '}') {
            ++FPos;
            return Object;
        }
        for (;;) {
            SkipBlanks();
            if (Peek() != '"')
                Fail(AtEnd() ? EarlyEnd : "se esperaba el nombre de un miembro entre comillas");
            const std::size_t NameAt = FPos;
            std::string Name = ReadString();
            if (!Names.insert(Name).second) {
                FPos = NameAt;
                Fail("el miembro " + JsonText(Name) + " aparece dos veces");
            }
            SkipBlanks();
            Expect(':');
            SkipBlanks();
            Object.Set(Name, ReadValue(Depth + 1));
            SkipBlanks();
            if (Peek() == '}') {
                ++FPos;
                return Object;
            }
            Expect(',');
        }
    }

    TJson ReadArray(int Depth) {
        TJson Array = TJson::Array();
        Expect('[');
        SkipBlanks();
        if (Peek() == ']') {
            ++FPos;
            return Array;
        }
        for (;;) {
            SkipBlanks();
            Array.Add(ReadValue(Depth + 1));
            SkipBlanks();
            if (Peek() == ']') {
                ++FPos;
                return Array;
            }
            Expect(',');
        }
    }

    unsigned long ReadHex4() {
        unsigned long Code = 0;
        for (int I = 0; I < 4; ++I, ++FPos) {
            const char Ch = Peek();
            int Digit = -1;
            if (Ch >= '0' && Ch <= '9')
                Digit = Ch - '0';
            else if (Ch >= 'a' && Ch <= 'f')
                Digit = Ch - 'a' + 10;
            else if (Ch >= 'A' && Ch <= 'F')
                Digit = Ch - 'A' + 10;
            if (Digit < 0)
                Fail("se esperaban cuatro cifras hexadecimales");
            Code = Code * 16 + static_cast<unsigned long>(Digit);
        }
        return Code;
    }

    unsigned long ReadEscapedCode() {
        unsigned long Code = ReadHex4();
        if (Code >= 0xDC00 && Code <= 0xDFFF)
            Fail("suplente UTF-16 sin pareja");
        if (Code >= 0xD800 && Code <= 0xDBFF) {
            if (!Word("\\u"))
                Fail("suplente UTF-16 sin pareja");
            const unsigned long Low = ReadHex4();
            if (Low < 0xDC00 || Low > 0xDFFF)
                Fail("suplente UTF-16 sin pareja");
            Code = 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00);
        }
        return Code;
    }

    std::string ReadString() {
        Expect('"');
        std::string Out;
        for (;;) {
            if (AtEnd())
                Fail("falta la comilla que cierra el texto");
            const auto Ch = static_cast<unsigned char>(Peek());
            if (Ch == '"') {
                ++FPos;
                return Out;
            }
            if (Ch < 0x20)
                Fail("caracter de control dentro de un texto");
            if (Ch >= 0x80) {
                const std::size_t Length = Utf8SequenceLength(FText, FPos);
                if (Length == 0)
                    Fail("el texto no es UTF-8 valido");
                Out.append(FText, FPos, Length);
                FPos += Length;
                continue;
            }
            ++FPos;
            if (Ch != '\\') {
                Out += static_cast<char>(Ch);
                continue;
            }
            const char Escape = Peek();
            ++FPos;
            switch (Escape) {
            case '"':
            case '\\':
            case '/':
                Out += Escape;
                break;
            case 'b':
                Out += '\b';
                break;
            case 'f':
                Out += '\f';
                break;
            case 'n':
                Out += '\n';
                break;
            case 'r':
                Out += '\r';
                break;
            case 't':
                Out += '\t';
                break;
            case 'u':
                EncodeUtf8(static_cast<char32_t>(ReadEscapedCode()), Out);
                break;
            default:
                --FPos;
                Fail("secuencia de escape no valida");
            }
        }
    }

    TJson ReadNumber() {
        const std::size_t Start = FPos;
        const auto Digits = [&] {
            const std::size_t From = FPos;
            while (Peek() >= '0' && Peek() <= '9')
                ++FPos;
            if (FPos == From)
                Fail("numero no valido");
        };
        if (Peek() == '-')
            ++FPos;
        if (Peek() == '0')
            ++FPos;
        else
            Digits();
        if (Peek() == '.') {
            ++FPos;
            Digits();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++FPos;
            if (Peek() == '+' || Peek() == '-')
                ++FPos;
            Digits();
        }
        const double Value = std::strtod(FText.substr(Start, FPos - Start).c_str(), nullptr);
        if (!std::isfinite(Value)) {
            FPos = Start;
            Fail("numero fuera de rango");
        }
        return TJson(Value);
    }

    const std::string& FText;
    std::size_t FPos = 0;
};

// A control character as an escape: below 0x20, DEL, and U+0080 to U+009F (which a terminal
// may take for commands as well).
void WriteControl(std::string& Out, unsigned Code) {
    char Escape[8];
    std::snprintf(Escape, sizeof Escape, "\\u%04x", Code);
    Out += Escape;
}

void WriteString(std::string& Out, const std::string& Text) {
    Out += '"';
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char Ch = Text[I];
        const auto Byte = static_cast<unsigned char>(Ch);
        const auto Next = I + 1 < Text.size() ? static_cast<unsigned char>(Text[I + 1]) : 0u;
        if (Byte == 0xC2 && Next >= 0x80 && Next <= 0x9F) {
            WriteControl(Out, Next);
            ++I;
            continue;
        }
        if ((Byte < 0x20 && Ch != '\n' && Ch != '\r' && Ch != '\t') || Byte == 0x7F) {
            WriteControl(Out, Byte);
            continue;
        }
        switch (Ch) {
        case '"':
            Out += "\\\"";
            break;
        case '\\':
            Out += "\\\\";
            break;
        case '\n':
            Out += "\\n";
            break;
        case '\r':
            Out += "\\r";
            break;
        case '\t':
            Out += "\\t";
            break;
        default:
            Out += Ch;
        }
    }
    Out += '"';
}

void WriteNumber(std::string& Out, double Value) {
    char Text[32];
    if (std::floor(Value) == Value && std::fabs(Value) < 1e15)
        std::snprintf(Text, sizeof Text, "%lld", static_cast<long long>(Value));
    else
        std::snprintf(Text, sizeof Text, "%.17g", Value);
    Out += Text;
}

} // namespace

const TJson* TJson::Find(const std::string& Name) const {
    for (const TMember& M : FMembers)
        if (M.first == Name)
            return &M.second;
    return nullptr;
}

TJson& TJson::Add(TJson Item) {
    FItems.push_back(std::move(Item));
    return FItems.back();
}

TJson& TJson::Set(const std::string& Name, TJson Value) {
    FMembers.emplace_back(Name, std::move(Value));
    return FMembers.back().second;
}

std::string TJson::Write() const {
    std::string Out;
    WriteTo(Out, 0);
    return Out;
}

void TJson::WriteTo(std::string& Out, int Level) const {
    const std::string Indent(2 * static_cast<std::size_t>(Level + 1), ' ');
    const std::string Closing(2 * static_cast<std::size_t>(Level), ' ');
    switch (FKind) {
    case TKind::Null:
        Out += "null";
        return;
    case TKind::Boolean:
        Out += FBoolean ? "true" : "false";
        return;
    case TKind::Number:
        WriteNumber(Out, FNumber);
        return;
    case TKind::String:
        WriteString(Out, FString);
        return;
    case TKind::Array:
        if (FItems.empty()) {
            Out += "[]";
            return;
        }
        Out += "[\n";
        for (std::size_t I = 0; I < FItems.size(); ++I) {
            Out += Indent;
            FItems[I].WriteTo(Out, Level + 1);
            Out += I + 1 < FItems.size() ? ",\n" : "\n";
        }
        Out += Closing + "]";
        return;
    case TKind::Object:
        if (FMembers.empty()) {
            Out += "{}";
            return;
        }
        Out += "{\n";
        for (std::size_t I = 0; I < FMembers.size(); ++I) {
            Out += Indent;
            WriteString(Out, FMembers[I].first);
            Out += ": ";
            FMembers[I].second.WriteTo(Out, Level + 1);
            Out += I + 1 < FMembers.size() ? ",\n" : "\n";
        }
        Out += Closing + "}";
        return;
    }
}

TJson ParseJson(const std::string& Text) {
    return TJsonReader(Text).Document();
}

std::string JsonText(const std::string& Text) {
    std::string Out;
    WriteString(Out, Text);
    return Out;
}
