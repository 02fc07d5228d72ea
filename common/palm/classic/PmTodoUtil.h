#pragma once
// PmTodoUtil: the Tasks classic file (todo.dat of Palm Desktop 4.1 and earlier). The
// container is PmClassicUtil's; this class adds the task record. Tasks marked deleted or
// archived are not in the record list; they are kept aside and written back as they were.

#include <string>

#include "palm/classic/PmClassicUtil.h"
#include "palm/classic/PmTodoRecord.h"

namespace tabrel {

using PmTodoDataMgr = PmDataMgr<PmTodoRecord>;

class PmTodoUtil final : public PmClassicRecordUtil<PmTodoRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x54440100;
    static constexpr std::uint32_t kResourceId = 44;
    static constexpr std::uint32_t kMaxDatabaseNameLength = 255;
    static constexpr std::uint32_t kMaxLabelTextLength = 255;

    PmTodoUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmTodoUtil(const std::string& path);

    // Application info, default field codes and log lines of the Tasks file.
    static const PmClassicAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmTodoRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmTodoRecord& record) override;
    bool IsShown(const PmTodoRecord& record) const override { return !record.IsHiddenStatus(); }
};

}  // namespace tabrel
