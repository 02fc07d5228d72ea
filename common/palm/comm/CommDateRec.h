#pragma once
// CommDateRec: the common calendar record. The number before each field is its identifier
// in the common calendar catalogue (CommDateMgr); a text of size n (in brackets) keeps at
// most n - 1 characters, cut where the text is set or merged.

#include <cstddef>
#include <cstdint>
#include <string>

#include "misc/CxDateTime.h"
#include "palm/comm/CommRepeat.h"
#include "palm/comm/CommSource.h"

namespace tabrel {

// Identifiers of the common calendar catalogue.
struct CommDateId {
    enum : std::int32_t {
        kDescription = 1,
        kStartTime = 2,
        kEndTime = 3,
        kStartDateTime = 4,
        kEndDateTime = 5,
        kDate = 6,
        kNote = 7,
        kPrivate = 8,
        kLocation = 9,
        kImportance = 10,
        kCategory = 11,
        kAlarm = 12,
        kAllDayEvent = 13,
        kRepeat = 14,
    };
};

struct CommDateRec {
    static constexpr std::size_t kDescriptionSize = 256;
    static constexpr std::size_t kNoteSize = 8192;
    static constexpr std::size_t kLocationSize = 256;
    static constexpr std::size_t kCategorySize = 64;

    std::string m_szDescription;  // 1 (256)
    std::int32_t m_bAllDay = 0;   // 13
    // 2 Start Time, 4 Start Date Time and 6 Date read the start; 3 End Time and
    // 5 End Date Time the end.
    DateTimeFields m_start;
    DateTimeFields m_end;
    std::int32_t m_bAlarm = 0;    // 12
    std::string m_szNote;         // 7 (8192)
    std::string m_szLocation;     // 9 (256)
    CommRepeat m_repeat;          // 14
    std::int32_t m_bPrivate = 0;  // 8
    std::string m_szCategory;     // 11 (64)
    // A second category text (64) that travels and merges with the first.
    std::string m_szCategory2;
    std::int32_t m_nImportance = 0;  // 10

    std::int32_t m_bAlarmSet = 0;
    std::int32_t m_nAlarmAdvance = 0;
    std::int32_t m_nAlarmUnit = 0;  // 1, 2 or 3

    CommSource m_source;
};

}  // namespace tabrel
