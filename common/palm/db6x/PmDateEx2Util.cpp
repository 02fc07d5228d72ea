#include "palm/db6x/PmDateEx2Util.h"

#include "palm/db6x/PmRepeatRuleText.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

using R = PmDateEx2Record;
using U = PmDateEx2Util;
using Kind = PmEx2ColumnKind;

constexpr std::array<PmEx2Column<R>, U::ColumnCount> kTable = {{
    {U::kColumns[U::RecordId], Kind::Integer, &R::m_nRecordId},
    {U::kColumns[U::Status], Kind::Integer, &R::m_nStatus},
    {U::kColumns[U::Placement], Kind::Integer, &R::m_nPlacement},
    {U::kColumns[U::Private], Kind::Boolean, &R::m_byPrivate},
    {U::kColumns[U::Category], Kind::NumberText, &R::m_nCategoryId},
    {U::kColumns[U::Note], Kind::Text, &R::m_szNote, kWholeText},
    {U::kColumns[U::StartTime], Kind::NumberText, &R::m_tStartTime},
    {U::kColumns[U::EndTime], Kind::NumberText, &R::m_tEndTime},
    {U::kColumns[U::Untimed], Kind::Boolean, &R::m_byUntimed},
    {U::kColumns[U::TimeZone], Kind::Text, &R::m_szTimeZone, 64},
    {U::kColumns[U::Location], Kind::Text, &R::m_szLocation, 256},
    {U::kColumns[U::Summary], Kind::Text, &R::m_szSummary, 256},
    {U::kColumns[U::Alarm], Kind::Boolean, &R::m_byAlarm},
    {U::kColumns[U::AlarmAdvance], Kind::Integer, &R::m_nAlarmAdvance},
    {U::kColumns[U::AlarmUnit], Kind::Integer, &R::m_nAlarmUnit},
    {U::kColumns[U::RepeatedEvent], Kind::Text, &R::m_szRepeatedEvent, 256},
}};
static_assert(ColumnTableMatches<R>(kTable, U::kColumns));

constexpr auto kCompared = ColumnsExcept<U::ColumnCount>(std::array<std::size_t, 1>{U::Placement});
constexpr auto kChangeOrder = ColumnsExcept<U::ColumnCount>(std::array<std::size_t, 0>{});

const PmEx2AppInfo& DateInfo() {
    static const PmEx2AppInfo info = {
        .app = AppCalendar,
        .columns = U::kColumns,
        .keyColumns = U::kKeyColumns,
        .byUserLine = "Start loading Palm Desktop Calendar by user ID: %d",
        .emptyPathLine = nullptr,
        .loadingLine = "Loading Palm Desktop Calendar: %s",
        .openFailedLine = "Open Palm Desktop Calendar database failed: %s",
        .startMainLine = "Start loading Palm Desktop Calendar main records.",
        .firstRowLine = "Query first record in the Calendar database table successfully.",
        .noFirstRowLine =
            "Failed to query the first record of the Calendar main table. Check if "
            "there is any records in the database table.",
        .noNextRowLine =
            "Failed to query the next record of the Calendar main table. Check if it "
            "is the end of the table.",
        .endMainLine = "Loading Palm Desktop Calendar main records completed successfully.",
    };
    return info;
}

void SetTimeTexts(R& record) {
    record.m_szStartTime = std::to_string(record.m_tStartTime);
    record.m_szEndTime = std::to_string(record.m_tEndTime);
}

}  // namespace

PmDateEx2Util::PmDateEx2Util()
    : PmEx2ColumnUtil(DateInfo(), Mapping{kTable, kCompared, kChangeOrder}) {}

PmDateEx2Util::PmDateEx2Util(const std::string& path) : PmDateEx2Util() {
    SetLoaded(LoadFile(path));
}

void PmDateEx2Util::BuildRuleText(PmDateEx2Record& record) {
    record.m_szRepeatedEvent =
        FormatRepeatRule(record.m_repeat, record.m_tStartTime, PmRuleOwner::Calendar);
}

void PmDateEx2Util::ParseRuleText(PmDateEx2Record& record) {
    record.m_repeat =
        ParseRepeatRule(record.m_szRepeatedEvent, record.m_tStartTime, PmRuleOwner::Calendar);
}

void PmDateEx2Util::ReadRow(const DbRow& row, PmDateEx2Record& record) {
    PmEx2ColumnUtil::ReadRow(row, record);
    SetTimeTexts(record);
}

void PmDateEx2Util::AfterLoad(PmDateEx2Record& record) {
    ParseRuleText(record);
    FillCategoryName(record);
}

bool PmDateEx2Util::BeforeWrite(PmDateEx2Record& record) {
    SetTimeTexts(record);
    record.m_szRepeatedEvent = RenewRepeatRule(record.m_szRepeatedEvent, record.m_repeat,
                                               record.m_tStartTime, PmRuleOwner::Calendar);
    if (!ResolveCategoryId(record)) {
        CX_LOG(kLogFailure,
               "The event's category %s is not in the database; the event is not written.",
               record.m_szCategoryName);
        return false;
    }
    return true;
}

DbRow PmDateEx2Util::MakeKeyValues(const PmDateEx2Record& record) {
    return {MakeIntegerValue(record.m_nRecordId), MakeTextValue(record.m_szStartTime),
            MakeTextValue(record.m_szEndTime), MakeTextValue(record.m_szSummary)};
}

}  // namespace tabrel
