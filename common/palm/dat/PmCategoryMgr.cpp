#include "palm/dat/PmCategoryMgr.h"

#include <limits>

#include "misc/CxText.h"

namespace tabrel {

const PmCategory* PmCategoryMgr::FindById(std::int32_t id) const {
    for (const auto& category : m_pCats) {
        if (category && category->GetId() == id) {
            return category.get();
        }
    }
    return nullptr;
}

const PmCategory* PmCategoryMgr::GetAt(std::int32_t slot) const {
    if (slot < 0 || slot >= kSlotCount) {
        return nullptr;
    }
    return m_pCats[static_cast<std::size_t>(slot)].get();
}

const PmCategory* PmCategoryMgr::FindByName(std::string_view text) const {
    if (text.empty()) {
        return nullptr;
    }
    for (const auto& category : m_pCats) {
        if (category && EqualsNoCase(category->GetName(), text)) {
            return category.get();
        }
    }
    return nullptr;
}

const PmCategory* PmCategoryMgr::GetFirst() {
    m_nIterPos = 0;
    return GetNext();
}

const PmCategory* PmCategoryMgr::GetNext() {
    while (m_nIterPos < kSlotCount) {
        const PmCategory* category = m_pCats[static_cast<std::size_t>(m_nIterPos++)].get();
        if (category != nullptr) {
            return category;
        }
    }
    return nullptr;
}

std::string PmCategoryMgr::MakeFileName(std::string_view name) {
    // Characters that file names on the desktop cannot hold, or that have a meaning there.
    constexpr std::string_view kReplaced = "\"*+,./:;<=>?[\\]^|";
    std::string fileName = CutText(name, PmCategory::kMaxFileNameLength);
    for (char& c : fileName) {
        if (kReplaced.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return fileName;
}

bool PmCategoryMgr::Add(const PmCategory& category) {
    if (m_nCount >= kSlotCount) {
        return false;
    }
    PmCategory copy = category;

    if (copy.GetIndex() == -1) {
        std::int32_t free = 1;  // slot 0 belongs to "Unfiled" and is never given out
        while (free < kSlotCount && m_pCats[static_cast<std::size_t>(free)]) {
            ++free;
        }
        if (free == kSlotCount) {
            return false;
        }
        copy.SetIndex(free);
        copy.SetDirty(true);
    } else if (copy.GetIndex() < 0 || copy.GetIndex() >= kSlotCount ||
               m_pCats[static_cast<std::size_t>(copy.GetIndex())]) {
        return false;
    }

    if (copy.GetId() == -1) {
        std::int32_t largest = -1;
        for (const auto& held : m_pCats) {
            if (held && held->GetId() > largest) {
                largest = held->GetId();
            }
        }
        if (largest == std::numeric_limits<std::int32_t>::max()) {
            return false;
        }
        copy.SetId(largest + 1);
        copy.SetDirty(true);
    } else if (FindById(copy.GetId()) != nullptr) {
        return false;
    }

    if (!copy.GetName().empty()) {
        copy.SetFileName(MakeFileName(copy.GetName()));
    }

    const auto slot = static_cast<std::size_t>(copy.GetIndex());
    m_pCats[slot] = std::make_unique<PmCategory>(std::move(copy));
    ++m_nCount;
    m_bModified = true;
    return true;
}

bool PmCategoryMgr::AddUnfiled() {
    PmCategory unfiled;
    unfiled.SetIndex(0);
    unfiled.SetId(0);
    unfiled.SetName(kUnfiledName);
    return Add(unfiled);
}

}  // namespace tabrel
