#pragma once
// PmDateExUtil: the Calendar "PalmSG Database" file (datebook.dat of Palm Desktop 4.1.2 and
// later 4.x). The container is PmExUtil's; this class adds the appointment record and its
// repeat-event field.

#include <string>

#include "palm/palmsg/PmDateExRecord.h"
#include "palm/palmsg/PmExUtil.h"

namespace tabrel {

using PmDateExDataMgr = PmDataMgr<PmDateExRecord>;

class PmDateExUtil final : public PmExRecordUtil<PmDateExRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x44420200;
    static constexpr std::uint32_t kResourceId = 54;
    static constexpr std::size_t kReserved2Size = 43;

    PmDateExUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmDateExUtil(const std::string& path);

    // Application info and default field codes of the Calendar file.
    static const PmExAppInfo& AppInfo();

  protected:
    bool ReadRecordField(std::size_t index, PmDateExRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmDateExRecord& record) override;
    // The repeat-event field (code 8) at the file position.
    virtual bool ReadRepeatEvent(PmRepeatEvent& event);
    virtual bool WriteRepeatEvent(const PmRepeatEvent& event);
};

}  // namespace tabrel
