#pragma once
// PmMemoUtil: the Memos classic file (memopad.dat of Palm Desktop 4.1 and earlier). The
// container is PmClassicUtil's; this class adds the memo record. Memos marked deleted or
// archived are not in the record list; they are kept aside and written back as they were.

#include <string>

#include "palm/classic/PmClassicUtil.h"
#include "palm/classic/PmMemoRecord.h"

namespace tabrel {

using PmMemoDataMgr = PmDataMgr<PmMemoRecord>;

class PmMemoUtil final : public PmClassicRecordUtil<PmMemoRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x4D500100;
    static constexpr std::uint32_t kResourceId = 64;
    static constexpr std::uint32_t kMaxDatabaseNameLength = 255;
    static constexpr std::uint32_t kMaxLabelTextLength = 255;

    PmMemoUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmMemoUtil(const std::string& path);

    // Application info, default field codes and log lines of the Memos file.
    static const PmClassicAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmMemoRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmMemoRecord& record) override;
    bool IsShown(const PmMemoRecord& record) const override { return !record.IsHiddenStatus(); }
};

}  // namespace tabrel
