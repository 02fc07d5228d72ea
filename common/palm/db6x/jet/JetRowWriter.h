#pragma once
// Lays out a Jet 4 table row from its values, as the engine does (JetRow.h has the layout):
// the column count is the definition's most columns (deleted columns too); each fixed value
// at its column's offset (zeros for NULL), the fixed part as long as its last column; the
// variable values in the order of their offset-table places, a NULL one taking no bytes;
// one offset per variable place of the definition (places of deleted columns too), the end
// of the variable values, their count; the null mask, with the Yes/No values in it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetTableDefinition.h"

namespace tabrel {

// The most bytes a row may take on a page.
inline constexpr std::size_t kJetMaxRowSize = 4060;

// The row of the values (one per column of the definition, as CrackJetRow gives them; a
// fixed value as wide as its column, a variable one as stored, a Memo or OLE value as its
// field in the row). minSize pads the variable part so the row takes at least that many
// bytes (a row rewritten in its old place). nullopt when a fixed value has the wrong width
// or the row would be longer than a page takes.
std::optional<std::vector<std::uint8_t>> EncodeJetRow(const JetTableDefinition& table,
                                                      const std::vector<JetRowValue>& values,
                                                      std::size_t minSize = 0);

}  // namespace tabrel
