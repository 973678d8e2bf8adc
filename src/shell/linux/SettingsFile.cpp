#include "shell/linux/SettingsFile.h"

#include <optional>

namespace {

std::string Escape(const std::string& S) {
    std::string Out;
    for (const char C : S) {
        switch (C) {
        case '\\':
            Out += "\\\\";
            break;
        case '\n':
            Out += "\\n";
            break;
        case '\r':
            Out += "\\r";
            break;
        case '=':
            Out += "\\=";
            break;
        default:
            Out += C;
        }
    }
    return Out;
}

// Nothing when the line has no unescaped separator: a hand edit may leave such a line.
std::optional<std::pair<std::string, std::string>> ParseLine(const std::string& Line) {
    std::pair<std::string, std::string> Entry;
    std::string* Part = &Entry.first;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        const char C = Line[I];
        if (C == '=' && Part == &Entry.first) {
            Part = &Entry.second;
        } else if (C == '\\' && I + 1 < Line.size()) {
            const char E = Line[++I];
            *Part += E == 'n' ? '\n' : E == 'r' ? '\r' : E;
        } else {
            *Part += C;
        }
    }
    if (Part == &Entry.first)
        return std::nullopt;
    return Entry;
}

} // namespace

TSettingsValues ParseSettingsFile(const std::string& Text) {
    TSettingsValues Values;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        auto End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        if (auto Entry = ParseLine(Text.substr(Start, End - Start)))
            Values.push_back(std::move(*Entry));
        Start = End + 1;
    }
    return Values;
}

std::string FormatSettingsFile(const TSettingsValues& Values) {
    std::string Text;
    for (const auto& [Name, Value] : Values)
        Text += Escape(Name) + "=" + Escape(Value) + "\n";
    return Text;
}
