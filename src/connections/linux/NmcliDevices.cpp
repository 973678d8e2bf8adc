#include "connections/linux/NmcliDevices.h"

namespace {

// Terse output escapes ':' and '\' inside values with a backslash.
std::vector<std::string> SplitTerseLine(const std::string& Line) {
    std::vector<std::string> Fields(1);
    for (std::size_t I = 0; I < Line.size(); ++I) {
        const char C = Line[I];
        if (C == '\\' && I + 1 < Line.size())
            Fields.back() += Line[++I];
        else if (C == ':')
            Fields.emplace_back();
        else
            Fields.back() += C;
    }
    return Fields;
}

} // namespace

std::vector<std::pair<std::string, std::string>> ParseNmcliDevices(const std::string& Output) {
    std::vector<std::pair<std::string, std::string>> Devices;
    std::size_t Start = 0;
    while (Start < Output.size()) {
        std::size_t End = Output.find('\n', Start);
        if (End == std::string::npos)
            End = Output.size();
        const std::vector<std::string> Fields = SplitTerseLine(Output.substr(Start, End - Start));
        if (Fields.size() == 2 && !Fields[0].empty())
            Devices.emplace_back(Fields[0], Fields[1]);
        Start = End + 1;
    }
    return Devices;
}
