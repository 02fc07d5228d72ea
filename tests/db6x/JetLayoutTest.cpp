// The Jet 4 page layout as our reader takes it apart (catalogue, table definitions, usage
// maps, data pages, rows), checked against mdbtools on the files other programs made (most
// by Microsoft Access) and on one the tests' writer makes.

#include <gtest/gtest.h>

#include "db6x/JetChecks.h"

namespace tabrel::test {
namespace {

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
        ForEachTable(file, [&](const JetCatalogueTable&, const JetTableDefinition& table,
                               const std::vector<JetScannedRow>& rows) {
            // Rows written before a column was deleted still hold its value.
            if (table.maxColumns != table.columns.size()) {
                return;
            }
            for (const JetScannedRow& row : rows) {
                const auto values = CrackJetRow(table, row.bytes);
                ASSERT_TRUE(values);
                // A row rewritten in its old place keeps its length (padded).
                const auto again = EncodeJetRow(table, *values, row.bytes.size());
                ASSERT_TRUE(again) << "row " << row.pointer;
                // Access leaves old bytes in the place of a NULL fixed value; we write zeros.
                Bytes stored(row.bytes.begin(), row.bytes.end());
                for (std::size_t c = 0; c < table.columns.size(); ++c) {
                    const JetColumnDefinition& column = table.columns[c];
                    if (column.IsFixed() && (*values)[c].isNull && column.type != 0x01) {
                        std::fill_n(stored.begin() + 2 + column.fixedOffset, column.width, 0);
                    }
                }
                EXPECT_EQ(Bytes(again->begin(), again->end()), stored) << "row " << row.pointer;
                // Each text of a column that allows compression is stored as our encoder
                // stores it (Access compresses some texts of other columns too, or not).
                for (std::size_t c = 0; c < table.columns.size(); ++c) {
                    const JetColumnDefinition& column = table.columns[c];
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
        });
    }
    EXPECT_GT(rowsChecked, 1000);
}

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
