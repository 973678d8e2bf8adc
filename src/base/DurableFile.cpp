#include "base/DurableFile.h"

#include <random>

std::string FreshTemporaryName(const std::string& FileName) {
    static std::random_device Source;
    static const char Digits[] = "0123456789abcdef";
    std::string Name = FileName + ".";
    for (int I = 0; I < 4; ++I)
        for (unsigned Bits = Source(), J = 0; J < 4; ++J, Bits >>= 4)
            Name += Digits[Bits & 15];
    return Name + ".tmp";
}
