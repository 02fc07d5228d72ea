#pragma once
// PmDateInfo: the Calendar facade (see PmInfo.h): datebook.dat of Palm Desktop 4.1 and
// earlier and of 4.1.x, DateBook.mdb of 6.x, seen through one catalogue per generation and
// the common date records.
//
// Besides the parts every facade has, it holds the boolean text style of the 6.x Untimed
// row: style 0 gives "1"/"0", style 1 "Yes"/"No", style 2 "True"/"False", style 3 the two
// texts the style carries (the first for a set flag); any other style gives nothing. A
// new facade uses style 1, the "Yes"/"No" of every other truth value.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palm/classic/PmDateUtil.h"
#include "palm/comm/CommDateMgr.h"
#include "palm/db6x/PmDateEx2Util.h"
#include "palm/palmsg/PmDateExUtil.h"
#include "palm/unified/PmInfo.h"

namespace tabrel {

using PmDateInfoTypes =
    PmInfoTypes<PmDateUtil, PmDateExUtil, PmDateEx2Util, CommDateMgr, CommDateRec>;

class PmDateInfo final : public PmInfo<PmDateInfo, PmDateInfoTypes> {
  public:
    // The limits of the texts written back to Palm records (characters).
    static constexpr std::size_t kClassicDescriptionMax = 511;
    static constexpr std::size_t kClassicNoteMax = 511;
    static constexpr std::size_t kDescriptionMax = 255;
    static constexpr std::size_t kNoteMax = 8191;
    static constexpr std::size_t kLocationMax = 255;
    // The limits of the texts of a CSV value stored in a common record (characters).
    static constexpr std::size_t kCommonDescriptionMax = 255;
    static constexpr std::size_t kCommonNoteMax = 8191;
    static constexpr std::size_t kCommonLocationMax = 255;
    // The most characters of each text of boolean style 3.
    static constexpr std::size_t kBoolStyleTextMax = 31;

    // Boolean text styles of the 6.x Untimed row.
    enum BoolStyle : std::int32_t {
        kBoolStyleDigit = 0,   // "1" / "0"
        kBoolStyleYesNo = 1,   // "Yes" / "No"
        kBoolStyleTrue = 2,    // "True" / "False"
        kBoolStyleCustom = 3,  // the style's own two texts
    };

    // With the installed Palm Desktop's version (GetPalmDesktopVersion).
    PmDateInfo();
    // With a given installed version number (major * 10000 + minor * 100 + third part).
    explicit PmDateInfo(std::uint32_t palmVersion);

    // The boolean text style of the 6.x Untimed row; the texts count for style 3 only and
    // are cut to kBoolStyleTextMax characters.
    void SetBoolStyle(std::int32_t style, std::string_view setText = {},
                      std::string_view clearText = {});
    std::int32_t GetBoolStyle() const { return m_nBoolStyle; }
    // The text of a flag in the current style; empty for an unknown style.
    std::string BoolStyleText(std::int64_t flag) const;

    // --- The facade's parts (PmInfo.h) ---------------------------------------------------
    static const PmGenerationTables<PmCatalogueRow> kCatalogues;
    static const PmGenerationTables<PmTextRule> kTextRules;
    void FillCommon(const Item& item, CommDateRec& event) const;
    void FillRecord(const CommDateRec& event, Item& item, const Carried& carried);
    bool ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                       std::size_t size) const;
    void ApplyTextRule(const PmTextRule& rule, std::string_view text, CommDateRec& event) const;

  private:
    std::int32_t m_nBoolStyle = kBoolStyleYesNo;
    std::string m_szBoolSetText;
    std::string m_szBoolClearText;
};

// The frame's members are compiled once, in PmDateInfo.cpp, not in every file that uses the
// facade.
extern template class PmInfo<PmDateInfo, PmDateInfoTypes>;

}  // namespace tabrel
