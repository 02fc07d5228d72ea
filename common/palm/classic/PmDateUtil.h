#pragma once
// PmDateUtil: the Calendar classic file (datebook.dat of Palm Desktop 4.1 and earlier). The
// container is PmClassicUtil's; this class adds the appointment record and its repeat-event
// field (encoded as in PmRepeatEvent.h). Appointments whose start or end time is -1 are not
// in the record list; they are kept aside and written back as they were.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmClassicUtil.h"
#include "palm/classic/PmDateRecord.h"

namespace tabrel {

using PmDateDataMgr = PmDataMgr<PmDateRecord>;

class PmDateUtil final : public PmClassicRecordUtil<PmDateRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x44420100;
    static constexpr std::uint32_t kResourceId = 54;
    static constexpr std::uint32_t kMaxDatabaseNameLength = 255;
    static constexpr std::uint32_t kMaxLabelTextLength = 511;

    PmDateUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmDateUtil(const std::string& path);

    // Application info, default field codes and log lines of the Calendar file.
    static const PmClassicAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmDateRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmDateRecord& record) override;
    bool IsShown(const PmDateRecord& record) const override { return !record.HasNoTime(); }
    // The repeat-event field (code 8) at the file position.
    virtual bool ReadRepeatEvent(PmRepeatEvent& event);
    virtual bool WriteRepeatEvent(const PmRepeatEvent& event);
};

}  // namespace tabrel
