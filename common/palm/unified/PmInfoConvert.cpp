#include "palm/unified/PmInfoConvert.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "misc/CxText.h"
#include "palm/comm/CommTaskRec.h"
#include "palm/dat/PmTime.h"

namespace tabrel {

namespace {

bool IsNoDateText(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    return trimmed.empty() || EqualsNoCase(trimmed, "N/A");
}

}  // namespace

std::string PmDateTimeText(std::int64_t value) {
    if (value > kPmTimeLastDate || value < std::numeric_limits<std::int32_t>::min()) {
        return "N/A";
    }
    PmTime time;
    time.SetTime(static_cast<std::int32_t>(value));
    std::string date;
    std::string clock;
    if (!time.GetDateText(date, 32) || !time.GetTimeText(clock, 32)) {
        return {};
    }
    return date + " " + clock;
}

bool PmParseDateTime(std::string_view text, std::int32_t& value) {
    if (IsNoDateText(text)) {
        value = kPmTimeNoDate;
        return true;
    }
    return PmTime::ParseDateTimeText(text, value);
}

bool PmParseDateTime(std::string_view text, DateTimeFields& fields) {
    std::int32_t value = 0;
    return PmParseDateTime(text, value) && PmTimeToFields(value, fields);
}

bool PmTimeToFields(std::int64_t value, DateTimeFields& fields) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    PmTime time;
    time.SetTime(static_cast<std::int32_t>(value));
    return time.ToSystemTime(fields);
}

bool PmTimeFromFields(const DateTimeFields& fields, std::int32_t& value) {
    PmTime time;
    time.SetTime(0);
    if (!time.FromSystemTime(fields)) {
        return false;
    }
    value = time.GetTime();
    return true;
}

bool PmTruthValue(std::string_view text) {
    return EqualsNoCase(text, "Yes") || text == "1" || EqualsNoCase(text, "true");
}

std::string_view PmYesNo(std::int64_t flag) {
    return flag != 0 ? "Yes" : "No";
}

std::int32_t PmTextInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kLimit);
    }
    if (negative) {
        value = -value;
    }
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

std::int32_t PmPriorityToCommon(std::int64_t palmPriority) {
    if (palmPriority == 1) {
        return kCommPriorityHigh;
    }
    if (palmPriority == 5) {
        return kCommPriorityLow;
    }
    return 0;
}

std::int32_t PmPriorityFromCommon(std::int32_t commonPriority) {
    if (commonPriority == kCommPriorityHigh) {
        return 1;
    }
    if (commonPriority == kCommPriorityLow) {
        return 5;
    }
    return 3;
}

std::int32_t PmAlarmUnitToCommon(std::int64_t palmUnit) {
    return palmUnit == 1 ? 2 : palmUnit == 2 ? 3 : 1;
}

std::int32_t PmAlarmUnitFromCommon(std::int32_t commonUnit) {
    return commonUnit == 2 ? 1 : commonUnit == 3 ? 2 : 0;
}

std::string PmRepeatText(const PmRepeatEvent& repeat) {
    switch (repeat.nKind) {
        case 1:
            return fmt::format("Daily (every {} days)",
                               static_cast<std::int32_t>(repeat.nInterval));
        case 2:
            return fmt::format("Weekly (every {} weeks)",
                               static_cast<std::int32_t>(repeat.nInterval));
        case 3:
            return "Monthly by day";
        case 4:
            return fmt::format("Monthly by date ({})",
                               static_cast<std::int32_t>(repeat.nDayNumber));
        case 5:
            return fmt::format("Yearly by date ({:02d}/{:02d})",
                               static_cast<std::int32_t>(repeat.nDayNumber),
                               static_cast<std::int32_t>(repeat.nMonthIndex));
        default:
            return "N/A";
    }
}

