// The Calendar facade over the three generations: telling a file's generation, loading,
// the catalogues, Palm records into common records and back, imports (equal, matching,
// new), the carried fields of an update, saving and loading again.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/dat/PmTime.h"
#include "palm/unified/PmDateInfo.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/PmDateInfoTestFiles.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;
using namespace test::dateinfo;

namespace {

struct CatalogueRow {
    std::int32_t id;
    const char* name;
    std::int32_t type;
    std::int32_t length;
};

const std::vector<CatalogueRow>& ExpectedCatalogue(PmDataVersion version) {
    static const std::vector<CatalogueRow> classic = {
        {3, "Start Time", 3, 4}, {4, "End Time", 3, 4}, {5, "Description", 5, 512},
        {7, "Note", 5, 512},     {8, "Untimed", 6, 4},  {14, "Repeat Info", 5, 256}};
    static const std::vector<CatalogueRow> ex = {
        {13, "Start Time", 3, 4},   {14, "End Time", 3, 4},   {15, "Description", 5, 512},
        {17, "Note", 5, 512},       {23, "Location", 5, 256}, {18, "All Day Event", 6, 4},
        {22, "Repeat Info", 5, 256}};
    static const std::vector<CatalogueRow> ex2 = {
        {3, "Private", 6, 4},    {4, "Category", 5, 256}, {6, "Start Time", 3, 4},
        {7, "End Time", 3, 4},   {5, "Note", 5, 2048},    {10, "Location", 5, 256},
        {11, "Summary", 5, 256}, {8, "Untimed", 6, 4},    {15, "Repeat Info", 5, 256}};
    static const std::vector<CatalogueRow> none;
    switch (version) {
        case PM_DATA_CLASSIC:
            return classic;
        case PM_DATA_EX:
            return ex;
        case PM_DATA_EX2:
            return ex2;
        default:
            return none;
    }
}

}  // namespace

TEST(PmDateInfo, CataloguesOfEveryGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        EXPECT_EQ(dates.GetFieldCount(), 0u);
        EXPECT_FALSE(dates.GetFieldAt(0));
        EXPECT_FALSE(dates.GetFieldById(ExpectedCatalogue(generation.version)[0].id));
        // A classic file loads by file whatever the installed generation.
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));
        EXPECT_EQ(dates.GetLoadedVersion(), generation.version);

        const std::vector<CatalogueRow>& expected = ExpectedCatalogue(generation.version);
        ASSERT_EQ(dates.GetFieldCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].name);
            const FieldDescriptor row = *dates.GetFieldAt(i);
            EXPECT_EQ(row.m_nId, expected[i].id);
            EXPECT_EQ(row.m_nKind, 0);
            EXPECT_EQ(row.m_szName, expected[i].name);
            EXPECT_EQ(row.m_nType, expected[i].type);
            EXPECT_EQ(row.m_nLength, expected[i].length);
            EXPECT_EQ(row.m_nValueSource, ValueSourceNone);
            EXPECT_EQ(dates.GetFieldById(expected[i].id), row);
        }
        EXPECT_FALSE(dates.GetFieldAt(expected.size()));
        EXPECT_FALSE(dates.GetFieldById(99));
        EXPECT_EQ(dates.GetFieldAt(expected.size() - 1)->m_szName, "Repeat Info");
        dates.Reset();
        EXPECT_EQ(dates.GetFieldCount(), 0u);
    }
}

