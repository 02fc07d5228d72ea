#include "palm/classic/PmDateUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmDateRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftDate,    ftInteger, ftCString, ftInteger,    ftCString,
    ftBoolean, ftBoolean, ftInteger, ftBoolean, ftInteger, ftInteger, ftRepeatEvent};

PmClassicLog MakeLog() {
    PmClassicLog log;
    log.loadStart = "Loading Palm Desktop datebook: %s";
    log.loadFailed = "Failed to load Palm Desktop datebook: %s";
    log.saveFailed = "Failed to save Palm Desktop datebook database.";
    return log;
}

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    switch (index) {
        case 5:
            return {&r.m_szDescription, PmDateRecord::kDescriptionCapacity};
        case 7:
            return {&r.m_szNote, PmDateRecord::kNoteCapacity};
        default:
            return {};
    }
}

}  // namespace

const PmClassicAppInfo& PmDateUtil::AppInfo() {
    static const PmClassicLog log = MakeLog();
    static const PmClassicAppInfo info{.app = AppCalendar,
                                       .version = kVersion,
                                       .resourceId = kResourceId,
                                       .fieldCodes = kFieldCodes,
                                       .maxDatabaseNameLength = kMaxDatabaseNameLength,
                                       .maxLabelTextLength = kMaxLabelTextLength,
                                       .fileNameIsLoadedPath = false,
                                       .log = &log};
    return info;
}

PmDateUtil::PmDateUtil() : PmClassicRecordUtil(AppInfo()) {}

PmDateUtil::PmDateUtil(const std::string& path) : PmDateUtil() {
    LoadFile(path);
}

bool PmDateUtil::ReadRepeatEvent(PmRepeatEvent& event) {
    return tabrel::ReadRepeatEvent(*this, event);
}

bool PmDateUtil::WriteRepeatEvent(const PmRepeatEvent& event) {
    return tabrel::WriteRepeatEvent(*this, event);
}

// Appointment fields after the header (the schema's codes are not consulted):
//   field              reader                     writer
//   3, 4               value field (1, 3 or 6)    code 3 (the end time too, although the
//                                                 schema lists code 1 for it)
//   5, 7               string field               code 5, word 1, counted string (the
//                                                 whole stored text while unchanged)
//   6, 10, 12, 13      value field                code 1
//   8, 9, 11           value field                code 6
//   14                 repeat event (code 8)      repeat event, exception dates included
//   15 and up          nothing                    nothing
bool PmDateUtil::ReadRecordField(std::size_t index, PmDateRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 3:
            return ReadValueField(record.m_tStartTime);
        case 4:
            return ReadValueField(record.m_tEndTime);
        case 6:
            return ReadValueField(record.m_dwField6);
        case 8:
            return ReadValueField(record.m_bUntimed);
        case 9:
            return ReadValueField(record.m_bPrivate);
        case 10:
            return ReadValueField(record.m_dwCategoryId);
        case 11:
            return ReadValueField(record.m_bAlarm);
        case 12:
            return ReadValueField(record.m_dwAlarmAdvance);
        case 13:
            return ReadValueField(record.m_dwAlarmUnit);
        case 14:
            return ReadRepeatEvent(record.m_repeat);
        default:
            return true;
    }
}

bool PmDateUtil::WriteRecordField(std::size_t index, const PmDateRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 3:
            return WriteDateField(record.m_tStartTime);
        case 4:
            return WriteDateField(record.m_tEndTime);
        case 6:
            return WriteIntegerField(record.m_dwField6);
        case 8:
            return WriteBooleanField(record.m_bUntimed);
        case 9:
            return WriteBooleanField(record.m_bPrivate);
        case 10:
            return WriteIntegerField(record.m_dwCategoryId);
        case 11:
            return WriteBooleanField(record.m_bAlarm);
        case 12:
            return WriteIntegerField(record.m_dwAlarmAdvance);
        case 13:
            return WriteIntegerField(record.m_dwAlarmUnit);
        case 14:
            return WriteRepeatEvent(record.m_repeat);
        default:
            return true;
    }
}

}  // namespace tabrel
