#pragma once
// The rows of a Jet 4 table in the order a scan meets them: the data pages its usage map
// marks, in page order, each page's rows in row order, deleted rows left out and a moved
// row read at its new place.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetTableDefinition.h"

namespace tabrel {

struct JetScannedRow {
    std::uint32_t pointer = 0;  // where the row is listed (page × 256 + row)
    std::span<const std::uint8_t> bytes;
};

// The rows of the table; nullopt with the reason in error when its map or a page is damaged.
std::optional<std::vector<JetScannedRow>> ScanJetTable(std::span<const std::uint8_t> file,
                                                       const JetTableDefinition& table,
                                                       std::string& error);

}  // namespace tabrel
