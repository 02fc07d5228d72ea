#pragma once
// Checks of Jet 4 files against mdbtools and against our own reading of their pages, which
// the layout and rewrite tests share.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetCatalogue.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetIndexKey.h"
#include "palm/db6x/jet/JetIndexPage.h"
#include "palm/db6x/jet/JetIndexTree.h"
#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetLongValueWriter.h"
#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetRowWriter.h"
#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTableScan.h"
#include "palm/db6x/jet/JetText.h"
#include "palm/db6x/jet/JetUsageMap.h"
#include "support/JetWriter.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

namespace tabrel::test {

namespace fs = std::filesystem;

inline const std::string kNull = "<NULL>";
// Stored texts hold every control character, so cells and rows end in marks of their own.
inline const std::string kCellEnd = "<cell>";
inline const std::string kRowEnd = "<row>";

inline std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out +=
                {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                 static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return out;
}

inline std::vector<std::string> Split(const std::string& text, const std::string& end) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = std::min(text.find(end, at), text.size());
        parts.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return parts;
}

inline std::string RunTool(const std::string& tool, const std::vector<std::string>& args) {
    const ProgramResult result = RunProgramAndWait(FindTool(tool), args);
    EXPECT_EQ(result.exitCode, 0) << tool << ": " << result.err;
    return result.out;
}

// A cell as mdb-export prints it, for the types compared here (texts, memos, whole numbers);
// "" for the others.
inline std::string Cell(std::span<const std::uint8_t> file, const JetColumnDefinition& column,
                        const JetRowValue& value) {
    const bool integer = column.type >= 0x02 && column.type <= 0x04;
    const bool text = column.type == 0x0A || column.type == 0x0C;
    if (!integer && !text) {
        return "";
    }
    if (value.isNull) {
        return kNull;
    }
    if (integer) {
        std::int64_t number = 0;
        for (std::size_t i = value.bytes.size(); i-- > 0;) {
            number = number << 8 | value.bytes[i];
        }
        const unsigned bits = 8 * static_cast<unsigned>(value.bytes.size());
        if (column.type != 0x02 && bits < 64 && (number >> (bits - 1)) != 0) {
            number -= std::int64_t{1} << bits;
        }
        return std::to_string(number);
    }
    std::vector<std::uint8_t> memo;
    std::string error;
    if (column.type == 0x0C) {
        EXPECT_TRUE(ReadJetLongValue(file, value.bytes, memo, error)) << error;
    }
    std::string decoded = Utf8(DecodeJetText(column.type == 0x0C ? memo : value.bytes));
    decoded.erase(decoded.find_last_not_of('\0') + 1);  // mdbtools ends a text at a NUL
    return decoded.empty() ? kNull : decoded;
}

