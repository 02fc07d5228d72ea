#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "palm/dat/PmTime.h"
#include "palm/db6x/PmDateEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Values = std::vector<std::pair<std::string, std::string>>;

constexpr std::array<std::string_view, 3> kNumberTexts = {"Category", "Start Time", "End Time"};
constexpr std::int32_t kNewYear = 1136073600;  // 2006-01-01 00:00:00 UTC
const std::string kInsertColumns =
    "INSERT INTO Main ([Record ID], [Status], [Placement], [Private], [Category], [Note], [Start "
    "Time], [End Time], [Untimed], [Time Zone], [Location], [Summary], [Alarm], [Alarm Advance], "
    "[Alarm Unit], [Repeated Event], [Blob]) VALUES (";
const std::string kDentist =
    "WHERE [Record ID] = 5 AND [Start Time] = '1136073600' AND [End Time] = '1136077200' AND "
    "[Summary] = 'Dentist'";

// A calendar database with the categories 1 Business and 1004 Sample.
class PmDateEx2UtilTest : public ::testing::Test {
  protected:
    PmDateEx2UtilTest() : m_db(m_dir.File("DateBook.mdb"), test::kDateColumns) {
        m_db.AddCategory(1, "Business");
        m_db.AddCategory(1004, "Sample");
    }
    ~PmDateEx2UtilTest() override { dmMain().CloseAll(); }

    // A stored event: every column 0 or empty but those given.
    void AddEvent(int id, std::int32_t start, std::string_view summary, Values others = {}) const {
        others.insert(others.begin(), {{"Record ID", std::to_string(id)},
                                       {"Start Time", "'" + std::to_string(start) + "'"},
                                       {"End Time", "'" + std::to_string(start + 3600) + "'"},
                                       {"Summary", test::Db6xWriter::Quote(summary)}});
        m_db.InsertZeroRow(test::kDateColumns, others);
    }
    std::vector<std::string> Column(const std::string& column) const {
        std::vector<std::string> values;
        for (const auto& row : m_db.Rows("SELECT [" + column + "] FROM Main ORDER BY rowid")) {
            values.push_back(row.front());
        }
        return values;
    }
    void Load(PmDateEx2Util& events) const {
        ASSERT_TRUE(events.LoadFile(m_db.Path()));
        m_log.Clear();
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmDateEx2UtilTest, EveryColumnIsReadIntoItsFieldAndWrittenFromIt) {
    m_db.InsertMain(test::Db6xWriter::SampleLiterals(test::kDateColumns, kNumberTexts));
    PmDateEx2Util events(m_db.Path());
    ASSERT_TRUE(events.IsLoaded());
    PmDateEx2DataMgr& list = events.GetDataMgr();
    ASSERT_EQ(list.GetRecordCount(), 1u);
    PmDateEx2Record sample;
    sample.m_nRecordId = 1000;
    sample.m_nStatus = 1001;
    sample.m_nPlacement = 1002;
    sample.m_byPrivate = 1;
    sample.m_nCategoryId = 1004;
    sample.m_szCategoryName = "Sample";
    sample.m_szNote = "c5";
    sample.m_tStartTime = 1006;
    sample.m_szStartTime = "1006";
    sample.m_tEndTime = 1007;
    sample.m_szEndTime = "1007";
    sample.m_byUntimed = 1;
    sample.m_szTimeZone = "c9";
    sample.m_szLocation = "c10";
    sample.m_szSummary = "c11";
    sample.m_byAlarm = 1;
    sample.m_nAlarmAdvance = 1013;
    sample.m_nAlarmUnit = 1014;
    sample.m_szRepeatedEvent = "c15";  // no rule this reader knows: kind 0
    EXPECT_EQ(*list.GetRecordAt(0), sample);

    m_log.Clear();
    ASSERT_TRUE(list.AddRecord(sample));
    EXPECT_TRUE(events.WriteRecord(*list.GetRecordAt(1)));
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{kInsertColumns +
                                       "1000, 1001, 1002, 1, '1004', 'c5', '1006', '1007', 1, "
                                       "'c9', 'c10', 'c11', 1, 1013, 1014, 'c15', 0x00000000)"});
    const Rows rows = m_db.Rows("SELECT * FROM Main ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(rows[1].begin(), rows[1].end() - 1),
              std::vector<std::string>(rows[0].begin(), rows[0].end() - 1));
}

