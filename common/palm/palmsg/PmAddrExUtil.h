#pragma once
// PmAddrExUtil: the Contacts "PalmSG Database" file (address.dat of Palm Desktop 4.1.2 and
// later 4.x). The container is PmExUtil's; this class adds the contact record and the nine
// custom labels (the names the user gave custom fields 1 to 9), which only this file
// carries, between the description and the categories.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/palmsg/PmAddrExRecord.h"
#include "palm/palmsg/PmExUtil.h"

namespace tabrel {

using PmAddrExDataMgr = PmDataMgr<PmAddrExRecord>;

class PmAddrExUtil final : public PmExRecordUtil<PmAddrExRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x41420200;
    static constexpr std::uint32_t kResourceId = 74;
    static constexpr std::size_t kReserved2Size = 11;
    static constexpr std::size_t kReserved3Size = 42;
    static constexpr std::size_t kCustomLabelCount = 9;
    static constexpr std::uint32_t kMaxCustomLabelLength = 32;

    using CustomLabels = std::array<std::string, kCustomLabelCount>;

    PmAddrExUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmAddrExUtil(const std::string& path);

    // Application info and default field codes of the Contacts file.
    static const PmExAppInfo& AppInfo();

    void InitDefaults() override;

    // Label i (0 to 8) names custom field i + 1; at most 32 characters each.
    const CustomLabels& GetCustomLabels() const { return m_szCustomLabels; }
    const std::array<std::uint8_t, kReserved3Size>& GetReserved3() const { return m_reserved3; }

  protected:
    bool LoadCustomLabels() override;
    bool SaveCustomLabels() override;
    bool ReadRecordField(std::size_t index, PmAddrExRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmAddrExRecord& record) override;

  private:
    CustomLabels m_szCustomLabels;
    std::array<std::uint8_t, kReserved3Size> m_reserved3{};
};

}  // namespace tabrel
