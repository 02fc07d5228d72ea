#pragma once
// PmExRecord: what every record of a "PalmSG Database" file begins with, fields 0 to 10,
// plus the name of the record's category. The application records (Contacts, Calendar,
// Tasks, Memos) derive from it and add their fields 11 and up.
//
//   field  type       meaning
//   0      integer    record ID; 0 in a record this system creates
//   1      integer    record number; 4096 + position for a new record
//   2      integer    status flags (kPmStatusAdded, kPmStatusModified, ...)
//   3      integer    for a new record, its position times the fields per row
//   4      integer    placement; kPmNewPlacement for a new record
//   5      integer    category ID
//   6      boolean    private flag
//   7-10   block      binary blocks (codes 64 to 67), carried through

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/dat/PmBlock.h"
#include "palm/dat/PmRecordStatus.h"
#include "palm/dat/PmWholeTexts.h"

namespace tabrel {

inline constexpr std::uint32_t kPmNewRecordNumberBase = 4096;

struct PmExRecord {
    static constexpr std::size_t kBlockCount = 4;
    static constexpr std::size_t kCategoryField = 5;
    static constexpr std::size_t kFirstBlockField = 7;
    // The first field an application record defines itself.
    static constexpr std::size_t kFirstAppField = 11;

    std::uint32_t m_dwRecordId = 0;             // field 0
    std::uint32_t m_dwRecordNumber = 0;         // field 1
    std::uint32_t m_dwStatus = 0;               // field 2
    std::uint32_t m_dwField3 = 0;               // field 3
    std::uint32_t m_dwPlacement = 0;            // field 4
    std::uint32_t m_dwCategoryId = 0;           // field 5
    std::uint32_t m_dwPrivate = 0;              // field 6
    std::array<PmBlock, kBlockCount> m_blocks;  // fields 7 to 10
    // The name of the category of field 5, filled when the record is loaded (cut to the
    // application's capacity); empty when the category list has no such ID.
    std::string m_szCategory;
    // Texts of fields 11 and up stored longer than their field keeps, whole (see
    // PmWholeTexts.h); written back in place of an unchanged cut text.
    PmWholeTexts m_wholeTexts;

    bool operator==(const PmExRecord&) const = default;
};

}  // namespace tabrel