TEST_F(PmDateEx2UtilTest, TextsAreCutNotesKeptWholeOddValuesLeftZero) {
    const std::string note = std::string(9000, 'n') + "'";
    AddEvent(5, kNewYear, std::string(300, 's'),
             {{"Note", test::Db6xWriter::Quote(note)},
              {"Time Zone", test::Db6xWriter::Quote(std::string(80, 'z'))},
              {"End Time", "NULL"},
              {"Alarm", "NULL"}});
    PmDateEx2Util events(m_db.Path());
    const PmDateEx2Record& event = *events.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(event.m_szNote, note);
    EXPECT_EQ(event.m_szSummary, std::string(255, 's'));
    EXPECT_EQ(event.m_szTimeZone, std::string(63, 'z'));
    EXPECT_EQ(event.m_tEndTime, 0);
    EXPECT_EQ(event.m_szEndTime, "0");
    EXPECT_FALSE(m_log.Has(  // a NULL reads as zero, quietly
        "The column End Time holds a value of an unexpected kind (0); its field is left zero."));
    EXPECT_FALSE(m_log.Has(
        "The column Alarm holds a value of an unexpected kind (0); its field is left zero."));
}

TEST_F(PmDateEx2UtilTest, TimesHeldAsIntegersAreWrittenAsNumberTexts) {
    test::Db6xColumn columns[std::size(test::kDateColumns)];
    std::copy(std::begin(test::kDateColumns), std::end(test::kDateColumns), columns);
    columns[4].type = "INTEGER";  // Category
    columns[6].type = "INTEGER";  // Start Time
    columns[7].type = "INTEGER";  // End Time
    test::Db6xWriter db(m_dir.File("Integer.mdb"), columns);
    db.AddCategory(1, "Business");
    db.InsertZeroRow(columns, {{"Record ID", "1"},
                               {"Category", "1"},
                               {"Start Time", "1136070000"},
                               {"End Time", "1136077200"},
                               {"Summary", "'Run'"}});
    PmDateEx2Util events;
    ASSERT_TRUE(events.LoadFile(db.Path()));
    PmDateEx2Record& run = *events.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(run.m_tStartTime, 1136070000);
    EXPECT_EQ(run.m_szStartTime, "1136070000");
    EXPECT_EQ(run.m_szCategoryName, "Business");
    m_log.Clear();
    run.m_tStartTime = kNewYear;
    EXPECT_TRUE(events.WriteRecord(run));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Start Time]='1136073600' WHERE [Record ID] = 1 AND [Start Time] "
              "= 1136070000 AND [End Time] = 1136077200 AND [Summary] = 'Run'");
    EXPECT_EQ(run.m_szStartTime, "1136073600");
    EXPECT_EQ(db.Rows("SELECT [Start Time], typeof([Start Time]) FROM Main"),
              (Rows{{"1136073600", "integer"}}));
}

TEST_F(PmDateEx2UtilTest, ComparisonLeavesOutPlacementAndListsColumnsInOrder) {
    AddEvent(5, kNewYear, "Dentist");
    PmDateEx2Util events;
    Load(events);
    PmDateEx2Record& event = *events.GetDataMgr().GetRecordAt(0);
    event.m_nPlacement = 9;
    EXPECT_TRUE(events.WriteRecord(event));
    EXPECT_EQ(m_log.Statements().size(), 1u);  // the look-up only

    event.m_nStatus = 2;
    event.m_byPrivate = 1;
    event.m_szCategoryName = "Business";
    event.m_szNote = "Bring card";
    event.m_tEndTime = kNewYear + 5400;
    event.m_byUntimed = 1;
    event.m_szTimeZone = "UTC";
    event.m_szLocation = "Main St";
    event.m_byAlarm = 1;
    event.m_nAlarmAdvance = 10;
    event.m_nAlarmUnit = 1;
    event.m_repeat.nKind = 1;
    event.m_repeat.nInterval = 1;
    event.m_repeat.tEndDate = kPmTimeNoDate;
    m_log.Clear();
    EXPECT_TRUE(events.WriteRecord(event));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Status]=2, [Placement]=9, [Private]=1, [Category]='1', "
              "[Note]='Bring card', [End Time]='1136079000', [Untimed]=1, [Time Zone]='UTC', "
              "[Location]='Main St', [Alarm]=1, [Alarm Advance]=10, [Alarm Unit]=1, [Repeated "
              "Event]='D1 #0' " +
                  kDentist);
    EXPECT_EQ(event.m_nCategoryId, 1);
    EXPECT_EQ(event.m_szRepeatedEvent, "D1 #0");
    event.m_szSummary = "dentist";  // byte for byte
    EXPECT_TRUE(events.WriteRecord(event));
    EXPECT_TRUE(m_log.Statements().back().starts_with("UPDATE Main SET [Summary]='dentist' "));
}

