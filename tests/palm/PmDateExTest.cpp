#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "palm/dat/PmTime.h"
#include "palm/palmsg/PmDateExUtil.h"
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

constexpr auto kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);

// Values after the header: 0x1000 + index for 4-byte fields, "t<index>" for texts, with
// the description and the note given.
PalmSgValues Values(const std::string& description, const std::string& note) {
    PalmSgValues values;
    values.value = [](std::size_t i) { return static_cast<std::uint32_t>(0x1000 + i); };
    values.text = [=](std::size_t i) {
        return i == 15 ? description : i == 17 ? note : "t" + std::to_string(i);
    };
    return values;
}

// The record Values() describes, as the loader should hold it.
PmDateExRecord Expected(const std::string& description, const std::string& note) {
    PmDateExRecord r;
    r.m_szField11 = "t11";
    r.m_szField12 = "t12";
    r.m_tStartTime = 0x100D;
    r.m_tEndTime = 0x100E;
    r.m_szDescription = description;
    r.m_dwField16 = 0x1010;
    r.m_szNote = note;
    r.m_bAllDay = 0x1012;
    r.m_bAlarm = 0x1013;
    r.m_dwAlarmAdvance = 0x1014;
    r.m_dwAlarmUnit = 0x1015;
    r.m_szLocation = "t23";
    r.m_dwField24 = 0x1018;
    r.m_szField25 = "t25";
    r.m_szField26 = "t26";
    for (std::uint32_t i = 0; i < 4; ++i) {
        r.m_blocks[i].m_dwType = 64 + i;
    }
    return r;
}

// Weekly on Monday, Wednesday and Friday, with two exception dates.
test::PalmSgRepeat WeeklyRepeat() {
    test::PalmSgRepeat repeat =
        test::NamedRepeat("CWeekly", {2, 1, kNoEnd, 0}, test::ByteWriter().U32(3).U8(0x2A).Get());
    repeat.exceptions = {111, 222};
    return repeat;
}

// Yearly on 25 December, through a reference to a class named earlier.
test::PalmSgRepeat ReferencedYearlyRepeat() {
    test::PalmSgRepeat repeat;
    repeat.classEntry = 0x8001;
    repeat.words = {5, 1, 0, 0};
    repeat.values = test::ByteWriter().U32(25).U32(11).Get();
    return repeat;
}

PalmSgHeader Header(std::uint32_t id, std::uint32_t number, std::uint32_t status,
                    std::uint32_t field3, std::uint32_t placement, std::uint32_t category,
                    std::uint32_t isPrivate, std::uint32_t privateCode = 6) {
    PalmSgHeader header;
    header.id = id;
    header.number = number;
    header.status = status;
    header.field3 = field3;
    header.placement = placement;
    header.category = category;
    header.isPrivate = isPrivate;
    header.privateCode = privateCode;
    return header;
}

PalmSgHeader FirstHeader() {
    PalmSgHeader header = Header(11, 4096, 0, 0, 5, 7, 1);
    header.blocks[0] = PalmSgFields().WordBlock(64, 2, 5, 6, {1, 2, 3}).Get();
    header.blocks[1] = PalmSgFields().Block(65, {9, 9, 9, 9, 9}).Get();
    return header;
}

// A datebook.dat with the category "Business" (ID 7) and two appointments: the first with
// a long description and a note above 8191 bytes and a weekly repeat with exception dates,
// the second in an unknown category, with values under unusual codes and a repeat that
// refers to an earlier class. Reserved block 1 already holds the record count.
test::PalmSgFile TwoAppointments() {
    test::PalmSgFile file = test::DateBookFile();
    file.categories = {{1, 7, 0, "Business", "Business"}};
    file.reserved1[12] = 2;
    file.records.push_back(
        test::DateBookRecord(FirstHeader(), Values(std::string(300, 'd'), std::string(9000, 'n')),
                             test::RepeatField(WeeklyRepeat())));
    std::vector<std::uint16_t> oddCodes = test::DateBookCodes();
    oddCodes[13] = 1;  // a start time under the integer code
    oddCodes[18] = 1;
    oddCodes[24] = 3;
    file.records.push_back(
        test::DateBookRecord(Header(12, 4097, 0x02, 27, 6, 99, 0), Values("Dentist", "short note"),
                             test::RepeatField(ReferencedYearlyRepeat()), oddCodes));
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
    explicit Loaded(const Bytes& bytes) : path(dir.File("datebook.dat")) {
        test::WriteFile(path, bytes);
    }
    test::TempDir dir;
    std::string path;
    PmDateExUtil db;
};

}  // namespace

