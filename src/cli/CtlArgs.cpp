#include "cli/CtlArgs.h"

#include <algorithm>

namespace {

bool Lists(const std::vector<std::string>& Names, const std::string& Name) {
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

} // namespace

const std::string* TCtlArgs::Value(const std::string& Name) const {
    const auto It = Values.find(Name);
    return It == Values.end() ? nullptr : &It->second;
}

const std::vector<std::string>* TCtlArgs::List(const std::string& Name) const {
    const auto It = Lists.find(Name);
    return It == Lists.end() ? nullptr : &It->second;
}

TCtlArgs ParseCtlArgs(const std::vector<std::string>& Words, const TCtlSyntax& Syntax) {
    TCtlArgs Args;
    bool OptionsEnded = false;
    for (std::size_t I = 0; I < Words.size(); ++I) {
        const std::string& Word = Words[I];
        if (OptionsEnded || Word.size() < 2 || Word[0] != '-') {
            Args.Operands.push_back(Word);
            continue;
        }
        if (Word == "--") {
            OptionsEnded = true;
            continue;
        }
        const std::size_t Equals = Word.find('=');
        const std::string Name = Word.substr(0, Equals);
        const std::string Bare = Name.compare(0, 2, "--") == 0 ? Name.substr(2) : std::string();
        const bool IsList = Lists(Syntax.ListOptions, Bare);
        if (IsList || Lists(Syntax.ValueOptions, Bare)) {
            if (!IsList && Args.Values.count(Bare) != 0)
                throw ECtlUsage("La opcion " + Name + " se indico dos veces.");
            std::string Value;
            if (Equals != std::string::npos)
                Value = Word.substr(Equals + 1);
            else if (I + 1 < Words.size())
                Value = Words[++I];
            else
                throw ECtlUsage("Falta el valor de la opcion " + Name + ".");
            if (IsList)
                Args.Lists[Bare].push_back(Value);
            else
                Args.Values[Bare] = Value;
        } else if (Lists(Syntax.FlagOptions, Bare) && Equals == std::string::npos) {
            Args.Flags.insert(Bare);
        } else {
            throw ECtlUsage("Opcion desconocida: " + Word + ".");
        }
    }
    if (Args.Operands.size() < Syntax.MinOperands)
        throw ECtlUsage("Faltan argumentos.");
    if (Args.Operands.size() > Syntax.MaxOperands)
        throw ECtlUsage("Sobran argumentos: " + Args.Operands[Syntax.MaxOperands] + ".");
    return Args;
}