TEST(PmDateInfo, TellsTheGenerationOfAFile) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmDateInfo dates(kPalm6);
    EXPECT_EQ(dates.CheckFileVersion(WriteClassic(dir, "a.dat")), PM_DATA_CLASSIC);
    EXPECT_EQ(dates.CheckFileVersion(WriteEx(dir, "b.DAT")), PM_DATA_EX);
    EXPECT_EQ(dates.CheckFileVersion(WriteEx2(dir, "c.Mdb")), PM_DATA_EX2);
    EXPECT_EQ(dates.GetLoadedVersion(), PM_DATA_NONE);

    WriteFile(dir.File("junk.dat"), Bytes(64, 0x5A));
    LogCapture log;
    // A missing path answers "none" at once and logs nothing.
    EXPECT_EQ(dates.CheckFileVersion(""), PM_DATA_NONE);
    EXPECT_TRUE(log.Tagged().empty());
    EXPECT_EQ(dates.CheckFileVersion(dir.File("junk.dat")), PM_DATA_INVALID);
    EXPECT_EQ(dates.CheckFileVersion(dir.File("b.txt")), PM_DATA_INVALID);
    const std::string junk = dir.File("junk.dat");
    EXPECT_TRUE(
        log.HasInOrder({"P Check Palm Desktop Calendar file version, file: " + junk,
                        "E Failed to check Palm Desktop Calendar file type: (" + junk + ")"}));
    log.Clear();
    dates.CheckFileVersion(dir.File("a.dat"));
    dates.CheckFileVersion(dir.File("b.DAT"));
    dates.CheckFileVersion(dir.File("c.Mdb"));
    EXPECT_TRUE(log.HasInOrder({"P Check Palm Desktop Calendar file type: (" + dir.File("a.dat") +
                                    ") - Palm Desktop 4.1 or earlier",
                                "P Check Palm Desktop Calendar file type: (" + dir.File("b.DAT") +
                                    ") - Palm Desktop 4.1.x",
                                "P Check Palm Desktop Calendar file type: (" + dir.File("c.Mdb") +
                                    ") - Palm Desktop 6.x"}));
}

TEST(PmDateInfo, LoadLinesAndInstalledVersions) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = WriteClassic(dir);
    {
        PmDateInfo dates(40104);
        LogCapture log;
        ASSERT_TRUE(dates.LoadByFile(path));
        // The Calendar facade logs no line of its own when a load by file starts.
        const std::vector<std::string> messages = log.Tagged();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.front(), "P .dat file, try Palm Desktop 4.1.4 database loader.");
        log.Clear();
        EXPECT_FALSE(dates.LoadByFile(""));
        EXPECT_EQ(dates.GetLoadedVersion(), PM_DATA_INVALID);
        EXPECT_EQ(dates.GetItemCount(), 0u);
        EXPECT_EQ(log.Tagged(),
                  (std::vector<std::string>{"E Failed to load Palm Desktop Calendar data file: "}));
        log.Clear();
        EXPECT_FALSE(dates.Save());
        EXPECT_EQ(log.Tagged(), (std::vector<std::string>{"E Unknown Palm Desktop version."}));
    }
    EXPECT_EQ(PmDateInfo(0xFFFFFFFF).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmDateInfo(60000).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmDateInfo(59999).GetInstalledVersion(), PM_DATA_EX);
    EXPECT_EQ(PmDateInfo(40102).GetInstalledVersion(), PM_DATA_EX);
    EXPECT_EQ(PmDateInfo(40101).GetInstalledVersion(), PM_DATA_CLASSIC);
    // Below 3.5.0 Calendar still takes the classic files.
    LogCapture log;
    PmDateInfo old(30499);
    EXPECT_EQ(old.GetInstalledVersion(), PM_DATA_CLASSIC);
    EXPECT_FALSE(old.LoadByUser(7));
    EXPECT_EQ(old.GetLoadedVersion(), PM_DATA_NONE);
    EXPECT_TRUE(
        log.HasInOrder({"P Palm Desktop Version: 30499", "P Load Palm Desktop Calendar by user: 7",
                        "E Failed to open Palm Desktop Calendar database by User: 7"}));
}

