#pragma once
// PmTodoInfo: the Tasks facade (see PmInfo.h): todo.dat of Palm Desktop 4.1 and earlier and
// of 4.1.x, Todolist.mdb of 6.x, seen through six catalogue rows (Description, Due Date,
// Completed, Priority, Private, Note) and the common task records.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "palm/classic/PmTodoUtil.h"
#include "palm/comm/CommTaskMgr.h"
#include "palm/db6x/PmTodoEx2Util.h"
#include "palm/palmsg/PmTodoExUtil.h"
#include "palm/unified/PmInfo.h"

namespace tabrel {

using PmTodoInfoTypes =
    PmInfoTypes<PmTodoUtil, PmTodoExUtil, PmTodoEx2Util, CommTaskMgr, CommTaskRec>;

class PmTodoInfo final : public PmInfo<PmTodoInfo, PmTodoInfoTypes> {
  public:
    // The limits of the texts written into a Palm task (characters).
    static constexpr std::size_t kClassicDescriptionMax = 8191;
    static constexpr std::size_t kDescriptionMax = 255;
    static constexpr std::size_t kPalmNoteMax = 8191;
    // The limits of the common task's texts (characters).
    static constexpr std::size_t kSubjectMax = CommTaskRec::kSubjectSize - 1;
    static constexpr std::size_t kNoteMax = CommTaskRec::kNoteSize - 1;

    // With the installed Palm Desktop's version (GetPalmDesktopVersion).
    PmTodoInfo();
    // With a given installed version number (major * 10000 + minor * 100 + third part).
    explicit PmTodoInfo(std::uint32_t palmVersion);

    // --- The facade's parts (PmInfo.h) ---------------------------------------------------
    static const PmGenerationTables<PmCatalogueRow> kCatalogues;
    static const PmGenerationTables<PmTextRule> kTextRules;
    void FillCommon(const Item& item, CommTaskRec& task) const;
    void FillRecord(const CommTaskRec& task, Item& item, const Carried& carried);
    bool ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                       std::size_t size) const;
    void ApplyTextRule(const PmTextRule& rule, std::string_view text, CommTaskRec& task) const;
};

// The frame's members are compiled once, in PmTodoInfo.cpp, not in every file that uses the
// facade.
extern template class PmInfo<PmTodoInfo, PmTodoInfoTypes>;

}  // namespace tabrel
