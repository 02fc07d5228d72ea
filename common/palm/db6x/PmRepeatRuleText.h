#pragma once
// The repeat rule of Palm Desktop 6.x Calendar and Tasks records as the databases keep it:
// vCalendar 1.0 recurrence text (the RRULE grammar), read into and written from a
// PmRepeatEvent. Weekdays of the weekly and the monthly-by-weekday rules are both kept in
// byDaysMask; nDayIndex and nFirstDayOfWeek are not used.
//
//   kind  rule                 text written                                example
//   1     daily                "D" interval                                D1 #0
//   2     weekly               "W" interval, day codes                     W2 MO WE #0
//   3     monthly by weekday   "MP" interval, " " week+1 "+", day codes     MP1 2+ TU #0
//   4     monthly by date      "MD" interval, " " day of month              MD3 15 #0
//   5     yearly by month      "YM" interval, " " month of the start time   YM1 6 #0
//                              (Calendar only; a task has no yearly rule)
//   other                      the empty text
// Day codes are " SU", " MO", " TU", " WE", " TH", " FR", " SA", in this order, one per bit
// of byDaysMask. A non-empty text ends with " #0" (no end date) or with the end date as
// " yyyymmddT00000Z" (the local date of tEndDate).

#include <cstdint>
#include <string>
#include <string_view>

#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

// Whose rule a text is: a Calendar event's rule can be yearly, a task's cannot.
enum class PmRuleOwner : std::uint8_t { Calendar, Tasks };

// The rule text of rule; startTime (a time value) gives a yearly rule its month. An end
// date above the last date (kPmTimeLastDate) is written as no end date.
std::string FormatRepeatRule(const PmRepeatEvent& rule, std::int32_t startTime, PmRuleOwner owner);

// The rule a text describes, all other members zero; startTime gives a yearly rule its day
// of the month.
//   - The first characters tell the kind: "D", "W", "MP", "MD", "Y" (Calendar only); any
//     other text, the empty one included, is kind 0 and nothing more is read.
//   - A number runs up to the next blank or "+" and is its leading digits (0 for none):
//     the interval right after the kind letters; for "MP" the number after the first blank,
//     less one, is nWeekIndex; for "MD" it is nDayNumber; for "Y" it is the month, less one
//     (nMonthIndex).
//   - For "W" and "MP", each day code followed by a blank, anywhere in the text, sets its
//     bit; a code at the very end of the text is not seen.
//   - The end part is the text after the last blank: "#0" is no end date
//     (kPmTimeNoDate); one whose characters before any "T" begin with a date yyyymmdd is
//     that local date at 00:00:00 (kPmTimeNoDate when it lies beyond the last time value).
//     Anything else, or a text without a blank, leaves tEndDate 0.
PmRepeatEvent ParseRepeatRule(std::string_view text, std::int32_t startTime, PmRuleOwner owner);

// The rule text to store for rule: the stored text when it reads as the same rule as the
// text rule is written as, otherwise that text. So a stored text keeps what the rule
// cannot express (an "n-" occurrence, an end given as a count, a rule of another kind),
// until the rule itself changes.
std::string RenewRepeatRule(std::string_view stored, const PmRepeatEvent& rule,
                            std::int32_t startTime, PmRuleOwner owner);

}  // namespace tabrel
