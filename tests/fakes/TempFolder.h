#pragma once

#include "base/FilePath.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path() / UniqueName()) {}
    // A folder at a place of the test's choosing; whatever an earlier run left there goes first.
    explicit TempFolder(std::filesystem::path Path) : FPath(std::move(Path)) {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
        std::filesystem::create_directories(FPath);
    }
    ~TempFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // What it holds, counted: a temporary file left behind is seen whatever its name.
    long Entries() const { return std::distance(std::filesystem::directory_iterator(FPath), {}); }
    // The UTF-8 name of Name inside the folder, as the program takes file names.
    std::string File(const std::string& Name) const { return PathText(FPath / FilePath(Name)); }

private:
    static std::string UniqueName() {
        static std::atomic<int> Counter{0};
        const auto Stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return "quelvano-test-" + std::to_string(Stamp) + "-" + std::to_string(++Counter);
    }

    std::filesystem::path FPath;
};

inline std::string ReadWholeFile(const std::string& FileName) {
    std::ifstream In(FilePath(FileName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& FileName, const std::string& Bytes) {
    std::ofstream Out(FilePath(FileName), std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}
