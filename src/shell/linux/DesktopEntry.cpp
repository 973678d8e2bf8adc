#include "shell/linux/DesktopEntry.h"

#include <cstring>
#include <vector>

namespace {

// An Exec argument holding any of these must be quoted.
constexpr const char* Reserved = " \t\n\"'\\><~|&;$*?#()`";
// Inside quotes these take a backslash.
constexpr const char* QuotedEscapes = "\"`$\\";

std::string QuoteExecArgument(const std::string& Arg) {
    const bool Quote = Arg.empty() || Arg.find_first_of(Reserved) != std::string::npos;
    std::string Out;
    for (const char C : Arg) {
        if (C == '%')
            Out += '%'; // a lone % would start a field code
        else if (Quote && std::strchr(QuotedEscapes, C))
            Out += '\\';
        Out += C;
    }
    return Quote ? '"' + Out + '"' : Out;
}

// The escapes of a string value in the entry file, applied over the Exec quoting.
std::string EscapeValue(const std::string& Value) {
    std::string Out;
    for (const char C : Value) {
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
        case '\t':
            Out += "\\t";
            break;
        default:
            Out += C;
        }
    }
    return Out;
}

std::string UnescapeValue(const std::string& Value) {
    std::string Out;
    for (std::size_t I = 0; I < Value.size(); ++I) {
        const char C = Value[I];
        if (C != '\\' || I + 1 == Value.size()) {
            Out += C;
            continue;
        }
        switch (Value[++I]) {
        case 's':
            Out += ' ';
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
        case '\\':
            Out += '\\';
            break;
        // Others belong to the Exec quoting beneath.
        default:
            Out += '\\';
            Out += Value[I];
        }
    }
    return Out;
}

std::vector<std::string> SplitExec(const std::string& Exec) {
    std::vector<std::string> Args;
    std::string Arg;
    bool InArg = false;
    bool Quoted = false;
    for (std::size_t I = 0; I < Exec.size(); ++I) {
        const char C = Exec[I];
        const char Next = I + 1 < Exec.size() ? Exec[I + 1] : '\0';
        if (C == '%' && Next == '%') {
            Arg += '%';
            ++I;
        } else if (Quoted) {
            if (C == '\\' && Next && std::strchr(QuotedEscapes, Next)) {
                Arg += Next;
                ++I;
            } else if (C == '"') {
                Quoted = false;
            } else {
                Arg += C;
            }
            continue;
        } else if (C == ' ' || C == '\t') {
            if (InArg)
                Args.push_back(Arg);
            Arg.clear();
            InArg = false;
            continue;
        } else if (C == '"') {
            Quoted = true;
        } else {
            Arg += C;
        }
        InArg = true;
    }
    if (InArg)
        Args.push_back(Arg);
    return Args;
}

std::string StripBlanks(const std::string& S) {
    const auto First = S.find_first_not_of(" \t");
    if (First == std::string::npos)
        return {};
    return S.substr(First, S.find_last_not_of(" \t") - First + 1);
}

} // namespace

std::string DesktopEntryText(const std::string& Name, const std::string& CommandLine) {
    return "[Desktop Entry]\nType=Application\nName=" + EscapeValue(Name) +
           "\nExec=" + EscapeValue(QuoteExecArgument(CommandLine)) + "\n";
}

std::optional<std::string> DesktopEntryCommand(const std::string& Text) {
    std::optional<std::string> Exec;
    bool SwitchedOff = false;
    bool InMainGroup = false;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        auto End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        const std::string Line = Text.substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line[0] == '[') {
            InMainGroup = Line == "[Desktop Entry]";
            continue;
        }
        const auto Eq = Line.find('=');
        if (!InMainGroup || Line[0] == '#' || Eq == std::string::npos)
            continue;
        const std::string Key = StripBlanks(Line.substr(0, Eq));
        std::string Value = Line.substr(Eq + 1);
        Value.erase(0, Value.find_first_not_of(' '));
        if (Key == "Exec")
            Exec = UnescapeValue(Value);
        // The two ways desktops record that the user turned an autostart entry off.
        else if ((Key == "Hidden" && Value == "true") ||
                 (Key == "X-GNOME-Autostart-enabled" && Value == "false"))
            SwitchedOff = true;
    }
    if (!Exec || SwitchedOff)
        return std::nullopt;
    const std::vector<std::string> Args = SplitExec(*Exec);
    std::string Command;
    for (std::size_t I = 0; I < Args.size(); ++I)
        Command += (I ? " " : "") + Args[I];
    return Command;
}
