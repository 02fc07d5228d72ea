#pragma once
// Rewrites one table of a Jet 4 file with a new list of rows, as a compacting engine would:
// the table's data pages, long-value pages and index pages are laid out afresh (reusing the
// table's own pages first, then new pages after the end of the file), while its definition
// pages, index root pages and usage-map rows stay where they are, rewritten in place. Every
// other page of the file stays byte for byte, but for the file's map of free pages.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetIndexTree.h"
#include "palm/db6x/jet/JetTableDefinition.h"

namespace tabrel {

// One value of a row to write.
struct JetWriteValue {
    enum class Kind { Null, Yes, No, Stored, Long };
    Kind kind = Kind::Null;
    // Stored: a fixed value (little-endian, its column's width) or a Text value as stored
    // (JetText.h); Long: the whole of a Memo (as stored text) or OLE value.
    std::vector<std::uint8_t> bytes;
};
using JetWriteRow = std::vector<JetWriteValue>;  // one per column of the definition

// The values of a stored row (long values read whole); nullopt when it is damaged.
std::optional<JetWriteRow> ReadJetWriteRow(std::span<const std::uint8_t> file,
                                           const JetTableDefinition& table,
                                           std::span<const std::uint8_t> row);

// Why the table cannot be rewritten ("a relationship is enforced on the table", ...), or ""
// when it can.
std::string WhyJetTableUnwritable(const JetTableDefinition& table);

// The file with the table's rows replaced by rows (in this order) and its auto-number
// counter set to lastAutoNumber; nullopt with the reason in error when the table has a
// layout this does not write (an index over a column whose keys are not made here, a
// usage map too small for the pages), a row does not fit a page, or the rows would give a
// unique index the same key twice.
std::optional<std::vector<std::uint8_t>> RewriteJetTable(std::span<const std::uint8_t> file,
                                                         const JetTableDefinition& table,
                                                         const std::vector<JetWriteRow>& rows,
                                                         std::uint32_t lastAutoNumber,
                                                         std::string& error);

}  // namespace tabrel
