#pragma once
// PmCategory: one category of a Palm Desktop 4.x database.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabrel {

class PmCategory {
  public:
    static constexpr std::size_t kMaxNameLength = 15;
    static constexpr std::size_t kMaxFileNameLength = 255;
    static constexpr std::uint32_t kFlagged = 0x01;
    static constexpr std::uint32_t kDirty = 0x10;

    // Not placed (index -1), no ID (-1), empty texts, no flags.
    PmCategory() = default;

    std::int32_t GetIndex() const { return m_nIndex; }
    std::int32_t GetId() const { return m_nId; }
    const std::string& GetName() const { return m_szName; }
    const std::string& GetFileName() const { return m_szCatFileName; }
    std::uint32_t GetFlags() const { return m_dwFlags; }

    // Copies the name into text when it is not empty and at most size characters long,
    // and sets size to its length; otherwise fails with text empty.
    bool CopyName(std::string& text, std::size_t& size) const;
    // The same for the file name.
    bool CopyFileName(std::string& text, std::size_t& size) const;

    void SetIndex(std::int32_t value) { m_nIndex = value; }
    void SetId(std::int32_t value) { m_nId = value; }
    // Keeps the first 15 characters.
    void SetName(std::string_view text);
    // Keeps the first 255 characters.
    void SetFileName(std::string_view text);
    void SetFlags(std::uint32_t value) { m_dwFlags = value; }
    void SetDirty(bool on);
    bool IsFlagged() const { return (m_dwFlags & kFlagged) != 0; }

    // Same index, same ID and the same name (letter case counts).
    bool Equals(const PmCategory& other) const;

  private:
    std::int32_t m_nIndex = -1;
    std::int32_t m_nId = -1;
    std::string m_szName;
    std::string m_szCatFileName;
    std::uint32_t m_dwFlags = 0;
};

}  // namespace tabrel
