#pragma once
// PmMemoInfo: the Memos facade (see PmInfo.h): memopad.dat of Palm Desktop 4.1 and earlier
// and of 4.1.x, MemoPad.mdb of 6.x, seen through one catalogue row ("Memo") and the common
// note records.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palm/classic/PmMemoUtil.h"
#include "palm/comm/CommNoteMgr.h"
#include "palm/db6x/PmMemoEx2Util.h"
#include "palm/palmsg/PmMemoExUtil.h"
#include "palm/unified/PmInfo.h"

namespace tabrel {

using PmMemoInfoTypes =
    PmInfoTypes<PmMemoUtil, PmMemoExUtil, PmMemoEx2Util, CommNoteMgr, CommNoteRec>;

class PmMemoInfo final : public PmInfo<PmMemoInfo, PmMemoInfoTypes> {
  public:
    // The limits of a memo text written back (characters).
    static constexpr std::size_t kDatMemoMax = 65534;
    static constexpr std::size_t kEx2MemoMax = 40959;
    static constexpr std::size_t kSubjectMax = 255;
    static constexpr std::size_t kNoteMax = 20479;

    // With the installed Palm Desktop's version (GetPalmDesktopVersion).
    PmMemoInfo();
    // With a given installed version number (major * 10000 + minor * 100 + third part).
    explicit PmMemoInfo(std::uint32_t palmVersion);

    // --- The facade's parts (PmInfo.h) ---------------------------------------------------
    static const PmGenerationTables<PmCatalogueRow> kCatalogues;
    static const PmGenerationTables<PmTextRule> kTextRules;
    void FillCommon(const Item& item, CommNoteRec& note) const;
    void FillRecord(const CommNoteRec& note, Item& item, const Carried& carried);
    bool ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                       std::size_t size) const;
    void ApplyTextRule(const PmTextRule& rule, std::string_view text, CommNoteRec& note) const;
};

// The frame's members are compiled once, in PmMemoInfo.cpp, not in every file that uses the
// facade.
extern template class PmInfo<PmMemoInfo, PmMemoInfoTypes>;

}  // namespace tabrel