TEST(PmDateEx, LoadsEveryFieldOfEveryRecord) {
    test::ScopedLogFolder log;
    Loaded file(TwoAppointments().Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmDateExDataMgr& records = file.db.GetDataMgr();
    ASSERT_EQ(records.GetRecordCount(), 2u);

    PmDateExRecord first = Expected(std::string(255, 'd'), std::string(8191, 'n'));
    first.m_dwRecordId = 11;
    first.m_dwRecordNumber = 4096;
    first.m_dwPlacement = 5;
    first.m_dwCategoryId = 7;
    first.m_dwPrivate = 1;
    first.m_szCategory = "Business";
    first.m_blocks[0] = PmBlock{64, 2, 5, 6, 3, {1, 2, 3}};
    first.m_blocks[1] = PmBlock{65, 5, 0, 0, 5, {9, 9, 9, 9, 9}};
    first.m_repeat.nKind = 2;
    first.m_repeat.nInterval = 1;
    first.m_repeat.tEndDate = kNoEnd;
    first.m_repeat.nDayIndex = 3;
    first.m_repeat.byDaysMask = wdMonday | wdWednesday | wdFriday;
    first.m_repeat.exceptionDates = {111, 222};
    first.m_repeat.className = "CWeekly";
    // The description and the note were stored longer than their fields keep.
    first.m_wholeTexts = {{15, std::string(300, 'd')}, {17, std::string(9000, 'n')}};
    EXPECT_EQ(*records.GetRecordAt(0), first);

    PmDateExRecord second = Expected("Dentist", "short note");
    second.m_dwRecordId = 12;
    second.m_dwRecordNumber = 4097;
    second.m_dwStatus = 0x02;
    second.m_dwField3 = 27;
    second.m_dwPlacement = 6;
    second.m_dwCategoryId = 99;  // no such category: no name
    second.m_repeat.nKind = 5;
    second.m_repeat.nInterval = 1;
    second.m_repeat.nDayNumber = 25;
    second.m_repeat.nMonthIndex = 11;
    EXPECT_EQ(*records.GetRecordAt(1), second);

    EXPECT_EQ(file.db.GetDatabaseName(), test::DateBookFile().databaseName);
    EXPECT_EQ(file.db.GetSchema().m_fieldCodes, test::DateBookCodes());
}

// Nothing read is lost: an unchanged file comes back byte for byte, exception dates, odd
// codes, the long note and the bytes after the last record included.
TEST(PmDateEx, LoadAndSaveGiveBackIdenticalBytes) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoAppointments();
    source.trailing = {0xDE, 0xAD, 0xBE};
    source.totalFields = 2 * 27 + 3;  // not a whole record's worth more
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    ASSERT_TRUE(file.db.Save());
    source.totalFields.reset();
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");
}

// A changed record is written from its fields with this system's codes; its exception
// dates stay, and so does its note, stored longer than the field keeps. The record after it
// is written as it was read, except that its class reference now declares the class in
// full: the changed record declares its own class, so the running numbers moved.
TEST(PmDateEx, ChangedRecordIsWrittenFromItsFields) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoAppointments();
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmDateExRecord changed = *file.db.GetDataMgr().GetRecordAt(0);
    changed.m_szDescription = "Team meeting";
    ASSERT_TRUE(file.db.ChangeRecord(0, changed));
    EXPECT_EQ(file.db.GetDataMgr().GetRecordAt(0)->m_dwStatus, 0x02u);
    ASSERT_TRUE(file.db.Save());

    PalmSgHeader header = FirstHeader();
    header.status = 0x02;
    header.privateCode = 1;  // the private flag goes out under the integer code
    source.records[0] = test::DateBookRecord(header, Values("Team meeting", std::string(9000, 'n')),
                                             test::RepeatField(WeeklyRepeat()));
    std::vector<std::uint16_t> oddCodes = test::DateBookCodes();
    oddCodes[13] = 1;
    oddCodes[18] = 1;
    oddCodes[24] = 3;
    test::PalmSgRepeat declared = ReferencedYearlyRepeat();
    declared.classEntry = 0xFFFF;
    declared.className = "CDateOfYear";
    source.records[1] =
        test::DateBookRecord(Header(12, 4097, 0x02, 27, 6, 99, 0), Values("Dentist", "short note"),
                             test::RepeatField(declared), oddCodes);
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");
}

