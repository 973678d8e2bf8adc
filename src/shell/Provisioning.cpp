#include "shell/Provisioning.h"

#include "base/Exception.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

[[noreturn]] void RaiseCannotCreate(const std::string& FileName, const std::string& Reason) {
    throw Exception("Cannot create file \"" + FileName + "\". " + Reason);
}

} // namespace

bool ProvisionFile(const std::string& FileName, const std::string& Bytes) {
    namespace fs = std::filesystem;
    std::error_code Ec;
    // Anything already there, even a dangling link or a folder, is not ours to replace.
    if (fs::symlink_status(FileName, Ec).type() != fs::file_type::not_found)
        return false;
    const std::string Temp = FileName + ".tmp";
    {
        errno = 0;
        std::ofstream Out(Temp, std::ios::binary | std::ios::trunc);
        if (Out)
            Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
        if (Out)
            Out.close();
        if (!Out) {
            const std::string Reason = std::strerror(errno ? errno : EIO);
            fs::remove(Temp, Ec);
            RaiseCannotCreate(FileName, Reason);
        }
    }
    fs::rename(Temp, FileName, Ec);
    if (Ec) {
        std::error_code Ignored;
        fs::remove(Temp, Ignored);
        RaiseCannotCreate(FileName, Ec.message());
    }
    return true;
}
