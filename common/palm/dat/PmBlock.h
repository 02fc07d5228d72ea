#pragma once
// PmBlock: the value of a binary block field (type codes 64 to 67) of a .dat record.

#include <cstdint>
#include <vector>

namespace tabrel {

struct PmBlock {
    std::uint32_t m_dwType = 0;        // the type code as read
    std::uint32_t m_dwSize = 0;        // the size word S
    std::uint32_t m_dwWord1 = 0;       // first block word (S of 1 to 3 only)
    std::uint32_t m_dwWord2 = 0;       // second block word (S of 1 to 3 only)
    std::uint32_t m_dwDataLength = 0;  // N for S of 1 to 3; S itself for S of 4 or more
    std::vector<std::uint8_t> m_data;  // the data bytes; empty when the block has none

    bool operator==(const PmBlock&) const = default;
};

}  // namespace tabrel
