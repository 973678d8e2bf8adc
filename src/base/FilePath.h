#pragma once

#include <filesystem>
#include <string>

// File names are UTF-8 text like every other string of the program, and reach the file system
// only through these. On Windows a path made from a narrow string is read in the ANSI code page,
// so a folder such as C:\Users\José would not be found.

inline std::filesystem::path FilePath(const std::string& Utf8) {
    return std::filesystem::u8path(Utf8);
}

inline std::string PathText(const std::filesystem::path& Path) {
    return Path.u8string();
}
