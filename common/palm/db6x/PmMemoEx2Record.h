#pragma once
// PmMemoEx2Record: one memo of a Palm Desktop 6.x MemoPad.mdb, a row of its table "Main":
//   #  column     kind         field
//   0  Record ID  integer      m_nRecordId
//   1  Status     integer      m_nStatus
//   2  Placement  integer      m_nPlacement
//   3  Private    boolean      m_byPrivate
//   4  Category   number text  m_nCategoryId (the ID in decimal text, as in '2')
//   5  Note       text         m_szNote, the memo text in ANSI, whole
// The category name is not a column: it is filled from the category list and holds at
// most 31 characters.

#include <cstdint>
#include <string>

namespace tabrel {

struct PmMemoEx2Record {
    std::int32_t m_nRecordId = 0;
    std::int32_t m_nStatus = 0;
    std::int32_t m_nPlacement = 0;
    std::uint8_t m_byPrivate = 0;
    std::int32_t m_nCategoryId = 0;
    std::string m_szCategoryName;
    std::string m_szNote;

    bool operator==(const PmMemoEx2Record&) const = default;
};

}  // namespace tabrel