void PmRepeatToCommon(const PmRepeatEvent& palm, CommRepeat& common) {
    common = CommRepeat{};
    const auto interval = static_cast<std::int32_t>(palm.nInterval);
    switch (palm.nKind) {
        case 1:
            common.m_nKind = kCommRepeatDaily;
            common.m_nInterval = interval;
            common.m_nWeekday = static_cast<std::int32_t>(palm.nDayIndex);
            break;
        case 2:
            common.m_nKind = kCommRepeatWeekly;
            common.m_nInterval = interval;
            common.m_nWeekday = palm.byDaysMask;
            common.m_nWeekOfMonth = 1;
            break;
        case 3:
            common.m_nKind = kCommRepeatMonthlyByWeekday;
            common.m_nInterval = interval;
            common.m_nWeekday = static_cast<std::int32_t>(palm.nDayIndex);
            common.m_nWeekOfMonth = static_cast<std::int32_t>(palm.nWeekIndex);
            break;
        case 4:
            common.m_nKind = kCommRepeatMonthlyByDate;
            common.m_nInterval = interval;
            common.m_nDayOfMonth = static_cast<std::int32_t>(palm.nDayNumber);
            break;
        case 5:
            common.m_nKind = kCommRepeatYearlyByDate;
            common.m_nInterval = interval;
            common.m_nDayOfMonth = static_cast<std::int32_t>(palm.nDayNumber);
            common.m_nMonth = static_cast<std::int32_t>(palm.nMonthIndex) + 1;
            break;
        default:
            return;  // no repetition: nothing more is carried
    }
    if (palm.tEndDate <= static_cast<std::uint32_t>(kPmTimeLastDate) &&
        PmTimeToFields(palm.tEndDate, common.m_endDate)) {
        common.m_bHasEnd = 1;
    }
}

void PmRepeatFromCommon(const CommRepeat& common, PmRepeatEvent& palm) {
    const auto interval = static_cast<std::uint32_t>(common.m_nInterval);
    palm.nInterval = 0;
    palm.nDayIndex = 0;
    palm.byDaysMask = 0;
    palm.nWeekIndex = 0;
    palm.nMonthIndex = 0;
    palm.nDayNumber = 0;
    switch (common.m_nKind) {
        case kCommRepeatDaily:
            palm.nKind = 1;
            palm.nInterval = interval;
            palm.nDayIndex = static_cast<std::uint32_t>(common.m_nWeekday);
            break;
        case kCommRepeatWeekly:
            palm.nKind = 2;
            palm.nInterval = interval;
            palm.nDayIndex = 1;
            palm.byDaysMask = static_cast<std::uint8_t>(common.m_nWeekday & 0xFF);
            break;
        case kCommRepeatMonthlyByWeekday:
            palm.nKind = 3;
            palm.nInterval = interval;
            palm.nDayIndex = static_cast<std::uint32_t>(common.m_nWeekday);
            palm.nWeekIndex = static_cast<std::uint32_t>(common.m_nWeekOfMonth);
            break;
        case kCommRepeatMonthlyByDate:
            palm.nKind = 4;
            palm.nInterval = interval;
            palm.nDayNumber = static_cast<std::uint32_t>(common.m_nDayOfMonth);
            break;
        case kCommRepeatYearlyByDate:
            palm.nKind = 5;
            palm.nInterval = interval;
            palm.nDayNumber = static_cast<std::uint32_t>(common.m_nDayOfMonth);
            palm.nMonthIndex = static_cast<std::uint32_t>(common.m_nMonth - 1);
            break;
        default:
            palm.nKind = 0;
            break;
    }
    std::int32_t end = kPmTimeNoDate;
    if (!common.m_bHasEnd || !PmTimeFromFields(common.m_endDate, end) || end < 0 ||
        end > kPmTimeLastDate) {
        end = kPmTimeNoDate;
    }
    palm.tEndDate = static_cast<std::uint32_t>(end);
}

double PmBirthdayToCommon(double stored) {
    return stored == 0 ? 0.0 : stored - kPmDateOffset;
}

double PmBirthdayFromCommon(double common) {
    return common == 0 ? 0.0 : common + kPmDateOffset;
}

std::string PmBirthdayText(double stored) {
    if (stored == 0 || !std::isfinite(stored)) {
        return {};
    }
    const double days = std::trunc(stored) - kPmDateOffset;
    if (days < std::numeric_limits<std::int32_t>::min() ||
        days > std::numeric_limits<std::int32_t>::max()) {
        return {};
    }
    return fmt::format("{}", static_cast<std::int32_t>(days));
}

double PmBirthdayFromText(std::string_view text) {
    return PmTextInteger(text);
}

std::string_view PmCategoryNameOf(std::string_view category) {
    return category.substr(0, category.find(','));
}

std::string PmMemoSubject(std::string_view text, std::size_t maxChars) {
    return CutText(text.substr(0, text.find_first_of("\r\n")), maxChars);
}

}  // namespace tabrel
