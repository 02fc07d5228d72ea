#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "palm/dat/PmTime.h"
#include "palm/palmsg/PmTodoExUtil.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::Bytes;
using test::PalmSgFields;
using test::PalmSgHeader;
using test::PalmSgValues;

namespace {

constexpr auto kNoDate = static_cast<std::uint32_t>(kPmTimeNoDate);

// Values after the header: 0x2000 + index for 4-byte fields, "t<index>" for texts; the due
// date (14), the completed flag (15), the description and the note are given.
PalmSgValues Values(std::uint32_t due, std::uint32_t completed, const std::string& description,
                    const std::string& note) {
    PalmSgValues values;
    values.value = [=](std::size_t i) {
        return i == 14 ? due : i == 15 ? completed : static_cast<std::uint32_t>(0x2000 + i);
    };
    values.text = [=](std::size_t i) {
        return i == 13 ? description : i == 17 ? note : "t" + std::to_string(i);
    };
    return values;
}

// The record Values() describes, as the loader should hold it.
PmTodoExRecord Expected(std::uint32_t due, std::uint32_t completed, const std::string& description,
                        const std::string& note) {
    PmTodoExRecord r;
    r.m_szField11 = "t11";
    r.m_szField12 = "t12";
    r.m_szDescription = description;
    r.m_tDueDate = due;
    r.m_bCompleted = completed;
    r.m_dwPriority = 0x2010;
    r.m_szNote = note;
    r.m_bField18 = 0x2012;
    r.m_tField19 = 0x2013;
    r.m_bField20 = 0x2014;
    r.m_tField21 = 0x2015;
    r.m_dwField22 = 0x2016;
    r.m_tField23 = 0x2017;
    for (std::uint32_t i = 0; i < 4; ++i) {
        r.m_blocks[i].m_dwType = 64 + i;
    }
    return r;
}

PalmSgHeader Header(std::uint32_t id, std::uint32_t number, std::uint32_t status,
                    std::uint32_t category, std::uint32_t privateCode = 6) {
    PalmSgHeader header;
    header.id = id;
    header.number = number;
    header.status = status;
    header.field3 = number * 3;
    header.placement = id + 100;
    header.category = category;
    header.isPrivate = 1;
    header.privateCode = privateCode;
    return header;
}

// Monthly on the second Tuesday, with three exception dates.
test::PalmSgRepeat MonthlyRepeat() {
    test::PalmSgRepeat repeat = test::NamedRepeat("CDayOfMonth", {3, 1, 1100000000, 1},
                                                  test::ByteWriter().U32(2).U32(1).Get());
    repeat.exceptions = {1000, 2000, 3000};
    return repeat;
}

// A kind this system has no class for, under its own class name.
test::PalmSgRepeat FutureRepeat() {
    return test::NamedRepeat("CFuture", {7, 4, kNoDate, 2});
}

// A todo.dat with the category "Errands" (ID 3) and two tasks: the first completed, with
// no due date, a note above 8191 bytes and a monthly repeat with exception dates; the
// second in an unknown category, with values under unusual codes and a repeat of a kind
// above 6. Reserved block 1 already holds the record count.
test::PalmSgFile TwoTasks() {
    test::PalmSgFile file = test::ToDoFile();
    file.categories = {{2, 3, 0, "Errands", "Errands"}};
    file.reserved1[12] = 2;
    file.records.push_back(test::ToDoRecord(Header(21, 4096, 0, 3),
                                            Values(kNoDate, 1, "Pay bills", std::string(9000, 'n')),
                                            test::RepeatField(MonthlyRepeat())));
    std::vector<std::uint16_t> oddCodes = test::ToDoCodes();
    oddCodes[14] = 1;  // the due date under the integer code
    oddCodes[15] = 3;
    oddCodes[22] = 6;
    file.records.push_back(test::ToDoRecord(Header(22, 4097, 0x02, 42),
                                            Values(1100000000, 0, std::string(400, 'd'), "note"),
                                            test::RepeatField(FutureRepeat()), oddCodes));
    return file;
}

// Where two byte strings first differ, for readable failures ("same" when they do not).
std::string FirstDifference(const Bytes& actual, const Bytes& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end()) {
        return "same";
    }
    return "sizes " + std::to_string(actual.size()) + "/" + std::to_string(expected.size()) +
           ", first difference at " + std::to_string(a - actual.begin());
}