TEST_F(PmDateEx2UtilTest, RuleTextsAreReadAndRenewedOnlyWhenTheRuleChanged) {
    const std::int32_t june14 = PmTime(2006, 6, 14, 9, 0, 0).GetTime();
    AddEvent(1, kNewYear, "Weekly", {{"Repeated Event", "'W2 MO WE 20060630T000000Z'"}});
    AddEvent(2, june14, "Yearly", {{"Repeated Event", "'YM1 6 #0'"}});
    AddEvent(3, kNewYear, "Last Friday", {{"Repeated Event", "'MP1 1- FR #0'"}});
    PmDateEx2Util events;
    Load(events);
    PmDateEx2DataMgr& list = events.GetDataMgr();
    PmDateEx2Record& weekly = *list.GetRecordAt(0);
    EXPECT_EQ(weekly.m_repeat.nKind, 2u);
    EXPECT_EQ(weekly.m_repeat.byDaysMask, wdMonday | wdWednesday);
    EXPECT_EQ(weekly.m_repeat.tEndDate, static_cast<std::uint32_t>(1151625600));
    PmDateEx2Record& yearly = *list.GetRecordAt(1);
    EXPECT_EQ(yearly.m_repeat.nMonthIndex, 5u);
    EXPECT_EQ(yearly.m_repeat.nDayNumber, 14u);

    // The rule unchanged, its text stays as stored, even one the rule cannot express.
    PmDateEx2Record& lastFriday = *list.GetRecordAt(2);
    lastFriday.m_szLocation = "Club";
    EXPECT_TRUE(events.WriteRecord(lastFriday));
    EXPECT_TRUE(m_log.Statements().back().starts_with("UPDATE Main SET [Location]='Club' "));
    EXPECT_EQ(Column("Repeated Event")[2], "MP1 1- FR #0");

    // A changed rule is written as a new text.
    weekly.m_repeat.nInterval = 3;
    EXPECT_TRUE(events.WriteRecord(weekly));
    EXPECT_TRUE(m_log.Statements().back().starts_with(
        "UPDATE Main SET [Repeated Event]='W3 MO WE 20060630T00000Z' "));
    // A yearly event that moves to July repeats in July.
    yearly.m_tStartTime = PmTime(2006, 7, 14, 9, 0, 0).GetTime();
    EXPECT_TRUE(events.WriteRecord(yearly));
    EXPECT_EQ(yearly.m_szRepeatedEvent, "YM1 7 #0");
    EXPECT_EQ(Column("Repeated Event"),
              (std::vector<std::string>{"W3 MO WE 20060630T00000Z", "YM1 7 #0", "MP1 1- FR #0"}));

    // A new event gets the text of its rule.
    PmDateEx2Record fresh;
    fresh.m_tStartTime = kNewYear;
    fresh.m_tEndTime = kNewYear;
    fresh.m_szSummary = "New";
    fresh.m_repeat.nKind = 4;
    fresh.m_repeat.nInterval = 1;
    fresh.m_repeat.nDayNumber = 1;
    fresh.m_repeat.tEndDate = static_cast<std::uint32_t>(kNewYear + 86400 * 364);
    ASSERT_TRUE(list.AddRecord(fresh));
    EXPECT_TRUE(events.WriteRecord(*list.GetRecordAt(3)));
    EXPECT_EQ(Column("Repeated Event")[3], "MD1 1 20061231T00000Z");

    EXPECT_EQ(PmDateEx2Util().GetDataMgr().GetRecordCount(), 0u);
    PmDateEx2Record built;
    built.m_tStartTime = june14;
    built.m_repeat.nKind = 5;
    built.m_repeat.nInterval = 2;
    built.m_repeat.tEndDate = kPmTimeNoDate;
    PmDateEx2Util::BuildRuleText(built);
    EXPECT_EQ(built.m_szRepeatedEvent, "YM2 6 #0");
    built.m_repeat = {};
    PmDateEx2Util::ParseRuleText(built);
    EXPECT_EQ(built.m_repeat.nKind, 5u);
}

