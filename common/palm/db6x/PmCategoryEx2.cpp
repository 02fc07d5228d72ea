#include "palm/db6x/PmCategoryEx2.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

#include "misc/CxDebugUtil.h"
#include "palm/db6x/PmMDBAccessor.h"

namespace tabrel {

bool PmCategoryEx2Mgr::Add(const PmCategoryEx2& category) {
    return m_pCats.Add(std::make_unique<PmCategoryEx2>(category));
}

bool PmCategoryEx2Mgr::AddNew(PmCategoryEx2& category) {
    if (m_pAccessor == nullptr) {
        return false;
    }
    // The largest ID plus one: a count-based ID could repeat one that is held when the IDs
    // have gaps, and would move records into the wrong category.
    std::int32_t largest = 0;
    for (const PmCategoryEx2& held : m_pCats) {
        largest = std::max(largest, held.m_nId);
    }
    if (largest == std::numeric_limits<std::int32_t>::max()) {
        CX_LOG(kLogFailure, "No category ID is left for the category %s.", category.m_szName);
        return false;
    }
    category.m_nId = largest + 1;

    static constexpr std::array<std::string_view, 4> kColumns = {"ID", "Name", "Status", "Color"};
    const std::array<DbValue, 4> values = {MakeIntegerValue(category.m_nId),
                                           MakeTextValue(category.m_szName), MakeIntegerValue(1),
                                           MakeIntegerValue(0)};
    const std::string statement = m_pAccessor->BuildCategorySql("", SqlInsert, kColumns, values);
    if (!m_pAccessor->ExecuteSql(statement, false) || m_pAccessor->GetRowsAffected() != 1) {
        CX_LOG(kLogFailure, "Failed to create the category %s in the database.", category.m_szName);
        return false;
    }
    return Add(category);
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindById(std::int32_t id) const {
    for (const PmCategoryEx2& category : m_pCats) {
        if (category.m_nId == id) {
            return &category;
        }
    }
    return nullptr;
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindByName(std::string_view name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (const PmCategoryEx2& category : m_pCats) {
        if (category.m_szName == name) {
            return &category;
        }
    }
    return nullptr;
}

}  // namespace tabrel
