#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/dat/PmTime.h"
#include "palm/db6x/PmDateEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

constexpr std::int32_t kNewYear = 1136073600;  // 2006-01-01 00:00:00 UTC

PmDateEx2Record Event(std::int32_t id, std::int32_t start, std::string summary,
                      std::string rule = "") {
    PmDateEx2Record event;
    event.m_nRecordId = id;
    event.m_tStartTime = start;
    event.m_szStartTime = std::to_string(start);
    event.m_tEndTime = start + 3600;
    event.m_szEndTime = std::to_string(start + 3600);
    event.m_szSummary = std::move(summary);
    event.m_szRepeatedEvent = std::move(rule);
    PmDateEx2Util::ParseRuleText(event);
    return event;
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

TEST(PmDateEx2EndToEnd, ChangeOneAddTwoAndLoadAgain) {
    test::TempDir dir;
    test::LogCapture log;
    test::Db6xWriter db(dir.File("DateBook.mdb"), test::kDateColumns);
    db.AddCategory(1, "Business");
    const auto add = [&db](int id, std::int32_t start, const char* summary, const char* rule) {
        db.InsertZeroRow(test::kDateColumns,
                         {{"Record ID", std::to_string(id)},
                          {"Start Time", "'" + std::to_string(start) + "'"},
                          {"End Time", "'" + std::to_string(start + 3600) + "'"},
                          {"Summary", test::Db6xWriter::Quote(summary)},
                          {"Repeated Event", test::Db6xWriter::Quote(rule)}});
    };
    add(21, kNewYear + 9 * 3600, "Standup", "D1 #0");
    add(22, kNewYear + 14 * 3600, "Dentist", "");
    add(0, kNewYear + 12 * 3600, "Lunch", "MP1 1- FR #0");
    const std::int32_t june14 = PmTime(2006, 6, 14, 0, 0, 0).GetTime();
    {
        PmDateEx2Util events(db.Path());
        ASSERT_TRUE(events.IsLoaded());
        PmDateEx2DataMgr& list = events.GetDataMgr();
        ASSERT_EQ(list.GetRecordCount(), 3u);
        // The dentist moves an hour later and becomes a weekly visit.
        PmDateEx2Record& dentist = *list.GetRecordAt(1);
        dentist.m_tStartTime += 3600;
        dentist.m_tEndTime += 3600;
        dentist.m_repeat = EndlessRule(2, 1);
        dentist.m_repeat.byDaysMask = wdMonday;
        dentist.m_nStatus = 2;
        ASSERT_TRUE(events.WriteRecord(dentist));

        PmDateEx2Record birthday = Event(0, june14, "Birthday");
        birthday.m_repeat = EndlessRule(5, 1);
        birthday.m_byUntimed = 1;
        birthday.m_szCategoryName = "Travel";
        std::int32_t travel = 0;
        ASSERT_TRUE(events.GetCategoryId("Travel", travel, true));
        ASSERT_TRUE(list.AddRecord(birthday));
        ASSERT_TRUE(events.WriteRecord(*list.GetRecordAt(3)));
        // The same keys as the stored lunch: a row of its own.
        PmDateEx2Record lunch = Event(0, kNewYear + 12 * 3600, "Lunch");
        lunch.m_szLocation = "Cafe";
        ASSERT_TRUE(list.AddRecord(lunch));
        ASSERT_TRUE(events.WriteRecord(*list.GetRecordAt(4)));
        // Written again after further changes.
        dentist.m_szLocation = "Main St";
        ASSERT_TRUE(events.WriteRecord(dentist));
        list.GetRecordAt(4)->m_szNote = std::string(9000, 'n');
        ASSERT_TRUE(events.WriteRecord(*list.GetRecordAt(4)));
        EXPECT_TRUE(events.Save());
    }
    dmMain().CloseAll();

    PmDateEx2Util reloaded(db.Path());
    ASSERT_TRUE(reloaded.IsLoaded());
    std::vector<PmDateEx2Record> records;
    for (const PmDateEx2Record& record : reloaded.GetDataMgr()) {
        records.push_back(record);
    }
    PmDateEx2Record dentist = Event(22, kNewYear + 15 * 3600, "Dentist", "W1 MO #0");
    dentist.m_nStatus = 2;
    dentist.m_szLocation = "Main St";
    PmDateEx2Record birthday = Event(0, june14, "Birthday", "YM1 6 #0");
    birthday.m_byUntimed = 1;
    birthday.m_nCategoryId = 2;
    birthday.m_szCategoryName = "Travel";
    PmDateEx2Record lunch = Event(0, kNewYear + 12 * 3600, "Lunch");
    lunch.m_szLocation = "Cafe";
    lunch.m_szNote = std::string(9000, 'n');
    const std::vector<PmDateEx2Record> expected = {
        Event(21, kNewYear + 9 * 3600, "Standup", "D1 #0"), dentist,
        Event(0, kNewYear + 12 * 3600, "Lunch", "MP1 1- FR #0"), birthday, lunch};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(records[1].m_repeat.byDaysMask, wdMonday);
    EXPECT_EQ(db.Rows("SELECT COUNT(*), COUNT([Blob]) FROM Main"),
              (std::vector<std::vector<std::string>>{{"5", "2"}}));
    dmMain().CloseAll();
}

}  // namespace tabrel
