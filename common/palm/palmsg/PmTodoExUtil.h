#pragma once
// PmTodoExUtil: the Tasks "PalmSG Database" file (todo.dat of Palm Desktop 4.1.2 and later
// 4.x). The container is PmExUtil's; this class adds the task record and its repeat-event
// field.

#include <string>

#include "palm/palmsg/PmExUtil.h"
#include "palm/palmsg/PmTodoExRecord.h"

namespace tabrel {

using PmTodoExDataMgr = PmDataMgr<PmTodoExRecord>;

class PmTodoExUtil final : public PmExRecordUtil<PmTodoExRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x54440200;
    static constexpr std::uint32_t kResourceId = 44;
    static constexpr std::size_t kReserved2Size = 43;

    PmTodoExUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmTodoExUtil(const std::string& path);

    // Application info and default field codes of the Tasks file.
    static const PmExAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmTodoExRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmTodoExRecord& record) override;
    // The repeat-event field (code 8) at the file position.
    virtual bool ReadRepeatEvent(PmRepeatEvent& event);
    virtual bool WriteRepeatEvent(const PmRepeatEvent& event);
};

}  // namespace tabrel
