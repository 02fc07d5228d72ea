#pragma once
// Table definition pages.

#include <cstdint>
#include <vector>

#include "support/jetwrite/Columns.h"
#include "support/jetwrite/Pages.h"

namespace tabrel::test::jetwrite {

struct TableFacts {
    std::uint32_t rows = 0;
    std::uint32_t nextAutoNumber = 0;
    bool system = false;
    std::uint32_t usedMap = 0;  // row pointers
    std::uint32_t freeMap = 0;
    // Whether the definition lists its Memo and OLE columns' page maps, and per such column
    // in order its map and its free-space map (row pointers; 0 before they are placed).
    bool listLongValueMaps = true;
    std::vector<std::uint32_t> longValueMaps;
};

// The definition of a table as one byte stream; the first 8 bytes are the header of its
// first page. A stream longer than a page goes on over further definition pages, each
// with its own 8-byte header followed by the next 4088 bytes of the stream.
//   offset  size  meaning
//   0       1     page type 0x02
//   1       1     0x01
//   2       2     free space in the page
//   4       4     next definition page of the table, 0 for none
//   8       4     length of the definition (the stream less these 8 bytes)
//   12      4     0
//   16      4     number of rows
//   20      4     next autonumber value
//   24      1     0x01 when the table has an autonumber column
//   25      15    0
//   40      1     table type: 0x4E user table, 0x53 system table
//   41      2     most columns a row has
//   43      2     number of variable columns
//   45      2     number of columns
//   47      4     number of indexes (0)
//   51      4     number of index entries (0)
//   55      4     row pointer of the map of the table's data pages
//   59      4     row pointer of the map of its pages with free space
//   63      25*n  one entry per column:
//                   0  1  type          1  4  0            5  2  column number
//                   7  2  index among the variable columns
//                   9  2  column number  11 2  text: sort order 0x0409; decimal: precision,
//                   then scale            13 2  0      15 1  flags: 0x01 fixed, 0x02
//                   updatable, 0x04 autonumber   16 1  0x01 compressed unicode
//                   17 4  0             21 2  offset among the fixed columns
//                   23 2  length in bytes (text: 2 per character; memo, OLE: 0)
//   ...           per column: name length in bytes (2), name in UTF-16LE
//   ...     2     0xFFFF: end of the (empty) list of long-value column maps
Bytes DefinitionStream(const JetTable& table, const TableShape& shape, const TableFacts& facts,
                       bool compress);

// The number of pages a definition stream of this size takes.
std::size_t DefinitionPageCount(std::size_t streamSize);

// Writes a definition stream over its pages (at, in order), linking them.
void WriteDefinition(PageSet& pages, const std::vector<std::uint32_t>& at, const Bytes& stream);

}  // namespace tabrel::test::jetwrite