TEST(PmDateInfo, LoadedEventsBecomeCommonRecords) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));
        // The deleted event is in neither list.
        ASSERT_EQ(dates.GetItemCount(), 2u);
        ASSERT_EQ(dates.GetCommMgr().GetCount(), 2u);

        const CommDateRec& meeting = *dates.GetCommMgr().GetAt(0);
        EXPECT_EQ(dates.GetItemAt(0)->m_pCommon, &meeting);
        EXPECT_EQ(meeting.m_source.m_nSourceType, kCommSourcePalm);
        EXPECT_EQ(meeting.m_szDescription, "Meeting");
        EXPECT_EQ(meeting.m_szNote, "Agenda\r\nitems");
        EXPECT_EQ(meeting.m_szLocation, generation.hasLocation ? "Room 1" : "");
        EXPECT_EQ(meeting.m_bAllDay, 0);
        EXPECT_EQ(Clock(meeting.m_start), "2006-01-02 09:00:00");
        EXPECT_EQ(Clock(meeting.m_end), "2006-01-02 10:00:00");
        EXPECT_EQ(meeting.m_bAlarm, 1);
        EXPECT_EQ(meeting.m_bAlarmSet, 1);
        EXPECT_EQ(meeting.m_nAlarmAdvance, 15);
        EXPECT_EQ(meeting.m_nAlarmUnit, 2);  // Palm unit 1, hours
        EXPECT_EQ(meeting.m_repeat.m_nKind, kCommRepeatWeekly);
        EXPECT_EQ(meeting.m_repeat.m_nInterval, 2);
        EXPECT_EQ(meeting.m_repeat.m_nWeekday, 0x2A);
        EXPECT_EQ(meeting.m_repeat.m_nWeekOfMonth, 1);
        EXPECT_EQ(meeting.m_repeat.m_bHasEnd, 0);
        // Private and category are not carried into common records.
        EXPECT_EQ(meeting.m_bPrivate, 0);
        EXPECT_EQ(meeting.m_szCategory, "");

        const CommDateRec& birthday = *dates.GetCommMgr().GetAt(1);
        EXPECT_EQ(birthday.m_bAllDay, 1);
        EXPECT_EQ(birthday.m_bAlarm, 0);
        EXPECT_EQ(birthday.m_bAlarmSet, 0);
        EXPECT_EQ(birthday.m_nAlarmUnit, 0);
        EXPECT_EQ(Clock(birthday.m_start), "2006-05-21 00:00:00");
        EXPECT_EQ(Clock(birthday.m_end), Clock(NoDateFields()));
        EXPECT_EQ(birthday.m_repeat.m_nKind, kCommRepeatYearlyByDate);
        EXPECT_EQ(birthday.m_repeat.m_nInterval, 1);
        EXPECT_EQ(birthday.m_repeat.m_nDayOfMonth, 21);
        EXPECT_EQ(birthday.m_repeat.m_nMonth, 5);
    }
}

TEST(PmDateInfo, ImportedEventBecomesAPalmRecord) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        EXPECT_FALSE(dates.AddImportRecord(CommDateRec{}));  // nothing loaded
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));

        CommDateRec event{};
        event.m_szDescription = std::string(300, 'd');
        event.m_szNote = std::string(600, 'n');
        event.m_szLocation = "Harbour";
        event.m_bAllDay = 1;
        event.m_bPrivate = 1;
        ASSERT_TRUE(PmTimeToFields(Time(2006, 3, 1, 7, 0), event.m_start));
        ASSERT_TRUE(PmTimeToFields(Time(2006, 3, 1, 8, 0), event.m_end));
        event.m_bAlarm = 1;
        event.m_bAlarmSet = 1;
        event.m_nAlarmAdvance = 2;
        event.m_nAlarmUnit = 3;  // days
        event.m_repeat.m_nKind = kCommRepeatMonthlyByDate;
        event.m_repeat.m_nInterval = 3;
        event.m_repeat.m_nDayOfMonth = 1;
        event.m_szCategory = "Work,Home";
        ASSERT_TRUE(dates.AddImportRecord(event));

        ASSERT_EQ(dates.GetItemCount(), 3u);
        const PalmEvent palm = ViewOf(*dates.GetItemAt(2));
        const std::size_t descriptionMax = generation.version == PM_DATA_CLASSIC ? 511 : 255;
        EXPECT_EQ(palm.description, std::string(std::min<std::size_t>(300, descriptionMax), 'd'));
        EXPECT_EQ(palm.note, std::string(generation.version == PM_DATA_CLASSIC ? 511 : 600, 'n'));
        EXPECT_EQ(palm.location, generation.hasLocation ? "Harbour" : "");
        EXPECT_EQ(palm.allDay, 1);
        EXPECT_EQ(palm.isPrivate, 1);
        EXPECT_EQ(palm.start, Time(2006, 3, 1, 7, 0));
        EXPECT_EQ(palm.end, Time(2006, 3, 1, 8, 0));
        EXPECT_EQ(palm.alarm, 1);
        EXPECT_EQ(palm.advance, 2);
        EXPECT_EQ(palm.unit, 2);
        EXPECT_EQ(palm.repeat.nKind, 4u);
        EXPECT_EQ(palm.repeat.nInterval, 3u);
        EXPECT_EQ(palm.repeat.nDayNumber, 1u);
        EXPECT_EQ(palm.repeat.tEndDate, kNoEnd);
        EXPECT_EQ(palm.categoryId, 1);
        EXPECT_EQ(palm.categoryName, "Work");
        EXPECT_EQ(palm.status & 0x01, 0x01u);
        if (const PmDateEx2Record* ex2 = dates.GetItemAt(2)->Ex2()) {
            EXPECT_EQ(ex2->m_szStartTime, std::to_string(Time(2006, 3, 1, 7, 0)));
            EXPECT_EQ(ex2->m_szRepeatedEvent, "MD3 1 #0");
        }

        // An alarm without its set flag, and an event without a repetition.
        event.m_szDescription = "Quiet";
        event.m_bAlarmSet = 0;
        event.m_repeat = CommRepeat{};
        event.m_szCategory = "Travel";
        ASSERT_TRUE(dates.AddImportRecord(event));
        const PalmEvent quiet = ViewOf(*dates.GetItemAt(3));
        EXPECT_EQ(quiet.alarm, 0);
        EXPECT_EQ(quiet.advance, 0);
        EXPECT_EQ(quiet.unit, 0);
        EXPECT_EQ(quiet.repeat, PmRepeatEvent{});
        EXPECT_EQ(quiet.categoryName, "Travel");
        EXPECT_GT(quiet.categoryId, 1);
    }
}

