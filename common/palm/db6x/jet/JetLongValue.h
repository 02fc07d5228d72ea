#pragma once
// Reads the whole value of a Jet 4 Memo or OLE field from the pages of the file: inline in
// the row, in one row of a long-value page, or in a chain of long-value rows.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tabrel {

// The value of a Memo or OLE field. field is the field as stored in its row (its 12-byte
// header, then any inline data); file the bytes of the whole database. False with the
// reason in error when the field or a page it leads to is damaged. A field shorter than its
// header is an empty value.
bool ReadJetLongValue(std::span<const std::uint8_t> file, std::span<const std::uint8_t> field,
                      std::vector<std::uint8_t>& value, std::string& error);

}  // namespace tabrel