inline std::vector<fs::path> ReferenceFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& item :
         fs::directory_iterator(fs::path(TABREL_JET_REFERENCE_DIR) / "files", error)) {
        files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Calls visit(entry, table, rows) for every table of the file, system tables too, with its
// definition and rows; a part that cannot be read fails the test.
template <typename Visit>
void ForEachTable(const Bytes& file, Visit&& visit) {
    std::string error;
    const auto catalogue = ReadJetCatalogue(file, error);
    ASSERT_TRUE(catalogue) << error;
    for (const JetCatalogueTable& entry : *catalogue) {
        SCOPED_TRACE(Utf8(entry.name));
        const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
        ASSERT_TRUE(table) << error;
        const auto rows = ScanJetTable(file, *table, error);
        ASSERT_TRUE(rows) << error;
        visit(entry, *table, *rows);
    }
}

// The user tables of the file as npm's mdb-reader reads them (MdbReaderDump.mjs): per table
// its rows, each as its cells ended by kCellEnd; empty when mdb-reader is not installed (the
// test command installs it into the build folder).
inline std::map<std::string, std::vector<std::string>> ReadWithMdbReader(const std::string& path) {
    std::map<std::string, std::vector<std::string>> tables;
    if (FindTool("node").empty() ||
        !fs::exists(fs::path(TABREL_MDB_READER_DIR) / "node_modules" / "mdb-reader")) {
        return tables;
    }
    const std::string dump =
        RunTool("node", {TABREL_MDB_READER_SCRIPT, TABREL_MDB_READER_DIR, path});
    for (const std::string& part : Split(dump, "<table>")) {
        const std::size_t end = part.find("<name>");
        if (end == std::string::npos) {
            continue;
        }
        std::vector<std::string>& rows = tables[part.substr(0, end)];
        rows = Split(part.substr(end + 6), kRowEnd);
    }
    return tables;
}

// The pages of the file each table holds: its data pages, its long-value pages (every
// long value of its rows on pages of its column's map) and its index pages; no page is
// held twice, none is free in the file's map, and an auto-number counter is at least the
// largest number given.
inline void CheckPageOwners(const Bytes& file) {
    std::string error;
    const auto mapPage = ReadJetDataPage(JetPage(file, 1));
    const auto free = mapPage && mapPage->owner == 1 ? ReadJetUsageMapAt(file, 1 << 8)
                                                     : std::optional<std::vector<std::uint32_t>>{};
    std::map<std::uint32_t, std::string> owners;
    auto hold = [&](std::uint32_t page, const std::string& who) {
        const auto [at, added] = owners.emplace(page, who);
        EXPECT_TRUE(added || at->second == who)
            << "page " << page << ": " << at->second << ", " << who;
        if (free) {
            EXPECT_FALSE(std::binary_search(free->begin(), free->end(), page)) << "page " << page;
        }
    };
    ForEachTable(file, [&](const JetCatalogueTable& entry, const JetTableDefinition& table,
                           const std::vector<JetScannedRow>& rows) {
        const std::string name = Utf8(entry.name);
        const auto owned = ReadJetUsageMapAt(file, table.ownedPages);
        ASSERT_TRUE(owned);
        for (const std::uint32_t page : *owned) {
            const auto data = ReadJetDataPage(JetPage(file, page));
            if (data && data->owner == entry.definitionPage) {
                hold(page, name);
            }
        }
        for (const JetRealIndex& index : table.realIndexes) {
            const auto indexPages = ListJetIndexPages(file, index, error);
            ASSERT_TRUE(indexPages) << error;
            for (const std::uint32_t page : *indexPages) {
                hold(page, name + " index");
            }
        }
        std::int64_t largest = 0;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const JetColumnDefinition& column = table.columns[c];
            const bool isLong = column.type == 0x0B || column.type == 0x0C;
            std::vector<std::uint32_t> mapped;
            if (isLong && column.longValuePages != 0) {
                mapped = *ReadJetUsageMapAt(file, column.longValuePages);
            }
            for (const JetScannedRow& row : rows) {
                const auto values = CrackJetRow(table, row.bytes);
                ASSERT_TRUE(values);
                const JetRowValue value = (*values)[c];
                if (column.IsAutoNumber() && !value.isNull) {
                    largest = std::max<std::int64_t>(
                        largest, value.bytes[0] | value.bytes[1] << 8 | value.bytes[2] << 16);
                }
                // A long value's first row: its page is one of the column's.
                if (isLong && !value.isNull && value.bytes.size() >= 12 &&
                    (value.bytes[3] & 0x80) == 0 && !mapped.empty()) {
                    const std::uint32_t page =
                        value.bytes[5] | value.bytes[6] << 8 | value.bytes[7] << 16;
                    EXPECT_TRUE(std::binary_search(mapped.begin(), mapped.end(), page))
                        << name << " page " << page;
                    hold(page, name + " long values");
                }
            }
        }
        if (!entry.isSystem) {
            EXPECT_GE(std::int64_t{table.lastAutoNumber}, largest) << name;
        }
    });
}

