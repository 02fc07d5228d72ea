#pragma once
// PmDateRecord: one appointment of a classic datebook.dat (Palm Desktop 4.1 and earlier).
//
//   field  code  meaning                                   held in
//   0-2    1     record ID, status, placement              PmClassicRecord
//   3      3     start time (time value)                   m_tStartTime
//   4      1     end time (time value)                     m_tEndTime
//   5      5     description (512)                         m_szDescription
//   6      1     value, carried through                    m_dwField6
//   7      5     note (512)                                m_szNote
//   8      6     untimed                                   m_bUntimed
//   9      6     private                                   m_bPrivate
//   10     1     category ID                               m_dwCategoryId
//   11     6     alarm on                                  m_bAlarm
//   12     1     alarm advance: units before the start     m_dwAlarmAdvance
//   13     1     alarm advance unit: 0, 1 or 2             m_dwAlarmUnit
//   14     8     repeat event                              m_repeat
// Texts hold at most their capacity (in brackets, terminator included) less one byte. The
// loader leaves the category name (PmClassicRecord) empty.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmClassicRecord.h"
#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

struct PmDateRecord : PmClassicRecord {
    static constexpr std::size_t kFieldCount = 15;
    static constexpr std::size_t kDescriptionCapacity = 512;
    static constexpr std::size_t kNoteCapacity = 512;
    // A start or end time of this value marks an appointment that is not shown.
    static constexpr std::uint32_t kNoTime = 0xFFFFFFFF;

    std::uint32_t m_tStartTime = 0;      // field 3
    std::uint32_t m_tEndTime = 0;        // field 4
    std::string m_szDescription;         // field 5
    std::uint32_t m_dwField6 = 0;        // field 6
    std::string m_szNote;                // field 7
    std::uint32_t m_bUntimed = 0;        // field 8
    std::uint32_t m_bPrivate = 0;        // field 9
    std::uint32_t m_dwCategoryId = 0;    // field 10
    std::uint32_t m_bAlarm = 0;          // field 11
    std::uint32_t m_dwAlarmAdvance = 0;  // field 12
    std::uint32_t m_dwAlarmUnit = 0;     // field 13
    PmRepeatEvent m_repeat;              // field 14

    // Whether the loading filter keeps the appointment out of the record list.
    bool HasNoTime() const { return m_tStartTime == kNoTime || m_tEndTime == kNoTime; }

    bool operator==(const PmDateRecord&) const = default;
};

}  // namespace tabrel