TEST(PmDateInfo, UpdateTakesOnlyTheCarriedFields) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));

        // The meeting again, an hour later, from a CSV line with an empty note and another
        // location: the key fields agree, so it updates the meeting.
        CommDateRec event = ImportOf(dates, {{generation.descriptionRow, "Meeting"},
                                             {"Start Time", "01/02/2006 10:00:00"},
                                             {"End Time", "01/02/2006 11:00:00"},
                                             {"Note", ""},
                                             {generation.allDayRow, "No"}});
        event.m_szLocation = "Room 2";
        const CommFieldSet carried = dates.GetCarriedFields(Rows(dates));
        EXPECT_FALSE(carried.contains(CommDateId::kPrivate));
        EXPECT_FALSE(carried.contains(CommDateId::kAlarm));
        EXPECT_FALSE(carried.contains(CommDateId::kRepeat));
        ASSERT_TRUE(dates.AddImportRecord(event, carried));
        ASSERT_EQ(dates.GetItemCount(), 2u);

        PalmEvent palm = ViewOf(*dates.GetItemAt(0));
        EXPECT_EQ(palm.start, Time(2006, 1, 2, 10, 0));
        EXPECT_EQ(palm.end, Time(2006, 1, 2, 11, 0));
        EXPECT_EQ(palm.note, "Agenda\r\nitems");  // an empty text erases nothing
        EXPECT_EQ(palm.location, generation.hasLocation ? "Room 2" : "");
        // Not carried: private flag, alarm, repeat rule and category stay.
        EXPECT_EQ(palm.isPrivate, 1);
        EXPECT_EQ(palm.alarm, 1);
        EXPECT_EQ(palm.advance, 15);
        EXPECT_EQ(palm.unit, 1);
        EXPECT_EQ(palm.repeat.nKind, 2u);
        EXPECT_EQ(palm.repeat.byDaysMask, 0x2A);
        EXPECT_EQ(palm.categoryId, 1);
        EXPECT_EQ(palm.status & 0x02, 0x02u);
        const CommDateRec& stored = *dates.GetCommMgr().GetAt(0);
        EXPECT_EQ(stored.m_szNote, "Agenda\r\nitems");
        EXPECT_EQ(stored.m_bAlarm, 1);
        EXPECT_EQ(Clock(stored.m_start), "2006-01-02 10:00:00");
        if (const PmDateEx2Record* ex2 = dates.GetItemAt(0)->Ex2()) {
            EXPECT_EQ(ex2->m_szRepeatedEvent, "W2 MO WE FR #0");  // the stored text stays
        }

        // Carrying everything (no list) takes the private flag, alarm and repeat rule too.
        event.m_szLocation = "Room 3";
        ASSERT_TRUE(dates.AddImportRecord(event));
        palm = ViewOf(*dates.GetItemAt(0));
        EXPECT_EQ(palm.isPrivate, 0);
        EXPECT_EQ(palm.alarm, 0);
        EXPECT_EQ(palm.advance, 0);
        EXPECT_EQ(palm.repeat, PmRepeatEvent{});
        EXPECT_EQ(palm.categoryId, 1);  // an empty category keeps the record's
        if (const PmDateEx2Record* ex2 = dates.GetItemAt(0)->Ex2()) {
            EXPECT_EQ(ex2->m_szRepeatedEvent, "");
        }
    }
}

