#include "palm/unified/PmTodoInfo.h"

#include <array>

#include "palm/dat/PmTime.h"

namespace tabrel {

namespace {

constexpr PmInfoTexts kTexts = {
    "Check Palm Desktop Tasks file version, file: %s",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Tasks file type: (%s)",
    "Load Palm Desktop Tasks by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to load Palm Desktop Tasks database by User: %d",
    "Load Palm Desktop Tasks by file: %s",
    "Failed to load Palm Desktop Tasks file (%s)",
    false,
    false,
    false,
    PM_DATA_CLASSIC,
};

// The identifiers of the six task rows in one generation.
struct TaskRowIds {
    std::int32_t description;
    std::int32_t dueDate;
    std::int32_t completed;
    std::int32_t priority;
    std::int32_t privateFlag;
    std::int32_t note;
};

constexpr TaskRowIds kClassicIds = {3, 4, 5, 6, 7, 9};
constexpr TaskRowIds kExIds = {13, 14, 15, 16, 6, 17};
constexpr TaskRowIds kEx2Ids = {6, 7, 8, 9, 3, 5};

constexpr std::array<PmCatalogueRow, 6> MakeCatalogue(const TaskRowIds& ids,
                                                      std::int32_t descriptionLength,
                                                      std::int32_t noteLength) {
    return {{
        {ids.description, 0, "Description", FieldTypeString, descriptionLength},
        {ids.dueDate, 0, "Due Date", FieldTypeDateTime, 4},
        {ids.completed, 0, "Completed", FieldTypeBoolean, 4},
        {ids.priority, 0, "Priority", FieldTypeInteger, 4},
        {ids.privateFlag, 0, "Private", FieldTypeBoolean, 4},
        {ids.note, 0, "Note", FieldTypeString, noteLength},
    }};
}

constexpr auto kClassicCatalogue = MakeCatalogue(kClassicIds, 1024, 8192);
constexpr auto kExCatalogue = MakeCatalogue(kExIds, 1024, 8192);
constexpr auto kEx2Catalogue = MakeCatalogue(kEx2Ids, 256, 2048);

// The description fills the subject and the note the note, cut to the common limits; the
// other rows are converted by ApplyTextRule.
constexpr std::array<PmTextRule, 6> MakeRules(const TaskRowIds& ids) {
    return {{
        {ids.description, 0, CommTaskId::kSubject, PmTodoInfo::kSubjectMax, PmTextRule::kText, -1},
        {ids.dueDate, 0, CommTaskId::kDueDate, 0, PmTextRule::kSpecial, -1},
        {ids.completed, 0, CommTaskId::kCompleted, 0, PmTextRule::kSpecial, -1},
        {ids.priority, 0, CommTaskId::kPriority, 0, PmTextRule::kSpecial, -1},
        {ids.privateFlag, 0, CommTaskId::kPrivate, 0, PmTextRule::kSpecial, -1},
        {ids.note, 0, CommTaskId::kNote, PmTodoInfo::kNoteMax, PmTextRule::kText, -1},
    }};
}

constexpr auto kClassicRules = MakeRules(kClassicIds);
constexpr auto kExRules = MakeRules(kExIds);
constexpr auto kEx2Rules = MakeRules(kEx2Ids);

// Where each generation's task record keeps the fields the three have in common.
template <class Record>
struct TaskMembers;

template <>
struct TaskMembers<PmTodoRecord> {
    static constexpr auto description = &PmTodoRecord::m_szDescription;
    static constexpr auto note = &PmTodoRecord::m_szNote;
    static constexpr auto dueDate = &PmTodoRecord::m_tDueDate;
    static constexpr auto completed = &PmTodoRecord::m_bCompleted;
    static constexpr auto priority = &PmTodoRecord::m_dwPriority;
    static constexpr auto privateFlag = &PmTodoRecord::m_bPrivate;
    static constexpr auto recordId = &PmTodoRecord::m_dwRecordId;
    static constexpr std::size_t descriptionMax = PmTodoInfo::kClassicDescriptionMax;
    static constexpr const TaskRowIds& ids = kClassicIds;
};

template <>
struct TaskMembers<PmTodoExRecord> {
    static constexpr auto description = &PmTodoExRecord::m_szDescription;
    static constexpr auto note = &PmTodoExRecord::m_szNote;
    static constexpr auto dueDate = &PmTodoExRecord::m_tDueDate;
    static constexpr auto completed = &PmTodoExRecord::m_bCompleted;
    static constexpr auto priority = &PmTodoExRecord::m_dwPriority;
    static constexpr auto privateFlag = &PmTodoExRecord::m_dwPrivate;
    static constexpr auto recordId = &PmTodoExRecord::m_dwRecordId;
    static constexpr std::size_t descriptionMax = PmTodoInfo::kDescriptionMax;
    static constexpr const TaskRowIds& ids = kExIds;
};

template <>
struct TaskMembers<PmTodoEx2Record> {
    static constexpr auto description = &PmTodoEx2Record::m_szDescription;
    static constexpr auto note = &PmTodoEx2Record::m_szNote;
    static constexpr auto dueDate = &PmTodoEx2Record::m_tDueDate;
    static constexpr auto completed = &PmTodoEx2Record::m_byCompleted;
    static constexpr auto priority = &PmTodoEx2Record::m_nPriority;
    static constexpr auto privateFlag = &PmTodoEx2Record::m_byPrivate;
    static constexpr auto recordId = &PmTodoEx2Record::m_nRecordId;
    static constexpr std::size_t descriptionMax = PmTodoInfo::kDescriptionMax;
    static constexpr const TaskRowIds& ids = kEx2Ids;
};

// Copies a text unless it is empty, cut to maxChars characters.
void PutText(std::string& to, const std::string& from, std::size_t maxChars) {
    if (!from.empty()) {
        to = CutText(from, maxChars);
    }
}

// A Palm member set from a common value (flags, numbers, time values).
template <class Member, class Value>
void PutValue(Member& to, Value value) {
    to = static_cast<Member>(value);
}

// The due date a common task gives a Palm task. A common due date of 0 is what an import
// record holds when its CSV line named no due date: it becomes no due date, not
// 1 January 1970.
std::int32_t PalmDueDate(std::int32_t commonDueDate) {
    return commonDueDate == 0 ? kPmTimeNoDate : commonDueDate;
}

// Palm -> common: the fields every generation has.
template <class Record>
void FillCommonFrom(const Record& record, CommTaskRec& task) {
    using M = TaskMembers<Record>;
    task.m_szSubject = CutText(record.*M::description, PmTodoInfo::kSubjectMax);
    task.m_szNote = CutText(record.*M::note, PmTodoInfo::kNoteMax);
    task.m_bCompleted = (record.*M::completed) != 0 ? 1 : 0;
    task.m_bPrivate = (record.*M::privateFlag) != 0 ? 1 : 0;
    task.m_wSensitivity = task.m_bPrivate != 0 ? kCommSensitivityPrivate : 0;
    task.m_tDueDate = static_cast<std::int32_t>(record.*M::dueDate);
    task.m_nPriority = PmPriorityToCommon(record.*M::priority);
    task.m_source.m_nSourceId = static_cast<std::int32_t>(record.*M::recordId);
}

// Common -> Palm: the fields every generation has. Texts only when not empty; the other
// fields only when the import carried them.
template <class Record, class IsCarriedFn>
void FillRecordFrom(const CommTaskRec& task, Record& record, const IsCarriedFn& isCarried) {
    using M = TaskMembers<Record>;
    PutText(record.*M::description, task.m_szSubject, M::descriptionMax);
    PutText(record.*M::note, task.m_szNote, PmTodoInfo::kPalmNoteMax);
    if (isCarried(CommTaskId::kCompleted)) {
        PutValue(record.*M::completed, task.m_bCompleted != 0 ? 1 : 0);
    }
    if (isCarried(CommTaskId::kPrivate)) {
        const bool isPrivate = task.m_bPrivate != 0 || task.m_wSensitivity != 0;
        PutValue(record.*M::privateFlag, isPrivate ? 1 : 0);
    }
    if (isCarried(CommTaskId::kPriority)) {
        PutValue(record.*M::priority, PmPriorityFromCommon(task.m_nPriority));
    }
    if (isCarried(CommTaskId::kDueDate)) {
        PutValue(record.*M::dueDate, PalmDueDate(task.m_tDueDate));
    }
}

// The text of one row of a task record; false for a row the generation does not read.
template <class Record>
bool TaskFieldText(const Record& record, std::int32_t id, std::string& text) {
    using M = TaskMembers<Record>;
    const TaskRowIds& ids = M::ids;
    if (id == ids.description) {
        text = record.*M::description;
    } else if (id == ids.note) {
        text = record.*M::note;
    } else if (id == ids.dueDate) {
        text = PmDateTimeText(record.*M::dueDate);
    } else if (id == ids.completed) {
        text = PmYesNo(record.*M::completed);
    } else if (id == ids.privateFlag) {
        text = PmYesNo(record.*M::privateFlag);
    } else if (id == ids.priority) {
        text = std::to_string(static_cast<std::int32_t>(record.*M::priority));
    } else {
        return false;
    }
    return true;
}

}  // namespace

PmTodoInfo::PmTodoInfo() : PmTodoInfo(GetPalmDesktopVersion()) {}

PmTodoInfo::PmTodoInfo(std::uint32_t palmVersion) : PmInfo(kTexts, palmVersion) {}

const PmGenerationTables<PmCatalogueRow> PmTodoInfo::kCatalogues{kClassicCatalogue, kExCatalogue,
                                                                 kEx2Catalogue};
const PmGenerationTables<PmTextRule> PmTodoInfo::kTextRules{kClassicRules, kExRules, kEx2Rules};

void PmTodoInfo::FillCommon(const Item& item, CommTaskRec& task) const {
    if (const PmTodoRecord* classic = item.Classic()) {
        FillCommonFrom(*classic, task);  // a classic task has no alarm and no repeat rule
    } else if (const PmTodoExRecord* ex = item.Ex()) {
        FillCommonFrom(*ex, task);
        task.m_bAlarm = ex->m_bField20 != 0 ? 1 : 0;
        PmRepeatToCommon(ex->m_repeat, task.m_repeat);
    } else if (const PmTodoEx2Record* ex2 = item.Ex2()) {
        FillCommonFrom(*ex2, task);
        task.m_bAlarm = ex2->m_byAlarmSet != 0 ? 1 : 0;
        PmRepeatToCommon(ex2->m_repeat, task.m_repeat);
    }
}

void PmTodoInfo::FillRecord(const CommTaskRec& task, Item& item, const Carried& carried) {
    const auto isCarried = [&carried](std::int32_t id) { return IsCarried(carried, id); };
    // The repeat rule has no common field an import could carry: only a whole record
    // (nothing named as carried) brings one.
    const bool setRepeat = !carried.has_value();
    const bool setCategory = !task.m_szCategory.empty();
    if (PmTodoRecord* classic = item.Classic()) {
        FillRecordFrom(task, *classic, isCarried);
        if (setCategory) {
            classic->m_dwCategoryId =
                static_cast<std::uint32_t>(ResolveCategory(task.m_szCategory));
            ClassicReader().GetCategoryText(static_cast<std::int32_t>(classic->m_dwCategoryId),
                                            classic->m_szCategory);
        }
    } else if (PmTodoExRecord* ex = item.Ex()) {
        FillRecordFrom(task, *ex, isCarried);
        if (isCarried(CommTaskId::kAlarm)) {
            ex->m_bField20 = task.m_bAlarm != 0 ? 1 : 0;
        }
        if (setRepeat) {
            PmRepeatFromCommon(task.m_repeat, ex->m_repeat);
        }
        if (setCategory) {
            ex->m_dwCategoryId = static_cast<std::uint32_t>(ResolveCategory(task.m_szCategory));
            ExReader().GetCategoryText(static_cast<std::int32_t>(ex->m_dwCategoryId),
                                       ex->m_szCategory);
        }
    } else if (PmTodoEx2Record* ex2 = item.Ex2()) {
        FillRecordFrom(task, *ex2, isCarried);
        if (isCarried(CommTaskId::kAlarm)) {
            ex2->m_byAlarmSet = task.m_bAlarm != 0 ? 1 : 0;
        }
        if (setRepeat) {
            PmRepeatFromCommon(task.m_repeat, ex2->m_repeat);
        }
        if (setCategory) {
            ex2->m_nCategoryId = ResolveCategory(task.m_szCategory);
            Ex2Reader().FillCategoryName(*ex2);
        }
    }
}

bool PmTodoInfo::ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                               std::size_t /*size*/) const {
    if (const PmTodoRecord* classic = item.Classic()) {
        return TaskFieldText(*classic, row.m_nId, text);
    }
    if (const PmTodoExRecord* ex = item.Ex()) {
        return TaskFieldText(*ex, row.m_nId, text);
    }
    if (const PmTodoEx2Record* ex2 = item.Ex2()) {
        return TaskFieldText(*ex2, row.m_nId, text);
    }
    return false;
}

void PmTodoInfo::ApplyTextRule(const PmTextRule& rule, std::string_view text,
                               CommTaskRec& task) const {
    switch (rule.commonId) {
        case CommTaskId::kDueDate:
            // "N/A" and the empty text are no due date; a text that does not parse leaves
            // the due date as it was.
            PmParseDateTime(text, task.m_tDueDate);
            break;
        case CommTaskId::kCompleted:
            task.m_bCompleted = PmTruthValue(text) ? 1 : 0;
            break;
        case CommTaskId::kPriority:
            task.m_nPriority = PmPriorityToCommon(PmTextInteger(text));
            break;
        case CommTaskId::kPrivate:
            task.m_bPrivate = PmTruthValue(text) ? 1 : 0;
            task.m_wSensitivity = task.m_bPrivate != 0 ? kCommSensitivityPrivate : 0;
            break;
        default:
            break;
    }
}

template class PmInfo<PmTodoInfo, PmTodoInfoTypes>;

}  // namespace tabrel
