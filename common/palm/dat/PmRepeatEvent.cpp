#include "palm/dat/PmRepeatEvent.h"

#include <array>
#include <limits>
#include <span>
#include <utility>

#include "palm/dat/PmDBUtil.h"

namespace tabrel {

namespace {

// Class entry of the field: no repeat, a class name follows, or (any other value) a
// reference to a class named earlier in the file.
constexpr std::uint16_t kNoClass = 0x0000;
constexpr std::uint16_t kNewClass = 0xFFFF;
// The schema word written after kNewClass.
constexpr std::uint16_t kClassSchema = 1;

// Written for a kind above 6 that was read through a class reference: the class of kind 6
// carries no values after the four common words either.
constexpr std::string_view kUnknownKindClass = "CDayOfYear";

constexpr std::array<std::string_view, PmRepeatEvent::kMaxKnownKind + 1> kClassNames{
    "", "CDayName", "CWeekly", "CDayOfMonth", "CDateOfMonth", "CDateOfYear", "CDayOfYear"};

bool BytesLeft(const PmDBUtil& db, std::uint64_t count) {
    const std::uint64_t size = db.GetFileSize();
    const std::uint64_t position = db.GetPosition();
    return position <= size && size - position >= count;
}

// The values after the four common words, by kind (a kind above 6 has none).
bool ReadKindValues(PmDBUtil& db, PmRepeatEvent& event) {
    switch (event.nKind) {
        case 1:
            return db.ReadLong(event.nDayIndex);
        case 2:
            return db.ReadLong(event.nDayIndex) && db.ReadByte(event.byDaysMask);
        case 3:
            return db.ReadLong(event.nDayIndex) && db.ReadLong(event.nWeekIndex);
        case 4:
            return db.ReadLong(event.nDayNumber);
        case 5:
            return db.ReadLong(event.nDayNumber) && db.ReadLong(event.nMonthIndex);
        default:
            return true;
    }
}

bool WriteKindValues(PmDBUtil& db, const PmRepeatEvent& event) {
    switch (event.nKind) {
        case 1:
            return db.WriteLong(event.nDayIndex);
        case 2:
            return db.WriteLong(event.nDayIndex) && db.WriteByte(event.byDaysMask);
        case 3:
            return db.WriteLong(event.nDayIndex) && db.WriteLong(event.nWeekIndex);
        case 4:
            return db.WriteLong(event.nDayNumber);
        case 5:
            return db.WriteLong(event.nDayNumber) && db.WriteLong(event.nMonthIndex);
        default:
            return true;
    }
}

}  // namespace

std::string_view GetRepeatClassName(std::uint32_t kind) {
    return kind < kClassNames.size() ? kClassNames[kind] : std::string_view{};
}

// Class declaration:
//   offset  size  meaning
//   0       2     0xFFFF
//   2       2     schema word 1
//   4       2     name length L
//   6       L     class name
std::vector<std::uint8_t> GetRepeatClassDeclaration(std::uint32_t kind) {
    const std::string_view name = GetRepeatClassName(kind);
    if (name.empty()) {
        return {};
    }
    const auto length = static_cast<std::uint16_t>(name.size());
    std::vector<std::uint8_t> bytes{
        static_cast<std::uint8_t>(kNewClass),    static_cast<std::uint8_t>(kNewClass >> 8),
        static_cast<std::uint8_t>(kClassSchema), static_cast<std::uint8_t>(kClassSchema >> 8),
        static_cast<std::uint8_t>(length),       static_cast<std::uint8_t>(length >> 8)};
    bytes.insert(bytes.end(), name.begin(), name.end());
    return bytes;
}

// Repeat-event field:
//   offset  size   meaning
//   0       4      type code 8
//   4       2      exception count E
//   6       4*E    exception dates (time values)
//   +0      2      class entry: 0 no repeat (the field ends here), 0xFFFF a class name
//                  follows, anything else refers to a class named earlier (go to "kind")
//   after 0xFFFF:
//   +2      2      schema word, must be 1
//   +4      2      class-name length L (at most 256 accepted)
//   +6      L      class name, no terminator (not compared with anything)
//   kind:
//   +0      4      nKind
//   +4      4      nInterval
//   +8      4      tEndDate
//   +12     4      nFirstDayOfWeek
//   +16     ...    by kind: 1 nDayIndex(4); 2 nDayIndex(4) byDaysMask(1);
//                  3 nDayIndex(4) nWeekIndex(4); 4 nDayNumber(4);
//                  5 nDayNumber(4) nMonthIndex(4); 0, 6 and above: nothing
bool ReadRepeatEvent(PmDBUtil& db, PmRepeatEvent& event) {
    std::uint32_t code = 0;
    if (!db.ReadLong(code) || code != ftRepeatEvent) {
        return false;
    }
    PmRepeatEvent read;
    std::uint16_t exceptionCount = 0;
    if (!db.ReadShort(exceptionCount) ||
        !BytesLeft(db, std::uint64_t{exceptionCount} * sizeof(std::uint32_t))) {
        return false;
    }
    read.exceptionDates.resize(exceptionCount);
    for (std::uint32_t& date : read.exceptionDates) {
        if (!db.ReadLong(date)) {
            return false;
        }
    }

    const std::uint64_t classEntryPosition = db.GetPosition();
    std::uint16_t classEntry = 0;
    if (!db.ReadShort(classEntry)) {
        return false;
    }
    if (classEntry == kNoClass) {
        event = std::move(read);
        return true;
    }
    if (classEntry == kNewClass) {
        std::uint16_t schema = 0;
        std::uint16_t nameLength = 0;
        if (!db.ReadShort(schema) || schema != kClassSchema || !db.ReadShort(nameLength) ||
            nameLength > PmRepeatEvent::kMaxClassNameLength) {
            return false;
        }
        std::string name(nameLength, '\0');
        if (nameLength > 0 &&
            !db.ReadBytes(std::span(reinterpret_cast<std::uint8_t*>(name.data()), name.size()))) {
            return false;
        }
        read.className = std::move(name);
    }

    if (!db.ReadLong(read.nKind) || !db.ReadLong(read.nInterval) || !db.ReadLong(read.tEndDate) ||
        !db.ReadLong(read.nFirstDayOfWeek) || !ReadKindValues(db, read)) {
        return false;
    }
    if (classEntry != kNewClass) {
        // Its bytes read right only where they are; a save may have to expand it.
        db.NoteClassReference(classEntryPosition);
    }
    event = std::move(read);
    return true;
}

bool WriteRepeatEvent(PmDBUtil& db, const PmRepeatEvent& event) {
    std::string_view name = GetRepeatClassName(event.nKind);
    if (event.nKind != 0 && name.empty()) {
        name = event.className.empty() ? kUnknownKindClass : std::string_view(event.className);
    }
    // Refuse, before writing anything, what no reader would take back.
    if (event.exceptionDates.size() > std::numeric_limits<std::uint16_t>::max() ||
        name.size() > PmRepeatEvent::kMaxClassNameLength) {
        return false;
    }
    if (!db.WriteLong(ftRepeatEvent) ||
        !db.WriteShort(static_cast<std::uint16_t>(event.exceptionDates.size()))) {
        return false;
    }
    for (std::uint32_t date : event.exceptionDates) {
        if (!db.WriteLong(date)) {
            return false;
        }
    }
    if (event.nKind == 0) {
        return db.WriteShort(kNoClass);
    }
    return db.WriteShort(kNewClass) && db.WriteShort(kClassSchema) &&
           db.WriteShort(static_cast<std::uint16_t>(name.size())) &&
           (name.empty() ||
            db.WriteBytes(
                std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()))) &&
           db.WriteLong(event.nKind) && db.WriteLong(event.nInterval) &&
           db.WriteLong(event.tEndDate) && db.WriteLong(event.nFirstDayOfWeek) &&
           WriteKindValues(db, event);
}

}  // namespace tabrel