TEST_F(PmDateEx2UtilTest, ChangedKeysUpdateTheRowTheEventWasLoadedFrom) {
    AddEvent(5, kNewYear, "Dentist");
    PmDateEx2Util events;
    Load(events);
    PmDateEx2Record& event = *events.GetDataMgr().GetRecordAt(0);
    event.m_tStartTime = kNewYear + 1800;
    event.m_tEndTime = kNewYear + 5400;
    EXPECT_TRUE(events.WriteRecord(event));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Start Time]='1136075400', [End Time]='1136079000' " + kDentist);
    event.m_szSummary = "Dentist (moved)";
    EXPECT_TRUE(events.WriteRecord(event));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Summary]='Dentist (moved)' WHERE [Record ID] = 5 AND [Start "
              "Time] = '1136075400' AND [End Time] = '1136079000' AND [Summary] = 'Dentist'");
    EXPECT_EQ(m_db.Rows("SELECT [Record ID], [Start Time], [Summary] FROM Main"),
              (Rows{{"5", "1136075400", "Dentist (moved)"}}));
}

TEST_F(PmDateEx2UtilTest, NewEventsAreInsertedOnceThenUpdatedAndFailuresReported) {
    AddEvent(0, kNewYear, "Twin");
    PmDateEx2Util events;
    Load(events);
    PmDateEx2DataMgr& list = events.GetDataMgr();
    PmDateEx2Record fresh = *list.GetRecordAt(0);
    fresh.m_nStatus = 1;
    fresh.m_szCategoryName = "Nowhere";
    ASSERT_TRUE(list.AddRecord(fresh));
    PmDateEx2Record& twin = *list.GetRecordAt(1);
    // An unknown category stops the write before anything is read.
    EXPECT_FALSE(events.WriteRecord(twin));
    EXPECT_TRUE(m_log.Statements().empty());
    EXPECT_TRUE(m_log.Has(
        "The event's category Nowhere is not in the database; the event is not written."));

    // The new event shares its keys with the stored one: it is inserted all the same.
    twin.m_szCategoryName = "";
    EXPECT_TRUE(events.WriteRecord(twin));
    EXPECT_EQ(m_log.Statements(),
              std::vector<std::string>{kInsertColumns +
                                       "0, 1, 0, 0, '0', '', '1136073600', '1136077200', 0, '', "
                                       "'', 'Twin', 0, 0, 0, '', 0x00000000)"});
    twin.m_szNote = "second write";
    EXPECT_TRUE(events.WriteRecord(twin));
    EXPECT_EQ(Column("Note"), (std::vector<std::string>{"", "second write"}));

    m_db.Exec("CREATE TRIGGER keep BEFORE UPDATE ON Main BEGIN SELECT RAISE(IGNORE); END");
    twin.m_szNote = "third write";
    EXPECT_FALSE(events.WriteRecord(twin));
    EXPECT_TRUE(m_log.Messages().back().starts_with(
        "The statement changed no row of the table Main: UPDATE Main SET [Note]='third write' "));
}

TEST_F(PmDateEx2UtilTest, LoadsWithItsMessages) {
    AddEvent(5, kNewYear, "Dentist");
    PmDateEx2Util events;
    EXPECT_FALSE(events.LoadFile(""));
    EXPECT_TRUE(m_log.Messages().empty());
    EXPECT_FALSE(events.LoadFile(m_dir.File("none.mdb")));
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{
                  "Loading Palm Desktop Calendar: " + m_dir.File("none.mdb"),
                  "Open Palm Desktop Calendar database failed: " + m_dir.File("none.mdb")}));
    m_log.Clear();
    EXPECT_FALSE(events.LoadByUser(2));
    EXPECT_EQ(m_log.Messages().front(), "Start loading Palm Desktop Calendar by user ID: 2");
    m_log.Clear();
    ASSERT_TRUE(events.LoadFile(m_db.Path()));
    EXPECT_TRUE(m_log.Has("Start loading Palm Desktop Calendar main records."));
    EXPECT_TRUE(m_log.Has("Query first record in the Calendar database table successfully."));
    EXPECT_TRUE(
        m_log.Has("Failed to query the next record of the Calendar main table. Check if it is "
                  "the end of the table."));
    EXPECT_EQ(m_log.Messages().back(),
              "Loading Palm Desktop Calendar main records completed successfully.");
    EXPECT_TRUE(events.Save());
    m_db.Exec("DELETE FROM Main");
    PmDateEx2Util empty(m_db.Path());
    EXPECT_TRUE(
        m_log.Has("Failed to query the first record of the Calendar main table. Check if there "
                  "is any records in the database table."));
}

}  // namespace tabrel
