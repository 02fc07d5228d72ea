// A table of a Jet 4 file rewritten with new rows: read back by mdbtools and by our own
// page checks (maps, rows, every index entry against its row), on the files Access made and
// on one the tests' writer makes.

#include <gtest/gtest.h>

#include "db6x/JetChecks.h"
#include "palm/db6x/jet/JetTableRewrite.h"

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

std::vector<std::string> SortedExport(const std::string& path, const std::string& table) {
    std::vector<std::string> rows =
        Split(Run("mdb-export", {"-Q", "-d", kCellEnd, "-R", kRowEnd, "-0", kNull, path, table}),
              kRowEnd);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Every user table of every reference file, rewritten with its own rows in reverse order,
// reads as before, and the whole file passes the checks; a table that cannot be written
// says why, and its file stays as it was.
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
            const auto written = RewriteJetTable(file, table.definition, table.rows,
                                                 table.definition.lastAutoNumber, error);
            if (!written) {
                std::cout << path.filename().string() << " " << name << ": " << error << "\n";
                EXPECT_FALSE(error.empty());
                continue;
            }
            const std::string out = dir.File("rewritten.mdb");
            WriteFile(out, *written);
            EXPECT_EQ(SortedExport(out, name), SortedExport(path.string(), name));
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
