#include "PmMemoExUtil.h"

#include <array>

#include "PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmMemoExRecord::kFieldCount> kFieldCodes{
    ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftInteger, ftBoolean,
    64,        65,        66,        67,        ftCString, ftCString, ftCString};

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
//   11-13  string field (code 5, word 1, counted string)
bool PmMemoExUtil::ReadRecordField(std::size_t index, PmMemoExRecord& record) {
    switch (index) {
        case 11:
            return ReadCStringField(record.m_szText11, PmMemoExRecord::kTextCapacity);
        case 12:
            return ReadCStringField(record.m_szText12, PmMemoExRecord::kTextCapacity);
        case 13:
            return ReadCStringField(record.m_szMemo, PmMemoExRecord::kMemoCapacity);
        default:
            return true;
    }
}

bool PmMemoExUtil::WriteRecordField(std::size_t index, const PmMemoExRecord& record) {
    switch (index) {
        case 11:
            return WriteCStringField(record.m_szText11, 1);
        case 12:
            return WriteCStringField(record.m_szText12, 1);
        case 13:
            return WriteCStringField(record.m_szMemo, 1);
        default:
            return true;
    }
}

}  // namespace tabrel
