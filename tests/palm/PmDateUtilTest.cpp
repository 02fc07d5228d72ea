// The appointment record of a classic datebook.dat, its repeat event and its loading
// filter.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/classic/PmDateUtil.h"
#include "palm/dat/PmTime.h"
#include "palm/palmsg/PmDateExUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

constexpr auto kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);
constexpr std::uint32_t kNoTime = 0xFFFFFFFF;

struct Loaded {
    explicit Loaded(const Bytes& bytes) {
        WriteFile(path, bytes);
        loaded = dates.LoadFile(path);
    }
    TempDir dir;
    std::string path = dir.File("datebook.dat");
    PmDateUtil dates;
    bool loaded = false;
};

// Values after the header: 0x2000 + index for 4-byte fields (category 7, start and end as
// given), the description and the note for the two texts.
PalmSgValues Values(const std::string& description, const std::string& note,
                    std::uint32_t start = 0x2003, std::uint32_t end = 0x2004) {
    PalmSgValues values;
    values.value = [=](std::size_t i) {
        return i == 3    ? start
               : i == 4  ? end
               : i == 10 ? 7u
                         : static_cast<std::uint32_t>(0x2000 + i);
    };
    values.text = [=](std::size_t i) { return i == 5 ? description : note; };
    return values;
}

// The appointment Values() describes, as the loader should hold it.
PmDateRecord Expected(const std::string& description, const std::string& note) {
    PmDateRecord r;
    r.m_tStartTime = 0x2003;
    r.m_tEndTime = 0x2004;
    r.m_szDescription = description;
    r.m_dwField6 = 0x2006;
    r.m_szNote = note;
    r.m_bUntimed = 0x2008;
    r.m_bPrivate = 0x2009;
    r.m_dwCategoryId = 7;
    r.m_bAlarm = 0x200B;
    r.m_dwAlarmAdvance = 0x200C;
    r.m_dwAlarmUnit = 0x200D;
    return r;
}

// Weekly on Monday, Wednesday and Friday until no end, with two exception dates.
PalmSgRepeat WeeklyRepeat() {
    PalmSgRepeat repeat =
        NamedRepeat("CWeekly", {2, 1, kNoEnd, 0}, ByteWriter().U32(3).U8(0x2A).Get());
    repeat.exceptions = {1100000000, 1100604800};
    return repeat;
}

PmRepeatEvent WeeklyEvent() {
    PmRepeatEvent event;
    event.nKind = 2;
    event.nInterval = 1;
    event.tEndDate = kNoEnd;
    event.nDayIndex = 3;
    event.byDaysMask = wdMonday | wdWednesday | wdFriday;
    event.exceptionDates = {1100000000, 1100604800};
    event.className = "CWeekly";
    return event;
}

// Yearly on 25 December, through a reference to a class named earlier in the file.
PalmSgRepeat ReferencedYearlyRepeat() {
    PalmSgRepeat repeat;
    repeat.classEntry = 0x8001;
    repeat.words = {5, 1, 1200000000, 0};
    repeat.values = ByteWriter().U32(25).U32(11).Get();
    return repeat;
}

// Palm Desktop's codes, with some 4-byte fields under the other value codes.
std::vector<std::uint16_t> OddCodes() {
    std::vector<std::uint16_t> codes = ClassicDateBookCodes();
    codes[3] = 1;
    codes[8] = 1;
    codes[12] = 6;
    return codes;
}

// A datebook.dat with the category Business (ID 7) and four appointments: one with texts
// longer than their fields and a weekly repeat with exception dates; one whose start time
// is -1; one under unusual codes with a repeat that refers to an earlier class; one whose
// end time is -1.
ClassicFile SampleFile() {
    ClassicFile file = ClassicDateBookFile();
    file.categories = {{1, 7, 0, "Business", "Business"}};
    file.records = {
        ClassicDateBookRecord({0x0A0B0C0D, 0, 1},
                              Values(std::string(600, 'd'), std::string(600, 'n')),
                              RepeatField(WeeklyRepeat())),
        ClassicDateBookRecord({12, 0x02, 2}, Values("no start", "", kNoTime)),
        ClassicDateBookRecord({13, 0, 3}, Values("Dentist", "short note"),
                              RepeatField(ReferencedYearlyRepeat()), OddCodes()),
        ClassicDateBookRecord({14, 0, 4}, Values("no end", "", 0x2003, kNoTime),
                              RepeatField(WeeklyRepeat())),
    };
    return file;
}

}  // namespace

