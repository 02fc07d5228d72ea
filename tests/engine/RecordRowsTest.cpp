// The record pages' lists: the row texts of loaded Palm Desktop records and of import
// records, and the record each row stands for. (The columns are checked by the pages' tests.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/AppSettings.h"
#include "engine/ConversionJob.h"
#include "engine/RecordRows.h"
#include "palm/dat/PmTime.h"
#include "support/ClassicWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr std::uint32_t kPalm6 = 60001;

// Two live tasks and a deleted one, in a classic todo.dat.
std::string WriteTasks(const TempDir& dir) {
    ClassicFile file = ClassicTodoFile();
    const auto noDate = static_cast<std::uint32_t>(kPmTimeNoDate);
    file.records = {
        ClassicTodoRecord({.id = 11}, {.description = "Taxes",
                                       .dueDate = 1136116800,  // 2006-01-01 12:00:00 UTC
                                       .completed = 1,
                                       .priority = 1}),
        ClassicTodoRecord({.id = 12},
                          {.description = "Call Ann", .dueDate = noDate, .priority = 5}),  // 5: Low
        ClassicTodoRecord({.id = 13, .status = 0x80}, {.description = "Gone", .dueDate = noDate})};
    const std::string path = dir.File("todo.dat");
    WriteFile(path, file.Build());
    return path;
}

}  // namespace

TEST(RecordRows, PalmToCsvListsTheLiveLoadedRecordsInStoreOrder) {
    TempDir dir;
    ConversionJob job(kPalm6);
    job.m_nApp = AppTasks;
    ASSERT_TRUE(job.Todo().LoadByFile(WriteTasks(dir)));
    EXPECT_EQ(RecordRowTexts(job, AppTasks, ModePalmToCsv),
              (Rows{{"Taxes", "01/01/2006", "High", "Yes"}, {"Call Ann", "N/A", "Low", "No"}}));
    ASSERT_NE(ListedTaskRecord(job, ModePalmToCsv, 1), nullptr);
    EXPECT_EQ(ListedTaskRecord(job, ModePalmToCsv, 1)->m_szSubject, "Call Ann");
    EXPECT_EQ(ListedTaskRecord(job, ModePalmToCsv, 2), nullptr);
    // The import list is not what this direction lists.
    EXPECT_TRUE(RecordRowTexts(job, AppTasks, ModeCsvToPalm).empty());
    EXPECT_EQ(ListedTaskRecord(job, ModeCsvToPalm, 0), nullptr);
}

TEST(RecordRows, NothingLoadedListsNothing) {
    ConversionJob job(kPalm6);
    for (const int app : {AppContacts, AppCalendar, AppTasks, AppMemos}) {
        EXPECT_TRUE(RecordRowTexts(job, app, ModePalmToCsv).empty()) << app;
    }
    EXPECT_EQ(ListedAddrRecord(job, ModePalmToCsv, 0), nullptr);
    EXPECT_EQ(ListedDateRecord(job, ModePalmToCsv, 0), nullptr);
    EXPECT_EQ(ListedNoteRecord(job, ModePalmToCsv, 0), nullptr);
}

TEST(RecordRows, CsvToPalmListsTheImportRecordsInFileOrder) {
    ConversionJob job(kPalm6);
    CommAddrRec title;
    title.m_szFirstName = "First Name";
    title.m_szLastName = "Last Name";
    title.m_szEmail = "Email";
    CommAddrRec ann;
    ann.m_szFirstName = "Ann";
    ann.m_szWorkPhone = "555-0101";
    ann.m_szHomePhone = "555-0102";
    ann.m_szMobilePhone = "555-0103";
    ann.m_szCompany = "Acme";
    ann.m_szTitle = "Boss";
    job.AddrImports() = {title, ann};
    EXPECT_EQ(RecordRowTexts(job, AppContacts, ModeCsvToPalm),
              (Rows{{"First Name", "Last Name", "Email", "", "", "", "", ""},
                    {"Ann", "", "", "555-0101", "555-0102", "555-0103", "Acme", "Boss"}}));
    EXPECT_EQ(ListedAddrRecord(job, ModeCsvToPalm, 1), &job.AddrImports()[1]);
    EXPECT_EQ(ListedAddrRecord(job, ModeCsvToPalm, 2), nullptr);

    CommDateRec event;
    event.m_szDescription = "Meeting";
    event.m_start = {.year = 2006, .month = 1, .day = 2, .hour = 9};
    event.m_end = {.year = 2006, .month = 1, .day = 2, .hour = 10, .minute = 30};
    job.DateImports() = {event};
    EXPECT_EQ(RecordRowTexts(job, AppCalendar, ModeCsvToPalm),
              (Rows{{"Meeting", "01/02/2006", "09:00:00", "10:30:00"}}));
    EXPECT_EQ(ListedDateRecord(job, ModeCsvToPalm, 0), &job.DateImports()[0]);
}

TEST(RecordRows, AMemoCellKeepsAtMost1023Characters) {
    ConversionJob job(kPalm6);
    CommNoteRec memo;
    memo.m_szNote = std::string(2000, 'm');
    job.NoteImports() = {memo};
    const Rows rows = RecordRowTexts(job, AppMemos, ModeCsvToPalm);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{std::string(1023, 'm')}));
    EXPECT_EQ(ListedNoteRecord(job, ModeCsvToPalm, 0)->m_szNote.size(), 2000u);
}

}  // namespace tabrel
