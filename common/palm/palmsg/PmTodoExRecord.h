#pragma once
// PmTodoExRecord: one Tasks record of a "PalmSG Database" file (todo.dat).
//
//   field  code  meaning                                   held in
//   0-10         common header and blocks                  PmExRecord
//   11,12  5     texts, carried through (32)               m_szField11, m_szField12
//   13     5     description (256)                         m_szDescription
//   14     3     due date; above kPmTimeLastDate: none     m_tDueDate
//   15     6     completed                                 m_bCompleted
//   16     1     priority                                  m_dwPriority
//   17     5     note (8192)                               m_szNote
//   18     6     flag, carried through                     m_bField18
//   19     3     time value, carried through               m_tField19
//   20     6     flag set from the common task record      m_bField20
//   21     3     time value, carried through               m_tField21
//   22     1     value, carried through                    m_dwField22
//   23     3     time value, carried through               m_tField23
//   24     8     repeat event                              m_repeat
// Texts hold at most their capacity (in brackets, terminator included) less one byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/dat/PmRepeatEvent.h"
#include "palm/palmsg/PmExRecord.h"

namespace tabrel {

struct PmTodoExRecord : PmExRecord {
    static constexpr std::size_t kFieldCount = 25;
    static constexpr std::size_t kShortTextCapacity = 32;
    static constexpr std::size_t kDescriptionCapacity = 256;
    static constexpr std::size_t kNoteCapacity = 8192;
    static constexpr std::size_t kCategoryCapacity = 32;

    std::string m_szField11;
    std::string m_szField12;
    std::string m_szDescription;
    std::uint32_t m_tDueDate = 0;
    std::uint32_t m_bCompleted = 0;
    std::uint32_t m_dwPriority = 0;
    std::string m_szNote;
    std::uint32_t m_bField18 = 0;
    std::uint32_t m_tField19 = 0;
    std::uint32_t m_bField20 = 0;
    std::uint32_t m_dwField22 = 0;
    std::uint32_t m_tField21 = 0;
    std::uint32_t m_tField23 = 0;
    PmRepeatEvent m_repeat;

    bool operator==(const PmTodoExRecord&) const = default;
};

}  // namespace tabrel