TEST(PmDateUtil, LoadsEveryFieldOfTheShownRecords) {
    ScopedLogFolder log;
    Loaded file(SampleFile().Build());
    ASSERT_TRUE(file.loaded);
    PmDateDataMgr& records = file.dates.GetDataMgr();
    ASSERT_EQ(records.GetRecordCount(), 2u);
    EXPECT_EQ(file.dates.GetHiddenRecordCount(), 2u);

    // The category name is left to the facade.
    PmDateRecord first = Expected(std::string(511, 'd'), std::string(511, 'n'));
    first.m_dwRecordId = 0x0A0B0C0D;
    first.m_dwPlacement = 1;
    first.m_repeat = WeeklyEvent();
    // Both texts were stored longer than their fields keep.
    first.m_wholeTexts = {{5, std::string(600, 'd')}, {7, std::string(600, 'n')}};
    EXPECT_EQ(*records.GetRecordAt(0), first);

    PmDateRecord second = Expected("Dentist", "short note");
    second.m_dwRecordId = 13;
    second.m_dwPlacement = 3;
    second.m_repeat.nKind = 5;
    second.m_repeat.nInterval = 1;
    second.m_repeat.tEndDate = 1200000000;
    second.m_repeat.nDayNumber = 25;
    second.m_repeat.nMonthIndex = 11;
    EXPECT_EQ(*records.GetRecordAt(1), second);

    EXPECT_EQ(file.dates.GetCatMgr()->FindById(7)->GetName(), "Business");
    EXPECT_EQ(file.dates.GetSchema().m_fieldCodes, ClassicDateBookCodes());
    EXPECT_EQ(file.dates.GetLabelText(), "datebook labels");
    // The file name is the one recorded in the file; saves still go to the loaded path.
    EXPECT_EQ(file.dates.GetFileName(), ClassicDateBookFile().databaseName);
    EXPECT_EQ(file.dates.GetLoadedPath(), file.path);
}

// Nothing read is lost: an unchanged file comes back byte for byte into the file it was
// loaded from, the appointments without a time, unusual codes, exception dates, long texts
// and the bytes after the last record included.
TEST(PmDateUtil, LoadAndSaveGiveBackIdenticalBytes) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    source.trailing = {0xDE, 0xAD};
    source.totalFields = 4 * 15 + 14;  // not a whole record's worth more
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    ASSERT_TRUE(file.dates.Save());
    source.totalFields.reset();
    EXPECT_EQ(ReadFile(file.path), source.Build());
}

// Changed records are written from their fields with this system's codes (the end time
// under code 3) and keep their exception dates and the unchanged note stored longer than
// its field; a new one goes last; the appointments without a time stay where they were.
TEST(PmDateUtil, ChangedAndNewRecordsLeaveHiddenOnesInPlace) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    PmDateRecord first = *file.dates.GetDataMgr().GetRecordAt(0);
    first.m_szDescription = "Team meeting";
    ASSERT_TRUE(file.dates.ChangeRecord(0, first));
    PmDateRecord second = *file.dates.GetDataMgr().GetRecordAt(1);
    second.m_bAlarm = 1;
    ASSERT_TRUE(file.dates.ChangeRecord(1, second));

    PmDateRecord added;
    added.m_dwRecordId = 99;  // a new record has none
    added.m_tStartTime = 1000000000;
    added.m_tEndTime = 1000003600;
    added.m_szDescription = "Rent";
    added.m_dwCategoryId = 7;
    added.m_repeat.nKind = 4;
    added.m_repeat.nInterval = 1;
    added.m_repeat.tEndDate = kNoEnd;
    added.m_repeat.nDayNumber = 1;
    ASSERT_TRUE(file.dates.AddNewRecord(added));
    const PmDateRecord& stamped = *file.dates.GetDataMgr().GetRecordAt(2);
    EXPECT_EQ(stamped.m_dwRecordId, 0u);
    EXPECT_EQ(stamped.m_dwStatus, 0x01u);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    ASSERT_TRUE(file.dates.Save());

    // Fields 3 and 4 under code 3, the flags under 6, the other values under 1.
    std::vector<std::uint16_t> written = ClassicDateBookCodes();
    written[4] = 3;
    source.records[0] =
        ClassicDateBookRecord({0x0A0B0C0D, 0x02, 1}, Values("Team meeting", std::string(600, 'n')),
                              RepeatField(WeeklyRepeat()), written);
    PalmSgValues values = Values("Dentist", "short note");
    values.value = [base = values.value](std::size_t i) { return i == 11 ? 1u : base(i); };
    source.records[2] =
        ClassicDateBookRecord({13, 0x02, 3}, values,
                              RepeatField(NamedRepeat("CDateOfYear", {5, 1, 1200000000, 0},
                                                      ByteWriter().U32(25).U32(11).Get())),
                              written);
    ClassicFields fields = ClassicHeaderFields({0, 0x01, 0x7FFFFFFF});
    fields.Date(1000000000).Date(1000003600).Text("Rent").Integer(0).Text("");
    fields.Boolean(0).Boolean(0).Integer(7).Boolean(0).Integer(0).Integer(0);
    fields.Raw(
        RepeatField(NamedRepeat("CDateOfMonth", {4, 1, kNoEnd, 0}, ByteWriter().U32(1).Get())));
    ASSERT_EQ(fields.Count(), 15u);
    source.records.push_back(fields.Get());
    EXPECT_EQ(ReadFile(file.path), source.Build());

    PmDateUtil reloaded(file.path);
    ASSERT_TRUE(reloaded.IsLoaded());
    ASSERT_EQ(reloaded.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(reloaded.GetHiddenRecordCount(), 2u);
    // The whole description read at first no longer belongs to the changed one.
    PmDateRecord changed = *file.dates.GetDataMgr().GetRecordAt(0);
    changed.m_wholeTexts.erase(5);
    EXPECT_EQ(*reloaded.GetDataMgr().GetRecordAt(0), changed);
    EXPECT_EQ(reloaded.GetDataMgr().GetRecordAt(0)->m_repeat.exceptionDates,
              WeeklyEvent().exceptionDates);
    PmDateRecord expected = stamped;
    expected.m_repeat.className = "CDateOfMonth";
    EXPECT_EQ(*reloaded.GetDataMgr().GetRecordAt(2), expected);
}