TEST(PmDateEx, NewRecordsAreStampedAndCountedInReservedBlock1) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoAppointments();
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmDateExRecord added;
    added.m_dwCategoryId = 7;
    added.m_szDescription = "Lunch";
    added.m_tStartTime = 1000000000;
    added.m_tEndTime = 1000003600;
    added.m_bAlarm = 1;
    added.m_dwAlarmAdvance = 5;
    added.m_repeat.nKind = 1;
    added.m_repeat.nInterval = 2;
    added.m_repeat.tEndDate = kNoEnd;
    added.m_repeat.nDayIndex = 0;
    ASSERT_TRUE(file.db.AddNewRecord(added));
    const PmDateExRecord& stamped = *file.db.GetDataMgr().GetRecordAt(2);
    EXPECT_EQ(stamped.m_dwRecordNumber, 4098u);
    EXPECT_EQ(stamped.m_dwStatus, 0x01u);
    EXPECT_EQ(stamped.m_dwField3, 2u * 27);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    EXPECT_EQ(stamped.m_dwRecordId, 0u);
    ASSERT_TRUE(file.db.Save());

    // 4096 + 3 records in bytes 12 and 13; the new record with empty blocks under the codes
    // of the schema.
    source.reserved1[12] = 0x03;
    source.reserved1[13] = 0x10;
    PalmSgHeader header = Header(0, 4098, 0x01, 54, 0x7FFFFFFF, 7, 0, 1);
    for (std::uint32_t i = 0; i < 4; ++i) {
        header.blocks[i] = PalmSgFields().Block(64 + i).Get();
    }
    PalmSgFields fields = test::HeaderFields(header);
    fields.Text("").Text("").Date(1000000000).Date(1000003600).Text("Lunch").Integer(0).Text("");
    fields.Boolean(0).Boolean(1).Integer(5).Integer(0);
    fields.Raw(test::RepeatField(
        test::NamedRepeat("CDayName", {1, 2, kNoEnd, 0}, test::ByteWriter().U32(0).Get())));
    fields.Text("").Integer(0).Text("").Text("");
    ASSERT_EQ(fields.Count(), 27u);
    source.records.push_back(fields.Get());
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");

    PmDateExUtil reloaded(file.path);
    ASSERT_TRUE(reloaded.IsLoaded());
    PmDateExRecord expected = stamped;
    expected.m_szCategory = "Business";
    expected.m_repeat.className = "CDayName";
    EXPECT_EQ(*reloaded.GetDataMgr().GetRecordAt(2), expected);
}

// A schema with fewer fields reads and writes only those; one with more than the Calendar
// record holds is refused.
TEST(PmDateEx, SchemaDecidesHowManyFieldsARecordHas) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = test::DateBookFile();
    std::vector<std::uint16_t> codes = test::DateBookCodes();
    codes.resize(20);
    source.fieldCodes = codes;
    source.fieldsPerRow = 20;
    source.reserved1[12] = 1;
    source.records.push_back(
        test::DateBookRecord(Header(1, 2, 0, 0, 0, 0, 0), Values("Short", "x"), {}, codes));
    Loaded file(source.Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    PmDateExRecord record = *file.db.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(record.m_bAlarm, 0x1013u);
    EXPECT_EQ(record.m_dwAlarmUnit, 0u);
    EXPECT_EQ(record.m_szLocation, "");
    record.m_szDescription = "Longer";
    ASSERT_TRUE(file.db.ChangeRecord(0, record) && file.db.Save());
    PalmSgHeader header = Header(1, 2, 0x02, 0, 0, 0, 0, 1);
    source.records[0] = test::DateBookRecord(header, Values("Longer", "x"), {}, codes);
    EXPECT_EQ(FirstDifference(test::ReadFile(file.path), source.Build()), "same");

    std::vector<std::uint16_t> tooMany = test::DateBookCodes();
    tooMany.push_back(1);
    source.fieldCodes = tooMany;
    source.fieldsPerRow = 28;
    source.records.clear();
    Loaded wide(source.Build());
    EXPECT_FALSE(wide.db.LoadFile(wide.path));
}

