#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palm/db6x/PmMemoEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::string kSelect =
    "SELECT [Record ID], [Status], [Placement], [Private], [Category], [Note] FROM Main ";
const std::string kInsert =
    "INSERT INTO Main ([Record ID], [Status], [Placement], [Private], [Category], [Note], "
    "[Blob]) VALUES (";

// A memo database with the categories 1 Business and 2 Personal.
class PmMemoEx2UtilTest : public ::testing::Test {
  protected:
    PmMemoEx2UtilTest() : m_db(m_dir.File("MemoPad.mdb"), test::kMemoColumns) {
        m_db.AddCategory(1, "Business");
        m_db.AddCategory(2, "Personal");
    }
    ~PmMemoEx2UtilTest() override { dmMain().CloseAll(); }

    void AddMemo(int id, std::string_view category, std::string_view note, int status = 0,
                 int placement = 0, int isPrivate = 0) const {
        m_db.Exec("INSERT INTO Main VALUES (" + std::to_string(id) + ", " + std::to_string(status) +
                  ", " + std::to_string(placement) + ", " + std::to_string(isPrivate) + ", " +
                  test::Db6xWriter::Quote(category) + ", " + test::Db6xWriter::Quote(note) +
                  ", NULL)");
    }
    Rows MainRows() const {
        return m_db.Rows(
            "SELECT [Record ID], [Status], [Placement], [Private], [Category], "
            "[Note] FROM Main ORDER BY rowid");
    }
    // Loads the database and clears the log.
    void Load(PmMemoEx2Util& memos) const {
        ASSERT_TRUE(memos.LoadFile(m_db.Path()));
        m_log.Clear();
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmMemoEx2UtilTest, LoadsEveryColumnWithItsMessages) {
    AddMemo(5, "2", "Shopping list", 3, 17, 1);
    AddMemo(6, "7", std::string(50000, 'n'));
    m_db.Exec("INSERT INTO Main ([Record ID]) VALUES (8)");
    PmMemoEx2Util memos(m_db.Path());
    ASSERT_TRUE(memos.IsLoaded());
    PmMemoEx2DataMgr& list = memos.GetDataMgr();
    ASSERT_EQ(list.GetRecordCount(), 3u);
    EXPECT_EQ(*list.GetRecordAt(0), (PmMemoEx2Record{5, 3, 17, 1, 2, "Personal", "Shopping list"}));
    // No category 7: the name shows the number. A long note is kept whole.
    EXPECT_EQ(*list.GetRecordAt(1), (PmMemoEx2Record{6, 0, 0, 0, 7, "7", std::string(50000, 'n')}));
    // NULLs leave their fields zero or empty, without a line.
    EXPECT_EQ(*list.GetRecordAt(2), (PmMemoEx2Record{8, 0, 0, 0, 0, "", ""}));
    for (const char* column : {"Status", "Placement", "Private", "Category", "Note"}) {
        EXPECT_FALSE(m_log.Has("The column " + std::string(column) +
                               " holds a value of an unexpected kind (0); its field is left zero."))
            << column;
    }
    const auto messages = m_log.Messages();
    EXPECT_EQ(messages.front(), "Loading Palm Desktop Notes: " + m_db.Path());
    const std::vector<std::string> tail = {
        "Start loading Palm Desktop Memo main records.", "Execute SQL Query: " + kSelect,
        "Query executed successfully.",
        "Query first record in the Memo database table successfully."};
    EXPECT_NE(std::search(messages.begin(), messages.end(), tail.begin(), tail.end()),
              messages.end());
    EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()),
              (std::vector<std::string>{
                  "Failed to query the next record of the Memo main table. Check if it is the "
                  "end of the table.",
                  "Loading Palm Desktop Memo main records completed successfully."}));

    // The record list is not emptied by a second load.
    ASSERT_TRUE(memos.LoadFile(m_db.Path()));
    EXPECT_EQ(list.GetRecordCount(), 6u);
    EXPECT_TRUE(memos.Save());
}

TEST_F(PmMemoEx2UtilTest, CategoryHeldAsAnIntegerColumn) {
    test::Db6xColumn columns[std::size(test::kMemoColumns)];
    std::copy(std::begin(test::kMemoColumns), std::end(test::kMemoColumns), columns);
    columns[4].type = "INTEGER";
    test::Db6xWriter db(m_dir.File("Integer.mdb"), columns);
    db.AddCategory(3, "Home");
    db.Exec("INSERT INTO Main VALUES (1, 0, 0, 0, 3, 'a', NULL), (2, 0, 0, 0, 9, 'b', NULL)");
    PmMemoEx2Util memos(db.Path());
    EXPECT_EQ(memos.GetDataMgr().GetRecordAt(0)->m_szCategoryName, "Home");
    EXPECT_EQ(memos.GetDataMgr().GetRecordAt(1)->m_nCategoryId, 9);
    EXPECT_EQ(memos.GetDataMgr().GetRecordAt(1)->m_szCategoryName, "9");
}

