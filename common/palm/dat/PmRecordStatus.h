#pragma once
// The status flags and placement of a .dat record, the same in both generations: a record
// this system adds carries kPmStatusAdded and the placement kPmNewPlacement, a record it
// changes gains kPmStatusModified.

#include <cstdint>

namespace tabrel {

inline constexpr std::uint32_t kPmStatusAdded = 0x01;
inline constexpr std::uint32_t kPmStatusModified = 0x02;
inline constexpr std::uint32_t kPmNewPlacement = 0x7FFFFFFF;

}  // namespace tabrel
