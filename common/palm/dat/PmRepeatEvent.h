#pragma once
// PmRepeatEvent: the repeat rule of a Calendar or Tasks record (the field of type code 8 in
// the .dat files of both Palm Desktop 4.x generations), with the reader and the writer of
// its field encoding.
//
// Kinds and the values each one uses:
//   0 no repeat
//   1 daily                   nDayIndex
//   2 weekly                  nDayIndex, byDaysMask
//   3 monthly by weekday      nDayIndex (the weekday), nWeekIndex
//   4 monthly by date         nDayNumber
//   5 yearly by date          nDayNumber, nMonthIndex
//   6 (class "CDayOfYear")    nothing more
// Every kind also has nInterval, tEndDate and nFirstDayOfWeek.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

class PmDBUtil;

// Weekday bits of byDaysMask.
enum PmWeekdayBit : std::uint8_t {
    wdSunday = 0x01,
    wdMonday = 0x02,
    wdTuesday = 0x04,
    wdWednesday = 0x08,
    wdThursday = 0x10,
    wdFriday = 0x20,
    wdSaturday = 0x40,
};

struct PmRepeatEvent {
    static constexpr std::uint32_t kMaxKnownKind = 6;
    // Longest class name the reader accepts.
    static constexpr std::size_t kMaxClassNameLength = 256;

    std::uint32_t nKind = 0;      // 0 to 6; a larger kind read from a file is kept as it is
    std::uint32_t nInterval = 0;  // every nInterval days, weeks, months or years
    std::uint32_t tEndDate = 0;   // last date of the repetition; kPmTimeNoDate for none
    std::uint32_t nFirstDayOfWeek = 0;
    std::uint32_t nDayIndex = 0;    // kinds 1 to 3 (for kind 3 the weekday)
    std::uint8_t byDaysMask = 0;    // kind 2: PmWeekdayBit values
    std::uint32_t nWeekIndex = 0;   // kind 3: which week of the month
    std::uint32_t nMonthIndex = 0;  // kind 5: 0 for January
    std::uint32_t nDayNumber = 0;   // kinds 4 and 5: day of the month

    // The dates the repetition skips, as read; written back unchanged.
    std::vector<std::uint32_t> exceptionDates;
    // The class name the field announced when it was read; used only to write a kind above
    // 6 back under its own name (empty when the field referred to an earlier class).
    std::string className;

    bool operator==(const PmRepeatEvent&) const = default;
};

// The class name written for a kind: "CDayName", "CWeekly", "CDayOfMonth", "CDateOfMonth",
// "CDateOfYear", "CDayOfYear" for kinds 1 to 6; empty for 0 and for kinds above 6.
std::string_view GetRepeatClassName(std::uint32_t kind);

// The class entry that declares the class of kind in full, as a field carries it in place
// of a reference: u16 0xFFFF, u16 1, u16 name length, the name of GetRepeatClassName.
// Empty for a kind without a class name.
std::vector<std::uint8_t> GetRepeatClassDeclaration(std::uint32_t kind);

// Reads a repeat-event field (code 8 first) at the position of db into event. Fails, with
// event left as it was, on another code, a class name above 256 bytes, a class-name entry
// whose schema word is not 1, or a value that cannot be read. A class entry that refers to
// an earlier class is noted with its file position (PmDBUtil::NoteClassReference).
bool ReadRepeatEvent(PmDBUtil& db, PmRepeatEvent& event);

// Writes event as a repeat-event field: code 8, its exception dates, then nothing more for
// kind 0, or the full class name and the kind's values. A kind above 6 is written under the
// class name it was read with (or "CDayOfYear" when it was read through a class
// reference) and with no values after the four common words, so it reads back unchanged.
// Fails on more than 65535 exception dates or a failed write.
bool WriteRepeatEvent(PmDBUtil& db, const PmRepeatEvent& event);

}  // namespace tabrel
