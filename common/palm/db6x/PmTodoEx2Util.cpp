#include "palm/db6x/PmTodoEx2Util.h"

#include "palm/db6x/PmRepeatRuleText.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

using R = PmTodoEx2Record;
using U = PmTodoEx2Util;
using Kind = PmEx2ColumnKind;

constexpr std::array<PmEx2Column<R>, U::ColumnCount> kTable = {{
    {U::kColumns[U::RecordId], Kind::Integer, &R::m_nRecordId},
    {U::kColumns[U::Status], Kind::Integer, &R::m_nStatus},
    {U::kColumns[U::Placement], Kind::Integer, &R::m_nPlacement},
    {U::kColumns[U::Private], Kind::Boolean, &R::m_byPrivate},
    {U::kColumns[U::Category], Kind::NumberText, &R::m_nCategoryId},
    {U::kColumns[U::Note], Kind::Text, &R::m_szNote, kWholeText},
    {U::kColumns[U::Description], Kind::Text, &R::m_szDescription, 256},
    {U::kColumns[U::DueDate], Kind::NumberText, &R::m_tDueDate},
    {U::kColumns[U::Completed], Kind::Boolean, &R::m_byCompleted},
    {U::kColumns[U::Priority], Kind::Integer, &R::m_nPriority},
    {U::kColumns[U::RepeatOnCompleteDate], Kind::Boolean, &R::m_byRepeatOnCompleteDate},
    {U::kColumns[U::CompleteDate], Kind::NumberText, &R::m_tCompleteDate},
    {U::kColumns[U::AlarmSet], Kind::Boolean, &R::m_byAlarmSet},
    {U::kColumns[U::AlarmTime], Kind::NumberText, &R::m_tAlarmTime},
    {U::kColumns[U::AlarmAdvance], Kind::Integer, &R::m_nAlarmAdvance},
    {U::kColumns[U::RepeatStartDate], Kind::NumberText, &R::m_tRepeatStartDate},
    {U::kColumns[U::RepeatInfo], Kind::Text, &R::m_szRepeatInfo, 256},
}};
static_assert(ColumnTableMatches<R>(kTable, U::kColumns));

constexpr auto kCompared = ColumnsExcept<U::ColumnCount>(
    std::array<std::size_t, 3>{U::Placement, U::CompleteDate, U::AlarmTime});
constexpr auto kChangeOrder = ColumnsExcept<U::ColumnCount>(std::array<std::size_t, 0>{});

const PmEx2AppInfo& TodoInfo() {
    static const PmEx2AppInfo info = {
        .app = AppTasks,
        .columns = U::kColumns,
        .keyColumns = U::kKeyColumns,
        .byUserLine = "Start loading Palm Desktop Tasks by user ID: %d",
        .emptyPathLine = "Invalid Palm Desktop Task database file name.",
        .loadingLine = "Loading Palm Desktop Tasks: %s",
        .openFailedLine = "Open Palm Desktop Tasks database failed: %s",
        .startMainLine = "Start loading Palm Desktop Task main records.",
        .firstRowLine = "Query first record in the Task database table successfully.",
        .noFirstRowLine =
            "Failed to query the first record of the Task main table. Check if "
            "there is any records in the database table.",
        .noNextRowLine =
            "Failed to query the next record of the Task main table. Check if it "
            "is the end of the table.",
        .endMainLine = "Loading Palm Desktop Task main records completed successfully.",
    };
    return info;
}

}  // namespace

PmTodoEx2Util::PmTodoEx2Util()
    : PmEx2ColumnUtil(TodoInfo(), Mapping{kTable, kCompared, kChangeOrder}) {}

PmTodoEx2Util::PmTodoEx2Util(const std::string& path) : PmTodoEx2Util() {
    SetLoaded(LoadFile(path));
}

bool PmTodoEx2Util::Save() {
    CX_LOG(kLogFailure, "Not implemented yet, should not be called here.");
    return true;
}

void PmTodoEx2Util::BuildRuleText(PmTodoEx2Record& record) {
    record.m_szRepeatInfo = FormatRepeatRule(record.m_repeat, 0, PmRuleOwner::Tasks);
}

void PmTodoEx2Util::ParseRuleText(PmTodoEx2Record& record) {
    record.m_repeat = ParseRepeatRule(record.m_szRepeatInfo, 0, PmRuleOwner::Tasks);
}

void PmTodoEx2Util::ReadRow(const DbRow& row, PmTodoEx2Record& record) {
    PmEx2ColumnUtil::ReadRow(row, record);
    record.m_szDueDate = std::to_string(record.m_tDueDate);
}

void PmTodoEx2Util::AfterLoad(PmTodoEx2Record& record) {
    ParseRuleText(record);
    FillCategoryName(record);
}

bool PmTodoEx2Util::BeforeWrite(PmTodoEx2Record& record) {
    record.m_szRepeatInfo =
        RenewRepeatRule(record.m_szRepeatInfo, record.m_repeat, 0, PmRuleOwner::Tasks);
    if (!ResolveCategoryId(record)) {
        CX_LOG(kLogFailure,
               "The task's category %s is not in the database; the task is not written.",
               record.m_szCategoryName);
        return false;
    }
    return true;
}

DbRow PmTodoEx2Util::MakeKeyValues(const PmTodoEx2Record& record) {
    // The Due Date as it was read, not renewed from the time value.
    return {MakeIntegerValue(record.m_nRecordId), MakeTextValue(record.m_szDueDate),
            MakeTextValue(record.m_szDescription)};
}

}  // namespace tabrel
