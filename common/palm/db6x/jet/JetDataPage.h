#pragma once
// The pages of a Jet 4 file and the rows of its data pages (table rows and long values).
//
// A data page:
//   offset  size  meaning
//   0       1     page type, 0x01
//   1       1     0x01
//   2       2     free space
//   4       4     the owner: the table definition's page, or "LVAL" on a long-value page
//   8       4     unused (0; Access keeps a number of its own here on some pages)
//   12      2     number of rows n
//   14      2n    row offsets: the low 13 bits are the row's start in the page, 0x8000 marks
//                 a deleted row, 0x4000 a row moved elsewhere (its 4 bytes point at the
//                 row's new place, which is marked deleted so that a scan sees it once);
//                 rows are stored from the end of the page backwards, so row r ends where
//                 row r - 1 starts (row 0 at the end of the page)
// A data pointer names a row: the page number times 256 plus the row number.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tabrel {

enum class JetPageType : std::uint8_t {
    Header = 0x00,
    Data = 0x01,
    TableDefinition = 0x02,
    IndexNode = 0x03,
    IndexLeaf = 0x04,
    UsageMap = 0x05,
};

inline constexpr std::uint32_t kJetLongValueOwner = 0x4C41564C;  // "LVAL"

// The bytes of a page of the file; empty when the file has no such page.
std::span<const std::uint8_t> JetPage(std::span<const std::uint8_t> file, std::uint32_t page);

// One row of a data page: where it lies in the page and how it is marked.
struct JetRowSlot {
    std::uint16_t start = 0;
    std::uint16_t end = 0;
    bool deleted = false;
    bool moved = false;
};

struct JetDataPageInfo {
    std::uint32_t owner = 0;
    std::uint16_t freeSpace = 0;
    std::vector<JetRowSlot> rows;
};

// The rows of a data page; nullopt when it is not a data page or its row table is damaged.
std::optional<JetDataPageInfo> ReadJetDataPage(std::span<const std::uint8_t> page);

// A row to lay out on a data page, with its marks.
struct JetPageRow {
    std::vector<std::uint8_t> bytes;
    bool deleted = false;
    bool moved = false;
};

// The bytes of a data page owned by owner (a table definition's page, or kJetLongValueOwner)
// holding the rows in order, stored from the end of the page backwards; nullopt when they do
// not fit.
std::optional<std::vector<std::uint8_t>> BuildJetDataPage(std::uint32_t owner,
                                                          const std::vector<JetPageRow>& rows);

// The bytes of the row a data pointer names, whatever its marks; nullopt when the page or
// the row does not exist.
std::optional<std::span<const std::uint8_t>> FindJetRow(std::span<const std::uint8_t> file,
                                                        std::uint32_t pointer);

}  // namespace tabrel