TEST_F(PmMemoEx2UtilTest, LoadFailures) {
    PmMemoEx2Util memos;
    EXPECT_FALSE(memos.LoadFile(""));
    EXPECT_TRUE(m_log.Has("Invalid Palm Desktop Notes database name."));
    EXPECT_FALSE(memos.LoadFile(m_dir.File("none.mdb")));
    EXPECT_TRUE(m_log.Has("Open Palm Desktop Memos database failed: " + m_dir.File("none.mdb")));
    const std::string jet = m_dir.File("jet.mdb");
    test::WriteFile(jet, test::ByteWriter().U32(0x100).Text("Standard Jet DB").Fill(100).Get());
    PmMemoEx2Util fromJet(jet);
    EXPECT_FALSE(fromJet.IsLoaded());
    EXPECT_TRUE(m_log.Has("Open Palm Desktop Memos database failed: " + jet));
    m_log.Clear();
    EXPECT_FALSE(memos.LoadByUser(3));
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{"Start loading Palm Desktop Memos by user ID: 3",
                                        "Failed to get user database path by user ID."}));

    // An empty table loads as an empty list.
    ASSERT_TRUE(memos.LoadFile(m_db.Path()));
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 0u);
    EXPECT_TRUE(
        m_log.Has("Failed to query the first record of the Memo main table. Check if "
                  "there is any records in the database table."));
    EXPECT_EQ(m_log.Messages().back(),
              "Loading Palm Desktop Memo main records completed successfully.");
}

TEST_F(PmMemoEx2UtilTest, ChangedColumnsAreUpdatedInTheRowTheMemoWasLoadedFrom) {
    AddMemo(5, "1", "Shopping list");
    const std::string longNote = std::string(999, 'x') + "'";
    AddMemo(6, "1", longNote);
    PmMemoEx2Util memos;
    Load(memos);
    PmMemoEx2Record& shopping = *memos.GetDataMgr().GetRecordAt(0);
    const std::string where = "WHERE [Record ID] = 5 AND [Note] = 'Shopping list'";
    EXPECT_TRUE(memos.WriteRecord(shopping));  // unchanged: looked up, nothing written
    EXPECT_EQ(m_log.Statements(), std::vector<std::string>{kSelect + where});

    m_log.Clear();
    shopping.m_nCategoryId = 2;
    shopping.m_szCategoryName = "Personal";
    shopping.m_nPlacement = 4;  // not compared, but written along with a change
    EXPECT_TRUE(memos.WriteRecord(shopping));
    EXPECT_EQ(m_log.Statements(),
              (std::vector<std::string>{kSelect + where,
                                        "UPDATE Main SET [Placement]=4, [Category]='2' " + where}));

    // A long note is found by its first 256 characters.
    m_log.Clear();
    PmMemoEx2Record& longMemo = *memos.GetDataMgr().GetRecordAt(1);
    longMemo.m_byPrivate = 1;
    EXPECT_TRUE(memos.WriteRecord(longMemo));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Private]=1 WHERE [Record ID] = 6 AND LEFT([Note], 256) = '" +
                  std::string(256, 'x') + "'");

    // A changed text updates the row it was loaded from, and later writes follow the row.
    m_log.Clear();
    shopping.m_szNote = "Shopping list: milk";
    EXPECT_TRUE(memos.WriteRecord(shopping));
    EXPECT_EQ(m_log.Statements().back(), "UPDATE Main SET [Note]='Shopping list: milk' " + where);
    shopping.m_szNote = "Shopping list: bread";
    EXPECT_TRUE(memos.WriteRecord(shopping));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Note]='Shopping list: bread' WHERE [Record ID] = 5 AND [Note] = "
              "'Shopping list: milk'");
    longMemo.m_szNote = longNote + std::string(60000, 'y');  // written whole
    EXPECT_TRUE(memos.WriteRecord(longMemo));
    // A changed Record ID is updated in place too.
    shopping.m_nRecordId = 50;
    EXPECT_TRUE(memos.WriteRecord(shopping));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Record ID]=50 WHERE [Record ID] = 5 AND [Note] = 'Shopping list: "
              "bread'");
    EXPECT_EQ(MainRows(), (Rows{{"50", "0", "4", "0", "2", "Shopping list: bread"},
                                {"6", "0", "0", "1", "1", longNote + std::string(60000, 'y')}}));
}