struct Loaded {
    explicit Loaded(const Bytes& bytes) : path(dir.File("todo.dat")) {
        test::WriteFile(path, bytes);
    }
    test::TempDir dir;
    std::string path;
    PmTodoExUtil db;
};

}  // namespace

TEST(PmTodoEx, LoadsEveryFieldOfEveryRecord) {
    test::ScopedLogFolder log;
    Loaded file(TwoTasks().Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmTodoExDataMgr& records = file.db.GetDataMgr();
    ASSERT_EQ(records.GetRecordCount(), 2u);

    PmTodoExRecord first = Expected(kNoDate, 1, "Pay bills", std::string(8191, 'n'));
    first.m_dwRecordId = 21;
    first.m_dwRecordNumber = 4096;
    first.m_dwField3 = 4096 * 3;
    first.m_dwPlacement = 121;
    first.m_dwCategoryId = 3;
    first.m_dwPrivate = 1;
    first.m_szCategory = "Errands";
    first.m_repeat.nKind = 3;
    first.m_repeat.nInterval = 1;
    first.m_repeat.tEndDate = 1100000000;
    first.m_repeat.nFirstDayOfWeek = 1;
    first.m_repeat.nDayIndex = 2;
    first.m_repeat.nWeekIndex = 1;
    first.m_repeat.exceptionDates = {1000, 2000, 3000};
    first.m_repeat.className = "CDayOfMonth";
    first.m_wholeTexts = {{17, std::string(9000, 'n')}};  // stored longer than kept
    EXPECT_EQ(*records.GetRecordAt(0), first);

    PmTodoExRecord second = Expected(1100000000, 0, std::string(255, 'd'), "note");
    second.m_dwRecordId = 22;
    second.m_dwRecordNumber = 4097;
    second.m_dwStatus = 0x02;
    second.m_dwField3 = 4097 * 3;
    second.m_dwPlacement = 122;
    second.m_dwCategoryId = 42;  // no such category: no name
    second.m_dwPrivate = 1;
    second.m_repeat.nKind = 7;
    second.m_repeat.nInterval = 4;
    second.m_repeat.tEndDate = kNoDate;
    second.m_repeat.nFirstDayOfWeek = 2;
    second.m_repeat.className = "CFuture";
    second.m_wholeTexts = {{13, std::string(400, 'd')}};
    EXPECT_EQ(*records.GetRecordAt(1), second);
}

TEST(PmTodoEx, LoadAndSaveGiveBackIdenticalBytes) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoTasks();
    source.trailing = {1, 2, 3, 4, 5};
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    ASSERT_TRUE(file.db.Save());
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");
}

// Changed tasks are written from their fields with this system's codes: the "no due date"
// value, the completed flag under code 6, the exception dates, the unknown repeat kind and
// the unchanged texts stored longer than their fields all come back.
TEST(PmTodoEx, ChangedRecordsAreWrittenFromTheirFields) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoTasks();
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    for (std::size_t i = 0; i < 2; ++i) {
        PmTodoExRecord changed = *file.db.GetDataMgr().GetRecordAt(i);
        changed.m_dwPriority = 1;
        ASSERT_TRUE(file.db.ChangeRecord(i, changed));
    }
    ASSERT_TRUE(file.db.Save());

    PalmSgFields first = test::HeaderFields(Header(21, 4096, 0x02, 3, 1));
    first.Text("t11").Text("t12").Text("Pay bills").Date(kNoDate).Boolean(1).Integer(1);
    first.Text(std::string(9000, 'n')).Boolean(0x2012).Date(0x2013).Boolean(0x2014);
    first.Date(0x2015).Integer(0x2016).Date(0x2017).Raw(test::RepeatField(MonthlyRepeat()));
    PalmSgFields second = test::HeaderFields(Header(22, 4097, 0x02, 42, 1));
    second.Text("t11").Text("t12").Text(std::string(400, 'd')).Date(1100000000).Boolean(0);
    second.Integer(1).Text("note").Boolean(0x2012).Date(0x2013).Boolean(0x2014);
    second.Date(0x2015).Integer(0x2016).Date(0x2017).Raw(test::RepeatField(FutureRepeat()));
    ASSERT_EQ(first.Count(), 25u);
    ASSERT_EQ(second.Count(), 25u);
    source.records = {first.Get(), second.Get()};
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");

    PmTodoExUtil reloaded(file.path);
    ASSERT_TRUE(reloaded.IsLoaded());
    EXPECT_EQ(reloaded.GetDataMgr().GetRecordAt(1)->m_repeat.nKind, 7u);
    EXPECT_EQ(reloaded.GetDataMgr().GetRecordAt(0)->m_repeat.exceptionDates.size(), 3u);
}

