// The Jet 4 page layout as our reader takes it apart (catalogue, table definitions, usage
// maps, data pages, rows), checked against mdbtools on the files other programs made (most
// by Microsoft Access) and on one the tests' writer makes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
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
namespace {

namespace fs = std::filesystem;

const std::string kNull = "<NULL>";
// Stored texts hold every control character, so cells and rows end in marks of their own.
const std::string kCellEnd = "<cell>";
const std::string kRowEnd = "<row>";

std::string Utf8(std::u16string_view text) {
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

std::vector<std::string> Split(const std::string& text, const std::string& end) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = std::min(text.find(end, at), text.size());
        parts.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return parts;
}

std::string Run(const std::string& tool, const std::vector<std::string>& args) {
    const ProgramResult result = RunProgramAndWait(FindTool(tool), args);
    EXPECT_EQ(result.exitCode, 0) << tool << ": " << result.err;
    return result.out;
}

// A cell as mdb-export prints it, for the types compared here (texts, memos, whole numbers);
// "" for the others.
std::string Cell(std::span<const std::uint8_t> file, const JetColumnDefinition& column,
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

std::vector<fs::path> ReferenceFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& item :
         fs::directory_iterator(fs::path(TABREL_JET_REFERENCE_DIR) / "files", error)) {
        files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Checks every user table of the file against mdb-tables, mdb-count and mdb-export.
void CheckAgainstMdbtools(const std::string& path) {
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
    std::vector<std::string> expectedNames = Split(Run("mdb-tables", {"-1", path}), "\n");
    std::sort(names.begin(), names.end());
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(names, expectedNames);
    const auto free = ReadJetUsageMapAt(file, 1 << 8);
    ASSERT_TRUE(free);

    for (const JetCatalogueTable& entry : *catalogue) {
        const std::string name = Utf8(entry.name);
        SCOPED_TRACE(name);
        const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
        ASSERT_TRUE(table) << error;
        const auto rows = ScanJetTable(file, *table, error);
        ASSERT_TRUE(rows) << error;
        // Access keeps the row count of user tables only.
        if (!entry.isSystem) {
            EXPECT_EQ(rows->size(), table->rowCount);
            EXPECT_EQ(Run("mdb-count", {path, name}), std::to_string(table->rowCount) + "\n");
        }
        // Every data page the table owns is in its map, unless the file's map (page 1, row 0)
        // marks it free.
        const auto owned = ReadJetUsageMapAt(file, table->ownedPages);
        ASSERT_TRUE(owned);
        for (std::uint32_t page = 1; page < file.size() / kJetPageSize; ++page) {
            const auto data = ReadJetDataPage(JetPage(file, page));
            if (data && data->owner == table->pages.front() &&
                !std::binary_search(free->begin(), free->end(), page)) {
                EXPECT_TRUE(std::binary_search(owned->begin(), owned->end(), page)) << page;
            }
        }
        const std::vector<std::string> exported =
            Split(Run("mdb-export", {"-Q", "-d", kCellEnd, "-R", kRowEnd, "-0", kNull, path, name}),
                  kRowEnd);
        ASSERT_EQ(exported.size(), rows->size() + 1);
        std::string header;
        for (const JetColumnDefinition& column : table->columns) {
            header += (header.empty() ? "" : kCellEnd) + Utf8(column.name);
        }
        EXPECT_EQ(exported[0], header);
        // mdbtools lists a moved row at its new place, a scan at its old one: compare the
        // rows in sorted order, each as the cells of the types compared.
        std::vector<std::string> ours;
        std::vector<std::string> theirs;
        for (std::size_t r = 0; r < rows->size(); ++r) {
            const auto values = CrackJetRow(*table, (*rows)[r].bytes);
            ASSERT_TRUE(values) << "row " << r;
            const std::vector<std::string> cells = Split(exported[r + 1], kCellEnd);
            ASSERT_EQ(cells.size(), table->columns.size()) << "row " << r;
            std::string mine;
            std::string other;
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const std::string cell = Cell(file, table->columns[c], (*values)[c]);
                mine += cell + kCellEnd;
                other += (cell.empty() ? "" : cells[c]) + kCellEnd;
            }
            ours.push_back(mine);
            theirs.push_back(other);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        EXPECT_EQ(ours, theirs);
    }
}

TEST(JetLayout, ReadsWhatMdbtoolsReads) {
    if (FindTool("mdb-export").empty() || FindTool("mdb-count").empty()) {
        GTEST_SKIP() << "mdbtools is not installed";
    }
    // The tests' own writer, with a memo on a long-value page.
    std::vector<JetTable> tables = JetPalmTables(JetPalmApp::Memos);
    tables[2].rows = {{std::int64_t{1}, std::int64_t{0}, std::int64_t{0}, std::int64_t{1},
                       std::string("Work"), std::string(3000, 'm'), JetValue{}},
                      {std::int64_t{2}, std::int64_t{0}, std::int64_t{-1}, std::int64_t{0},
                       JetValue{}, std::string("Caf\xC3\xA9"), JetValue{}}};
    TempDir dir;
    WriteFile(dir.File("Memo.mdb"), BuildJetDatabase(tables));
    CheckAgainstMdbtools(dir.File("Memo.mdb"));

    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    for (const fs::path& path : files) {
        CheckAgainstMdbtools(path.string());
    }
}

// The index built again from its entries, on new pages after the end of the file, holds
// the same entries, each level linked in order.
void CheckRebuiltTree(const Bytes& file, std::uint32_t owner,
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
void CheckIndexes(const std::string& path, int& checked, int& leftOut) {
    SCOPED_TRACE(path);
    const Bytes file = ReadFile(path);
    std::string error;
    const auto catalogue = ReadJetCatalogue(file, error);
    ASSERT_TRUE(catalogue) << error;
    for (const JetCatalogueTable& entry : *catalogue) {
        SCOPED_TRACE(Utf8(entry.name));
        const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
        ASSERT_TRUE(table) << error;
        const auto rows = ScanJetTable(file, *table, error);
        ASSERT_TRUE(rows) << error;
        for (std::size_t i = 0; i < table->realIndexes.size(); ++i) {
            SCOPED_TRACE("index " + std::to_string(i));
            const JetRealIndex& index = table->realIndexes[i];
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
            for (const JetScannedRow& row : *rows) {
                const auto values = CrackJetRow(*table, row.bytes);
                ASSERT_TRUE(values);
                const auto key = EncodeJetIndexKey(*table, index, *values, file);
                encodable = encodable && key.has_value();
                if (key) {
                    expected.emplace_back(*key, row.pointer);
                }
            }
            CheckRebuiltTree(file, entry.definitionPage, *stored);
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
    }
}

// An index too large for two levels: 200,000 Long keys.
TEST(JetLayout, ALargeIndexBuildsThreeLevels) {
    std::vector<JetIndexEntry> entries;
    for (std::uint32_t i = 0; i < 200000; ++i) {
        entries.push_back({{0x7F, 0x80, static_cast<std::uint8_t>(i >> 16),
                            static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)},
                           (1000 + i / 200) << 8 | (i % 200)});
    }
    CheckRebuiltTree(Bytes(3 * kJetPageSize, 0), 2, entries);
    auto next = std::uint32_t{4};
    const auto pages = BuildJetIndexTree(2, 3, entries, [&] { return next++; });
    ASSERT_TRUE(pages);
    const auto root = ReadJetIndexPage(pages->back().bytes);
    ASSERT_TRUE(root && !root->isLeaf);
    EXPECT_EQ(pages->back().number, 3u);
    const auto child = std::find_if(pages->begin(), pages->end(), [&](const JetBuiltPage& p) {
        return p.number == root->entries.front().child;
    });
    ASSERT_NE(child, pages->end());
    EXPECT_FALSE(ReadJetIndexPage(child->bytes)->isLeaf);
}

TEST(JetLayout, IndexKeysAreThoseAccessStored) {
    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    int checked = 0;
    int leftOut = 0;
    for (const fs::path& path : files) {
        CheckIndexes(path.string(), checked, leftOut);
    }
    std::cout << checked << " indexes checked, " << leftOut << " of other key types\n";
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// Every row of every table of the reference files, taken apart and laid out again, gives
// the bytes Access stored (tables with deleted columns left out: their old rows still hold
// the deleted values).
TEST(JetLayout, RowsLayOutAsAccessStoredThem) {
    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    int rowsChecked = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadFile(path);
        std::string error;
        const auto catalogue = ReadJetCatalogue(file, error);
        ASSERT_TRUE(catalogue) << error;
        for (const JetCatalogueTable& entry : *catalogue) {
            SCOPED_TRACE(Utf8(entry.name));
            const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
            ASSERT_TRUE(table) << error;
            const auto rows = ScanJetTable(file, *table, error);
            ASSERT_TRUE(rows) << error;
            // Rows written before a column was deleted still hold its value.
            if (table->maxColumns != table->columns.size()) {
                continue;
            }
            for (const JetScannedRow& row : *rows) {
                const auto values = CrackJetRow(*table, row.bytes);
                ASSERT_TRUE(values);
                // A row rewritten in its old place keeps its length (padded).
                const auto again = EncodeJetRow(*table, *values, row.bytes.size());
                ASSERT_TRUE(again) << "row " << row.pointer;
                // Access leaves old bytes in the place of a NULL fixed value; we write zeros.
                Bytes stored(row.bytes.begin(), row.bytes.end());
                for (std::size_t c = 0; c < table->columns.size(); ++c) {
                    const JetColumnDefinition& column = table->columns[c];
                    if (column.IsFixed() && (*values)[c].isNull && column.type != 0x01) {
                        std::fill_n(stored.begin() + 2 + column.fixedOffset, column.width, 0);
                    }
                }
                EXPECT_EQ(Bytes(again->begin(), again->end()), stored) << "row " << row.pointer;
                // Each text of a column that allows compression is stored as our encoder
                // stores it (Access compresses some texts of other columns too, or not).
                for (std::size_t c = 0; c < table->columns.size(); ++c) {
                    const JetColumnDefinition& column = table->columns[c];
                    if ((column.type == 0x0A || column.type == 0x0C) && column.compressedUnicode &&
                        !(*values)[c].isNull) {
                        Bytes bytes((*values)[c].bytes.begin(), (*values)[c].bytes.end());
                        if (column.type == 0x0C) {
                            ASSERT_TRUE(ReadJetLongValue(file, (*values)[c].bytes, bytes, error));
                        }
                        EXPECT_EQ(EncodeJetText(DecodeJetText(bytes),
                                                column.compressedUnicode || column.type == 0x0C),
                                  bytes)
                            << Utf8(DecodeJetText(bytes));
                    }
                }
                ++rowsChecked;
            }
        }
    }
    EXPECT_GT(rowsChecked, 1000);
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// Every data page of the reference files (table rows and long values), built again from
// its rows, is the page Access wrote, up to the old bytes between the row table and the rows.
TEST(JetLayout, DataPagesBuildAsAccessWroteThem) {
    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadFile(path);
        for (std::uint32_t number = 1; number < file.size() / kJetPageSize; ++number) {
            const auto page = JetPage(file, number);
            const auto info = ReadJetDataPage(page);
            if (!info) {
                continue;
            }
            std::vector<JetPageRow> rows;
            for (const JetRowSlot& slot : info->rows) {
                rows.push_back({Bytes(page.begin() + slot.start, page.begin() + slot.end),
                                slot.deleted, slot.moved});
            }
            const auto built = BuildJetDataPage(info->owner, rows);
            ASSERT_TRUE(built) << "page " << number;
            const std::size_t tableEnd = 14 + 2 * rows.size();
            const std::size_t rowsStart = rows.empty() ? kJetPageSize : info->rows.back().start;
            Bytes header(page.begin(), page.begin() + tableEnd);
            std::fill_n(header.begin() + 8, 4, 0);  // Access keeps a number of its own here
            EXPECT_EQ(Bytes(built->begin(), built->begin() + tableEnd), header)
                << "page " << number;
            EXPECT_EQ(Bytes(built->begin() + rowsStart, built->end()),
                      Bytes(page.begin() + rowsStart, page.end()))
                << "page " << number;
        }
    }
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// Every usage map of the reference files (the file's, and each table's and long-value
// column's), built again from the pages it marks, is the map Access wrote.
TEST(JetLayout, UsageMapsBuildAsAccessWroteThem) {
    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    int inlineMaps = 0;
    int pageListMaps = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadFile(path);
        std::string error;
        const auto catalogue = ReadJetCatalogue(file, error);
        ASSERT_TRUE(catalogue) << error;
        std::vector<std::uint32_t> pointers{1 << 8};
        for (const JetCatalogueTable& entry : *catalogue) {
            const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
            ASSERT_TRUE(table) << error;
            pointers.insert(pointers.end(), {table->ownedPages, table->freeSpacePages});
            for (const JetColumnDefinition& column : table->columns) {
                if (column.longValuePages != 0) {
                    pointers.insert(pointers.end(),
                                    {column.longValuePages, column.longValueFreePages});
                }
            }
        }
        for (const std::uint32_t pointer : pointers) {
            if (pointer == 0) {
                continue;
            }
            SCOPED_TRACE("map " + std::to_string(pointer));
            const auto row = FindJetRow(file, pointer);
            ASSERT_TRUE(row);
            auto pages = ReadJetUsageMap(file, *row);
            ASSERT_TRUE(pages);
            if ((*row)[0] == 0x00) {
                const std::uint32_t first = (*row)[1] | (*row)[2] << 8 | (*row)[3] << 16 |
                                            static_cast<std::uint32_t>((*row)[4]) << 24;
                // The file's map of free pages marks every page past the end as free.
                for (std::uint32_t page = static_cast<std::uint32_t>(file.size() / kJetPageSize);
                     pointer == 1 << 8 && page < first + (row->size() - 5) * 8; ++page) {
                    pages->push_back(page);
                }
                const auto built = BuildJetInlineUsageMap(*pages, first, row->size());
                ASSERT_TRUE(built);
                EXPECT_EQ(*built, Bytes(row->begin(), row->end()));
                ++inlineMaps;
                continue;
            }
            std::vector<std::uint32_t> mapPages;
            for (std::size_t at = 1; at + 4 <= row->size(); at += 4) {
                mapPages.push_back((*row)[at] | (*row)[at + 1] << 8 | (*row)[at + 2] << 16 |
                                   static_cast<std::uint32_t>((*row)[at + 3]) << 24);
            }
            const auto built = BuildJetPageListUsageMap(*pages, mapPages, row->size());
            ASSERT_TRUE(built);
            EXPECT_EQ(built->row, Bytes(row->begin(), row->end()));
            for (std::size_t k = 0; k < mapPages.size(); ++k) {
                if (mapPages[k] != 0) {
                    const auto page = JetPage(file, mapPages[k]);
                    EXPECT_EQ(built->mapPages[k], Bytes(page.begin(), page.end()));
                }
            }
            ++pageListMaps;
        }
    }
    std::cout << inlineMaps << " inline maps, " << pageListMaps << " page lists\n";
    EXPECT_GT(pageListMaps, 0);
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// Long values of every length are written inline, in one row or in a chain, and read back.
TEST(JetLayout, LongValuesReadBackWhateverTheirLength) {
    auto next = std::uint32_t{3};
    JetLongValuePages pages([&] { return next++; });
    std::vector<Bytes> values;
    std::vector<Bytes> fields;
    for (const std::size_t size : {0, 1, 64, 65, 4080, 4081, 8152, 8153, 100000}) {
        Bytes value(size);
        for (std::size_t i = 0; i < size; ++i) {
            value[i] = static_cast<std::uint8_t>(i * 7 + size);
        }
        fields.push_back(EncodeJetLongValue(value, pages));
        values.push_back(std::move(value));
    }
    // A small value in a row with no room for it goes to a long-value page.
    fields.push_back(EncodeJetLongValue(values[1], pages, 0));
    values.push_back(values[1]);
    Bytes file(std::size_t{next} * kJetPageSize, 0);
    for (const JetBuiltPage& page : pages.Build()) {
        std::copy(page.bytes.begin(), page.bytes.end(), file.begin() + page.number * kJetPageSize);
    }
    const std::vector<std::uint8_t> kinds = {0x80, 0x80, 0x80, 0x40, 0x40,
                                             0x00, 0x00, 0x00, 0x00, 0x40};
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE("value " + std::to_string(i));
        Bytes read;
        std::string error;
        ASSERT_TRUE(ReadJetLongValue(file, fields[i], read, error)) << error;
        EXPECT_EQ(read, values[i]);
        EXPECT_EQ(fields[i][3] & 0xC0, kinds[i]);
    }
    // Rows go onto the last page while they fit: 35 pages (25 of them the 100,000 bytes).
    EXPECT_EQ(next, 3u + 35u);
}

}  // namespace
}  // namespace tabrel::test