// Load, import one equal, one matching and one new event, save, load again.
TEST(PmDateInfo, ImportsAndSavesInEveryGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        const std::string path = generation.write(dir, generation.fileName);
        {
            PmDateInfo dates(kPalm6);
            ASSERT_TRUE(dates.LoadByFile(path));
            const std::vector<FieldDescriptor> rows = Rows(dates);
            const CommFieldSet carried = dates.GetCarriedFields(rows);

            // The birthday as it exports: equal, nothing happens.
            std::vector<std::pair<std::string, std::string>> line;
            for (const FieldDescriptor& row : rows) {
                line.emplace_back(row.m_szName, TextOf(dates, 1, row.m_szName));
            }
            EXPECT_FALSE(dates.AddImportRecord(ImportOf(dates, line), carried));

            // The meeting moved by half an hour with a new note: matching.
            CommDateRec meeting = ImportOf(dates, {{generation.descriptionRow, "Meeting"},
                                                   {"Start Time", "01/02/2006 09:30:00"},
                                                   {"End Time", "01/02/2006 10:30:00"},
                                                   {"Note", "Agenda v2"},
                                                   {generation.allDayRow, "No"}});
            meeting.m_szLocation = "Room 2";  // classic files have no location row
            EXPECT_TRUE(dates.AddImportRecord(meeting, carried));

            // A new event.
            CommDateRec dinner = ImportOf(dates, {{generation.descriptionRow, "Dinner"},
                                                  {"Start Time", "02/01/2006 19:00:00"},
                                                  {"End Time", "N/A"},
                                                  {generation.allDayRow, "no"}});
            dinner.m_szCategory = "Travel";
            EXPECT_TRUE(dates.AddImportRecord(dinner, carried));
            EXPECT_EQ(dates.GetItemCount(), 3u);
            EXPECT_EQ(dates.GetCommMgr().GetCount(), 3u);
            ASSERT_TRUE(dates.Save());
        }
        PmDateInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        ASSERT_EQ(again.GetItemCount(), 3u);
        EXPECT_EQ(ColumnOf(again, generation.descriptionRow),
                  (std::vector<std::string>{"Meeting", "Birthday", "Dinner"}));
        EXPECT_EQ(ColumnOf(again, "Start Time"),
                  (std::vector<std::string>{"01/02/2006 09:30:00", "05/21/2006 00:00:00",
                                            "02/01/2006 19:00:00"}));
        EXPECT_EQ(ColumnOf(again, "End Time"),
                  (std::vector<std::string>{"01/02/2006 10:30:00", "N/A", "N/A"}));
        EXPECT_EQ(ColumnOf(again, "Note"), (std::vector<std::string>{"Agenda v2", "", ""}));
        EXPECT_EQ(
            ColumnOf(again, "Repeat Info"),
            (std::vector<std::string>{"Weekly (every 2 weeks)", "Yearly by date (21/04)", "N/A"}));
        if (generation.hasLocation) {
            EXPECT_EQ(ColumnOf(again, "Location"), (std::vector<std::string>{"Room 2", "", ""}));
        }
        const PalmEvent meeting = ViewOf(*again.GetItemAt(0));
        EXPECT_EQ(meeting.status & 0x02, 0x02u);
        EXPECT_EQ(meeting.isPrivate, 1);
        EXPECT_EQ(meeting.alarm, 1);
        EXPECT_EQ(meeting.advance, 15);
        EXPECT_EQ(meeting.categoryId, 1);
        const PalmEvent dinner = ViewOf(*again.GetItemAt(2));
        EXPECT_EQ(dinner.status & 0x01, 0x01u);
        EXPECT_EQ(dinner.end, kPmTimeNoDate);
        EXPECT_GT(dinner.categoryId, 1);
        if (generation.version == PM_DATA_CLASSIC) {
            EXPECT_EQ(again.GetItemAt(2)->Classic()->m_dwPlacement, 0x7FFFFFFFu);
        } else if (generation.version == PM_DATA_EX) {
            const PmDateExRecord& ex = *again.GetItemAt(2)->Ex();
            EXPECT_EQ(ex.m_dwRecordNumber, 4096u + 3u);
            EXPECT_EQ(ex.m_dwField3, 3u * 27u);
            EXPECT_EQ(ex.m_dwPlacement, 0x7FFFFFFFu);
            EXPECT_EQ(ex.m_szCategory, "Travel");
        } else {
            const PmDateEx2Record& ex2 = *again.GetItemAt(2)->Ex2();
            EXPECT_EQ(ex2.m_nPlacement, 0x7FFFFFFF);
            EXPECT_EQ(ex2.m_szCategoryName, "Travel");
            // The rows reached the database during the import: exactly three live events
            // and the deleted one.
            EXPECT_EQ(Db6xWriter::Attach(path).Rows("SELECT COUNT(*) FROM Main"),
                      (std::vector<std::vector<std::string>>{{"4"}}));
        }
    }
}

