#pragma once
// PmAddrUtil: the Contacts classic file (address.dat of Palm Desktop 4.1 and earlier). The
// container is PmClassicUtil's; this class adds the contact record and reads the custom
// labels (the names the user gave custom fields 1 to 4) from the file's label text.
//
// The label text holds the labels one after the other, each ended by a line feed. Palm
// Desktop before 4.1.2 has four custom fields, so at most four labels are taken: the
// labels come from the first 511 bytes of the text, through its 4th line feed at most. The
// whole text is written back as it was read, so labels beyond the fourth are not lost.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmAddrRecord.h"
#include "palm/classic/PmClassicUtil.h"

namespace tabrel {

using PmAddrDataMgr = PmDataMgr<PmAddrRecord>;

class PmAddrUtil final : public PmClassicRecordUtil<PmAddrRecord> {
  public:
    static constexpr std::uint32_t kVersion = 0x41420100;
    static constexpr std::uint32_t kResourceId = 74;
    static constexpr std::uint32_t kMaxDatabaseNameLength = 260;
    static constexpr std::uint32_t kMaxLabelTextLength = 511;
    static constexpr std::size_t kCustomLabelCount = PmAddrRecord::kCustomCount;

    using CustomLabels = std::array<std::string, kCustomLabelCount>;

    PmAddrUtil();
    // Loads path at once; IsLoaded() tells the result.
    explicit PmAddrUtil(const std::string& path);

    // Application info, default field codes and log lines of the Contacts file.
    static const PmClassicAppInfo& AppInfo();

    void InitDefaults() override;

    // Label i (0 to 3) names custom field i + 1, without its line feed; empty when the
    // file names fewer fields.
    const CustomLabels& GetCustomLabels() const { return m_szCustomLabels; }
    // The part of the label text the labels were taken from, line feeds included: at most
    // 511 bytes, ending at the 4th line feed when there is one.
    const std::string& GetCustomLabelText() const { return m_szCustomLabelText; }

  protected:
    bool LoadLabelText() override { return LoadCustomLabels(); }
    virtual bool LoadCustomLabels();
    bool ReadRecordField(std::size_t index, PmAddrRecord& record) override;
    bool WriteRecordField(std::size_t index, const PmAddrRecord& record) override;

  private:
    // Takes the labels from the label text read.
    void SplitCustomLabels(const std::string& text);

    std::string m_szCustomLabelText;
    CustomLabels m_szCustomLabels;
};

}  // namespace tabrel
