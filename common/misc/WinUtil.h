#pragma once
// Desktop helpers: the program's own folder, opening a document with the desktop, a Windows
// program file's version and a hexadecimal dump for the debug log.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

// The folder of the running executable, ending with '/'; empty when it cannot be found.
std::string GetAppFolder();

// Opens a document, folder or program with the desktop's "open" action (xdg-open, started
// directly with the path as its one argument, so no path reaches a shell; a path beginning
// with '-' is passed as "./-..." so that it cannot pass for an option). The call does not
// wait for xdg-open and leaves no zombie process. False for an empty path or when xdg-open
// cannot be found or started; true otherwise, whatever it answers.
bool RunProgram(std::string_view path);

// The four 16-bit parts of a Windows program file's version (the fixed file-info block of
// its version resource).
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t third = 0;
    std::uint16_t fourth = 0;
};

// Reads the version of a Windows program file (PE format); nullopt when the file has none,
// cannot be read, or is truncated or malformed.
std::optional<FileVersion> GetFileVersion(const std::string& path);

// The first 1024 bytes as two lower-case hexadecimal digits each, separated by blanks.
std::string HexDump(const void* bytes, std::size_t length);

}  // namespace tabrel
