#include "shell/Provisioning.h"

#include "base/DurableFile.h"
#include "base/Exception.h"
#include "base/SysError.h"

bool ProvisionFile(const std::string& FileName, const std::string& Bytes) {
    // A file of any content, even a dangling link, is the user's. A folder is no database: it goes
    // on to the move, which refuses it with the system's own reason.
    if (NameHeldByNonFolder(FileName))
        return false;
    if (const unsigned Error = WriteFileDurably(FileName, Bytes, false))
        throw Exception("Cannot create file \"" + FileName + "\". " + SysErrorMessage(Error));
    return true;
}