TEST(PmDateInfo, Ex2MonthlyByWeekdayKeepsItsWeekday) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = dir.File("DateBook.mdb");
    {
        Db6xWriter db(path, kDateColumns);
        db.InsertZeroRow(kDateColumns,
                         {{"Record ID", "5"},
                          {"Start Time", "'" + std::to_string(Time(2006, 1, 13, 8, 0)) + "'"},
                          {"End Time", "'" + std::to_string(Time(2006, 1, 13, 9, 0)) + "'"},
                          {"Summary", "'Review'"},
                          {"Repeated Event", "'MP1 3+ FR #0'"}});
    }
    PmDateInfo dates(kPalm6);
    ASSERT_TRUE(dates.LoadByFile(path));
    const CommRepeat& review = dates.GetCommMgr().GetAt(0)->m_repeat;
    EXPECT_EQ(review.m_nKind, kCommRepeatMonthlyByWeekday);
    EXPECT_EQ(review.m_nWeekday, 5);  // Friday
    EXPECT_EQ(review.m_nWeekOfMonth, 2);

    CommDateRec event{};
    event.m_szDescription = "Board";
    ASSERT_TRUE(PmTimeToFields(Time(2006, 2, 7, 8, 0), event.m_start));
    event.m_end = event.m_start;
    event.m_repeat.m_nKind = kCommRepeatMonthlyByWeekday;
    event.m_repeat.m_nInterval = 1;
    event.m_repeat.m_nWeekday = 2;  // Tuesday
    event.m_repeat.m_nWeekOfMonth = 1;
    ASSERT_TRUE(dates.AddImportRecord(event));
    const PmDateEx2Record& board = *dates.GetItemAt(1)->Ex2();
    EXPECT_EQ(board.m_repeat.byDaysMask, 0x04);
    EXPECT_EQ(board.m_repeat.nDayIndex, 0u);
    EXPECT_EQ(board.m_szRepeatedEvent, "MP1 2+ TU #0");
    EXPECT_EQ(Db6xWriter::Attach(path).Rows(
                  "SELECT [Repeated Event] FROM Main WHERE [Summary] = 'Board'"),
              (std::vector<std::vector<std::string>>{{"MP1 2+ TU #0"}}));
}

TEST(PmDateInfo, AFailedDatabaseWriteChangesNothing) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = WriteEx2(dir);
    PmDateInfo dates(kPalm6);
    ASSERT_TRUE(dates.LoadByFile(path));
    Db6xWriter::Attach(path).Exec("DROP TABLE Main");
    CommDateRec meeting = *dates.GetCommMgr().GetAt(0);
    meeting.m_source = CommSource{};
    meeting.m_szLocation = "Elsewhere";
    EXPECT_FALSE(dates.AddImportRecord(meeting));
    CommDateRec fresh = meeting;
    fresh.m_szDescription = "Fresh";
    EXPECT_FALSE(dates.AddImportRecord(fresh));
    EXPECT_EQ(dates.GetItemCount(), 2u);
    EXPECT_EQ(dates.GetCommMgr().GetCount(), 2u);
    EXPECT_EQ(dates.GetCommMgr().GetAt(0)->m_szLocation, "Room 1");
    EXPECT_EQ(TextOf(dates, 0, "Location"), "Room 1");
}

}  // namespace tabrel