TEST(PmTodoEx, NewRecordsAreStampedAndCountedInReservedBlock1) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoTasks();
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmTodoExRecord added;
    added.m_szDescription = "Buy milk";
    added.m_tDueDate = kNoDate;
    added.m_dwPriority = 2;
    added.m_bField20 = 1;
    ASSERT_TRUE(file.db.AddNewRecord(added));
    const PmTodoExRecord& stamped = *file.db.GetDataMgr().GetRecordAt(2);
    EXPECT_EQ(stamped.m_dwRecordNumber, 4098u);
    EXPECT_EQ(stamped.m_dwStatus, 0x01u);
    EXPECT_EQ(stamped.m_dwField3, 2u * 25);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    ASSERT_TRUE(file.db.Save());

    source.reserved1[12] = 0x03;
    source.reserved1[13] = 0x10;
    PalmSgHeader header = Header(0, 4098, 0x01, 0, 1);
    header.field3 = 50;
    header.placement = 0x7FFFFFFF;
    header.isPrivate = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        header.blocks[i] = PalmSgFields().Block(64 + i).Get();  // the schema's block codes
    }
    PalmSgFields fields = test::HeaderFields(header);
    fields.Text("").Text("").Text("Buy milk").Date(kNoDate).Boolean(0).Integer(2).Text("");
    fields.Boolean(0).Date(0).Boolean(1).Date(0).Integer(0).Date(0).Raw(test::RepeatField({}));
    ASSERT_EQ(fields.Count(), 25u);
    source.records.push_back(fields.Get());
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");
}

TEST(PmTodoEx, LogsItsStepsAndRefusesOtherApplicationsFiles) {
    test::LogCapture log;
    Loaded file(TwoTasks().Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    EXPECT_TRUE(log.HasInOrder({"P Loading Palm Desktop Tasks: " + file.path,
                                "P Database version: " + std::to_string(0x54440200),
                                "P Fields Count:25", "P Field (25) - 8", "P Total Fields: 50",
                                "P Palm Desktop Tasks records information is saved successfully.",
                                "P Palm Desktop Tasks information is loaded successfully."}));

    log.Clear();
    Loaded calendar(test::DateBookFile().Build());
    EXPECT_FALSE(calendar.db.LoadFile(calendar.path));
    EXPECT_TRUE(log.HasInOrder({"E Incorrect database version:" + std::to_string(0x44420200),
                                "E Failed to check database version.",
                                "E Load Palm Desktop Tasks failed: " + calendar.path}));
}

TEST(PmTodoEx, TruncatedFilesFailAtEveryOffset) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoTasks();
    source.records[0] = test::ToDoRecord(Header(21, 4096, 0, 3), Values(kNoDate, 1, "d", "n"),
                                         test::RepeatField(MonthlyRepeat()));
    source.records[1] = test::ToDoRecord(Header(22, 4097, 0, 3), Values(0, 0, "e", "o"),
                                         test::RepeatField(FutureRepeat()));
    const Bytes whole = source.Build();
    test::TempDir dir;
    const std::string path = dir.File("todo.dat");
    // Every offset in the records, every seventh in the part before them.
    const std::size_t recordsAt = source.Head().size();
    for (std::size_t cut = 0; cut < whole.size(); cut += cut < recordsAt ? 7 : 1) {
        test::WriteFile(path, Bytes(whole.begin(), whole.begin() + cut));
        PmTodoExUtil db;
        EXPECT_FALSE(db.LoadFile(path)) << cut;
    }
    test::WriteFile(path, whole);
    EXPECT_TRUE(PmTodoExUtil(path).IsLoaded());
}

}  // namespace tabrel
