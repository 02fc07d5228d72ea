#pragma once
// PmTodoRecord: one task of a classic todo.dat (Palm Desktop 4.1 and earlier).
//
//   field  code  meaning                                   held in
//   0-2    1     record ID, status, placement              PmClassicRecord
//   3      5     description (8192)                        m_szDescription
//   4      3     due date; above kPmTimeLastDate: none     m_tDueDate
//   5      6     completed                                 m_bCompleted
//   6      1     priority                                  m_dwPriority
//   7      6     private                                   m_bPrivate
//   8      1     category ID                               m_dwCategoryId
//   9      5     note (8192)                               m_szNote
// Texts hold at most their capacity (in brackets, terminator included) less one byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmClassicRecord.h"

namespace tabrel {

struct PmTodoRecord : PmClassicRecord {
    static constexpr std::size_t kFieldCount = 10;
    static constexpr std::size_t kDescriptionCapacity = 8192;
    static constexpr std::size_t kNoteCapacity = 8192;

    std::string m_szDescription;       // field 3
    std::uint32_t m_tDueDate = 0;      // field 4
    std::uint32_t m_bCompleted = 0;    // field 5
    std::uint32_t m_dwPriority = 0;    // field 6
    std::uint32_t m_bPrivate = 0;      // field 7
    std::uint32_t m_dwCategoryId = 0;  // field 8
    std::string m_szNote;              // field 9

    bool operator==(const PmTodoRecord&) const = default;
};

}  // namespace tabrel
