#pragma once
// The usage maps of a Jet 4 file: which pages a table (or a long-value column) owns, which
// of them have free space, and (page 1) which pages of the file are free. A map is a row
// of a data page, in one of two forms, told by its first byte:
//   0x00  inline: u32 the first page mapped, then a bitmap, one bit a page from that page
//         on (the low bit of each byte first)
//   0x01  a list of u32 page numbers (0: none) of usage-map pages (type 0x05), each a
//         bitmap from offset 4 to the end of its page; the k-th page of the list maps the
//         pages from k × (4096 - 4) × 8 on

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tabrel {

// The pages a map marks, in ascending order; nullopt when the map or a page of its list is
// damaged.
std::optional<std::vector<std::uint32_t>> ReadJetUsageMap(std::span<const std::uint8_t> file,
                                                          std::span<const std::uint8_t> map);

// The same for the map that a data pointer names.
std::optional<std::vector<std::uint32_t>> ReadJetUsageMapAt(std::span<const std::uint8_t> file,
                                                            std::uint32_t pointer);

}  // namespace tabrel
