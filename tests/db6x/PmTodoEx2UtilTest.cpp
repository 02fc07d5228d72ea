#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "palm/db6x/PmTodoEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Values = std::vector<std::pair<std::string, std::string>>;

constexpr std::array<std::string_view, 5> kNumberTexts = {"Category", "Due Date", "Complete Date",
                                                          "Alarm Time", "Repeat Start Date"};
constexpr std::int32_t kNewYear = 1136073600;  // 2006-01-01 00:00:00 UTC
const std::string kInsertColumns =
    "INSERT INTO Main ([Record ID], [Status], [Placement], [Private], [Category], [Note], "
    "[Description], [Due Date], [Completed], [Priority], [Repeat On Complete Date], [Complete "
    "Date], [Alarm Set], [Alarm Time], [Alarm Advance], [Repeat Start Date], [Repeat Info], "
    "[Blob]) VALUES (";
const std::string kTaxes =
    "WHERE [Record ID] = 4 AND [Due Date] = '1136073600' AND [Description] = 'Taxes'";

// A task database with the categories 1 Business and 1004 Sample.
class PmTodoEx2UtilTest : public ::testing::Test {
  protected:
    PmTodoEx2UtilTest() : m_db(m_dir.File("Todolist.mdb"), test::kTodoColumns) {
        m_db.AddCategory(1, "Business");
        m_db.AddCategory(1004, "Sample");
    }
    ~PmTodoEx2UtilTest() override { dmMain().CloseAll(); }

    // A stored task: every column 0 or empty but those given.
    void AddTask(int id, std::int32_t due, std::string_view description, Values others = {}) const {
        others.insert(others.begin(), {{"Record ID", std::to_string(id)},
                                       {"Due Date", "'" + std::to_string(due) + "'"},
                                       {"Description", test::Db6xWriter::Quote(description)}});
        m_db.InsertZeroRow(test::kTodoColumns, others);
    }
    std::vector<std::string> Column(const std::string& column) const {
        std::vector<std::string> values;
        for (const auto& row : m_db.Rows("SELECT [" + column + "] FROM Main ORDER BY rowid")) {
            values.push_back(row.front());
        }
        return values;
    }
    void Load(PmTodoEx2Util& tasks) const {
        ASSERT_TRUE(tasks.LoadFile(m_db.Path()));
        m_log.Clear();
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmTodoEx2UtilTest, EveryColumnIsReadIntoItsFieldAndWrittenFromIt) {
    m_db.InsertMain(test::Db6xWriter::SampleLiterals(test::kTodoColumns, kNumberTexts));
    PmTodoEx2Util tasks(m_db.Path());
    ASSERT_TRUE(tasks.IsLoaded());
    PmTodoEx2DataMgr& list = tasks.GetDataMgr();
    ASSERT_EQ(list.GetRecordCount(), 1u);
    PmTodoEx2Record sample;
    sample.m_nRecordId = 1000;
    sample.m_nStatus = 1001;
    sample.m_nPlacement = 1002;
    sample.m_byPrivate = 1;
    sample.m_nCategoryId = 1004;
    sample.m_szCategoryName = "Sample";
    sample.m_szNote = "c5";
    sample.m_szDescription = "c6";
    sample.m_tDueDate = 1007;
    sample.m_szDueDate = "1007";
    sample.m_byCompleted = 1;
    sample.m_nPriority = 1009;
    sample.m_byRepeatOnCompleteDate = 1;
    sample.m_tCompleteDate = 1011;
    sample.m_byAlarmSet = 1;
    sample.m_tAlarmTime = 1013;
    sample.m_nAlarmAdvance = 1014;
    sample.m_tRepeatStartDate = 1015;
    sample.m_szRepeatInfo = "c16";
    EXPECT_EQ(*list.GetRecordAt(0), sample);

    m_log.Clear();
    ASSERT_TRUE(list.AddRecord(sample));
    EXPECT_TRUE(tasks.WriteRecord(*list.GetRecordAt(1)));
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{kInsertColumns +
                                       "1000, 1001, 1002, 1, '1004', 'c5', 'c6', '1007', 1, 1009, "
                                       "1, '1011', 1, '1013', 1014, '1015', 'c16', 0x00000000)"});
    const Rows rows = m_db.Rows("SELECT * FROM Main ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(rows[1].begin(), rows[1].end() - 1),
              std::vector<std::string>(rows[0].begin(), rows[0].end() - 1));
}

