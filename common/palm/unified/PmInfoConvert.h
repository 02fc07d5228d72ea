#pragma once
// Conversions the four facades share between Palm Desktop record values, their CSV texts
// and the common records: date-time texts, truth values, numbers, priorities, alarms,
// repeat rules, birthdays and category names.

#include <cstdint>
#include <string>
#include <string_view>

#include "misc/CxDateTime.h"
#include "palm/comm/CommRepeat.h"
#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

// Contact birthdays and anniversaries are stored as a variant date (days since
// 30 December 1899) plus this offset.
inline constexpr std::int32_t kPmDateOffset = 129080608;

// "MM/DD/YYYY hh:mm:ss" of a Palm time value, as local time; "N/A" for a value above
// kPmTimeLastDate (no date).
std::string PmDateTimeText(std::int64_t value);

// A date-time text of an import into a Palm time value: "MM/DD/YYYY hh:mm:ss", or "N/A" or
// the empty text (blanks around it ignored) for no date (kPmTimeNoDate). False, with value
// unchanged, for any other text.
bool PmParseDateTime(std::string_view text, std::int32_t& value);
// The same into local calendar fields; no date gives the fields of kPmTimeNoDate, which
// turn back into that value.
bool PmParseDateTime(std::string_view text, DateTimeFields& fields);

// The calendar fields of a Palm time value (local time); false when it has none.
bool PmTimeToFields(std::int64_t value, DateTimeFields& fields);
// The Palm time value of local calendar fields; false when they name no 32-bit time.
bool PmTimeFromFields(const DateTimeFields& fields, std::int32_t& value);

// "Yes", "1" or "true" in any letter case.
bool PmTruthValue(std::string_view text);
// "Yes" or "No".
std::string_view PmYesNo(std::int64_t flag);

// The integer at the start of a text as the standard decimal conversion reads it: leading
// blanks, an optional sign, digits; anything else ends it, no digits give 0. Clamped to
// the 32-bit range.
std::int32_t PmTextInteger(std::string_view text);

// Palm priorities 1 (highest) to 5 against the common High (1), Low (2) and Normal (0).
std::int32_t PmPriorityToCommon(std::int64_t palmPriority);
std::int32_t PmPriorityFromCommon(std::int32_t commonPriority);

// Palm alarm units (0 minutes, 1 hours, 2 days) against the common ones (1, 2, 3).
std::int32_t PmAlarmUnitToCommon(std::int64_t palmUnit);
std::int32_t PmAlarmUnitFromCommon(std::int32_t commonUnit);

// The text of a repeat rule: "Daily (every %d days)", "Weekly (every %d weeks)",
// "Monthly by day", "Monthly by date (%d)", "Yearly by date (%02d/%02d)" (day, then the
// month as stored, 0 for January), "N/A" for anything else.
std::string PmRepeatText(const PmRepeatEvent& repeat);

// A Palm repeat rule into the common one and back. The end date is kept whenever the Palm
// rule has one (a real date, not the no-date value), and written back whenever the common
// date names a 32-bit time value.
void PmRepeatToCommon(const PmRepeatEvent& palm, CommRepeat& common);
void PmRepeatFromCommon(const CommRepeat& common, PmRepeatEvent& palm);

// A contact's stored birthday or anniversary into the common variant date and back; a
// stored 0 means none and stays 0 both ways.
double PmBirthdayToCommon(double stored);
double PmBirthdayFromCommon(double common);
// The CSV text of a stored birthday: the variant-date day number, or the empty text for
// none.
std::string PmBirthdayText(double stored);
// The common birthday of a CSV text: its integer value, 0 (none) for an empty text.
double PmBirthdayFromText(std::string_view text);

// The category an imported record is filed under: its category text up to the first ",".
std::string_view PmCategoryNameOf(std::string_view category);

// The subject of a memo: its text up to the first line break, at most maxChars characters.
std::string PmMemoSubject(std::string_view text, std::size_t maxChars);

}  // namespace tabrel
