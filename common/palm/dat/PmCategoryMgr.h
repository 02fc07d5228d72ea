#pragma once
// PmCategoryMgr: the up to 16 categories of a Palm Desktop 4.x database, one per slot.
//
// A category always sits in the slot equal to its index, and no two share an ID. Slot 0
// holds "Unfiled" (ID 0) once a database is loaded. Categories are only ever added.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "palm/dat/PmCategory.h"

namespace tabrel {

class PmCategoryMgr {
  public:
    static constexpr std::int32_t kSlotCount = 16;
    static constexpr std::int32_t kDefaultNextFeedId = 128;
    static constexpr std::string_view kUnfiledName = "Unfiled";

    PmCategoryMgr() = default;
    PmCategoryMgr(const PmCategoryMgr&) = delete;
    PmCategoryMgr& operator=(const PmCategoryMgr&) = delete;

    std::int32_t GetCount() const { return m_nCount; }
    // The first category, from slot 0 up, with that ID; nullptr when none has it.
    const PmCategory* FindById(std::int32_t id) const;
    // The category in slot 0 to 15; nullptr for an empty slot or any other number.
    const PmCategory* GetAt(std::int32_t slot) const;
    // The first category, from slot 0 up, whose name equals text without regard to
    // letter case; nullptr for an empty text or when none matches.
    const PmCategory* FindByName(std::string_view text) const;
    // Walks the occupied slots in order: GetFirst, then GetNext until nullptr.
    const PmCategory* GetFirst();
    const PmCategory* GetNext();

    // Stores a copy of category. An unplaced one (index -1) takes the first free slot from
    // 1 up, one without an ID (-1) takes one more than the largest ID held; either marks
    // the copy dirty. A non-empty name also sets the file name: the name with each of
    // " * + , . / : ; < = > ? [ \ ] ^ | replaced by '_'. Fails, changing nothing, when 16
    // categories are held, no slot is free, the index is outside 0 to 15 or its slot is
    // taken, the ID is held already, or no higher ID is left.
    bool Add(const PmCategory& category);
    // Adds "Unfiled" with index 0 and ID 0, the first entry of every loaded list.
    bool AddUnfiled();

    bool IsModified() const { return m_bModified; }
    void SetModified(bool value) { m_bModified = value; }
    std::int32_t GetNextFeedId() const { return m_nNextFeedId; }
    void SetNextFeedId(std::int32_t value) { m_nNextFeedId = value; }

    // The file name Add gives a category named name.
    static std::string MakeFileName(std::string_view name);

  private:
    std::int32_t m_nNextFeedId = kDefaultNextFeedId;
    std::int32_t m_nIterPos = 0;
    std::int32_t m_nCount = 0;
    std::array<std::unique_ptr<PmCategory>, kSlotCount> m_pCats;
    bool m_bModified = false;
};

}  // namespace tabrel
