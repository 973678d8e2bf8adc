#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Writes Bytes to a temporary file beside FileName, flushes it to the disk and only then moves it
// to FileName, so that a power cut leaves either what was there before or the whole new file,
// never a part of it. The temporary file has a fresh name and is created only when no file has
// that name (on Linux readable by the user alone), so two writers at once never share one and a
// file of the user's is never taken for it. Unless Replace is set, the move fails when anything
// has taken the name meanwhile, and that thing is left as it is. The temporary file is removed
// when anything fails. Returns 0, or the system's error code (SysErrorMessage gives its text).
unsigned WriteFileDurably(const std::string& FileName, const std::string& Bytes, bool Replace);

// A name beside FileName for its temporary file: "FileName.<16 random hex digits>.tmp".
std::string FreshTemporaryName(const std::string& FileName);

// How many fresh names a durable write tries before it gives up on a folder where every one of
// them is taken.
inline constexpr int TemporaryNameTries = 16;

// The first Limit bytes of FileName, the whole file by default; nothing when it cannot be opened
// or read. The standard streams would do the same but bring the whole locale library with them,
// a quarter of the Windows program's size.
std::optional<std::string> ReadFileBytes(const std::string& FileName,
                                         std::size_t Limit = static_cast<std::size_t>(-1));

// How a read of a file that must be an ordinary one went.
enum class TFileRead { Read, Unreadable, NotRegular };

// Reads the first Limit bytes of FileName into Bytes when it is a regular file. Anything else (a
// folder, a pipe, a device such as /dev/zero) is refused before a byte is read, and opening it
// does not wait for a pipe's writer.
TFileRead ReadRegularFile(const std::string& FileName, std::size_t Limit, std::string& Bytes);

// Whether something other than a folder has FileName, a link that leads nowhere included.
bool NameHeldByNonFolder(const std::string& FileName);
