#include "shell/Provisioning.h"

#include "base/DurableFile.h"
#include "base/Exception.h"
#include "base/FilePath.h"
#include "base/SysError.h"

#include <filesystem>
#include <system_error>

bool ProvisionFile(const std::string& FileName, const std::string& Bytes) {
    namespace fs = std::filesystem;
    std::error_code Ec;
    const fs::file_status Status = fs::symlink_status(FilePath(FileName), Ec);
    // A file of any content, even a dangling link, is the user's. A folder is no database: it goes
    // on to the move, which refuses it with the system's own reason.
    if (fs::exists(Status) && !fs::is_directory(Status))
        return false;
    if (const unsigned Error = WriteFileDurably(FileName, Bytes, false))
        throw Exception("Cannot create file \"" + FileName + "\". " + SysErrorMessage(Error));
    return true;
}
