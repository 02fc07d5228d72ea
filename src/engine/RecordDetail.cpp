#include "engine/RecordDetail.h"

#include <fmt/format.h>

#include "misc/CxDateTime.h"
#include "misc/CxText.h"
#include "palm/comm/CommDateMgr.h"
#include "palm/comm/CommTaskMgr.h"

namespace tabrel {

namespace {

// The repeat kinds of a yearly rule: by weekday (5) and by date (6).
constexpr std::int32_t kRepeatYearlyByWeekday = 5;

// The text of a field through a store; the stores hold no records, only their catalogues.
template <class Store, class Rec>
std::string StoreText(const Rec& record, std::int32_t id, std::size_t size) {
    static const Store store;
    std::string text;
    store.GetFieldText(record, id, text, size);
    return text;
}

std::string DayText(int month, int day, int year) {
    return fmt::format("{:02d}/{:02d}/{:04d}", month, day, year);
}

RecurrenceTab TabOf(std::int32_t kind) {
    switch (kind) {
        case kCommRepeatDaily:
            return kRecurTabDaily;
        case kCommRepeatWeekly:
            return kRecurTabWeekly;
        case kCommRepeatMonthlyByWeekday:
        case kCommRepeatMonthlyByDate:
            return kRecurTabMonthly;
        case kRepeatYearlyByWeekday:
        case kCommRepeatYearlyByDate:
            return kRecurTabYearly;
        default:
            return kRecurTabNone;
    }
}

}  // namespace

RecurrenceView DescribeRecurrence(const CommDateRec& record) {
    RecurrenceView view;
    const CommRepeat& repeat = record.m_repeat;
    view.m_nTab = TabOf(repeat.m_nKind);
    if (view.m_nTab == kRecurTabNone) {
        return view;
    }
    view.m_szInterval = std::to_string(repeat.m_nInterval);
    view.m_bMonthlyByDay = repeat.m_nKind == kCommRepeatMonthlyByWeekday;
    if (repeat.m_nKind == kCommRepeatWeekly) {
        for (std::size_t day = 0; day < view.m_bWeekdays.size(); ++day) {
            view.m_bWeekdays[day] = (repeat.m_nWeekday & (1 << day)) != 0;
        }
    }
    const DateTimeFields& start = record.m_start;
    view.m_szStart = start.month != 0 && start.day != 0 && start.year != 0
                         ? DayText(start.month, start.day, start.year)
                         : CalendarFieldText(record, CommDateId::kDate);
    const DateTimeFields& end = repeat.m_endDate;
    if (repeat.m_bHasEnd != 0 && end.year < kRecurNoEndYear) {
        view.m_bEndBy = true;
        view.m_szEnd = DayText(end.month, end.day, end.year);
    }
    return view;
}

std::string CalendarFieldText(const CommDateRec& record, std::int32_t id) {
    return StoreText<CommDateMgr>(record, id, CommDateRec::kNoteSize);
}

std::string TaskDueDateText(const CommTaskRec& record) {
    return StoreText<CommTaskMgr>(record, CommTaskId::kDueDate, 32);
}

std::string ContactBirthdayText(const CommAddrRec& record) {
    DateTimeFields fields;
    if (record.m_dBirthday == 0.0 || !VariantDateToFields(record.m_dBirthday, fields)) {
        return {};
    }
    return DayText(fields.month, fields.day, fields.year);
}

std::string HomePageAddress(std::string_view text) {
    const std::string_view address = Trim(text);
    if (address.empty()) {
        return {};
    }
    if (address.find("://") != std::string_view::npos || address.starts_with("mailto:")) {
        return std::string(address);
    }
    return "http://" + std::string(address);
}

}  // namespace tabrel
