#pragma once

#include <string>

// The calling thread's last system error code (GetLastError on Windows, errno elsewhere).
unsigned LastOSError();

// The system's message for an error code, trimmed as TrimSystemMessage does.
std::string SysErrorMessage(unsigned Code);

// Removes every trailing character of code 32 or below and every trailing period.
std::string TrimSystemMessage(const std::string& Text);
