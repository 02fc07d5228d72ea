#include "palm/palmsg/PmMemoExUtil.h"

#include <array>

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmMemoExRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftBoolean,
    64,        65,        66,        67,        ftCString, ftCString, ftCString};

// The text field index holds and its capacity; a null text for the other fields.
template <class Record>
PmTextSlotOf<Record> TextAt(Record& r, std::size_t index) {
    using R = PmMemoExRecord;
    switch (index) {
        case 11:
            return {&r.m_szText11, R::kTextCapacity};
        case 12:
            return {&r.m_szText12, R::kTextCapacity};
        case 13:
            return {&r.m_szMemo, R::kMemoCapacity};
        default:
            return {};
    }
}

}  // namespace

const PmExAppInfo& PmMemoExUtil::AppInfo() {
    static const PmExAppInfo info{AppMemos,
                                  "Memos",
                                  kVersion,
                                  kResourceId,
                                  kFieldCodes,
                                  kReserved2Size,
                                  PmMemoExRecord::kCategoryCapacity};
    return info;
}

PmMemoExUtil::PmMemoExUtil() : PmExRecordUtil(AppInfo()) {}

PmMemoExUtil::PmMemoExUtil(const std::string& path) : PmMemoExUtil() {
    LoadFile(path);
}

// Memo fields after the header:
//   field  reader / writer
//   11-13  string field (code 5, word 1, counted string; the whole stored text while
//          unchanged)
bool PmMemoExUtil::ReadRecordField(std::size_t index, PmMemoExRecord& record) {
    const auto slot = TextAt(record, index);
    return slot.text == nullptr ||
           ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
}

bool PmMemoExUtil::WriteRecordField(std::size_t index, const PmMemoExRecord& record) {
    const auto slot = TextAt(record, index);
    return slot.text == nullptr ||
           WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
}

}  // namespace tabrel
