#pragma once
// PmCategoryEx2 and PmCategoryEx2Mgr: the categories of a Palm Desktop 6.x database, kept
// in its table "Category":
//   column  kind     meaning
//   ID      integer  category identifier; records refer to it
//   Name    text     category name
//   Status  integer  1 for a category created here
//   Color   integer  0 for a category created here

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "misc/CxList.h"
#include "misc/CxText.h"

namespace tabrel {

class PmMDBAccessor;

struct PmCategoryEx2 {
    // A name given here keeps at most 254 characters, one read from the database 255 bytes.
    static constexpr std::size_t kNameMax = 254;
    static constexpr std::size_t kNameReadMax = 255;

    void SetName(std::string_view name) { m_szName = CutText(name, kNameMax); }

    std::int32_t m_nId = 0;
    std::string m_szName;
    std::int32_t m_nStatus = 0;
    std::int32_t m_nColor = 0;

    bool operator==(const PmCategoryEx2&) const = default;
};

// The category list of one database, in the order the categories were added.
class PmCategoryEx2Mgr {
  public:
    PmCategoryEx2Mgr() = default;
    PmCategoryEx2Mgr(const PmCategoryEx2Mgr&) = delete;
    PmCategoryEx2Mgr& operator=(const PmCategoryEx2Mgr&) = delete;

    // The accessor of the database object that owns this list (not owned); AddNew writes
    // through it.
    void SetAccessor(PmMDBAccessor* accessor) { m_pAccessor = accessor; }
    PmMDBAccessor* GetAccessor() const { return m_pAccessor; }

    std::size_t GetCount() const { return m_pCats.GetCount(); }
    void Clear() { m_pCats.Clear(); }
    // Appends a copy.
    bool Add(const PmCategoryEx2& category);
    // Creates the category in the database and appends it. Its ID becomes the largest ID
    // held plus one (1 for an empty list), stored in category; the row written has that
    // ID, the name, Status 1 and Color 0, while the copy in the list keeps the Status and
    // Color given. False, with nothing added, without an accessor, when no higher ID is
    // left, or when the INSERT fails or adds no row.
    bool AddNew(PmCategoryEx2& category);

    // The first category with that ID, or nullptr.
    const PmCategoryEx2* FindById(std::int32_t id) const;
    // The first category whose name equals name exactly, letter case included; nullptr for
    // an empty name or when none does.
    const PmCategoryEx2* FindByName(std::string_view name) const;
    // The category at a 0-based position, or nullptr.
    const PmCategoryEx2* GetAt(std::size_t position) { return m_pCats.At(position); }
    // Walks the list: GetFirst, then GetNext until nullptr.
    const PmCategoryEx2* GetFirst() { return m_pCats.First(); }
    const PmCategoryEx2* GetNext() { return m_pCats.Next(); }

  private:
    PmMDBAccessor* m_pAccessor = nullptr;
    CxList<PmCategoryEx2> m_pCats;
};

}  // namespace tabrel
