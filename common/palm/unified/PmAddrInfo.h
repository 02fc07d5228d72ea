#pragma once
// PmAddrInfo: the Contacts facade (see PmInfo.h): address.dat of Palm Desktop 4.1 and
// earlier and of 4.1.x, Address.mdb of 6.x, seen through one catalogue per generation and
// the common contact records.
//
// A contact keeps its phone numbers and e-mail address in slots (5 in classic records, 7
// in the others), each with a label 0 to 7 (work, home, fax, other, e-mail, main, pager,
// mobile). The catalogue offers them as eight phone rows of identifier 0 whose kind is the
// label plus one. Birthdays and anniversaries are stored as a variant date plus an offset
// (PmInfoConvert.h); 0 means none.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palm/classic/PmAddrUtil.h"
#include "palm/comm/CommAddrMgr.h"
#include "palm/db6x/PmAddrEx2Util.h"
#include "palm/palmsg/PmAddrExUtil.h"
#include "palm/unified/PmInfo.h"

namespace tabrel {

using PmAddrInfoTypes =
    PmInfoTypes<PmAddrUtil, PmAddrExUtil, PmAddrEx2Util, CommAddrMgr, CommAddrRec>;

class PmAddrInfo final : public PmInfo<PmAddrInfo, PmAddrInfoTypes> {
  public:
    // The smallest text buffer a phone row gives its text into (bytes).
    static constexpr std::size_t kPhoneTextMinSize = 32;

    // With the installed Palm Desktop's version (GetPalmDesktopVersion).
    PmAddrInfo();
    // With a given installed version number (major * 10000 + minor * 100 + third part).
    explicit PmAddrInfo(std::uint32_t palmVersion);

    // --- The facade's parts (PmInfo.h) ---------------------------------------------------
    static const PmGenerationTables<PmCatalogueRow> kCatalogues;
    static const PmGenerationTables<PmTextRule> kTextRules;
    void FillCommon(const Item& item, CommAddrRec& contact) const;
    void FillRecord(const CommAddrRec& contact, Item& item, const Carried& carried);
    bool ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                       std::size_t size) const;
    void ApplyTextRule(const PmTextRule& rule, std::string_view text, CommAddrRec& contact) const;

  private:
    // The text of a common text field (empty for an identifier without one).
    std::string CommonText(const CommAddrRec& contact, std::int32_t commonId) const;
    // Files the record under the category the common record names: its identifier in the
    // loaded reader's list (added when missing) and its name.
    void FileUnderCategory(const CommAddrRec& contact, Item& item);
};

// The frame's members are compiled once, in PmAddrInfo.cpp, not in every file that uses the
// facade.
extern template class PmInfo<PmAddrInfo, PmAddrInfoTypes>;

}  // namespace tabrel
