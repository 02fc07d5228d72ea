#pragma once
// PmMemoRecord: one memo of a classic memopad.dat (Palm Desktop 4.1 and earlier).
//
//   field  code  meaning                                   held in
//   0-2    1     record ID, status, placement              PmClassicRecord
//   3      5     the memo (65536)                          m_szMemo
//   4      6     private flag                              m_bPrivate
//   5      1     category ID                               m_dwCategoryId
// The memo holds at most its capacity (in brackets, terminator included) less one byte,
// which is every text a counted string can carry.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmClassicRecord.h"

namespace tabrel {

struct PmMemoRecord : PmClassicRecord {
    static constexpr std::size_t kFieldCount = 6;
    static constexpr std::size_t kMemoCapacity = 65536;

    std::string m_szMemo;              // field 3
    std::uint32_t m_bPrivate = 0;      // field 4
    std::uint32_t m_dwCategoryId = 0;  // field 5

    bool operator==(const PmMemoRecord&) const = default;
};

}  // namespace tabrel
