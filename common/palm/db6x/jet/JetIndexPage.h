#pragma once
// The pages of a Jet 4 index, and the entries of an index in key order.
//
// An index page (0x03 an intermediate page, 0x04 a leaf page):
//   offset  size  meaning
//   0       1     page type
//   1       1     0x01
//   2       2     free space
//   4       4     the table definition's page
//   8       4     unused
//   12      4     the previous page of the same level (0: none)
//   16      4     the next page of the same level (0: none)
//   20      4     intermediate pages: the last child, which no entry names (0: none)
//   24      2     how many bytes every entry after the first shares with the first entry
//                 and leaves out (the shared prefix)
//   26      1     unused (0; Access sets 1 on some intermediate pages)
//   27      453   entry bitmap: bit k (low bit first) set where an entry ends k bytes
//                 after offset 480; the first entry begins at 480
//   480     ...   the entries, each its key, then the row it names (3 bytes page number,
//                 big-endian; 1 byte row number); an entry of an intermediate page then
//                 names its child page (4 bytes, big-endian), whose last entry it repeats
// A key is, per column of the index, a flag byte (0x7F a value follows, 0x00 NULL;
// descending columns 0x80 and 0xFF) and the value's key bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetTableDefinition.h"

namespace tabrel {

struct JetIndexEntry {
    std::vector<std::uint8_t> key;
    std::uint32_t row = 0;    // page × 256 + row
    std::uint32_t child = 0;  // intermediate pages only
};

struct JetIndexPageInfo {
    bool isLeaf = true;
    std::uint32_t owner = 0;
    std::uint32_t previous = 0;
    std::uint32_t next = 0;
    std::uint32_t tail = 0;
    std::uint16_t prefixLength = 0;
    std::vector<JetIndexEntry> entries;
};

// The entries of an index page, their shared prefix restored; nullopt when it is not an
// index page or its entries do not fit it.
std::optional<JetIndexPageInfo> ReadJetIndexPage(std::span<const std::uint8_t> page);

// Every entry of the index in the order its leaf pages hold them (first leaf reached from
// the root page, then the next links); nullopt with the reason in error when a page is
// damaged or the links loop.
std::optional<std::vector<JetIndexEntry>> ReadJetIndexEntries(std::span<const std::uint8_t> file,
                                                              const JetRealIndex& index,
                                                              std::string& error);

// The pages of the index, the root first, then level by level (each page's children in
// entry order, the tail last); nullopt with the reason in error when a page is damaged or
// named twice.
std::optional<std::vector<std::uint32_t>> ListJetIndexPages(std::span<const std::uint8_t> file,
                                                            const JetRealIndex& index,
                                                            std::string& error);

// How many bytes the first and the last of the keys (in order) share: the longest prefix
// the entries of one page may leave out.
std::size_t SharedJetKeyPrefix(const std::vector<JetIndexEntry>& entries);

// The bytes of an index page with the page's kind, links, shared prefix length and entries
// (their keys in order); nullopt when the entries do not fit a page or do not all begin
// with the prefix.
std::optional<std::vector<std::uint8_t>> BuildJetIndexPage(const JetIndexPageInfo& info);

}  // namespace tabrel
