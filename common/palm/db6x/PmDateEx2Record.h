#pragma once
// PmDateEx2Record: one event of a Palm Desktop 6.x DateBook.mdb, a row of its table "Main":
//   #   column          kind         field
//   0   Record ID       integer      m_nRecordId
//   1   Status          integer      m_nStatus
//   2   Placement       integer      m_nPlacement
//   3   Private         boolean      m_byPrivate
//   4   Category        number text  m_nCategoryId (the ID in decimal text, as in '2')
//   5   Note            text         m_szNote, whole
//   6   Start Time      number text  m_tStartTime, a time value (PmTime.h)
//   7   End Time        number text  m_tEndTime
//   8   Untimed         boolean      m_byUntimed: an event without a time of day
//   9   Time Zone       text [64]    m_szTimeZone
//   10  Location        text [256]   m_szLocation
//   11  Summary         text [256]   m_szSummary
//   12  Alarm           boolean      m_byAlarm
//   13  Alarm Advance   integer      m_nAlarmAdvance
//   14  Alarm Unit      integer      m_nAlarmUnit
//   15  Repeated Event  text [256]   m_szRepeatedEvent, the rule text (PmRepeatRuleText.h)
// A text read from the database is cut to its width in brackets less one byte.
//
// m_szStartTime and m_szEndTime hold the two times in signed decimal, the form the key
// columns are matched in; m_repeat is the rule m_szRepeatedEvent describes. The category
// name is not a column: it is filled from the category list, at most 31 characters.

#include <cstdint>
#include <string>

#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

struct PmDateEx2Record {
    std::int32_t m_nRecordId = 0;
    std::int32_t m_nStatus = 0;
    std::int32_t m_nPlacement = 0;
    std::uint8_t m_byPrivate = 0;
    std::int32_t m_nCategoryId = 0;
    std::string m_szCategoryName;
    std::string m_szNote;
    std::int32_t m_tStartTime = 0;
    std::string m_szStartTime;
    std::int32_t m_tEndTime = 0;
    std::string m_szEndTime;
    std::uint8_t m_byUntimed = 0;
    std::string m_szTimeZone;
    std::string m_szLocation;
    std::string m_szSummary;
    std::uint8_t m_byAlarm = 0;
    std::int32_t m_nAlarmAdvance = 0;
    std::int32_t m_nAlarmUnit = 0;
    std::string m_szRepeatedEvent;
    PmRepeatEvent m_repeat;

    bool operator==(const PmDateEx2Record&) const = default;
};

}  // namespace tabrel
