#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "AllocationProbe.h"
#include "palm/dat/PmDBUtil.h"
#include "palm/dat/PmRepeatEvent.h"
#include "palm/dat/PmTime.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::Bytes;

namespace {

constexpr auto kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);

// Bytes from hex digits; blanks are only for reading ("08000000 0000").
Bytes Hex(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c != ' '; });
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

Bytes Ascii(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The bytes WriteRepeatEvent puts into a fresh file; empty when it fails.
Bytes Written(const PmRepeatEvent& event, bool expectSuccess = true) {
    test::TempDir dir;
    PmDBUtil db;
    EXPECT_TRUE(db.Open(dir.File("out.dat"), PmOpenCreate));
    EXPECT_EQ(WriteRepeatEvent(db, event), expectSuccess);
    EXPECT_TRUE(db.Close());
    return test::ReadFile(dir.File("out.dat"));
}

// A database opened for reading on the given bytes.
struct Source {
    explicit Source(const Bytes& bytes) {
        test::WriteFile(dir.File("in.dat"), bytes);
        EXPECT_TRUE(db.Open(dir.File("in.dat"), PmOpenRead));
    }
    test::TempDir dir;
    PmDBUtil db;
};

// Reads a repeat-event field from a file holding bytes.
bool ReadFrom(const Bytes& bytes, PmRepeatEvent& event) {
    Source source(bytes);
    return ReadRepeatEvent(source.db, event);
}

PmRepeatEvent Event(std::uint32_t kind, std::uint32_t interval, std::uint32_t end,
                    std::uint32_t firstDay) {
    PmRepeatEvent event;
    event.nKind = kind;
    event.nInterval = interval;
    event.tEndDate = end;
    event.nFirstDayOfWeek = firstDay;
    return event;
}

// The field header up to the class name: code 8, no exception dates, 0xFFFF, schema 1.
Bytes Named(std::string_view name) {
    return Hex("08000000 0000 ffff 0100") + Bytes{static_cast<std::uint8_t>(name.size()), 0} +
           Ascii(name);
}

}  // namespace

// Each kind with its class name and the values it carries, written and read back.
TEST(PmRepeatEvent, EveryKindByteForByteBothWays) {
    struct Case {
        PmRepeatEvent event;
        Bytes bytes;
    };
    std::vector<Case> cases;
    cases.push_back({PmRepeatEvent{}, Hex("08000000 0000 0000")});

    PmRepeatEvent daily = Event(1, 3, kNoEnd, 0);
    daily.nDayIndex = 4;
    cases.push_back({daily, Named("CDayName") + Hex("01000000 03000000 ffce9d74 00000000"
                                                    "04000000")});

    PmRepeatEvent weekly = Event(2, 2, 1000000000, 1);
    weekly.nDayIndex = 5;
    weekly.byDaysMask = wdMonday | wdWednesday | wdFriday;  // 0x2A
    cases.push_back({weekly, Named("CWeekly") + Hex("02000000 02000000 00ca9a3b 01000000"
                                                    "05000000 2a")});

    PmRepeatEvent byDay = Event(3, 1, 0x01020304, 0);
    byDay.nDayIndex = 2;
    byDay.nWeekIndex = 4;
    cases.push_back({byDay, Named("CDayOfMonth") + Hex("03000000 01000000 04030201 00000000"
                                                       "02000000 04000000")});

    PmRepeatEvent byDate = Event(4, 6, kNoEnd, 0);
    byDate.nDayNumber = 31;
    cases.push_back({byDate, Named("CDateOfMonth") + Hex("04000000 06000000 ffce9d74 00000000"
                                                         "1f000000")});

    PmRepeatEvent yearly = Event(5, 1, kNoEnd, 0);
    yearly.nDayNumber = 25;
    yearly.nMonthIndex = 11;  // 25 December
    cases.push_back({yearly, Named("CDateOfYear") + Hex("05000000 01000000 ffce9d74 00000000"
                                                        "19000000 0b000000")});

    cases.push_back(
        {Event(6, 2, 77, 3), Named("CDayOfYear") + Hex("06000000 02000000 4d000000 03000000")});

    for (Case& c : cases) {
        const std::uint32_t kind = c.event.nKind;
        EXPECT_EQ(Written(c.event), c.bytes) << kind;
        Source source(c.bytes + Hex("edfe0000"));
        PmRepeatEvent read;
        std::uint32_t after = 0;
        EXPECT_TRUE(ReadRepeatEvent(source.db, read) && source.db.ReadLong(after)) << kind;
        EXPECT_EQ(after, 0xFEEDu) << kind;  // exactly the field was consumed
        c.event.className = GetRepeatClassName(kind);
        EXPECT_EQ(read, c.event) << kind;
    }
    EXPECT_EQ(Written(PmRepeatEvent{}).size(), 8u);
    EXPECT_EQ(GetRepeatClassName(7), "");
}

