#include "base/DurableFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int Fd, const std::string& Bytes) {
    std::size_t Done = 0;
    while (Done < Bytes.size()) {
        const ssize_t N = write(Fd, Bytes.data() + Done, Bytes.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return false;
        Done += static_cast<std::size_t>(N);
    }
    return true;
}

// A hard link where the file system has no renaming that refuses to replace: it refuses alike.
int MoveWithoutReplacing(const std::string& From, const std::string& To) {
    if (renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (link(From.c_str(), To.c_str()) != 0)
        return errno;
    unlink(From.c_str());
    return 0;
}

int Move(const std::string& From, const std::string& To, bool Replace) {
    if (!Replace)
        return MoveWithoutReplacing(From, To);
    return std::rename(From.c_str(), To.c_str()) == 0 ? 0 : errno;
}

// The new name lasts only once the folder holding it is on the disk too. A failure here is not
// reported: the file is in place already, and at worst a power cut brings back the old state.
void SyncFolderOf(const std::string& FileName) {
    const auto Slash = FileName.rfind('/');
    const std::string Folder = Slash == std::string::npos ? "." : FileName.substr(0, Slash + 1);
    const int Fd = open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd >= 0) {
        fsync(Fd);
        close(Fd);
    }
}

// Up to Limit bytes from Fd, which it closes; false on a failed read.
bool ReadAndClose(int Fd, std::size_t Limit, std::string& Bytes) {
    char Buffer[65536];
    ssize_t Got = 0;
    while (Bytes.size() < Limit) {
        Got = read(Fd, Buffer, std::min(Limit - Bytes.size(), sizeof Buffer));
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got <= 0)
            break;
        Bytes.append(Buffer, static_cast<std::size_t>(Got));
    }
    close(Fd);
    return Got >= 0;
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& FileName, std::size_t Limit) {
    const int Fd = open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    std::string Bytes;
    if (Fd < 0 || !ReadAndClose(Fd, Limit, Bytes))
        return std::nullopt;
    return Bytes;
}

TFileRead ReadRegularFile(const std::string& FileName, std::size_t Limit, std::string& Bytes) {
    const int Fd = open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat Status {};
    if (Fd < 0 || fstat(Fd, &Status) != 0) {
        if (Fd >= 0)
            close(Fd);
        return TFileRead::Unreadable;
    }
    if (!S_ISREG(Status.st_mode)) {
        close(Fd);
        return TFileRead::NotRegular;
    }
    return ReadAndClose(Fd, Limit, Bytes) ? TFileRead::Read : TFileRead::Unreadable;
}

bool NameHeldByNonFolder(const std::string& FileName) {
    struct stat Status {};
    return lstat(FileName.c_str(), &Status) == 0 && !S_ISDIR(Status.st_mode);
}

unsigned WriteFileDurably(const std::string& FileName, const std::string& Bytes, bool Replace) {
    std::string Temp;
    int Fd = -1;
    for (int Try = 0; Fd < 0 && Try < TemporaryNameTries; ++Try) {
        Temp = FreshTemporaryName(FileName);
        Fd = open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (Fd < 0 && errno != EEXIST)
            break;
    }
    if (Fd < 0)
        return static_cast<unsigned>(errno);
    int Error = WriteAll(Fd, Bytes) && fsync(Fd) == 0 ? 0 : errno;
    if (close(Fd) != 0 && Error == 0)
        Error = errno;
    if (Error == 0)
        Error = Move(Temp, FileName, Replace);
    if (Error != 0) {
        unlink(Temp.c_str());
        return static_cast<unsigned>(Error);
    }
    SyncFolderOf(FileName);
    return 0;
}
