#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "palm/db6x/PmMDBAccessor.h"
#include "palm/desktop/PmApp.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

constexpr std::array<std::string_view, 2> kIdNote = {"Record ID", "Note"};

class PmMDBAccessorTest : public ::testing::Test {
  protected:
    PmMDBAccessorTest() : m_db(m_dir.File("MemoPad.mdb"), test::kMemoColumns) {
        m_db.Exec(
            "INSERT INTO Main ([Record ID], [Note]) VALUES (1, 'one');"
            "INSERT INTO Main ([Record ID], [Note]) VALUES (2, 'two')");
    }
    ~PmMDBAccessorTest() override { dmMain().CloseAll(); }

    std::string ConnectionString(const std::string& path) const {
        return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"";
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmMDBAccessorTest, ConnectingLogsEachStepAndRefusesWhatItCannotOpen) {
    PmMDBAccessor accessor(AppMemos, m_db.Path());
    EXPECT_TRUE(accessor.IsConnected());
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{"Set database file to be opened: " + m_db.Path(),
                                        "Connection String: " + ConnectionString(m_db.Path())}));

    // A missing file changes nothing: the connection stays on the database it had.
    m_log.Clear();
    accessor.Connect(AppMemos, m_dir.File("none.mdb"));
    EXPECT_TRUE(m_log.Has("The file doesn't exist. Abort."));
    EXPECT_EQ(dmMain().connMemo.GetPath(), m_db.Path());

    const std::string jet = m_dir.File("jet.mdb");
    test::WriteFile(jet, test::ByteWriter().U32(0x100).Text("Standard Jet DB").Fill(100).Get());
    m_log.Clear();
    accessor.Connect(AppMemos, jet);
    EXPECT_FALSE(accessor.IsConnected() || dmMain().connMemo.IsOpen());
    EXPECT_EQ(m_log.Messages().back(),
              "Database Connection Error, Connection String=" + ConnectionString(jet) +
                  ", Error=The file is a Jet 3 (Access 97) database, not a Palm Desktop 6.x "
                  "database.");
    EXPECT_TRUE(m_log.Has("The connection is already opened, close it now."));

    PmMDBAccessor none(9, m_db.Path());
    EXPECT_TRUE(m_log.Has("There is no valid database connection to open this file."));
    EXPECT_TRUE(none.GetQuery() == nullptr && none.GetConnection() == nullptr);
    EXPECT_FALSE(none.ExecuteSql("SELECT 1", true));
}

TEST_F(PmMDBAccessorTest, AccessorsOfOneKindShareTheirConnection) {
    test::Db6xWriter other(m_dir.File("Other.mdb"), test::kMemoColumns);
    other.Exec("INSERT INTO Main ([Record ID], [Note]) VALUES (9, 'nine')");
    PmMDBAccessor first(AppMemos, m_db.Path());
    DbRow row;
    ASSERT_TRUE(first.SelectFirst("Main", kIdNote, row));
    PmMDBAccessor second(AppMemos, other.Path());
    EXPECT_TRUE(m_log.Has("The connection is already opened, close it now."));
    // The walk of the first file ended with the re-pointing, and the first accessor runs
    // nothing on the other file until it is connected again.
    EXPECT_FALSE(first.SelectNext("Main", kIdNote, row));
    EXPECT_FALSE(first.IsConnected() || first.SelectFirst("Main", kIdNote, row));
    EXPECT_EQ(m_log.Messages().back(),
              "Database Query Error, Query String=SELECT [Record ID], [Note] FROM Main , "
              "Error=The connection is open on another database file: " +
                  other.Path());
    ASSERT_TRUE(second.SelectFirst("Main", kIdNote, row));
    EXPECT_EQ(row, (DbRow{MakeIntegerValue(9), DbValue::Text(u"nine")}));
    first.Connect(AppMemos, m_db.Path());
    EXPECT_TRUE(first.SelectFirst("Main", kIdNote, row) && row[0] == MakeIntegerValue(1));
    // Other kinds keep their own connection.
    PmMDBAccessor tasks(AppTasks, m_db.Path());
    EXPECT_EQ(dmMain().connMemo.GetPath(), m_db.Path());
    EXPECT_EQ(tasks.GetQuery(), &dmMain().qryTodo);
}

TEST_F(PmMDBAccessorTest, WalkingAndRunningStatements) {
    PmMDBAccessor accessor(AppMemos, m_db.Path());
    m_log.Clear();
    DbRow row;
    ASSERT_TRUE(accessor.SelectFirst("Main", kIdNote, row));
    EXPECT_EQ(row, (DbRow{MakeIntegerValue(1), DbValue::Text(u"one")}));
    EXPECT_EQ(accessor.GetLastQuery(), "SELECT [Record ID], [Note] FROM Main ");
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{"Execute SQL Query: SELECT [Record ID], [Note] FROM Main ",
                                        "Query executed successfully."}));
    ASSERT_TRUE(accessor.SelectNext("", {}, row));
    EXPECT_EQ(row[0], MakeIntegerValue(2));
    EXPECT_FALSE(accessor.SelectNext("", {}, row));

    // Only SelectFirst sets the last query; any other statement ends the walk.
    const std::string where = "SELECT [Record ID] FROM Main WHERE [Record ID] = 1";
    ASSERT_TRUE(accessor.OpenQuery(where, row));
    EXPECT_FALSE(accessor.FetchNext(where, row));
    EXPECT_TRUE(m_log.Has("This query is not same with former query. Ignore this query."));
    ASSERT_TRUE(accessor.SelectFirst("Main", kIdNote, row));
    EXPECT_TRUE(accessor.ExecuteSql("UPDATE Main SET [Status]=3 WHERE [Record ID] = 2", false));
    EXPECT_EQ(accessor.GetRowsAffected(), 1);
    EXPECT_FALSE(accessor.SelectNext("", {}, row));
    EXPECT_FALSE(accessor.OpenQuery("SELECT [Note] FROM Main WHERE [Record ID] = 5", row));

    m_log.Clear();
    EXPECT_FALSE(accessor.OpenQuery("", row) || accessor.FetchNext("", row));
    EXPECT_EQ(m_log.Messages(), (std::vector<std::string>{"Invalid query string found.",
                                                          "Invalid query string found."}));
    EXPECT_FALSE(accessor.ExecuteSql("", false));
    EXPECT_FALSE(accessor.ExecuteSql("UPDATE Nowhere SET [a]=1 ", false));
    EXPECT_EQ(m_log.Messages().back(),
              "Database Query Error, Query String=UPDATE Nowhere SET [a]=1 , Error=no such table: "
              "Nowhere");
    dmMain().connMemo.Close();
    EXPECT_FALSE(accessor.ExecuteSql("SELECT [Note] FROM Main ", true));
    EXPECT_EQ(m_log.Messages().back(),
              "Database Query Error, Query String=SELECT [Note] FROM Main , Error=The database "
              "connection is not open.");
}

}  // namespace tabrel