// The label text is a counted string of at most 511 bytes, kept as it is.
TEST(PmDateUtil, LabelTextOfUpTo511BytesIsKept) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    source.labelText = std::string(510, 'x') + "\n";
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(file.dates.GetLabelText(), source.labelText);
    ASSERT_TRUE(file.dates.Save());
    EXPECT_EQ(ReadFile(file.path), source.Build());

    source.labelText += "y";
    Loaded longer(source.Build());
    EXPECT_FALSE(longer.loaded);
}

// A classic file is no "PalmSG Database" file, and neither reader takes the other's file
// or another application's.
TEST(PmDateUtil, FilesOfOtherFormatsAndApplicationsAreRefused) {
    LogCapture log;
    Loaded classic(SampleFile().Build());
    ASSERT_TRUE(classic.loaded);
    PmDateExUtil palmSg;
    EXPECT_FALSE(palmSg.LoadFile(classic.path));
    EXPECT_TRUE(log.HasTagged("E Failed to check magic code."));

    for (const Bytes& other :
         {DateBookFile().Build(), ClassicTodoFile().Build(), ClassicAddressFile().Build()}) {
        log.Clear();
        Loaded file(other);
        EXPECT_FALSE(file.loaded);
        EXPECT_EQ(log.Tagged(), (std::vector<std::string>{
                                    "P Loading Palm Desktop datebook: " + file.path,
                                    "E Failed to load Palm Desktop datebook: " + file.path}));
    }
}

// A load logs its start and nothing more; a save logs nothing.
TEST(PmDateUtil, LogsOnlyTheStartOfALoad) {
    LogCapture log;
    Loaded file(SampleFile().Build());
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"P Loading Palm Desktop datebook: " + file.path});
    log.Clear();
    ASSERT_TRUE(file.dates.Save());
    EXPECT_TRUE(log.Tagged().empty());
}

// Repeat events that cannot be what they claim end the load at the record that holds them.
TEST(PmDateUtil, DamagedRepeatEventsFailTheLoad) {
    PalmSgRepeat longName = WeeklyRepeat();
    longName.className = std::string(257, 'C');
    PalmSgRepeat badSchema = WeeklyRepeat();
    badSchema.schema = 2;
    PalmSgRepeat manyExceptions = WeeklyRepeat();
    const Bytes manyField = [&] {
        Bytes bytes = RepeatField(manyExceptions);
        bytes[4] = 0xFF;  // exception count 0xFFFF, far more than the file holds
        bytes[5] = 0xFF;
        return bytes;
    }();
    for (const Bytes& repeat : {RepeatField(longName), RepeatField(badSchema), manyField}) {
        LogCapture log;
        ClassicFile source = SampleFile();
        source.records[2] = ClassicDateBookRecord({13, 0, 3}, Values("a", "b"), repeat);
        Loaded file(source.Build());
        EXPECT_FALSE(file.loaded);
        EXPECT_TRUE(log.HasTagged("E Failed to load Palm Desktop datebook: " + file.path));
    }
}

// Cut anywhere, the file fails to load and nothing breaks.
TEST(PmDateUtil, TruncatedFilesFailAtEveryOffset) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    source.records[0] =
        ClassicDateBookRecord({1, 0, 1}, Values("d", "n"), RepeatField(WeeklyRepeat()));
    const Bytes whole = source.Build();
    TempDir dir;
    const std::string path = dir.File("datebook.dat");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        WriteFile(path, Bytes(whole.begin(), whole.begin() + cut));
        PmDateUtil dates;
        EXPECT_FALSE(dates.LoadFile(path)) << cut;
        EXPECT_FALSE(dates.Save()) << cut;
    }
    WriteFile(path, whole);
    EXPECT_TRUE(PmDateUtil(path).IsLoaded());
}

}  // namespace tabrel
