#pragma once
// PmClassicRecord: what every record of a classic .dat file (Palm Desktop 4.1 and earlier)
// begins with, fields 0 to 2, plus the name of the record's category. The application
// records (Contacts, Calendar, Tasks, Memos) derive from it and add their fields 3 and up;
// where each keeps its category ID differs by application.
//
//   field  type     meaning
//   0      integer  record ID; 0 in a record this system creates
//   1      integer  status flags: kPmStatusAdded, kPmStatusModified; a record with a bit of
//                   kPmClassicHiddenStatus in its low byte is deleted or archived
//   2      integer  placement; kPmNewPlacement in a record this system creates

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/dat/PmRecordStatus.h"
#include "palm/dat/PmWholeTexts.h"

namespace tabrel {

// Status bits (low byte) of a record that is neither shown nor converted.
inline constexpr std::uint32_t kPmClassicHiddenStatus = 0x84;

struct PmClassicRecord {
    static constexpr std::size_t kStatusField = 1;
    // The first field an application record defines itself.
    static constexpr std::size_t kFirstAppField = 3;
    // Bytes of the category name including the terminator (at most 15 characters).
    static constexpr std::size_t kCategoryCapacity = 16;

    std::uint32_t m_dwRecordId = 0;   // field 0
    std::uint32_t m_dwStatus = 0;     // field 1
    std::uint32_t m_dwPlacement = 0;  // field 2
    // The name of the record's category. The Contacts loader fills it; for the other
    // applications the facade does.
    std::string m_szCategory;
    // Texts of fields 3 and up stored longer than their field keeps, whole (see
    // PmWholeTexts.h); written back in place of an unchanged cut text.
    PmWholeTexts m_wholeTexts;

    // Whether the status marks the record deleted or archived.
    bool IsHiddenStatus() const { return (m_dwStatus & 0xFF & kPmClassicHiddenStatus) != 0; }

    bool operator==(const PmClassicRecord&) const = default;
};

}  // namespace tabrel
