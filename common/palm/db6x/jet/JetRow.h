#pragma once
// The values of one Jet 4 table row as its definition lays them out:
//   offset       size  meaning
//   0            2     the number of columns the row has (n; at most the definition's most)
//   2            ...   the fixed-width values, each at its column's fixed offset
//   ...          ...   the variable-width values, one after another
//   end - m - 2v - 4   v + 1 u16 offsets of the variable values (the last: where they end),
//                      stored backwards from the end (only when the table has variable
//                      columns)
//   end - m - 2  2     v, the variable values the row has
//   end - m      m     the null mask, (n + 7) / 8 bytes: bit k (low bit first) is 1 when
//                      column number k has a value; a Yes/No column's bit is its value

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTypes.h"

namespace tabrel {

struct JetRowValue {
    bool isNull = true;
    bool yes = false;  // a Yes/No column's value
    std::span<const std::uint8_t> bytes;
};

// One value per column of the definition, in its order; nullopt when the row is damaged.
std::optional<std::vector<JetRowValue>> CrackJetRow(const JetTableDefinition& table,
                                                    std::span<const std::uint8_t> row);

}  // namespace tabrel
