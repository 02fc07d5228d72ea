#include "palm/palmsg/PmDateExUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmDateExRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftBoolean,     64,
    65,        66,        67,        ftCString, ftCString, ftDate,    ftDate,        ftCString,
    ftInteger, ftCString, ftBoolean, ftBoolean, ftInteger, ftInteger, ftRepeatEvent, ftCString,
    ftInteger, ftCString, ftCString};

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    using R = PmDateExRecord;
    switch (index) {
        case 11:
            return {&r.m_szField11, R::kShortTextCapacity};
        case 12:
            return {&r.m_szField12, R::kShortTextCapacity};
        case 15:
            return {&r.m_szDescription, R::kDescriptionCapacity};
        case 17:
            return {&r.m_szNote, R::kNoteCapacity};
        case 23:
            return {&r.m_szLocation, R::kLocationCapacity};
        case 25:
            return {&r.m_szField25, R::kShortTextCapacity};
        case 26:
            return {&r.m_szField26, R::kShortTextCapacity};
        default:
            return {};
    }
}

}  // namespace

const PmExAppInfo& PmDateExUtil::AppInfo() {
    static const PmExAppInfo info{AppCalendar,
                                  "Calendar",
                                  kVersion,
                                  kResourceId,
                                  kFieldCodes,
                                  kReserved2Size,
                                  PmDateExRecord::kCategoryCapacity};
    return info;
}

PmDateExUtil::PmDateExUtil() : PmExRecordUtil(AppInfo()) {}

PmDateExUtil::PmDateExUtil(const std::string& path) : PmDateExUtil() {
    LoadFile(path);
}

bool PmDateExUtil::ReadRepeatEvent(PmRepeatEvent& event) {
    return tabrel::ReadRepeatEvent(*this, event);
}

bool PmDateExUtil::WriteRepeatEvent(const PmRepeatEvent& event) {
    return tabrel::WriteRepeatEvent(*this, event);
}

// Appointment fields after the header (the schema's codes are not consulted):
//   field               reader                     writer
//   11, 12, 15, 17,     string field               code 5, word 1, counted string (the
//   23, 25, 26                                     whole stored text while unchanged)
//   13, 14              value field (1, 3 or 6)    code 3
//   16, 20, 21, 24      value field                code 1
//   18, 19              value field                code 6
//   22                  repeat event (code 8)      repeat event
//   27 and up           nothing                    nothing
bool PmDateExUtil::ReadRecordField(std::size_t index, PmDateExRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 13:
            return ReadValueField(record.m_tStartTime);
        case 14:
            return ReadValueField(record.m_tEndTime);
        case 16:
            return ReadValueField(record.m_dwField16);
        case 18:
            return ReadValueField(record.m_bAllDay);
        case 19:
            return ReadValueField(record.m_bAlarm);
        case 20:
            return ReadValueField(record.m_dwAlarmAdvance);
        case 21:
            return ReadValueField(record.m_dwAlarmUnit);
        case 22:
            return ReadRepeatEvent(record.m_repeat);
        case 24:
            return ReadValueField(record.m_dwField24);
        default:
            return true;
    }
}

bool PmDateExUtil::WriteRecordField(std::size_t index, const PmDateExRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 13:
            return WriteDateField(record.m_tStartTime);
        case 14:
            return WriteDateField(record.m_tEndTime);
        case 16:
            return WriteIntegerField(record.m_dwField16);
        case 18:
            return WriteBooleanField(record.m_bAllDay);
        case 19:
            return WriteBooleanField(record.m_bAlarm);
        case 20:
            return WriteIntegerField(record.m_dwAlarmAdvance);
        case 21:
            return WriteIntegerField(record.m_dwAlarmUnit);
        case 22:
            return WriteRepeatEvent(record.m_repeat);
        case 24:
            return WriteIntegerField(record.m_dwField24);
        default:
            return true;
    }
}

}  // namespace tabrel
