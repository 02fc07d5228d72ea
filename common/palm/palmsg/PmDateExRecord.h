#pragma once
// PmDateExRecord: one Calendar record of a "PalmSG Database" file (datebook.dat).
//
//   field  code  meaning                                   held in
//   0-10         common header and blocks                  PmExRecord
//   11,12  5     texts, carried through (32)               m_szField11, m_szField12
//   13     3     start time (time value)                   m_tStartTime
//   14     3     end time (time value)                     m_tEndTime
//   15     5     description (256)                         m_szDescription
//   16     1     value, carried through                    m_dwField16
//   17     5     note (8192)                               m_szNote
//   18     6     all-day event                             m_bAllDay
//   19     6     alarm on                                  m_bAlarm
//   20     1     alarm advance: units before the start     m_dwAlarmAdvance
//   21     1     alarm advance unit: 0, 1 or 2             m_dwAlarmUnit
//   22     8     repeat event                              m_repeat
//   23     5     location (256)                            m_szLocation
//   24     1     value, carried through                    m_dwField24
//   25,26  5     texts, carried through (32)               m_szField25, m_szField26
// Texts hold at most their capacity (in brackets, terminator included) less one byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/dat/PmRepeatEvent.h"
#include "palm/palmsg/PmExRecord.h"

namespace tabrel {

struct PmDateExRecord : PmExRecord {
    static constexpr std::size_t kFieldCount = 27;
    static constexpr std::size_t kShortTextCapacity = 32;
    static constexpr std::size_t kDescriptionCapacity = 256;
    static constexpr std::size_t kNoteCapacity = 8192;
    static constexpr std::size_t kLocationCapacity = 256;
    static constexpr std::size_t kCategoryCapacity = 32;

    std::string m_szField11;
    std::string m_szField12;
    std::uint32_t m_tStartTime = 0;
    std::uint32_t m_tEndTime = 0;
    std::string m_szDescription;
    std::uint32_t m_dwField16 = 0;
    std::string m_szNote;
    std::uint32_t m_bAllDay = 0;
    std::uint32_t m_bAlarm = 0;
    std::uint32_t m_dwAlarmAdvance = 0;
    std::uint32_t m_dwAlarmUnit = 0;
    PmRepeatEvent m_repeat;
    std::string m_szLocation;
    std::uint32_t m_dwField24 = 0;
    std::string m_szField25;
    std::string m_szField26;

    bool operator==(const PmDateExRecord&) const = default;
};

}  // namespace tabrel
