// Writing loaded records back after a record written from its fields: the class references
// of their repeat events must then declare the class in full, in the Calendar and Tasks
// files of both generations.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palm/classic/PmDateUtil.h"
#include "palm/dat/PmRawRecord.h"
#include "palm/dat/PmTime.h"
#include "palm/palmsg/PmDateExUtil.h"
#include "palm/palmsg/PmTodoExUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

constexpr auto kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);
constexpr std::uint32_t kNoTime = 0xFFFFFFFF;

// Weekly on Monday, Wednesday and Friday, every second week.
PalmSgRepeat Weekly() {
    return NamedRepeat("CWeekly", {2, 2, kNoEnd, 0}, ByteWriter().U32(3).U8(0x2A).Get());
}

// Yearly on 25 December.
PalmSgRepeat Yearly() {
    return NamedRepeat("CDateOfYear", {5, 1, 1200000000, 0}, ByteWriter().U32(25).U32(11).Get());
}

// A kind without a class name of this system's, with no values after the four words.
PalmSgRepeat Unnamed() {
    return NamedRepeat("CFuture", {7, 4, kNoEnd, 2});
}

// The same repeat through a reference to a class declared earlier in the file.
PalmSgRepeat Referring(PalmSgRepeat repeat, std::uint16_t classNumber) {
    repeat.classEntry = classNumber;
    repeat.className.clear();
    return repeat;
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

// The repeat rules of the records of a reader in order, without the class names they were
// read under.
template <class Util>
std::vector<PmRepeatEvent> Rules(const Util& util) {
    std::vector<PmRepeatEvent> rules;
    for (const auto& record : util.GetDataMgr()) {
        rules.push_back(record.m_repeat);
        rules.back().className.clear();
    }
    return rules;
}

// Values after the header: 0x3000 + index for 4-byte fields, "t<index>" for texts but
// `text` in field textField.
PalmSgValues Values(std::size_t textField, const std::string& text) {
    PalmSgValues values;
    values.value = [](std::size_t i) { return static_cast<std::uint32_t>(0x3000 + i); };
    values.text = [=](std::size_t i) { return i == textField ? text : "t" + std::to_string(i); };
    return values;
}

// Record n of a PalmSG file, its private flag under the code this system writes.
PalmSgHeader Header(std::uint32_t n, std::uint32_t status) {
    PalmSgHeader header;
    header.id = 100 + n;
    header.number = 4096 + n;
    header.status = status;
    header.placement = n + 1;
    header.privateCode = 1;
    return header;
}

// Four records, repeating: full, reference, full, reference. The second one's text field
// is changed; the fourth must then declare its class in full, the first and third stay byte
// for byte, and the file reads back with the same repeat rules.
template <class Util, class MakeRecord>
void ChangeTheSecondOfFour(PalmSgFile file, std::size_t textField, MakeRecord makeRecord) {
    const std::vector<PalmSgRepeat> repeats{Weekly(), Referring(Weekly(), 0x8001), Yearly(),
                                            Referring(Yearly(), 0x8003)};
    file.reserved1[12] = 4;
    for (std::uint32_t n = 0; n < 4; ++n) {
        file.records.push_back(makeRecord(
            Header(n, 0), Values(textField, "text" + std::to_string(n)), RepeatField(repeats[n])));
    }
    TempDir dir;
    const std::string path = dir.File("file.dat");
    WriteFile(path, file.Build());
    Util util;
    ASSERT_TRUE(util.LoadFile(path));
    const std::vector<PmRepeatEvent> rules = Rules(util);
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_EQ(rules[1].nKind, 2u);
    EXPECT_EQ(rules[3].nDayNumber, 25u);

    auto changed = *util.GetDataMgr().GetRecordAt(1);
    changed.m_szDescription = "changed";
    ASSERT_TRUE(util.ChangeRecord(1, changed));
    ASSERT_TRUE(util.Save());

    file.records[1] =
        makeRecord(Header(1, 0x02), Values(textField, "changed"), RepeatField(Weekly()));
    file.records[3] = makeRecord(Header(3, 0), Values(textField, "text3"), RepeatField(Yearly()));
    EXPECT_EQ(FirstDifference(ReadFile(path), file.Build()), "same");

    Util reloaded;
    ASSERT_TRUE(reloaded.LoadFile(path));
    EXPECT_EQ(Rules(reloaded), rules);
}

// --- Classic Calendar ---------------------------------------------------------------------

// The codes this system writes an appointment with (the end time under code 3).
std::vector<std::uint16_t> WrittenDateCodes() {
    std::vector<std::uint16_t> codes = ClassicDateBookCodes();
    codes[4] = 3;
    return codes;
}

// An appointment; a start time of -1 keeps it out of the record list.
Bytes Appointment(std::uint32_t id, std::uint32_t status, const std::string& description,
                  const PalmSgRepeat& repeat, std::uint32_t start = 1000000000,
                  const std::vector<std::uint16_t>& codes = WrittenDateCodes()) {
    PalmSgValues values = Values(5, description);
    values.value = [start](std::size_t i) {
        return i == 3 ? start : i == 10 ? 0u : static_cast<std::uint32_t>(0x3000 + i);
    };
    return ClassicDateBookRecord({id, status, id}, values, RepeatField(repeat), codes);
}

// Shown and hidden appointments with full classes and references; the last refers to a
// kind this system has no class name for, and was stored with Palm Desktop's code for the
// end time.
ClassicFile ClassicAppointments() {
    ClassicFile file = ClassicDateBookFile();
    file.records = {
        Appointment(1, 0, "weekly", Weekly()),
        Appointment(2, 0, "weekly too", Referring(Weekly(), 0x8001)),
        Appointment(3, 0, "hidden", Referring(Weekly(), 0x8001), kNoTime),
        Appointment(4, 0, "yearly", Yearly()),
        Appointment(5, 0, "yearly too", Referring(Yearly(), 0x8004)),
        Appointment(6, 0, "unnamed", Unnamed()),
        Appointment(7, 0, "unnamed too", Referring(Unnamed(), 0x8006), 1000000000,
                    ClassicDateBookCodes()),
    };
    return file;
}

}  // namespace

