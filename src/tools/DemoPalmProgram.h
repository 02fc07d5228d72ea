#pragma once
// The stand-in "palm.exe" of the demo Palm Desktop folder: a minimal Windows program file
// whose only content that matters is its version resource. Tabrel reads the installed
// Palm Desktop version from it, and so which storage generation the users' data has.

#include <cstdint>
#include <vector>

namespace tabrel::demo {

// The bytes of a 32-bit Windows program file that returns 0 at once and carries the file
// and product version major.minor.third.0.
std::vector<std::uint8_t> MakeVersionStub(std::uint16_t major, std::uint16_t minor,
                                          std::uint16_t third);

}  // namespace tabrel::demo
