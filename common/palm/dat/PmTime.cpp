#include "palm/dat/PmTime.h"

#include <fmt/format.h>

#include <cerrno>
#include <ctime>
#include <limits>
#include <optional>

namespace tabrel {

namespace {

// The local time so described as a 32-bit time value; nullopt when the C library cannot
// convert it or the value lies outside the 32-bit range (after January 2038).
std::optional<std::int32_t> FromLocal(int year, int month, int day, int hour, int minute,
                                      int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    errno = 0;
    const std::time_t value = std::mktime(&local);
    if ((value == static_cast<std::time_t>(-1) && errno != 0) ||
        value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// Leading decimal digits of a fixed-position part; 0 when it starts with none.
int PartValue(std::string_view part) {
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool FitText(std::string text, std::string& out, std::size_t size) {
    if (text.size() + 1 > size) {
        out.clear();
        return false;
    }
    out = std::move(text);
    return true;
}

}  // namespace

PmTime::PmTime(int year, int month, int day, int hour, int minute, int second)
    : m_tTime(FromLocal(year, month, day, hour, minute, second).value_or(-1)) {}

PmTime::PmTime(std::int32_t value)
    : m_tTime(value != 0 ? value : static_cast<std::int32_t>(std::time(nullptr))) {}

std::tm PmTime::Local() const {
    const std::time_t value = m_tTime;
    std::tm local{};
    localtime_r(&value, &local);
    return local;
}

int PmTime::GetYear() const {
    return Local().tm_year + 1900;
}
int PmTime::GetMonth() const {
    return Local().tm_mon + 1;
}
int PmTime::GetDay() const {
    return Local().tm_mday;
}

bool PmTime::GetDateText(std::string& text, std::size_t size) const {
    const std::tm local = Local();
    return FitText(
        fmt::format("{:02d}/{:02d}/{:04d}", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
        text, size);
}

bool PmTime::GetTimeText(std::string& text, std::size_t size) const {
    const std::tm local = Local();
    return FitText(fmt::format("{:02d}:{:02d}:{:02d}", local.tm_hour, local.tm_min, local.tm_sec),
                   text, size);
}

bool PmTime::ToSystemTime(DateTimeFields& out) const {
    const std::time_t value = m_tTime;
    std::tm local{};
    if (localtime_r(&value, &local) == nullptr) {
        return false;
    }
    out = DateTimeFields{local.tm_year + 1900, local.tm_mon + 1, 0, local.tm_mday, local.tm_hour,
                         local.tm_min,         local.tm_sec,     0};
    return true;
}

bool PmTime::FromSystemTime(const DateTimeFields& in) {
    const auto value = FromLocal(in.year, in.month, in.day, in.hour, in.minute, in.second);
    if (!value) {
        return false;
    }
    m_tTime = *value;
    return true;
}

bool PmTime::ParseDateTimeText(std::string_view text, std::int32_t& value) {
    if (text.size() != 19) {
        return false;
    }
    const auto parsed = FromLocal(PartValue(text.substr(6, 4)), PartValue(text.substr(0, 2)),
                                  PartValue(text.substr(3, 2)), PartValue(text.substr(11, 2)),
                                  PartValue(text.substr(14, 2)), PartValue(text.substr(17, 2)));
    if (!parsed) {
        return false;
    }
    value = *parsed;
    return true;
}

bool PmTime::ParseDateTimeToSystemTime(std::string_view text, DateTimeFields& out) {
    std::int32_t value = 0;
    if (!ParseDateTimeText(text, value)) {
        return false;
    }
    PmTime time;
    time.SetTime(value);  // a value of 0 is 1970, not "now"
    return time.ToSystemTime(out);
}

}  // namespace tabrel
