#include "base/SysError.h"

std::string TrimSystemMessage(const std::string& Text) {
    std::size_t End = Text.size();
    while (End > 0 && (static_cast<unsigned char>(Text[End - 1]) <= 32 || Text[End - 1] == '.'))
        --End;
    return Text.substr(0, End);
}