TEST_F(PmTodoEx2UtilTest, ValuesAreReadByKind) {
    const std::string note = std::string(10000, 'n');
    AddTask(4, kNewYear, std::string(300, 'd'),
            {{"Note", test::Db6xWriter::Quote(note)},
             {"Priority", "NULL"},
             {"Repeat Info", "'D7 20060101T00000Z'"}});
    test::Db6xColumn columns[std::size(test::kTodoColumns)];
    std::copy(std::begin(test::kTodoColumns), std::end(test::kTodoColumns), columns);
    columns[7].type = "INTEGER";    // Due Date
    columns[11].type = "DATETIME";  // Complete Date
    test::Db6xWriter odd(m_dir.File("Odd.mdb"), columns);
    odd.InsertZeroRow(
        columns,
        {{"Record ID", "9"}, {"Due Date", "1136073600"}, {"Complete Date", "'2006-01-01'"}});

    PmTodoEx2Util tasks(m_db.Path());
    const PmTodoEx2Record& task = *tasks.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(task.m_szNote, note);
    EXPECT_EQ(task.m_szDescription, std::string(255, 'd'));
    EXPECT_EQ(task.m_nPriority, 0);
    EXPECT_FALSE(m_log.Has(  // a NULL reads as zero, quietly
        "The column Priority holds a value of an unexpected kind (0); its field is left zero."));
    EXPECT_EQ(task.m_repeat.nKind, 1u);
    EXPECT_EQ(task.m_repeat.nInterval, 7u);
    EXPECT_EQ(task.m_repeat.tEndDate, static_cast<std::uint32_t>(kNewYear));

    PmTodoEx2Util fromOdd(odd.Path());
    const PmTodoEx2Record& nine = *fromOdd.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(nine.m_tDueDate, kNewYear);
    EXPECT_EQ(nine.m_szDueDate, "1136073600");
    EXPECT_EQ(nine.m_tCompleteDate, 0);
    EXPECT_TRUE(m_log.Has(
        "The column Complete Date holds a value of an unexpected kind (0); its field is left "
        "zero."));
}

TEST_F(PmTodoEx2UtilTest, ComparisonLeavesOutPlacementCompleteDateAndAlarmTime) {
    AddTask(4, kNewYear, "Taxes");
    PmTodoEx2Util tasks;
    Load(tasks);
    PmTodoEx2Record& task = *tasks.GetDataMgr().GetRecordAt(0);
    task.m_nPlacement = 3;
    task.m_tCompleteDate = kNewYear;
    task.m_tAlarmTime = kNewYear - 3600;
    EXPECT_TRUE(tasks.WriteRecord(task));
    EXPECT_EQ(m_log.Statements().size(), 1u);  // the look-up only

    task.m_nStatus = 2;
    task.m_byPrivate = 1;
    task.m_szCategoryName = "Business";
    task.m_szNote = "File early";
    task.m_byCompleted = 1;
    task.m_nPriority = 2;
    task.m_byRepeatOnCompleteDate = 1;
    task.m_byAlarmSet = 1;
    task.m_nAlarmAdvance = 5;
    task.m_tRepeatStartDate = kNewYear;
    task.m_repeat.nKind = 2;
    task.m_repeat.nInterval = 1;
    task.m_repeat.byDaysMask = wdFriday;
    task.m_repeat.tEndDate = static_cast<std::uint32_t>(kNewYear);
    m_log.Clear();
    EXPECT_TRUE(tasks.WriteRecord(task));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Status]=2, [Placement]=3, [Private]=1, [Category]='1', "
              "[Note]='File early', [Completed]=1, [Priority]=2, [Repeat On Complete Date]=1, "
              "[Complete Date]='1136073600', [Alarm Set]=1, [Alarm Time]='1136070000', [Alarm "
              "Advance]=5, [Repeat Start Date]='1136073600', [Repeat Info]='W1 FR "
              "20060101T00000Z' " +
                  kTaxes);
}

