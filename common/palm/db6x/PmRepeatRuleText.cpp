#include "palm/db6x/PmRepeatRuleText.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <limits>

#include "palm/dat/PmTime.h"

namespace tabrel {

namespace {

// The day codes in the order of their bits in byDaysMask (0x01 Sunday to 0x40 Saturday).
constexpr std::array<std::string_view, 7> kDayCodes = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

std::tm LocalFields(std::int64_t value) {
    const std::time_t time = static_cast<std::time_t>(value);
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

// The number that starts at position: its leading digits, up to the next blank or "+";
// 0 when there are none. Values past the 32-bit range stay at its largest.
std::uint32_t NumberAt(std::string_view text, std::size_t position) {
    if (position >= text.size()) {
        return 0;
    }
    std::string_view rest = text.substr(position);
    rest = rest.substr(0, rest.find_first_of(" +"));
    std::uint64_t value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(c - '0'),
                                        std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(value);
}

// The number after the first blank; nothing when the text has no blank.
bool NumberAfterBlank(std::string_view text, std::uint32_t& number) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) {
        return false;
    }
    number = NumberAt(text, blank + 1);
    return true;
}

std::uint8_t DaysOf(std::string_view text) {
    std::uint8_t mask = 0;
    for (std::size_t day = 0; day < kDayCodes.size(); ++day) {
        const std::string code = std::string(kDayCodes[day]) + " ";
        if (text.find(code) != std::string_view::npos) {
            mask = static_cast<std::uint8_t>(mask | (1u << day));
        }
    }
    return mask;
}

std::string DayCodes(std::uint8_t mask) {
    std::string codes;
    for (std::size_t day = 0; day < kDayCodes.size(); ++day) {
        if ((mask & (1u << day)) != 0) {
            codes += ' ';
            codes += kDayCodes[day];
        }
    }
    return codes;
}

// Two to four digits of a date as a number; false when one of them is no digit.
bool Digits(std::string_view text, int& value) {
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

// The end part of a rule: the text after its last blank.
std::uint32_t EndDateOf(std::string_view text) {
    const std::size_t blank = text.rfind(' ');
    if (blank == std::string_view::npos) {
        return 0;
    }
    std::string_view end = text.substr(blank + 1);
    if (end == "#0") {
        return static_cast<std::uint32_t>(kPmTimeNoDate);
    }
    end = end.substr(0, 31);
    end = end.substr(0, end.find('T'));
    int year = 0;
    int month = 0;
    int day = 0;
    if (end.size() < 8 || !Digits(end.substr(0, 4), year) || !Digits(end.substr(4, 2), month) ||
        !Digits(end.substr(6, 2), day) || month < 1 || month > 12 || day < 1 || day > 31) {
        return 0;
    }
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_isdst = -1;
    const std::int64_t value = std::mktime(&local);
    if (value < 0) {
        return 0;
    }
    if (value > kPmTimeLastDate) {
        return static_cast<std::uint32_t>(kPmTimeNoDate);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::string FormatRepeatRule(const PmRepeatEvent& rule, std::int32_t startTime, PmRuleOwner owner) {
    std::string text;
    switch (rule.nKind) {
        case 1:
            text = fmt::format("D{}", rule.nInterval);
            break;
        case 2:
            text = fmt::format("W{}", rule.nInterval) + DayCodes(rule.byDaysMask);
            break;
        case 3:
            text = fmt::format("MP{} {}+", rule.nInterval, rule.nWeekIndex + 1) +
                   DayCodes(rule.byDaysMask);
            break;
        case 4:
            text = fmt::format("MD{} {}", rule.nInterval, rule.nDayNumber);
            break;
        case 5:
            if (owner == PmRuleOwner::Calendar) {
                text = fmt::format("YM{} {}", rule.nInterval, LocalFields(startTime).tm_mon + 1);
            }
            break;
        default:
            break;
    }
    if (text.empty()) {
        return text;
    }
    if (rule.tEndDate > static_cast<std::uint32_t>(kPmTimeLastDate)) {
        return text + " #0";
    }
    const std::tm end = LocalFields(rule.tEndDate);
    return text + fmt::format(" {:04d}{:02d}{:02d}T00000Z", end.tm_year + 1900, end.tm_mon + 1,
                              end.tm_mday);
}

PmRepeatEvent ParseRepeatRule(std::string_view text, std::int32_t startTime, PmRuleOwner owner) {
    PmRepeatEvent rule;
    if (text.starts_with("D")) {
        rule.nKind = 1;
        rule.nInterval = NumberAt(text, 1);
    } else if (text.starts_with("W")) {
        rule.nKind = 2;
        rule.nInterval = NumberAt(text, 1);
        rule.byDaysMask = DaysOf(text);
    } else if (text.starts_with("MP")) {
        rule.nKind = 3;
        rule.nInterval = NumberAt(text, 2);
        std::uint32_t week = 0;
        if (NumberAfterBlank(text, week)) {
            rule.nWeekIndex = week - 1;  // 0 wraps, and is written back as 0 again
        }
        rule.byDaysMask = DaysOf(text);
    } else if (text.starts_with("MD")) {
        rule.nKind = 4;
        rule.nInterval = NumberAt(text, 2);
        NumberAfterBlank(text, rule.nDayNumber);
    } else if (text.starts_with("Y") && owner == PmRuleOwner::Calendar) {
        rule.nKind = 5;
        rule.nInterval = NumberAt(text, 2);
        std::uint32_t month = 0;
        if (NumberAfterBlank(text, month)) {
            rule.nMonthIndex = month - 1;
        }
        rule.nDayNumber = static_cast<std::uint32_t>(LocalFields(startTime).tm_mday);
    } else {
        return rule;
    }
    rule.tEndDate = EndDateOf(text);
    return rule;
}

std::string RenewRepeatRule(std::string_view stored, const PmRepeatEvent& rule,
                            std::int32_t startTime, PmRuleOwner owner) {
    std::string text = FormatRepeatRule(rule, startTime, owner);
    if (text != stored &&
        ParseRepeatRule(stored, startTime, owner) == ParseRepeatRule(text, startTime, owner)) {
        return std::string(stored);
    }
    return text;
}

}  // namespace tabrel
