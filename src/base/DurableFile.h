#pragma once

#include <string>

// Writes Bytes to a temporary file beside FileName, flushes it to the disk and only then moves it
// to FileName, so that a power cut leaves either what was there before or the whole new file,
// never a part of it. Unless Replace is set, the move fails when anything has taken the name
// meanwhile, and that thing is left as it is. The temporary file is removed when anything fails.
// Returns 0, or the system's error code (SysErrorMessage gives its text).
unsigned WriteFileDurably(const std::string& FileName, const std::string& Bytes, bool Replace);