TEST_F(PmTodoEx2UtilTest, RuleTextsAreReadAndKeptWhileTheRuleIsUnchanged) {
    AddTask(4, kNewYear, "Taxes", {{"Repeat Info", "'YM1 6 #0'"}});
    AddTask(5, kNewYear, "Rent", {{"Repeat Info", "'MD1 1 #0'"}});
    PmTodoEx2Util tasks;
    Load(tasks);
    PmTodoEx2Record& taxes = *tasks.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(taxes.m_repeat, PmRepeatEvent{});  // a task has no yearly rule
    taxes.m_nPriority = 1;
    EXPECT_TRUE(tasks.WriteRecord(taxes));
    EXPECT_EQ(m_log.Statements().back(), "UPDATE Main SET [Priority]=1 " + kTaxes);
    PmTodoEx2Record& rent = *tasks.GetDataMgr().GetRecordAt(1);
    EXPECT_EQ(rent.m_repeat.nKind, 4u);
    rent.m_repeat.nDayNumber = 3;
    EXPECT_TRUE(tasks.WriteRecord(rent));
    EXPECT_EQ(Column("Repeat Info"), (std::vector<std::string>{"YM1 6 #0", "MD1 3 #0"}));

    PmTodoEx2Record built;
    built.m_repeat.nKind = 5;
    built.m_repeat.nInterval = 1;
    PmTodoEx2Util::BuildRuleText(built);
    EXPECT_EQ(built.m_szRepeatInfo, "");
    built.m_szRepeatInfo = "D2 #0";
    PmTodoEx2Util::ParseRuleText(built);
    EXPECT_EQ(built.m_repeat.nInterval, 2u);
}

TEST_F(PmTodoEx2UtilTest, AChangedDueDateUpdatesTheRowTheTaskWasLoadedFrom) {
    AddTask(4, kNewYear, "Taxes");
    PmTodoEx2Util tasks;
    Load(tasks);
    PmTodoEx2Record& task = *tasks.GetDataMgr().GetRecordAt(0);
    task.m_tDueDate = kNewYear + 86400;
    EXPECT_TRUE(tasks.WriteRecord(task));
    EXPECT_EQ(m_log.Statements().back(), "UPDATE Main SET [Due Date]='1136160000' " + kTaxes);
    task.m_szDescription = "Taxes 2005";
    EXPECT_TRUE(tasks.WriteRecord(task));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Description]='Taxes 2005' WHERE [Record ID] = 4 AND [Due Date] = "
              "'1136160000' AND [Description] = 'Taxes'");
    EXPECT_EQ(m_db.Rows("SELECT [Due Date], [Description] FROM Main"),
              (Rows{{"1136160000", "Taxes 2005"}}));

    // An UPDATE that changes no row is a failure.
    m_db.Exec("CREATE TRIGGER keep BEFORE UPDATE ON Main BEGIN SELECT RAISE(IGNORE); END");
    task.m_nPriority = 5;
    EXPECT_FALSE(tasks.WriteRecord(task));
    EXPECT_EQ(m_log.Messages().back(),
              "The statement changed no row of the table Main: UPDATE Main SET [Priority]=5 WHERE "
              "[Record ID] = 4 AND [Due Date] = '1136160000' AND [Description] = 'Taxes 2005'");
}

