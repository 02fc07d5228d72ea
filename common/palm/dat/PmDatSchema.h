#pragma once
// PmDatSchema: the record layout a .dat file announces in its schema block, the same in
// both generations:
//
//   size        field
//   u32         resource ID
//   u32         fields per row
//   u32         record ID position
//   u32         status position
//   u32         placement position
//   u16         field count F
//   F x u16     field type codes

#include <cstdint>
#include <vector>

namespace tabrel {

struct PmDatSchema {
    std::uint32_t m_dwResourceId = 0;
    std::uint32_t m_dwFieldsPerRow = 0;
    std::uint32_t m_dwRecordIdPosition = 0;
    std::uint32_t m_dwStatusPosition = 0;
    std::uint32_t m_dwPlacementPosition = 0;
    std::vector<std::uint16_t> m_fieldCodes;  // F codes; F is the field count

    bool operator==(const PmDatSchema&) const = default;
};

}  // namespace tabrel
