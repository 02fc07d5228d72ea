#include "misc/CxDateTime.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdint>

#include "misc/CxText.h"

namespace tabrel {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// The text forms are built in 32-byte buffers: at most 31 characters each.
constexpr std::size_t kMaxText = 31;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar (valid for any
// year; see H. Hinnant's civil-date algorithms).
constexpr std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

constexpr CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Variant day 0 (30 December 1899) counted from 1 January 1970.
constexpr std::int64_t kVariantEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = DaysFromCivil(kMinYear, 1, 1) - kVariantEpoch;
constexpr std::int64_t kLastDay = DaysFromCivil(kMaxYear, 12, 31) - kVariantEpoch;

constexpr bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// 0 = Sunday; 1 January 1970 was a Thursday.
int DayOfWeek(std::int64_t daysSince1970) {
    const std::int64_t weekday = (daysSince1970 + 4) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

bool FieldsArePossible(const DateTimeFields& f) {
    return f.year >= kMinYear && f.year <= kMaxYear && f.month >= 1 && f.month <= 12 &&
           f.day >= 1 && f.day <= DaysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 &&
           f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59 &&
           f.millisecond >= 0 && f.millisecond <= 999;
}

}  // namespace

bool VariantDateToFields(double variantDate, DateTimeFields& fields) {
    if (!std::isfinite(variantDate) || variantDate <= static_cast<double>(kFirstDay - 1) ||
        variantDate >= static_cast<double>(kLastDay + 1)) {
        return false;
    }
    // The whole part counts days; the fraction is the time of day, positive even for
    // negative dates.
    const double whole = std::trunc(variantDate);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t ms = std::llround(std::fabs(variantDate - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {  // rounded up to midnight: the next calendar day
        ms -= kMsPerDay;
        ++day;
    }
    if (day > kLastDay) {
        return false;
    }
    const std::int64_t since1970 = day + kVariantEpoch;
    const CivilDate date = CivilFromDays(since1970);
    fields.year = static_cast<int>(date.year);
    fields.month = date.month;
    fields.day = date.day;
    fields.dayOfWeek = DayOfWeek(since1970);
    fields.hour = static_cast<int>(ms / 3600000);
    fields.minute = static_cast<int>(ms / 60000 % 60);
    fields.second = static_cast<int>(ms / 1000 % 60);
    fields.millisecond = static_cast<int>(ms % 1000);
    return true;
}

bool FieldsToVariantDate(const DateTimeFields& fields, double& variantDate) {
    if (!FieldsArePossible(fields)) {
        return false;
    }
    const std::int64_t day = DaysFromCivil(fields.year, fields.month, fields.day) - kVariantEpoch;
    const std::int64_t ms =
        ((fields.hour * 60 + fields.minute) * 60 + fields.second) * 1000LL + fields.millisecond;
    const double time = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
    variantDate = day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
    return true;
}

CxDateTime::CxDateTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    if (localtime_r(&now.tv_sec, &local) != nullptr) {
        SetFromTm(local, static_cast<int>(now.tv_nsec / 1000000));
    }
}

CxDateTime::CxDateTime(double variantDate) {
    m_dDate = variantDate;
    m_bValid = VariantDateToFields(variantDate, m_fields);
}

CxDateTime::CxDateTime(std::time_t timeValue) {
    std::tm local{};
    if (localtime_r(&timeValue, &local) != nullptr) {
        SetFromTm(local, 0);
    }
}

CxDateTime::CxDateTime(const DateTimeFields& fields) : m_fields(fields) {
    m_bValid = FieldsToVariantDate(fields, m_dDate);
    if (m_bValid) {
        m_fields.dayOfWeek = DayOfWeek(DaysFromCivil(fields.year, fields.month, fields.day));
    }
}

void CxDateTime::SetFromTm(const std::tm& local, int millisecond) {
    m_fields.year = local.tm_year + 1900;
    m_fields.month = local.tm_mon + 1;
    m_fields.dayOfWeek = local.tm_wday;
    m_fields.day = local.tm_mday;
    m_fields.hour = local.tm_hour;
    m_fields.minute = local.tm_min;
    // A leap second (60) is shown as the last second of its minute.
    m_fields.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    m_fields.millisecond = millisecond;
    m_bValid = FieldsToVariantDate(m_fields, m_dDate);
}

std::string CxDateTime::DateText() const {
    if (m_fields.year > 2030 || m_fields.year <= 1930) {
        return {};
    }
    return CutText(fmt::sprintf("%02d/%02d/%04d", m_fields.month, m_fields.day, m_fields.year),
                   kMaxText);
}

std::string CxDateTime::TimeText() const {
    return CutText(fmt::sprintf("%02d:%02d:%02d", m_fields.hour, m_fields.minute, m_fields.second),
                   kMaxText);
}

std::string CxDateTime::DateTimeText() const {
    return DateText() + " " + TimeText();
}

int CompareDate(const DateTimeFields* a, const DateTimeFields* b) {
    if (a == nullptr) {
        return -1;
    }
    if (b == nullptr) {
        return 1;
    }
    if (a->year != b->year) {
        return a->year < b->year ? -1 : 1;
    }
    if (a->month != b->month) {
        return a->month < b->month ? -1 : 1;
    }
    if (a->day != b->day) {
        return a->day < b->day ? -1 : 1;
    }
    return 0;
}

void CopyDate(const DateTimeFields& from, DateTimeFields& to) {
    to.year = from.year;
    to.month = from.month;
    to.day = from.day;
    to.dayOfWeek = from.dayOfWeek;
}

bool VariantDateText(double variantDate, std::string& text) {
    text.clear();
    DateTimeFields f;
    if (!VariantDateToFields(variantDate, f)) {
        return false;
    }
    text = fmt::sprintf("%02d-%02d-%04d %02d:%02d:%02d", f.month, f.day, f.year, f.hour, f.minute,
                        f.second);
    return true;
}

}  // namespace tabrel
