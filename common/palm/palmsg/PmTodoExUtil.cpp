#include "palm/palmsg/PmTodoExUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmTodoExRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftInteger,    ftInteger, ftInteger, ftBoolean,
    64,        65,        66,        67,           ftCString, ftCString, ftCString,
    ftDate,    ftBoolean, ftInteger, ftCString,    ftBoolean, ftDate,    ftBoolean,
    ftDate,    ftInteger, ftDate,    ftRepeatEvent};

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    using R = PmTodoExRecord;
    switch (index) {
        case 11:
            return {&r.m_szField11, R::kShortTextCapacity};
        case 12:
            return {&r.m_szField12, R::kShortTextCapacity};
        case 13:
            return {&r.m_szDescription, R::kDescriptionCapacity};
        case 17:
            return {&r.m_szNote, R::kNoteCapacity};
        default:
            return {};
    }
}

}  // namespace

const PmExAppInfo& PmTodoExUtil::AppInfo() {
    static const PmExAppInfo info{AppTasks,
                                  "Tasks",
                                  kVersion,
                                  kResourceId,
                                  kFieldCodes,
                                  kReserved2Size,
                                  PmTodoExRecord::kCategoryCapacity};
    return info;
}

PmTodoExUtil::PmTodoExUtil() : PmExRecordUtil(AppInfo()) {}

PmTodoExUtil::PmTodoExUtil(const std::string& path) : PmTodoExUtil() {
    LoadFile(path);
}

bool PmTodoExUtil::ReadRepeatEvent(PmRepeatEvent& event) {
    return tabrel::ReadRepeatEvent(*this, event);
}

bool PmTodoExUtil::WriteRepeatEvent(const PmRepeatEvent& event) {
    return tabrel::WriteRepeatEvent(*this, event);
}

// Task fields after the header (the schema's codes are not consulted):
//   field               reader                     writer
//   11, 12, 13, 17      string field               code 5, word 1, counted string (the
//                                                  whole stored text while unchanged)
//   14, 19, 21, 23      value field (1, 3 or 6)    code 3
//   16, 22              value field                code 1
//   15, 18, 20          value field                code 6
//   24                  repeat event (code 8)      repeat event
//   25 and up           nothing                    nothing
bool PmTodoExUtil::ReadRecordField(std::size_t index, PmTodoExRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 14:
            return ReadValueField(record.m_tDueDate);
        case 15:
            return ReadValueField(record.m_bCompleted);
        case 16:
            return ReadValueField(record.m_dwPriority);
        case 18:
            return ReadValueField(record.m_bField18);
        case 19:
            return ReadValueField(record.m_tField19);
        case 20:
            return ReadValueField(record.m_bField20);
        case 21:
            return ReadValueField(record.m_tField21);
        case 22:
            return ReadValueField(record.m_dwField22);
        case 23:
            return ReadValueField(record.m_tField23);
        case 24:
            return ReadRepeatEvent(record.m_repeat);
        default:
            return true;
    }
}

bool PmTodoExUtil::WriteRecordField(std::size_t index, const PmTodoExRecord& record) {
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    switch (index) {
        case 14:
            return WriteDateField(record.m_tDueDate);
        case 15:
            return WriteBooleanField(record.m_bCompleted);
        case 16:
            return WriteIntegerField(record.m_dwPriority);
        case 18:
            return WriteBooleanField(record.m_bField18);
        case 19:
            return WriteDateField(record.m_tField19);
        case 20:
            return WriteBooleanField(record.m_bField20);
        case 21:
            return WriteDateField(record.m_tField21);
        case 22:
            return WriteIntegerField(record.m_dwField22);
        case 23:
            return WriteDateField(record.m_tField23);
        case 24:
            return WriteRepeatEvent(record.m_repeat);
        default:
            return true;
    }
}

}  // namespace tabrel
