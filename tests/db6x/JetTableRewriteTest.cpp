// A table of a Jet 4 file rewritten with new rows: read back by mdbtools and by our own
// page checks (maps, rows, every index entry against its row), on the files Access made and
// on one the tests' writer makes.

#include <gtest/gtest.h>

#include "db6x/JetChecks.h"
#include "palm/db6x/jet/JetEngine.h"
#include "palm/db6x/jet/JetTableRewrite.h"
#include "palm/db6x/jet/JetWriteBack.h"

namespace tabrel::test {
namespace {

struct LoadedTable {
    JetTableDefinition definition;
    std::vector<JetWriteRow> rows;
};

LoadedTable Load(const Bytes& file, std::uint32_t page) {
    std::string error;
    LoadedTable loaded{*ReadJetTableDefinition(file, page, error), {}};
    const auto rows = ScanJetTable(file, loaded.definition, error);
    for (const JetScannedRow& row : *rows) {
        loaded.rows.push_back(*ReadJetWriteRow(file, loaded.definition, row.bytes));
    }
    return loaded;
}

JetWriteValue Number(std::int32_t value) {
    JetWriteValue cell{JetWriteValue::Kind::Stored, {}};
    for (int i = 0; i < 4; ++i) {
        cell.bytes.push_back(
            static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF));
    }
    return cell;
}

JetWriteValue Text(const std::string& ascii, bool isLong) {
    const std::u16string text(ascii.begin(), ascii.end());
    return {isLong ? JetWriteValue::Kind::Long : JetWriteValue::Kind::Stored,
            EncodeJetText(text, true)};
}

std::vector<std::string> SortedExport(const std::string& path, const std::string& table) {
    std::vector<std::string> rows = Split(
        RunTool("mdb-export", {"-Q", "-d", kCellEnd, "-R", kRowEnd, "-0", kNull, path, table}),
        kRowEnd);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Every user table of every reference file, rewritten with its own rows in reverse order
// and one new row, reads as before with that row, and the whole file passes the checks; a table
// that cannot be written says why, and its file stays as it was.
TEST(JetTableRewrite, EveryReferenceTableRewrittenReadsTheSame) {
    const std::vector<fs::path> files = ReferenceFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no Jet reference files in " << TABREL_JET_REFERENCE_DIR;
    }
    TempDir dir;
    int rewritten = 0;
    for (const fs::path& path : files) {
        const Bytes file = ReadFile(path);
        std::string error;
        const auto catalogue = ReadJetCatalogue(file, error);
        ASSERT_TRUE(catalogue) << error;
        for (const JetCatalogueTable& entry : *catalogue) {
            if (entry.isSystem) {
                continue;
            }
            const std::string name = Utf8(entry.name);
            SCOPED_TRACE(path.filename().string() + " " + name);
            LoadedTable table = Load(file, entry.definitionPage);
            std::reverse(table.rows.begin(), table.rows.end());
            // And one new row, every value NULL (No) but a new auto-number.
            JetWriteRow added(table.definition.columns.size());
            std::uint32_t lastAutoNumber = table.definition.lastAutoNumber;
            for (std::size_t c = 0; c < added.size(); ++c) {
                const JetColumnDefinition& column = table.definition.columns[c];
                if (column.type == kJetBool) {
                    added[c].kind = JetWriteValue::Kind::No;
                } else if (column.IsAutoNumber()) {
                    added[c] = Number(static_cast<std::int32_t>(++lastAutoNumber));
                }
            }
            table.rows.push_back(added);
            const auto written =
                RewriteJetTable(file, table.definition, table.rows, lastAutoNumber, error);
            if (!written) {
                std::cout << path.filename().string() << " " << name << ": " << error << "\n";
                EXPECT_FALSE(error.empty());
                continue;
            }
            const std::string out = dir.File("rewritten.mdb");
            WriteFile(out, *written);
            // Every row as it was, and the new one.
            const std::vector<std::string> before = SortedExport(path.string(), name);
            const std::vector<std::string> after = SortedExport(out, name);
            EXPECT_EQ(after.size(), before.size() + 1);
            EXPECT_TRUE(std::includes(after.begin(), after.end(), before.begin(), before.end()));
            CheckAgainstMdbtools(out);
            int checked = 0;
            int leftOut = 0;
            CheckIndexes(out, checked, leftOut);
            ++rewritten;
        }
    }
    EXPECT_GT(rewritten, 30);
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// 2,000 new tasks (one with a note of 100,000 characters) into a Palm Desktop Tasks database
// written by an independent Jet library: mdbtools reads every row, every index (the Record
// ID key, the text index on Description) holds them, and the other tables stay byte for byte.
TEST(JetTableRewrite, ManyNewRowsAndALongMemo) {
    const fs::path path =
        fs::path(TABREL_JET_REFERENCE_DIR) / "../examples/export-jet-tasks/Todolist.mdb";
    if (!fs::exists(path)) {
        GTEST_SKIP() << "no " << path;
    }
    const Bytes file = ReadFile(path);
    std::string error;
    const auto catalogue = ReadJetCatalogue(file, error);
    ASSERT_TRUE(catalogue) << error;
    const auto main = std::find_if(catalogue->begin(), catalogue->end(),
                                   [](const auto& t) { return t.name == u"Main"; });
    LoadedTable table = Load(file, main->definitionPage);
    auto column = [&](std::u16string_view name) {
        return static_cast<std::size_t>(
            std::find_if(table.definition.columns.begin(), table.definition.columns.end(),
                         [&](const auto& c) { return c.name == name; }) -
            table.definition.columns.begin());
    };
    const std::size_t id = column(u"Record ID");
    const std::size_t description = column(u"Description");
    const std::size_t note = column(u"Note");
    const JetWriteRow model = table.rows.front();
    std::vector<std::string> expected;
    for (const JetWriteRow& row : table.rows) {
        expected.push_back(Utf8(DecodeJetText(row[description].bytes)));
    }
    for (std::int32_t i = 1; i <= 2000; ++i) {
        JetWriteRow row = model;
        row[id] = Number(1000 + i);
        row[description] = Text("Task " + std::to_string(i), false);
        row[note] = Text(i == 7 ? std::string(100000, 'x') : "Note " + std::to_string(i), true);
        table.rows.push_back(std::move(row));
        expected.push_back("Task " + std::to_string(i));
    }
    const auto written = RewriteJetTable(file, table.definition, table.rows, 3000, error);
    ASSERT_TRUE(written) << error;
    TempDir dir;
    const std::string out = dir.File("Todolist.mdb");
    WriteFile(out, *written);
    EXPECT_EQ(RunTool("mdb-count", {out, "Main"}), "2006\n");
    std::vector<std::string> descriptions;
    std::size_t longNotes = 0;
    for (const std::string& line :
         Split(RunTool("mdb-export", {"-H", "-Q", "-d", kCellEnd, "-R", kRowEnd, out, "Main"}),
               kRowEnd)) {
        const std::vector<std::string> cells = Split(line, kCellEnd);
        descriptions.push_back(cells[description]);
        longNotes += cells[note] == std::string(100000, 'x') ? 1 : 0;
    }
    std::sort(descriptions.begin(), descriptions.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(descriptions, expected);
    EXPECT_EQ(longNotes, 1u);
    CheckAgainstMdbtools(out);
    int checked = 0;
    int leftOut = 0;
    CheckIndexes(out, checked, leftOut);
    EXPECT_EQ(leftOut, 0);
    for (const JetCatalogueTable& entry : *catalogue) {
        if (entry.name == u"Main" || entry.isSystem) {
            continue;
        }
        const auto other = ReadJetTableDefinition(file, entry.definitionPage, error);
        std::vector<std::uint32_t> pages = other->pages;
        const auto owned = ReadJetUsageMapAt(file, other->ownedPages);
        pages.insert(pages.end(), owned->begin(), owned->end());
        for (const std::uint32_t page : pages) {
            EXPECT_TRUE(std::equal(file.begin() + page * kJetPageSize,
                                   file.begin() + (page + 1) * kJetPageSize,
                                   written->begin() + page * kJetPageSize))
                << "page " << page;
        }
    }
    const auto rewritten = ReadJetTableDefinition(*written, main->definitionPage, error);
    EXPECT_EQ(rewritten->rowCount, 2006u);
    EXPECT_EQ(rewritten->lastAutoNumber, 3000u);
}

}  // namespace
}  // namespace tabrel::test

namespace tabrel::test {
namespace {

// The Jet engine opened for writing: commands change the copy, Flush writes the tables they
// changed into the file, which mdbtools, our checks and a new open then read.
TEST(JetTableRewrite, CommandsAreWrittenBackByFlush) {
    const fs::path source =
        fs::path(TABREL_JET_REFERENCE_DIR) / "../examples/export-jet-tasks/Todolist.mdb";
    if (!fs::exists(source)) {
        GTEST_SKIP() << "no " << source;
    }
    TempDir dir;
    const std::string path = dir.File("Todolist.mdb");
    WriteFile(path, ReadFile(source));
    const Bytes before = ReadFile(path);
    std::string error;
    auto db = OpenJetFile(path, error, JetAccess::Write);
    ASSERT_TRUE(db) << error;
    EXPECT_FALSE(db->IsReadOnly());
    std::int64_t changed = 0;
    ASSERT_TRUE(
        db->Execute("UPDATE Main SET Description = 'Changed', Note = 'A new note' "
                    "WHERE [Record ID] = 1",
                    changed, error))
        << error;
    ASSERT_TRUE(
        db->Execute("INSERT INTO Category ([ID], [Name]) VALUES (9, 'Ünïcode')", changed, error))
        << error;
    EXPECT_EQ(ReadFile(path), before);  // nothing is written before Flush
    ASSERT_TRUE(db->Flush(error)) << error;
    const std::vector<std::string> main = SortedExport(path, "Main");
    EXPECT_NE(std::find_if(main.begin(), main.end(),
                           [](const std::string& row) {
                               return row.find("Changed") != std::string::npos &&
                                      row.find("A new note") != std::string::npos;
                           }),
              main.end());
    EXPECT_EQ(RunTool("mdb-count", {path, "Category"}), "3\n");
    CheckAgainstMdbtools(path);
    int checked = 0;
    int leftOut = 0;
    CheckIndexes(path, checked, leftOut);
    const auto again = OpenJetFile(path, error);
    ASSERT_TRUE(again) << error;
    const auto cursor = again->Query("SELECT [Name] FROM Category WHERE [ID] = 9", error);
    ASSERT_TRUE(cursor && !cursor->AtEnd()) << error;
    EXPECT_EQ(cursor->ReadRow().at(0).GetText(), u"Ünïcode");

    // A file another program changed after the load is not written over.
    auto later = OpenJetFile(path, error, JetAccess::Write);
    ASSERT_TRUE(later) << error;
    ASSERT_TRUE(later->Execute("DELETE FROM Category WHERE [ID] = 9", changed, error)) << error;
    WriteFile(path, before);
    EXPECT_FALSE(later->Flush(error));
    EXPECT_EQ(error, "The file " + path +
                         " was changed by another program after it was loaded, so it was not "
                         "overwritten.");
    EXPECT_EQ(ReadFile(path), before);
}

// A table with an enforced relationship is not written, and says so.
TEST(JetTableRewrite, ATableWithARelationshipIsRefused) {
    const fs::path path = fs::path(TABREL_JET_REFERENCE_DIR) / "files/indexTestV2003.mdb";
    if (!fs::exists(path)) {
        GTEST_SKIP() << "no " << path;
    }
    EXPECT_EQ(WhyJetTablesUnwritable(ReadFile(path), {"Table1", "Main"}),
              "The table Table1 cannot be written: a relationship is enforced on the table.");
}

}  // namespace
}  // namespace tabrel::test