TEST_F(PmMemoEx2UtilTest, NewMemosAreInsertedOnceThenUpdated) {
    AddMemo(0, "1", "dup");
    PmMemoEx2Util memos;
    Load(memos);
    PmMemoEx2DataMgr& list = memos.GetDataMgr();
    // A new memo with the key values of a stored one: inserted, not merged into it.
    ASSERT_TRUE(list.AddRecord(PmMemoEx2Record{0, 1, 0x7FFFFFFF, 0, 0, "Personal", "dup"}));
    PmMemoEx2Record& fresh = *list.GetRecordAt(1);
    EXPECT_TRUE(memos.WriteRecord(fresh));
    EXPECT_EQ(fresh.m_nCategoryId, 2);
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{kInsert + "0, 1, 2147483647, 0, '2', 'dup', 0x00000000)"});

    // Its next write updates the row it inserted, told from the stored one by every column.
    m_log.Clear();
    fresh.m_byPrivate = 1;
    EXPECT_TRUE(memos.WriteRecord(fresh));
    EXPECT_EQ(m_log.Statements(),
              (std::vector<std::string>{
                  kSelect + "WHERE [Record ID] = 0 AND [Note] = 'dup'",
                  kSelect + "WHERE [Record ID] = 0 AND [Status] = 1 AND [Placement] = 2147483647 "
                            "AND [Private] = 0 AND [Category] = '2' AND [Note] = 'dup'",
                  "UPDATE Main SET [Private]=1 WHERE [Record ID] = 0 AND [Status] = 1 AND "
                  "[Placement] = 2147483647 AND [Private] = 0 AND [Category] = '2' AND [Note] = "
                  "'dup'"}));
    EXPECT_EQ(MainRows(),
              (Rows{{"0", "0", "0", "0", "1", "dup"}, {"0", "1", "2147483647", "1", "2", "dup"}}));

    // Rows that no column tells apart are not written.
    AddMemo(0, "1", "dup");
    PmMemoEx2Util again;
    Load(again);
    PmMemoEx2Record& twin = *again.GetDataMgr().GetRecordAt(0);
    twin.m_nStatus = 9;
    EXPECT_FALSE(again.WriteRecord(twin));
    EXPECT_EQ(m_log.Statements().size(), 2u);
    EXPECT_EQ(MainRows().size(), 3u);
}

TEST_F(PmMemoEx2UtilTest, FailedWritesRunNoStatementOrReportTheirFailure) {
    AddMemo(5, "1", "Shopping list");
    PmMemoEx2Util memos;
    Load(memos);
    PmMemoEx2DataMgr& list = memos.GetDataMgr();
    ASSERT_TRUE(list.AddRecord(PmMemoEx2Record{0, 1, 0, 0, 0, "Nowhere", "new"}));
    EXPECT_FALSE(memos.WriteRecord(*list.GetRecordAt(1)));
    EXPECT_TRUE(m_log.Statements().empty());
    EXPECT_TRUE(
        m_log.Has("The memo's category Nowhere is not in the database; the memo is not written."));

    // A memo that is not one of the list's is found by its own keys: here it finds none and
    // is inserted whole, though a row with its Record ID exists. An unknown category stops it
    // after the look-up.
    PmMemoEx2Record outside{5, 0, 0, 0, 0, "Nowhere", "Other text"};
    EXPECT_FALSE(memos.WriteRecord(outside));
    EXPECT_EQ(m_log.Statements().size(), 1u);
    outside.m_szCategoryName = "Business";
    EXPECT_TRUE(memos.WriteRecord(outside));
    EXPECT_EQ(m_log.Statements().back(), kInsert + "5, 0, 0, 0, '1', 'Other text', 0x00000000)");

    // An UPDATE that changes no row is a failure.
    m_db.Exec("CREATE TRIGGER keep BEFORE UPDATE ON Main BEGIN SELECT RAISE(IGNORE); END");
    m_log.Clear();
    PmMemoEx2Record& shopping = *list.GetRecordAt(0);
    shopping.m_nStatus = 2;
    EXPECT_FALSE(memos.WriteRecord(shopping));
    EXPECT_EQ(m_log.Messages().back(),
              "The statement changed no row of the table Main: UPDATE Main SET [Status]=2 WHERE "
              "[Record ID] = 5 AND [Note] = 'Shopping list'");
    EXPECT_EQ(MainRows().front(),
              (std::vector<std::string>{"5", "0", "0", "0", "1", "Shopping list"}));
}

}  // namespace tabrel