TEST(PmDateEx, LogsItsStepsAndRefusesOtherApplicationsFiles) {
    test::LogCapture log;
    Loaded file(TwoAppointments().Build());
    ASSERT_TRUE(file.db.LoadFile(file.path));
    EXPECT_TRUE(log.HasInOrder({"P Loading Palm Desktop Calendar: " + file.path,
                                "P Start checking Palm Desktop Calendar database magic code.",
                                "P Database version: " + std::to_string(0x44420200),
                                "E Record ID Position:0", "P Fields Count:27", "P Field (23) - 8",
                                "P Total Fields: 54", "P Calculated Record Count: 2",
                                "P Palm Desktop Calendar information is loaded successfully."}));
    ASSERT_TRUE(file.db.Save());
    EXPECT_TRUE(log.HasInOrder({"P Saving Palm Desktop Calendar database as file: " + file.path,
                                "P Start saving Palm Desktop Calendar records.",
                                "P Save Palm Desktop Calendar database successfully."}));

    log.Clear();
    Loaded tasks(test::ToDoFile().Build());
    EXPECT_FALSE(tasks.db.LoadFile(tasks.path));
    EXPECT_TRUE(log.HasInOrder({"E Incorrect database version:" + std::to_string(0x54440200),
                                "E Failed to check database version.",
                                "E Load Palm Desktop Calendar failed: " + tasks.path}));
}

// A damaged repeat event ends the load at the record that holds it.
TEST(PmDateEx, DamagedRepeatEventFailsTheLoad) {
    for (const std::uint16_t nameLength : {257, 300}) {
        test::LogCapture log;
        test::PalmSgFile source = TwoAppointments();
        test::PalmSgRepeat repeat = WeeklyRepeat();
        repeat.className = std::string(nameLength, 'C');
        source.records[1] = test::DateBookRecord(Header(12, 0, 0, 0, 0, 0, 0), Values("a", "b"),
                                                 test::RepeatField(repeat));
        Loaded file(source.Build());
        EXPECT_FALSE(file.db.LoadFile(file.path));
        // Read up to the name length: head, T, the first record, fields 0 to 21 of the
        // second, then the field's code, the count, two dates, the entry, the schema word
        // and the length.
        const std::vector<std::uint16_t> before22(test::DateBookCodes().begin(),
                                                  test::DateBookCodes().begin() + 22);
        const std::size_t repeatAt =
            test::DateBookRecord(Header(12, 0, 0, 0, 0, 0, 0), Values("a", "b"), {}, before22)
                .size();
        const std::size_t position =
            source.Head().size() + 4 + source.records[0].size() + repeatAt + 4 + 2 + 8 + 2 + 2 + 2;
        EXPECT_TRUE(
            log.HasInOrder({"E Error reading Palm Desktop Calendar, current file position: " +
                                std::to_string(position),
                            "E Failed to load Calendar records.",
                            "E Load Palm Desktop Calendar failed: " + file.path}))
            << nameLength;
    }
}

// Cut anywhere, the file fails to load and nothing breaks.
TEST(PmDateEx, TruncatedFilesFailAtEveryOffset) {
    test::ScopedLogFolder log;
    test::PalmSgFile source = TwoAppointments();
    source.records[0] =
        test::DateBookRecord(FirstHeader(), Values("d", "n"), test::RepeatField(WeeklyRepeat()));
    const Bytes whole = source.Build();
    test::TempDir dir;
    const std::string path = dir.File("datebook.dat");
    // Every offset in the records, every seventh in the part before them.
    const std::size_t recordsAt = source.Head().size();
    for (std::size_t cut = 0; cut < whole.size(); cut += cut < recordsAt ? 7 : 1) {
        test::WriteFile(path, Bytes(whole.begin(), whole.begin() + cut));
        PmDateExUtil db;
        EXPECT_FALSE(db.LoadFile(path)) << cut;
    }
    test::WriteFile(path, whole);
    EXPECT_TRUE(PmDateExUtil(path).IsLoaded());
}

// A save that cannot make its temporary file leaves the original as it was.
TEST(PmDateEx, FailedSaveLeavesTheFileUntouched) {
    test::ScopedLogFolder log;
    test::TempDir dir;
    const std::filesystem::path folder = dir.Path() / "ro";
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "datebook.dat").string();
    const Bytes bytes = TwoAppointments().Build();
    test::WriteFile(path, bytes);
    ::chmod(dir.Path().c_str(), 0755);
    ::chmod(path.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);

    EXPECT_TRUE(test::RunUnprivileged([&] {
        PmDateExUtil db;
        if (!db.LoadFile(path)) {
            return false;
        }
        PmDateExRecord changed = *db.GetDataMgr().GetRecordAt(1);
        changed.m_szNote = "changed";
        return db.ChangeRecord(1, changed) && !db.Save();
    }));
    EXPECT_EQ(test::ReadFile(path), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace tabrel