// Checks every user table of the file against mdb-tables, mdb-count and mdb-export, and
// against mdb-reader where it is installed; and the pages' owners (CheckPageOwners).
inline void CheckAgainstMdbtools(const std::string& path) {
    SCOPED_TRACE(path);
    const Bytes file = ReadFile(path);
    std::string error;
    const auto catalogue = ReadJetCatalogue(file, error);
    ASSERT_TRUE(catalogue) << error;
    std::vector<std::string> names;
    for (const JetCatalogueTable& entry : *catalogue) {
        if (!entry.isSystem) {
            names.push_back(Utf8(entry.name));
        }
    }
    std::vector<std::string> expectedNames = Split(RunTool("mdb-tables", {"-1", path}), "\n");
    std::sort(names.begin(), names.end());
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(names, expectedNames);
    const auto free = ReadJetUsageMapAt(file, 1 << 8);
    ASSERT_TRUE(free);
    const auto byMdbReader = ReadWithMdbReader(path);
    CheckPageOwners(file);

    ForEachTable(file, [&](const JetCatalogueTable& entry, const JetTableDefinition& table,
                           const std::vector<JetScannedRow>& rows) {
        const std::string name = Utf8(entry.name);
        // Access keeps the row count of user tables only.
        if (!entry.isSystem) {
            EXPECT_EQ(rows.size(), table.rowCount);
            EXPECT_EQ(RunTool("mdb-count", {path, name}), std::to_string(table.rowCount) + "\n");
        }
        // Every data page the table owns is in its map, unless the file's map (page 1, row 0)
        // marks it free.
        const auto owned = ReadJetUsageMapAt(file, table.ownedPages);
        ASSERT_TRUE(owned);
        for (std::uint32_t page = 1; page < file.size() / kJetPageSize; ++page) {
            const auto data = ReadJetDataPage(JetPage(file, page));
            if (data && data->owner == table.pages.front() &&
                !std::binary_search(free->begin(), free->end(), page)) {
                EXPECT_TRUE(std::binary_search(owned->begin(), owned->end(), page)) << page;
            }
        }
        const std::vector<std::string> exported = Split(
            RunTool("mdb-export", {"-Q", "-d", kCellEnd, "-R", kRowEnd, "-0", kNull, path, name}),
            kRowEnd);
        ASSERT_EQ(exported.size(), rows.size() + 1);
        std::string header;
        for (const JetColumnDefinition& column : table.columns) {
            header += (header.empty() ? "" : kCellEnd) + Utf8(column.name);
        }
        EXPECT_EQ(exported[0], header);
        // mdbtools lists a moved row at its new place, a scan at its old one: compare the
        // rows in sorted order, each as the cells of the types compared.
        std::vector<std::string> ours;
        std::vector<std::string> theirs;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const auto values = CrackJetRow(table, rows[r].bytes);
            ASSERT_TRUE(values) << "row " << r;
            const std::vector<std::string> cells = Split(exported[r + 1], kCellEnd);
            ASSERT_EQ(cells.size(), table.columns.size()) << "row " << r;
            std::string mine;
            std::string other;
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const std::string cell = Cell(file, table.columns[c], (*values)[c]);
                mine += cell + kCellEnd;
                other += (cell.empty() ? "" : cells[c]) + kCellEnd;
            }
            ours.push_back(mine);
            theirs.push_back(other);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        EXPECT_EQ(ours, theirs);
        if (const auto found = byMdbReader.find(name); found != byMdbReader.end()) {
            std::vector<std::string> read = found->second;
            std::sort(read.begin(), read.end());
            EXPECT_EQ(ours, read) << "mdb-reader";
        }
    });
}

// the same entries, each level linked in order.
inline void CheckRebuiltTree(const Bytes& file, std::uint32_t owner,
                             const std::vector<JetIndexEntry>& entries) {
    Bytes grown = file;
    auto next = static_cast<std::uint32_t>(file.size() / kJetPageSize);
    const std::uint32_t root = next++;
    const auto pages = BuildJetIndexTree(owner, root, entries, [&] { return next++; });
    ASSERT_TRUE(pages);
    grown.resize(std::size_t{next} * kJetPageSize);
    for (const JetBuiltPage& page : *pages) {
        std::copy(page.bytes.begin(), page.bytes.end(), grown.begin() + page.number * kJetPageSize);
    }
    JetRealIndex index;
    index.rootPage = root;
    std::string error;
    const auto again = ReadJetIndexEntries(grown, index, error);
    ASSERT_TRUE(again) << error;
    ASSERT_EQ(again->size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ((*again)[i].key, entries[i].key);
        EXPECT_EQ((*again)[i].row, entries[i].row);
    }
    const auto listed = ListJetIndexPages(grown, index, error);
    ASSERT_TRUE(listed) << error;
    EXPECT_EQ(listed->size(), pages->size());
    for (const std::uint32_t number : *listed) {
        const auto page = ReadJetIndexPage(JetPage(grown, number));
        ASSERT_TRUE(page);
        EXPECT_EQ(page->owner, owner);
        if (page->next != 0) {
            EXPECT_EQ(ReadJetIndexPage(JetPage(grown, page->next))->previous, number);
        }
    }
}

