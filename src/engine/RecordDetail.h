#pragma once
// What the record detail dialogs show of a record beyond its plain texts: the calendar
// record's recurrence, the texts the common stores format (dates, times, the due date), a
// contact's birthday and the address its home page box opens.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "palm/comm/CommAddrRec.h"
#include "palm/comm/CommDateRec.h"
#include "palm/comm/CommTaskRec.h"

namespace tabrel {

// The sub-tab of the recurrence that stays visible; kRecurTabNone hides the whole tab.
enum RecurrenceTab : int {
    kRecurTabNone,
    kRecurTabDaily,
    kRecurTabWeekly,
    kRecurTabMonthly,
    kRecurTabYearly,
};

struct RecurrenceView {
    RecurrenceTab m_nTab = kRecurTabNone;
    // Every how many days, weeks, months or years, in decimal.
    std::string m_szInterval;
    // Monthly: by weekday ("Day") rather than by date ("Date").
    bool m_bMonthlyByDay = false;
    // Weekly: the days the rule names, Sunday first.
    std::array<bool, 7> m_bWeekdays{};
    // The range: its start date, and its end date when it has one ("End by").
    std::string m_szStart;
    bool m_bEndBy = false;
    std::string m_szEnd;
};

// An end year from this one on means the repetition does not end.
inline constexpr int kRecurNoEndYear = 2100;

// The recurrence of a calendar record. The repetition starts with the event itself: its
// start date when year, month and day are all set, else the record's Date text.
RecurrenceView DescribeRecurrence(const CommDateRec& record);

// A calendar field's text as the common calendar store gives it (empty when none).
std::string CalendarFieldText(const CommDateRec& record, std::int32_t id);

// A task's due date as the common task store gives it, at most 31 characters.
std::string TaskDueDateText(const CommTaskRec& record);

// A contact's birthday as "MM/DD/YYYY"; the empty text when it has none (0) or the value is
// no date.
std::string ContactBirthdayText(const CommAddrRec& record);

// The address that opening a home page text goes to: the text itself when it names its
// scheme ("https://...", "mailto:..."), else the text as a web address ("http://" before
// it); the empty text for a text of blanks only.
std::string HomePageAddress(std::string_view text);

}  // namespace tabrel