// Values a kind does not carry are neither written nor read.
TEST(PmRepeatEvent, ValuesOfOtherKindsAreNotWritten) {
    PmRepeatEvent event = Event(4, 1, 2, 3);
    event.nDayNumber = 9;
    event.nDayIndex = 5;
    event.byDaysMask = 0x7F;
    event.nWeekIndex = 6;
    event.nMonthIndex = 7;
    EXPECT_EQ(Written(event),
              Named("CDateOfMonth") + Hex("04000000 01000000 02000000 03000000 09000000"));
    event.nKind = 0;
    EXPECT_EQ(Written(event), Hex("08000000 0000 0000"));
}

TEST(PmRepeatEvent, ExceptionDatesAreKeptAndWrittenBack) {
    const Bytes bytes = Hex("08000000 0300 01000000 02000000 ffffffff") + Hex("ffff 0100 0700") +
                        Ascii("CWeekly") + Hex("02000000 01000000 ffce9d74 00000000 03000000 41");
    PmRepeatEvent read;
    ASSERT_TRUE(ReadFrom(bytes, read));
    EXPECT_EQ(read.exceptionDates, (std::vector<std::uint32_t>{1, 2, 0xFFFFFFFF}));
    EXPECT_EQ(read.byDaysMask, wdSunday | wdSaturday);
    EXPECT_EQ(Written(read), bytes);

    // Exception dates of an event without a repeat survive as well.
    PmRepeatEvent none;
    none.exceptionDates = {42};
    EXPECT_EQ(Written(none), Hex("08000000 0100 2a000000 0000"));
    PmRepeatEvent back;
    EXPECT_TRUE(ReadFrom(Written(none), back));
    EXPECT_EQ(back, none);

    PmRepeatEvent tooMany;
    tooMany.exceptionDates.resize(65536);
    EXPECT_TRUE(Written(tooMany, false).empty());
}

// A field that refers to a class named by an earlier record goes straight to the values.
TEST(PmRepeatEvent, ClassReferencesAreAccepted) {
    for (const char* entry : {"0180", "0100", "fe7f"}) {
        const Bytes bytes = Hex("08000000 0000") + Hex(entry) +
                            Hex("05000000 02000000 00000000 00000000 01000000 00000000");
        PmRepeatEvent read;
        ASSERT_TRUE(ReadFrom(bytes, read)) << entry;
        PmRepeatEvent expected = Event(5, 2, 0, 0);
        expected.nDayNumber = 1;
        EXPECT_EQ(read, expected) << entry;
        // Written back with the full class name.
        EXPECT_EQ(Written(read), Named("CDateOfYear") + Bytes(bytes.begin() + 8, bytes.end()));
    }
}

