#include "palm/dat/PmCategory.h"

#include "misc/CxText.h"

namespace tabrel {

namespace {

bool CopyText(const std::string& source, std::string& text, std::size_t& size) {
    text.clear();
    if (source.empty() || source.size() > size) {
        return false;
    }
    text = source;
    size = source.size();
    return true;
}

}  // namespace

bool PmCategory::CopyName(std::string& text, std::size_t& size) const {
    return CopyText(m_szName, text, size);
}

bool PmCategory::CopyFileName(std::string& text, std::size_t& size) const {
    return CopyText(m_szCatFileName, text, size);
}

void PmCategory::SetName(std::string_view text) {
    m_szName = CutText(text, kMaxNameLength);
}

void PmCategory::SetFileName(std::string_view text) {
    m_szCatFileName = CutText(text, kMaxFileNameLength);
}

void PmCategory::SetDirty(bool on) {
    if (on) {
        m_dwFlags |= kDirty;
    } else {
        m_dwFlags &= ~kDirty;
    }
}

bool PmCategory::Equals(const PmCategory& other) const {
    return m_nIndex == other.m_nIndex && m_nId == other.m_nId && m_szName == other.m_szName;
}

}  // namespace tabrel
