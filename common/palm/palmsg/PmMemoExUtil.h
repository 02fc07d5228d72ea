#pragma once
// PmMemoExUtil: the Memos "PalmSG Database" file (memopad.dat of Palm Desktop 4.1.2 and
// later 4.x). The container is PmExUtil's; this class adds the memo record.

#include <string>

#include "palm/palmsg/PmExUtil.h"
#include "palm/palmsg/PmMemoExRecord.h"

namespace tabrel {

using PmMemoExDataMgr = PmDataMgr<PmMemoExRecord>;

class PmMemoExUtil final : public PmExRecordUtil<PmMemoExRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x4D500200;
    static constexpr std::uint32_t kResourceId = 64;
    static constexpr std::size_t kReserved2Size = 43;

    PmMemoExUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmMemoExUtil(const std::string& path);

    // Application info and default field codes of the Memos file.
    static const PmExAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmMemoExRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmMemoExRecord& record) override;
};

}  // namespace tabrel
