#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/dat/PmTime.h"
#include "palm/db6x/PmTodoEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

constexpr std::int32_t kNewYear = 1136073600;  // 2006-01-01 00:00:00 UTC
constexpr std::int32_t kDay = 86400;

PmTodoEx2Record Task(std::int32_t id, std::int32_t due, std::string description,
                     std::string rule = "") {
    PmTodoEx2Record task;
    task.m_nRecordId = id;
    task.m_tDueDate = due;
    task.m_szDueDate = std::to_string(due);
    task.m_szDescription = std::move(description);
    task.m_szRepeatInfo = std::move(rule);
    PmTodoEx2Util::ParseRuleText(task);
    return task;
}

// A rule of kind every interval, with no end date.
PmRepeatEvent EndlessRule(std::uint32_t kind, std::uint32_t interval) {
    PmRepeatEvent rule;
    rule.nKind = kind;
    rule.nInterval = interval;
    rule.tEndDate = static_cast<std::uint32_t>(kPmTimeNoDate);
    return rule;
}

}  // namespace

TEST(PmTodoEx2EndToEnd, ChangeOneAddTwoAndLoadAgain) {
    test::TempDir dir;
    test::LogCapture log;
    test::Db6xWriter db(dir.File("Todolist.mdb"), test::kTodoColumns);
    db.AddCategory(1, "Business");
    const auto add = [&db](int id, std::int32_t due, const char* description, const char* rule) {
        db.InsertZeroRow(test::kTodoColumns, {{"Record ID", std::to_string(id)},
                                              {"Due Date", "'" + std::to_string(due) + "'"},
                                              {"Description", test::Db6xWriter::Quote(description)},
                                              {"Repeat Info", test::Db6xWriter::Quote(rule)}});
    };
    add(31, kNewYear, "Taxes", "YM1 4 #0");
    add(32, kNewYear + kDay, "Call Ann", "");
    add(0, kNewYear + 2 * kDay, "Water plants", "D3 #0");
    {
        PmTodoEx2Util tasks(db.Path());
        ASSERT_TRUE(tasks.IsLoaded());
        PmTodoEx2DataMgr& list = tasks.GetDataMgr();
        ASSERT_EQ(list.GetRecordCount(), 3u);
        // Taxes are due a week later and get a note; the stored rule stays as it was.
        PmTodoEx2Record& taxes = *list.GetRecordAt(0);
        taxes.m_tDueDate += 7 * kDay;
        taxes.m_szNote = "Receipts in the blue folder";
        taxes.m_nPriority = 1;
        ASSERT_TRUE(tasks.WriteRecord(taxes));

        PmTodoEx2Record trip = Task(0, kNewYear + 30 * kDay, "Book flights");
        trip.m_nStatus = 1;
        ASSERT_TRUE(tasks.GetCategoryId("Travel", trip.m_nCategoryId, true));
        trip.m_szCategoryName = "Travel";
        trip.m_szDueDate.clear();  // a new task has no stored Due Date text
        ASSERT_TRUE(list.AddRecord(trip));
        ASSERT_TRUE(tasks.WriteRecord(*list.GetRecordAt(3)));
        // The same keys as the stored plants task: a row of its own.
        PmTodoEx2Record plants = Task(0, kNewYear + 2 * kDay, "Water plants");
        plants.m_repeat = EndlessRule(1, 2);
        ASSERT_TRUE(list.AddRecord(plants));
        ASSERT_TRUE(tasks.WriteRecord(*list.GetRecordAt(4)));
        // Written again after further changes.
        taxes.m_byCompleted = 1;
        ASSERT_TRUE(tasks.WriteRecord(taxes));
        list.GetRecordAt(4)->m_nPriority = 3;
        ASSERT_TRUE(tasks.WriteRecord(*list.GetRecordAt(4)));
    }
    dmMain().CloseAll();

    PmTodoEx2Util reloaded(db.Path());
    ASSERT_TRUE(reloaded.IsLoaded());
    std::vector<PmTodoEx2Record> records;
    for (const PmTodoEx2Record& record : reloaded.GetDataMgr()) {
        records.push_back(record);
    }
    PmTodoEx2Record taxes = Task(31, kNewYear + 7 * kDay, "Taxes", "YM1 4 #0");
    taxes.m_szNote = "Receipts in the blue folder";
    taxes.m_nPriority = 1;
    taxes.m_byCompleted = 1;
    PmTodoEx2Record trip = Task(0, kNewYear + 30 * kDay, "Book flights");
    trip.m_nStatus = 1;
    trip.m_nCategoryId = 2;
    trip.m_szCategoryName = "Travel";
    PmTodoEx2Record plants = Task(0, kNewYear + 2 * kDay, "Water plants", "D2 #0");
    plants.m_nPriority = 3;
    const std::vector<PmTodoEx2Record> expected = {
        taxes, Task(32, kNewYear + kDay, "Call Ann"),
        Task(0, kNewYear + 2 * kDay, "Water plants", "D3 #0"), trip, plants};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(db.Rows("SELECT COUNT(*), COUNT([Blob]) FROM Main"),
              (std::vector<std::vector<std::string>>{{"5", "2"}}));
    dmMain().CloseAll();
}

}  // namespace tabrel
