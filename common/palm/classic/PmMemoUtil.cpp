#include "palm/classic/PmMemoUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmMemoRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftCString, ftBoolean, ftInteger};

PmClassicLog MakeLog() {
    PmClassicLog log;
    log.emptyPath = "Invalid Palm Desktop memopad database file name.";
    log.loadStart = "Loading Palm Desktop memopad: %s";
    log.loadFailed = "Load Palm Desktop memopad failed: %s";
    log.byUserNoFolder = "Can not get Palm Desktop user data path. User ID=%d";
    log.saveFailed = "Failed to save Palm Desktop memopad database.";
    return log;
}

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    if (index == 3) {
        return {&r.m_szMemo, PmMemoRecord::kMemoCapacity};
    }
    return {};
}

}  // namespace

const PmClassicAppInfo& PmMemoUtil::AppInfo() {
    static const PmClassicLog log = MakeLog();
    static const PmClassicAppInfo info{.app = AppMemos,
                                       .version = kVersion,
                                       .resourceId = kResourceId,
                                       .fieldCodes = kFieldCodes,
                                       .maxDatabaseNameLength = kMaxDatabaseNameLength,
                                       .maxLabelTextLength = kMaxLabelTextLength,
                                       .fileNameIsLoadedPath = false,
                                       .log = &log};
    return info;
}

PmMemoUtil::PmMemoUtil() : PmClassicRecordUtil(AppInfo()) {}

PmMemoUtil::PmMemoUtil(const std::string& path) : PmMemoUtil() {
    LoadFile(path);
}

// Memo fields after the header (the schema's codes are not consulted):
//   field  reader                     writer
//   3      string field               code 5, word 1, counted string (the whole stored
//                                     text while unchanged)
//   4      value field (1, 3 or 6)    code 6
//   5      value field                code 1
//   6 and up: nothing
bool PmMemoUtil::ReadRecordField(std::size_t index, PmMemoRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 4:
            return ReadValueField(record.m_bPrivate);
        case 5:
            return ReadValueField(record.m_dwCategoryId);
        default:
            return true;
    }
}

bool PmMemoUtil::WriteRecordField(std::size_t index, const PmMemoRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 4:
            return WriteBooleanField(record.m_bPrivate);
        case 5:
            return WriteIntegerField(record.m_dwCategoryId);
        default:
            return true;
    }
}

}  // namespace tabrel
