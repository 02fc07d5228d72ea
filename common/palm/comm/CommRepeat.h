#pragma once
// CommRepeat: the repeat rule of a common calendar or task record.

#include <cstdint>

#include "misc/CxDateTime.h"

namespace tabrel {

enum CommRepeatKind : std::int32_t {
    kCommRepeatNone = 0,
    kCommRepeatDaily = 1,
    kCommRepeatWeekly = 2,
    kCommRepeatMonthlyByWeekday = 3,
    kCommRepeatMonthlyByDate = 4,
    kCommRepeatYearlyByDate = 6,
};

struct CommRepeat {
    std::int32_t m_nKind = kCommRepeatNone;  // a CommRepeatKind
    std::int32_t m_bHasEnd = 0;              // set when m_endDate ends the repetition
    DateTimeFields m_endDate;
    std::int32_t m_nInterval = 0;     // every m_nInterval days, weeks, months or years
    std::int32_t m_nWeekday = 0;      // the weekday, or for a weekly rule the weekday mask
    std::int32_t m_nDayOfMonth = 0;   // monthly and yearly by date
    std::int32_t m_nMonth = 0;        // yearly: 1 to 12
    std::int32_t m_nWeekOfMonth = 0;  // monthly by weekday

    friend bool operator==(const CommRepeat& a, const CommRepeat& b) {
        const DateTimeFields& x = a.m_endDate;
        const DateTimeFields& y = b.m_endDate;
        return a.m_nKind == b.m_nKind && a.m_bHasEnd == b.m_bHasEnd && x.year == y.year &&
               x.month == y.month && x.dayOfWeek == y.dayOfWeek && x.day == y.day &&
               x.hour == y.hour && x.minute == y.minute && x.second == y.second &&
               x.millisecond == y.millisecond && a.m_nInterval == b.m_nInterval &&
               a.m_nWeekday == b.m_nWeekday && a.m_nDayOfMonth == b.m_nDayOfMonth &&
               a.m_nMonth == b.m_nMonth && a.m_nWeekOfMonth == b.m_nWeekOfMonth;
    }
};

}  // namespace tabrel
