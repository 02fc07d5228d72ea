#pragma once
// Little-endian byte helpers and the page sizes of the Jet 4 test writer. The writer throws
// std::invalid_argument (Refuse) on a table it cannot write.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace tabrel::test::jetwrite {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kPageSize = 4096;
inline constexpr std::size_t kRowPageHeader = 14;  // data and long-value pages: offsets start here
inline constexpr std::size_t kMaxRowsPerPage = 255;
// The largest row one data page holds: the page less its header and one row offset.
inline constexpr std::size_t kMaxRow = kPageSize - kRowPageHeader - 2;

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
inline void Put64(Bytes& b, std::size_t at, std::uint64_t v) {
    Put32(b, at, static_cast<std::uint32_t>(v));
    Put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}
inline void Append16(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 2);
    Put16(b, b.size() - 2, v);
}
inline void Append32(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
}
inline std::uint64_t DoubleBits(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

[[noreturn]] inline void Refuse(const std::string& what) {
    throw std::invalid_argument(what);
}

}  // namespace tabrel::test::jetwrite
