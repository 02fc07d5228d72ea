#pragma once
// Reading a database file's bytes without changing anything about the file: it is opened
// for reading only and, where the system allows it (the file's owner), without updating
// its access time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tabrel {

// The first count bytes of the file at path (fewer when it is shorter). False with the
// reason in error when it cannot be read.
bool ReadFileHead(const std::string& path, std::size_t count, std::vector<std::uint8_t>& bytes,
                  std::string& error);

// Every byte of the regular file at path. False with the reason in error when it cannot be
// read or holds more than maxSize bytes.
bool ReadWholeFile(const std::string& path, std::size_t maxSize, std::vector<std::uint8_t>& bytes,
                   std::string& error);

}  // namespace tabrel
