#pragma once
// The definition of a Jet 4 table as its table-definition pages store it: the row count and
// auto-number counter, the columns with their places in a row, the indexes and the usage
// maps of the table and of its long-value columns.
//
// A definition longer than a page continues on further pages; each page begins with
//   0 u8 type 0x02, 1 u8 0x01, 2 u16 free space, 4 u32 the next page of the definition (0: none)
// and the definition is the first page whole followed by the rest of each further page
// after its 8 bytes. Offsets below are into that joined buffer:
//   8   u32 length of the definition      16  u32 row count
//   20  u32 the last auto-number given    40  u8  0x4E a user table, 0x53 a system table
//   41  u16 most columns a row has (deleted columns too)
//   43  u16 variable columns              45  u16 columns
//   47  u32 logical indexes               51  u32 real indexes
//   55  u32 data pointer of the map of the pages the table owns
//   59  u32 data pointer of the map of those pages with free space
//   63  per real index 12 bytes: u32 0, u32 its entry count, u32 0
//   then per column 25 bytes:
//       0 u8 type, 5 u16 number (in the null mask), 7 u16 index in the variable-offset
//       table, 9 u16 number again, 11 u16 text sort order (0x409 General) or precision and
//       scale, 14 u8 sort-order version, 15 u8 flags (0x01 fixed width, 0x02 may be NULL,
//       0x04 auto-number, 0x40 automatic GUID), 16 u8 0x01 compressed Unicode allowed,
//       21 u16 offset in the fixed part of a row, 23 u16 width
//   then per column u16 name length in bytes, the name (UTF-16LE)
//   then per real index 52 bytes: 4 unused, 10 × (u16 column number, 0xFFFF none; u8 0x01
//       ascending), u32 data pointer of its page map, u32 its root page, 4 unused, u8
//       flags (0x01 unique, 0x02 NULLs left out, 0x08 required), 5 unused
//   then per logical index 28 bytes: 4 unused, u32 number, u32 its real index, u8 type of
//       the related table, u32 related index (0xFFFFFFFF none), u32 related table's page,
//       u8 cascade updates, u8 cascade deletes, u8 kind (0x01 primary key, 0x02 foreign
//       key), 4 unused
//   then per logical index u16 name length in bytes, the name (UTF-16LE)
//   then until a column number 0xFFFF: u16 column number, u32 data pointer of the map of
//       its long-value pages, u32 that of those with free space

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tabrel {

inline constexpr std::uint8_t kJetUserTable = 0x4E;
inline constexpr std::uint8_t kJetSystemTable = 0x53;

struct JetColumnDefinition {
    std::uint8_t type = 0;
    std::uint16_t number = 0;
    std::uint16_t variableIndex = 0;
    std::uint16_t fixedOffset = 0;
    std::uint16_t width = 0;
    std::uint16_t sortOrder = 0;
    std::uint8_t sortVersion = 0;
    std::uint8_t flags = 0;
    bool compressedUnicode = false;
    std::u16string name;
    // Memo and OLE columns: their long-value page maps (0 when the definition has none).
    std::uint32_t longValuePages = 0;
    std::uint32_t longValueFreePages = 0;

    bool IsFixed() const { return (flags & 0x01) != 0; }
    bool IsAutoNumber() const { return (flags & 0x04) != 0; }
};

struct JetIndexColumn {
    std::uint16_t number = 0;
    bool ascending = true;
};

struct JetRealIndex {
    std::uint32_t entryCount = 0;
    std::vector<JetIndexColumn> columns;
    std::uint32_t usedPages = 0;
    std::uint32_t rootPage = 0;
    std::uint8_t flags = 0;

    bool IsUnique() const { return (flags & 0x01) != 0; }
};

struct JetLogicalIndex {
    std::uint32_t number = 0;
    std::uint32_t realIndex = 0;
    std::uint32_t relatedIndex = 0xFFFFFFFF;
    std::uint32_t relatedTablePage = 0;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
    std::uint8_t kind = 0;
    std::u16string name;

    bool IsPrimaryKey() const { return kind == 0x01; }
    bool IsForeignKey() const { return kind == 0x02; }
};

struct JetTableDefinition {
    std::vector<std::uint32_t> pages;  // first to last
    std::uint32_t rowCount = 0;
    std::uint32_t lastAutoNumber = 0;
    std::uint8_t tableType = 0;
    std::uint16_t maxColumns = 0;
    std::uint16_t variableColumns = 0;
    std::uint32_t ownedPages = 0;
    std::uint32_t freeSpacePages = 0;
    std::vector<JetColumnDefinition> columns;  // by number, as a table shows them
    std::vector<JetRealIndex> realIndexes;
    std::vector<JetLogicalIndex> logicalIndexes;
};

// The definition whose first page is page; nullopt with the reason in error when a page is
// not a table definition or the definition does not fit its pages.
std::optional<JetTableDefinition> ReadJetTableDefinition(std::span<const std::uint8_t> file,
                                                         std::uint32_t page, std::string& error);

}  // namespace tabrel