// Checks every index of the file whose columns our keys cover: its entries, read from its
// pages, are the keys our encoder makes of the table's rows, in the order of their bytes
// and then of the rows. Counts the indexes checked and those left out.
// Every intermediate page of the index names each child by the child's last entry.
inline void CheckIntermediateEntries(const Bytes& file, const JetRealIndex& index) {
    std::string error;
    const auto pages = ListJetIndexPages(file, index, error);
    ASSERT_TRUE(pages) << error;
    for (const std::uint32_t number : *pages) {
        const auto page = ReadJetIndexPage(JetPage(file, number));
        ASSERT_TRUE(page);
        for (const JetIndexEntry& entry :
             page->isLeaf ? std::vector<JetIndexEntry>{} : page->entries) {
            const auto child = ReadJetIndexPage(JetPage(file, entry.child));
            ASSERT_TRUE(child && !child->entries.empty()) << "page " << entry.child;
            EXPECT_EQ(child->entries.back().key, entry.key) << "page " << number;
            EXPECT_EQ(child->entries.back().row, entry.row) << "page " << number;
        }
    }
}

inline void CheckIndexes(const std::string& path, int& checked, int& leftOut) {
    SCOPED_TRACE(path);
    const Bytes file = ReadFile(path);
    std::string error;
    ForEachTable(file, [&](const JetCatalogueTable& entry, const JetTableDefinition& table,
                           const std::vector<JetScannedRow>& rows) {
        for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
            SCOPED_TRACE("index " + std::to_string(i));
            const JetRealIndex& index = table.realIndexes[i];
            const auto stored = ReadJetIndexEntries(file, index, error);
            ASSERT_TRUE(stored) << error;
            // Each page, taken apart and built again, is the page Access wrote (up to the end
            // of its entries; the rest of a page is old bytes).
            const auto pages = ListJetIndexPages(file, index, error);
            ASSERT_TRUE(pages) << error;
            for (const std::uint32_t number : *pages) {
                const auto page = JetPage(file, number);
                const auto built = BuildJetIndexPage(*ReadJetIndexPage(page));
                ASSERT_TRUE(built) << "page " << number;
                const std::size_t used = kJetPageSize - (page[2] | page[3] << 8);
                Bytes written(page.begin(), page.begin() + used);
                written[26] = 0;  // Access sets this unused byte on some intermediate pages
                EXPECT_EQ(Bytes(built->begin(), built->begin() + used), written)
                    << "page " << number;
            }
            std::vector<std::pair<std::vector<std::uint8_t>, std::uint32_t>> expected;
            bool encodable = true;
            for (const JetScannedRow& row : rows) {
                const auto values = CrackJetRow(table, row.bytes);
                ASSERT_TRUE(values);
                const auto key = EncodeJetIndexKey(table, index, *values, file);
                encodable = encodable && key.has_value();
                if (key) {
                    expected.emplace_back(*key, row.pointer);
                }
            }
            CheckRebuiltTree(file, entry.definitionPage, *stored);
            CheckIntermediateEntries(file, index);
            if (!encodable) {
                ++leftOut;
                continue;
            }
            // An index that leaves NULLs out holds no row whose key columns are all NULL.
            if ((index.flags & 0x02) != 0) {
                std::erase_if(expected, [&](const auto& e) {
                    return e.first == std::vector<std::uint8_t>(index.columns.size(), 0x00);
                });
            }
            std::sort(expected.begin(), expected.end());
            std::vector<std::pair<std::vector<std::uint8_t>, std::uint32_t>> actual;
            for (const JetIndexEntry& e : *stored) {
                actual.emplace_back(e.key, e.row);
            }
            EXPECT_EQ(actual, expected);
            ++checked;
        }
    });
}

}  // namespace tabrel::test