TEST_F(PmTodoEx2UtilTest, NewTasksAreInsertedOnceThenUpdated) {
    PmTodoEx2Util tasks;
    Load(tasks);
    PmTodoEx2DataMgr& list = tasks.GetDataMgr();
    PmTodoEx2Record fresh;
    fresh.m_nStatus = 1;
    fresh.m_tDueDate = kNewYear;
    fresh.m_szDescription = "Call";
    fresh.m_szCategoryName = "Nowhere";
    ASSERT_TRUE(list.AddRecord(fresh));
    PmTodoEx2Record& call = *list.GetRecordAt(0);
    EXPECT_FALSE(tasks.WriteRecord(call));
    EXPECT_TRUE(m_log.Statements().empty());
    EXPECT_TRUE(
        m_log.Has("The task's category Nowhere is not in the database; the task is not written."));

    call.m_szCategoryName = "Business";
    EXPECT_TRUE(tasks.WriteRecord(call));
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{kInsertColumns +
                                       "0, 1, 0, 0, '1', '', 'Call', '1136073600', 0, 0, 0, '0', "
                                       "0, '0', 0, '0', '', 0x00000000)"});
    call.m_byCompleted = 1;
    EXPECT_TRUE(tasks.WriteRecord(call));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Completed]=1 WHERE [Record ID] = 0 AND [Due Date] = '1136073600' "
              "AND [Description] = 'Call'");

    // A task that is not one of the list's is found by the Due Date text it holds.
    PmTodoEx2Record outside = call;
    outside.m_nPriority = 4;
    EXPECT_TRUE(tasks.WriteRecord(outside));  // its text is empty: no row, so inserted
    EXPECT_TRUE(m_log.Statements().back().starts_with(kInsertColumns));
    outside.m_szDueDate = "1136073600";
    outside.m_szNote = "two rows match";
    EXPECT_FALSE(tasks.WriteRecord(outside));
    EXPECT_EQ(Column("Description"), (std::vector<std::string>{"Call", "Call"}));
}

TEST_F(PmTodoEx2UtilTest, LoadsWithItsMessages) {
    AddTask(4, kNewYear, "Taxes");
    PmTodoEx2Util tasks;
    EXPECT_FALSE(tasks.LoadFile(""));
    EXPECT_EQ(m_log.Messages(),
              std::vector<std::string>{"Invalid Palm Desktop Task database file name."});
    m_log.Clear();
    EXPECT_FALSE(tasks.LoadFile(m_dir.File("none.mdb")));
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{
                  "Loading Palm Desktop Tasks: " + m_dir.File("none.mdb"),
                  "Open Palm Desktop Tasks database failed: " + m_dir.File("none.mdb")}));
    m_log.Clear();
    EXPECT_FALSE(tasks.LoadByUser(3));
    EXPECT_EQ(m_log.Messages().front(), "Start loading Palm Desktop Tasks by user ID: 3");
    m_log.Clear();
    ASSERT_TRUE(tasks.LoadFile(m_db.Path()));
    EXPECT_TRUE(m_log.Has("Start loading Palm Desktop Task main records."));
    EXPECT_TRUE(m_log.Has("Query first record in the Task database table successfully."));
    EXPECT_TRUE(
        m_log.Has("Failed to query the next record of the Task main table. Check if it is the "
                  "end of the table."));
    EXPECT_EQ(m_log.Messages().back(),
              "Loading Palm Desktop Task main records completed successfully.");
    m_log.Clear();
    EXPECT_TRUE(tasks.Save());
    EXPECT_EQ(m_log.Messages(),
              std::vector<std::string>{"Not implemented yet, should not be called here."});
    m_db.Exec("DELETE FROM Main");
    PmTodoEx2Util empty(m_db.Path());
    EXPECT_TRUE(
        m_log.Has("Failed to query the first record of the Task main table. Check if there is "
                  "any records in the database table."));
}

}  // namespace tabrel
