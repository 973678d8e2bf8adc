#include "base/SysError.h"

#include <cerrno>
#include <cstring>

unsigned LastOSError() {
    return static_cast<unsigned>(errno);
}

std::string SysErrorMessage(unsigned Code) {
    return TrimSystemMessage(std::strerror(static_cast<int>(Code)));
}
