#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "palm/db6x/PmDBEx2Util.h"
#include "palm/db6x/PmMemoEx2Util.h"
#include "palm/desktop/PmApp.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

// A memo database with the categories 0 Unfiled, 1 Business, 2 Personal and 5 Travel.
class PmDBEx2UtilTest : public ::testing::Test {
  protected:
    PmDBEx2UtilTest() : m_db(m_dir.File("MemoPad.mdb"), test::kMemoColumns) {
        m_db.AddCategory(0, "Unfiled");
        m_db.AddCategory(1, "Business");
        m_db.AddCategory(2, "Personal", 1, 3);
        m_db.AddCategory(5, "Travel");
    }
    ~PmDBEx2UtilTest() override { dmMain().CloseAll(); }

    std::vector<std::vector<std::string>> Categories() const {
        return m_db.Rows("SELECT * FROM Category ORDER BY ID");
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmDBEx2UtilTest, OpeningLoadsTheCategories) {
    m_db.Exec("INSERT INTO Category VALUES (NULL, 'No ID', 1, 0)");
    PmDBEx2Util db;
    EXPECT_FALSE(db.OpenDatabase(AppMemos, "") || db.OpenDatabase(AppMemos, m_dir.File("no.mdb")));
    EXPECT_TRUE(m_log.Messages().empty());
    EXPECT_FALSE(db.LoadCategories() || db.LoadInformation());

    ASSERT_TRUE(db.OpenDatabase(AppMemos, m_db.Path()));
    PmCategoryEx2Mgr& cats = db.GetCategoryMgr();
    ASSERT_EQ(cats.GetCount(), 5u);
    EXPECT_EQ(*cats.FindById(2), (PmCategoryEx2{2, "Personal", 1, 3}));
    EXPECT_EQ(cats.FindByName("Travel")->m_nId, 5);
    EXPECT_EQ(cats.FindByName("travel"), nullptr);
    EXPECT_EQ(cats.FindByName(""), nullptr);
    EXPECT_EQ(cats.FindById(7), nullptr);
    EXPECT_EQ(cats.GetAt(4)->m_szName, "No ID");
    EXPECT_EQ(cats.GetAt(4)->m_nId, 0);
    EXPECT_EQ(cats.GetAt(5), nullptr);
    EXPECT_EQ(cats.GetFirst()->m_szName, "Unfiled");
    EXPECT_EQ(cats.GetNext()->m_szName, "Business");

    const auto messages = m_log.Messages();
    const std::vector<std::string> expected = {
        "Start loading Palm Desktop category information.",
        "Execute SQL Query: SELECT [ID], [Name], [Status], [Color] FROM Category ",
        "Query executed successfully.",
        "Category loaded: Unfiled",
        "Category loaded: Business",
        "Category loaded: Personal",
        "Category loaded: Travel",
        "Category loaded: No ID",
        "Categories information loaded successfully."};
    ASSERT_GE(messages.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(messages.end() - expected.size(), messages.end()), expected);

    // Opening a file that cannot be read is a failure and leaves no categories behind.
    const std::string jet = m_dir.File("jet.mdb");
    test::WriteFile(jet, test::ByteWriter().U32(0x100).Text("Standard Jet DB").Fill(100).Get());
    EXPECT_FALSE(db.OpenDatabase(AppMemos, jet));
    EXPECT_EQ(cats.GetCount(), 0u);
}

TEST_F(PmDBEx2UtilTest, NewCategoriesTakeTheLargestIdPlusOne) {
    PmMemoEx2Util memos(m_db.Path());
    ASSERT_TRUE(memos.IsLoaded());
    m_log.Clear();
    std::int32_t id = 99;
    EXPECT_TRUE(memos.GetCategoryId("", id, true) && id == 0);
    EXPECT_TRUE(memos.GetCategoryId("Personal", id, true) && id == 2);
    EXPECT_FALSE(memos.GetCategoryId("personal", id, false));
    EXPECT_EQ(id, 0);
    EXPECT_TRUE(m_log.Statements().empty());

    // IDs 0, 1, 2 and 5: a count-based ID would repeat 5.
    ASSERT_TRUE(memos.GetCategoryId("It's new", id, true));
    EXPECT_EQ(id, 6);
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{"INSERT INTO Category ([ID], [Name], [Status], [Color]) "
                                       "VALUES (6, 'It''s new', 1, 0)"});
    EXPECT_EQ(Categories().back(), (std::vector<std::string>{"6", "It's new", "1", "0"}));
    PmCategoryEx2Mgr& cats = memos.GetCategoryMgr();
    EXPECT_EQ(*cats.GetAt(4), (PmCategoryEx2{6, "It's new", 0, 0}));

    // A name longer than a category keeps is created cut, and found again by that cut.
    const std::string longName(300, 'L');
    EXPECT_TRUE(memos.GetCategoryId(longName, id, true) && id == 7);
    EXPECT_EQ(cats.FindById(7)->m_szName, std::string(254, 'L'));

    // A failing INSERT adds nothing.
    m_db.Exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON Category BEGIN SELECT RAISE(ABORT, "
        "'refused'); END");
    EXPECT_FALSE(memos.GetCategoryId("Refused", id, true));
    EXPECT_EQ(id, -1);
    PmCategoryEx2 category;
    category.SetName("Refused");
    EXPECT_FALSE(cats.AddNew(category));
    EXPECT_EQ(cats.GetCount(), 6u);
    EXPECT_TRUE(m_log.Has("Failed to create the category Refused in the database."));
    EXPECT_EQ(Categories().size(), 6u);

    PmCategoryEx2Mgr detached;
    EXPECT_FALSE(detached.AddNew(category));
}

TEST_F(PmDBEx2UtilTest, InformationTable) {
    m_db.AddInfo("License", "3");
    m_db.AddInfo("Version", "6 beta");
    m_db.AddInfo("Minor", "x");
    m_db.AddInfo("CodePage", "1252");
    m_db.AddInfo("PreSahara", "-1");
    m_db.AddInfo("FreeRecID", "8388609");
    m_db.AddInfo("TableString", std::string(1500, 't'));
    m_db.AddInfo("version", "77");  // names are matched exactly
    m_db.Exec("INSERT INTO Information VALUES ('Minor', NULL)");
    PmDBEx2Util db;
    ASSERT_TRUE(db.OpenDatabase(AppMemos, m_db.Path()));
    EXPECT_EQ(db.GetInformation(), PmInfoEx2{});
    ASSERT_TRUE(db.LoadInformation());
    const PmInfoEx2 expected{3, 6, 0, 1252, -1, 8388609, std::string(1023, 't')};
    EXPECT_EQ(db.GetInformation(), expected);
}

TEST_F(PmDBEx2UtilTest, SelectingRowsOfMain) {
    m_db.Exec("INSERT INTO Main ([Record ID], [Note]) VALUES (4, 'four')");
    PmDBEx2Util db;
    ASSERT_TRUE(db.OpenDatabase(AppMemos, m_db.Path()));
    m_log.Clear();
    constexpr std::array<std::string_view, 1> kNote = {"Note"};
    DbRow row;
    ASSERT_TRUE(db.SelectRecordById(4, kNote, row));
    EXPECT_EQ(row, DbRow{DbValue::Text(u"four")});
    EXPECT_FALSE(db.SelectRecords("WHERE [Note] = 'none'", kNote, row));
    EXPECT_EQ(m_log.Statements(),
              (std::vector<std::string>{"SELECT [Note] FROM Main WHERE [Record ID] = 4",
                                        "SELECT [Note] FROM Main WHERE [Note] = 'none'"}));
}

}  // namespace tabrel
