#pragma once

#include "base/Exception.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// A fault of the command line or of the values it gives: exit code 2, nothing written.
class ECtlUsage : public Exception {
public:
    using Exception::Exception;
};

// What a command accepts.
struct TCtlSyntax {
    std::size_t MinOperands = 0;
    std::size_t MaxOperands = 0;
    std::vector<std::string> ValueOptions; // given as --name VALUE or --name=VALUE
    std::vector<std::string> FlagOptions;  // given as --name
    std::vector<std::string> ListOptions;  // value options that may be given again and again
};

// One command's words, sorted out.
struct TCtlArgs {
    std::vector<std::string> Operands;
    std::map<std::string, std::string> Values;
    std::set<std::string> Flags;
    std::map<std::string, std::vector<std::string>> Lists; // in the order given

    bool Has(const std::string& Flag) const { return Flags.count(Flag) != 0; }
    const std::string* Value(const std::string& Name) const;
    // The values of a list option; none when it was not given.
    const std::vector<std::string>* List(const std::string& Name) const;
};

// Sorts the words after the command's name by its syntax. A word beginning with "-" is an option
// unless it comes after "--"; a value option takes the next word whatever it is. Raises ECtlUsage
// for an unknown, repeated (other than a list option) or incomplete option and for a wrong number
// of operands.
TCtlArgs ParseCtlArgs(const std::vector<std::string>& Words, const TCtlSyntax& Syntax);
