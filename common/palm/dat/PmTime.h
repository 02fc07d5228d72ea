#pragma once
// PmTime: a Palm Desktop 4.x time value (seconds since 1970-01-01 00:00:00, 32 bits) seen
// as the desktop's local date and time, with the text forms the CSV conversion uses.
//
// Local time is the C library's: localtime_r one way, mktime with tm_isdst = -1 the other,
// so the library decides about daylight saving.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "misc/CxDateTime.h"

namespace tabrel {

// The value written for "no end date" / "no due date"; values above kPmTimeLastDate read as
// "N/A" in the field texts.
inline constexpr std::int32_t kPmTimeNoDate = 1956499199;  // 0x749DCEFF
inline constexpr std::int32_t kPmTimeLastDate = 1956499198;

class PmTime {
  public:
    // The local time so described (month 1 to 12); -1 when it is no 32-bit time value
    // (after January 2038).
    PmTime(int year, int month, int day, int hour, int minute, int second);
    // The given value, or the current time for 0.
    explicit PmTime(std::int32_t value = 0);

    void SetTime(std::int32_t value) { m_tTime = value; }
    std::int32_t GetTime() const { return m_tTime; }

    int GetYear() const;   // e.g. 2004
    int GetMonth() const;  // 1 to 12
    int GetDay() const;    // 1 to 31

    // "MM/DD/YYYY" and "hh:mm:ss"; false with an empty text when the text and its
    // terminator would not fit in size bytes.
    bool GetDateText(std::string& text, std::size_t size) const;
    bool GetTimeText(std::string& text, std::size_t size) const;

    // The local time with day of week 0 and milliseconds 0.
    bool ToSystemTime(DateTimeFields& out) const;
    // Takes year, month, day, hour, minute and second as local time; false, with the value
    // unchanged, when that is no 32-bit time value.
    bool FromSystemTime(const DateTimeFields& in);

    // Exactly 19 characters "MM/DD/YYYY hh:mm:ss": the parts are read from their fixed
    // positions (separators not looked at, a part that is no number reads as 0). False for
    // another length or a moment that is no 32-bit time value.
    static bool ParseDateTimeText(std::string_view text, std::int32_t& value);
    static bool ParseDateTimeToSystemTime(std::string_view text, DateTimeFields& out);

  private:
    std::tm Local() const;

    std::int32_t m_tTime = 0;
};

}  // namespace tabrel
