#include "base/TApplication.h"

#include <filesystem>
#include <system_error>

std::string TApplication::ExeName() const {
    std::error_code Error;
    return std::filesystem::read_symlink("/proc/self/exe", Error).string();
}
