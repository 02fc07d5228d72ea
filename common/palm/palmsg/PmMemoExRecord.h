#pragma once
// PmMemoExRecord: one memo of a "PalmSG Database" memopad.dat.
//
//   field  code  holds                         capacity (bytes, with terminator)
//   0-10         record header (PmExRecord.h)
//   11     5     text, carried through         32
//   12     5     text, carried through         32
//   13     5     the memo                      65535
// The category name holds at most 32 characters.

#include <cstddef>
#include <string>

#include "palm/palmsg/PmExRecord.h"

namespace tabrel {

struct PmMemoExRecord : PmExRecord {
    static constexpr std::size_t kFieldCount = 14;
    static constexpr std::size_t kTextCapacity = 32;
    static constexpr std::size_t kMemoCapacity = 65535;
    static constexpr std::size_t kCategoryCapacity = 33;

    std::string m_szText11;  // field 11
    std::string m_szText12;  // field 12
    std::string m_szMemo;    // field 13

    bool operator==(const PmMemoExRecord&) const = default;
};

}  // namespace tabrel
