#pragma once
// The usage maps of a Jet 4 file: which pages a table (or a long-value column) owns, which
// of them have free space, and (page 1) which pages of the file are free. A map is a row
// of a data page, in one of two forms, told by its first byte:
//   0x00  inline: u32 the first page mapped, then a bitmap, one bit a page from that page
//         on (the low bit of each byte first)
//   0x01  a list of u32 page numbers (0: none) of usage-map pages (type 0x05), each a
//         bitmap from offset 4 to the end of its page; the k-th page of the list maps the
//         pages from k × (4096 - 4) × 8 on
// The file's map (page 1, row 0) marks free pages, every page past the end of the file too.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tabrel {

// How many pages one usage-map page maps.
inline constexpr std::uint32_t kJetPagesPerMapPage = (4096 - 4) * 8;

// The pages a map marks, in ascending order; nullopt when the map or a page of its list is
// damaged.
std::optional<std::vector<std::uint32_t>> ReadJetUsageMap(std::span<const std::uint8_t> file,
                                                          std::span<const std::uint8_t> map);

// The same for the map that a data pointer names.
std::optional<std::vector<std::uint32_t>> ReadJetUsageMapAt(std::span<const std::uint8_t> file,
                                                            std::uint32_t pointer);

// An inline map, size bytes long (its row), of the pages from first on; nullopt when a page
// lies outside what it can map.
std::optional<std::vector<std::uint8_t>> BuildJetInlineUsageMap(
    const std::vector<std::uint32_t>& pages, std::uint32_t first, std::size_t size);

// A page-list map: its row (size bytes) lists mapPages (0: none; the k-th maps the pages
// from k × 32736 on), and each listed map page's bytes (empty for a 0).
struct JetPageListUsageMap {
    std::vector<std::uint8_t> row;
    std::vector<std::vector<std::uint8_t>> mapPages;
};

// nullopt when a page lies outside what the listed map pages can map, or the list does not
// fit the row.
std::optional<JetPageListUsageMap> BuildJetPageListUsageMap(
    const std::vector<std::uint32_t>& pages, const std::vector<std::uint32_t>& mapPages,
    std::size_t size);

}  // namespace tabrel