TEST(PmRepeatEvent, ClassNameEntryIsChecked) {
    const Bytes values = Hex("06000000 01000000 00000000 00000000");
    PmRepeatEvent read;
    // Names of up to 256 bytes are taken, whatever they say.
    EXPECT_TRUE(ReadFrom(Named("") + values, read));
    EXPECT_TRUE(ReadFrom(Hex("08000000 0000 ffff 0100 0001") + Bytes(256, 'n') + values, read));
    EXPECT_EQ(read.className, std::string(256, 'n'));
    EXPECT_EQ(read.nKind, 6u);

    const PmRepeatEvent before = Event(1, 2, 3, 4);
    for (const Bytes& bad : {Hex("08000000 0000 ffff 0100 0101") + Bytes(257, 'n') + values,
                             Hex("08000000 0000 ffff 0200 0700") + Ascii("CWeekly") + values,
                             Hex("08000000 0000 ffff 0000 0000") + values,
                             Hex("05000000 0000 0000"), Hex("08010000 0000 0000")}) {
        PmRepeatEvent event = before;
        EXPECT_FALSE(ReadFrom(bad, event));
        EXPECT_EQ(event, before);  // a failed read leaves the event alone
    }
}

// A kind without a class of its own carries no values; it is written under the name it was
// read with, or under "CDayOfYear" after a class reference, and reads back the same.
TEST(PmRepeatEvent, KindsAboveSixAreKept) {
    const Bytes named = Named("CFuture") + Hex("07000000 02000000 03000000 04000000");
    PmRepeatEvent read;
    ASSERT_TRUE(ReadFrom(named + Hex("01"), read));
    EXPECT_EQ(read.nKind, 7u);
    EXPECT_EQ(read.className, "CFuture");
    EXPECT_EQ(Written(read), named);

    const Bytes referenced = Hex("08000000 0100 63000000 0280 ffffffff 01000000 00000000 00000000");
    ASSERT_TRUE(ReadFrom(referenced, read));
    EXPECT_EQ(read.nKind, 0xFFFFFFFFu);
    EXPECT_TRUE(read.className.empty());
    const Bytes written = Written(read);
    EXPECT_EQ(written, Hex("08000000 0100 63000000") + Hex("ffff 0100 0a00") + Ascii("CDayOfYear") +
                           Bytes(referenced.begin() + 12, referenced.end()));
    PmRepeatEvent back;
    ASSERT_TRUE(ReadFrom(written, back));
    back.className.clear();
    EXPECT_EQ(back, read);

    // A name that no reader would take back is not written.
    read.className = std::string(257, 'n');
    EXPECT_TRUE(Written(read, false).empty());
}

// Every proper prefix of a field fails without touching the event; the whole field reads.
TEST(PmRepeatEvent, TruncatedFieldsFailAtEveryOffset) {
    PmRepeatEvent full = Event(3, 1, kNoEnd, 0);
    full.nDayIndex = 2;
    full.nWeekIndex = 1;
    full.exceptionDates = {5, 6};
    PmRepeatEvent weekly = Event(2, 1, 0, 0);
    weekly.byDaysMask = 1;
    for (const PmRepeatEvent& event : {full, weekly, PmRepeatEvent{}}) {
        const Bytes bytes = Written(event);
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            const PmRepeatEvent before = Event(9, 9, 9, 9);
            PmRepeatEvent read = before;
            const bool ok = ReadFrom(Bytes(bytes.begin(), bytes.begin() + cut), read);
            EXPECT_EQ(ok, cut == bytes.size()) << event.nKind << " at " << cut;
            if (!ok) {
                EXPECT_EQ(read, before);
            }
        }
    }
}

TEST(PmRepeatEvent, HostileExceptionCountAllocatesNothingLarge) {
    Source source(Hex("08000000 ffff") + Bytes(64, 0));
    PmRepeatEvent read;
    test::ResetLargestAllocation();
    EXPECT_FALSE(ReadRepeatEvent(source.db, read));
    EXPECT_LT(test::LargestAllocation(), 4096u);
    EXPECT_TRUE(read.exceptionDates.empty());
}

}  // namespace tabrel