TEST(PmRawRecord, ClassReferenceIsExpandedToTheClassOfItsKind) {
    // A record's bytes: 3 bytes before the repeat's class entry 0x8001, then the kind
    // (weekly) and one more byte.
    PmRawRecord raw{{0xA1, 0xA2, 0xA3, 0x01, 0x80, 0x02, 0x00, 0x00, 0x00, 0xEE}, 3};
    std::vector<std::uint8_t> expanded;
    ASSERT_TRUE(ExpandClassReference(raw, expanded));
    ByteWriter expected;
    expected.U8(0xA1).U8(0xA2).U8(0xA3).U16(0xFFFF).U16(1).U16(7).Text("CWeekly");
    expected.U32(2).U8(0xEE);
    EXPECT_EQ(expanded, expected.Get());

    // No class name for kinds 0 and above 6; no reference; bytes that end too early.
    for (std::uint8_t kind : {0, 7}) {
        raw.bytes[5] = kind;
        EXPECT_FALSE(ExpandClassReference(raw, expanded)) << int{kind};
    }
    raw.bytes[5] = 6;
    EXPECT_TRUE(ExpandClassReference(raw, expanded));
    EXPECT_EQ(std::string(expanded.begin() + 9, expanded.begin() + 19), "CDayOfYear");
    EXPECT_FALSE(ExpandClassReference(PmRawRecord{raw.bytes}, expanded));
    EXPECT_FALSE(ExpandClassReference(PmRawRecord{raw.bytes, 5}, expanded));
    EXPECT_FALSE(ExpandClassReference(PmRawRecord{raw.bytes, 40}, expanded));
}

