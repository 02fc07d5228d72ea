#include "palm/classic/PmTodoUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmTodoRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftCString, ftDate,
    ftBoolean, ftInteger, ftBoolean, ftInteger, ftCString};

PmClassicLog MakeLog() {
    PmClassicLog log;
    log.loadStart = "Loading Palm Desktop todo list: %s";
    log.loadFailed = "Load Palm Desktop todo list failed: %s";
    log.saveFailed = "Failed to save Palm Desktop todo list database.";
    return log;
}

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    switch (index) {
        case 3:
            return {&r.m_szDescription, PmTodoRecord::kDescriptionCapacity};
        case 9:
            return {&r.m_szNote, PmTodoRecord::kNoteCapacity};
        default:
            return {};
    }
}

}  // namespace

const PmClassicAppInfo& PmTodoUtil::AppInfo() {
    static const PmClassicLog log = MakeLog();
    static const PmClassicAppInfo info{.app = AppTasks,
                                       .version = kVersion,
                                       .resourceId = kResourceId,
                                       .fieldCodes = kFieldCodes,
                                       .maxDatabaseNameLength = kMaxDatabaseNameLength,
                                       .maxLabelTextLength = kMaxLabelTextLength,
                                       .fileNameIsLoadedPath = false,
                                       .log = &log};
    return info;
}

PmTodoUtil::PmTodoUtil() : PmClassicRecordUtil(AppInfo()) {}

PmTodoUtil::PmTodoUtil(const std::string& path) : PmTodoUtil() {
    LoadFile(path);
}

// Task fields after the header (the schema's codes are not consulted):
//   field   reader                     writer
//   3, 9    string field               code 5, word 1, counted string (the whole
//                                      stored text while unchanged)
//   4       value field (1, 3 or 6)    code 3
//   5, 7    value field                code 6
//   6, 8    value field                code 1
//   10 and up: nothing
bool PmTodoUtil::ReadRecordField(std::size_t index, PmTodoRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 4:
            return ReadValueField(record.m_tDueDate);
        case 5:
            return ReadValueField(record.m_bCompleted);
        case 6:
            return ReadValueField(record.m_dwPriority);
        case 7:
            return ReadValueField(record.m_bPrivate);
        case 8:
            return ReadValueField(record.m_dwCategoryId);
        default:
            return true;
    }
}

bool PmTodoUtil::WriteRecordField(std::size_t index, const PmTodoRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 4:
            return WriteDateField(record.m_tDueDate);
        case 5:
            return WriteBooleanField(record.m_bCompleted);
        case 6:
            return WriteIntegerField(record.m_dwPriority);
        case 7:
            return WriteBooleanField(record.m_bPrivate);
        case 8:
            return WriteIntegerField(record.m_dwCategoryId);
        default:
            return true;
    }
}

}  // namespace tabrel
