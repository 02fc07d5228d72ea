#pragma once
// The key of a row in a Jet 4 index, as the engine stores it in the index's entries: per
// column of the index a flag byte and, unless the value is NULL, the value's key bytes.
//
//   flag     ascending 0x7F (a value follows) or 0x00 (NULL); descending 0x80 or 0xFF
//   Byte     the byte
//   Integer, Long Integer, Currency
//            the value big-endian with its sign bit flipped
//   Single, Double, Date/Time
//            the IEEE value big-endian: not negative, its sign bit flipped; negative,
//            every bit flipped
//   Yes/No   never NULL: flag 0x7F, then 0x00 for Yes and 0xFF for No
//   Text, Memo
//            the General sort order's codes (JetTextKey.h)
// A descending column's flag and bytes are those of an ascending one with every bit
// flipped (its flags above); a descending text then ends in one more 0x00.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetTableDefinition.h"

namespace tabrel {

// Whether keys of the column can be made: its type and (for text) its sort order.
bool CanEncodeJetKey(const JetColumnDefinition& column);

// The key of a row whose values (one per column of the table, CrackJetRow) are given;
// nullopt when a column of the index is not one CanEncodeJetKey takes or is missing. file
// holds the long-value pages of Memo values.
std::optional<std::vector<std::uint8_t>> EncodeJetIndexKey(const JetTableDefinition& table,
                                                           const JetRealIndex& index,
                                                           const std::vector<JetRowValue>& values,
                                                           std::span<const std::uint8_t> file);

}  // namespace tabrel