TEST(PmRawRecord, PalmSgCalendarDeclaresClassesAfterAChangedRecord) {
    ScopedLogFolder log;
    ChangeTheSecondOfFour<PmDateExUtil>(
        DateBookFile(), 15, [](const PalmSgHeader& h, const PalmSgValues& v, const Bytes& r) {
            return DateBookRecord(h, v, r);
        });
}

TEST(PmRawRecord, PalmSgTasksDeclareClassesAfterAChangedRecord) {
    ScopedLogFolder log;
    ChangeTheSecondOfFour<PmTodoExUtil>(
        ToDoFile(), 13, [](const PalmSgHeader& h, const PalmSgValues& v, const Bytes& r) {
            return ToDoRecord(h, v, r);
        });
}

// Classic Calendar: hidden appointments count in the file order; a reference to a kind
// without a class name makes its record go out from its fields.
TEST(PmRawRecord, ClassicCalendarDeclaresClassesAfterAChangedRecord) {
    ScopedLogFolder log;
    ClassicFile file = ClassicAppointments();
    TempDir dir;
    const std::string path = dir.File("datebook.dat");
    WriteFile(path, file.Build());
    PmDateUtil dates(path);
    ASSERT_TRUE(dates.IsLoaded());
    ASSERT_EQ(dates.GetDataMgr().GetRecordCount(), 6u);
    const std::vector<PmRepeatEvent> rules = Rules(dates);

    // Nothing changed, or only a record appended: the references stay as they were.
    ASSERT_TRUE(dates.Save());
    EXPECT_EQ(FirstDifference(ReadFile(path), file.Build()), "same");
    PmDateRecord added;
    added.m_tStartTime = 1000000000;
    added.m_repeat.nKind = 1;
    added.m_repeat.nInterval = 1;
    ASSERT_TRUE(dates.AddNewRecord(added));
    ASSERT_TRUE(dates.Save());
    const Bytes withNew = ReadFile(path);
    const Bytes before = file.Build();
    const std::size_t total = ClassicDateBookFile().Head().size();
    ASSERT_GT(withNew.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin() + static_cast<long>(total + 4), before.end(),
                           withNew.begin() + static_cast<long>(total + 4)));

    // The second appointment changed: everything after it declares its class in full.
    PmDateUtil changing(path);
    ASSERT_TRUE(changing.IsLoaded());
    PmDateRecord changed = *changing.GetDataMgr().GetRecordAt(1);
    changed.m_szDescription = "changed";
    ASSERT_TRUE(changing.ChangeRecord(1, changed));
    ASSERT_TRUE(changing.Save());

    ClassicFile expected = file;
    expected.records[1] = Appointment(2, 0x02, "changed", Weekly());
    expected.records[2] = Appointment(3, 0, "hidden", Weekly(), kNoTime);
    expected.records[4] = Appointment(5, 0, "yearly too", Yearly());
    // Written from its fields: the end time under code 3, the class under the name a kind
    // without one of its own is written with.
    PalmSgRepeat unnamed = Unnamed();
    unnamed.className = "CDayOfYear";
    expected.records[6] = Appointment(7, 0, "unnamed too", unnamed);
    ClassicFields appended = ClassicHeaderFields({0, 0x01, 0x7FFFFFFF});
    appended.Date(1000000000).Date(0).Text("").Integer(0).Text("");
    appended.Boolean(0).Boolean(0).Integer(0).Boolean(0).Integer(0).Integer(0);
    appended.Raw(RepeatField(NamedRepeat("CDayName", {1, 1, 0, 0}, ByteWriter().U32(0).Get())));
    expected.records.push_back(appended.Get());
    EXPECT_EQ(FirstDifference(ReadFile(path), expected.Build()), "same");

    PmDateUtil reloaded(path);
    ASSERT_TRUE(reloaded.IsLoaded());
    EXPECT_EQ(reloaded.GetHiddenRecordCount(), 1u);
    std::vector<PmRepeatEvent> expectedRules = rules;
    expectedRules.push_back(added.m_repeat);
    EXPECT_EQ(Rules(reloaded), expectedRules);
}

}  // namespace tabrel
