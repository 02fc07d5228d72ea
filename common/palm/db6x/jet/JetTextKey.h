#pragma once
// The index key of a Jet 4 Text or Memo value in the General sort order (0x409, version 0),
// the order of the Jet 4 files Access 2000 to 2007 make. JetTextKey.cpp lays out the bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tabrel {

// A key holds at most this many UTF-16 units of a value; the rest is not indexed.
inline constexpr std::size_t kJetTextKeyMaxUnits = 255;

// The bytes of a Text or Memo column's value in an ascending index key of the General sort
// order, after the entry's flag byte: the inline codes, the end marker, and any extra bytes
// (international, unprintable, ...) with their own end. The caller writes the flag byte and
// inverts every byte for a descending column. A descending value then takes one more 00
// after the inverted bytes, so that it ends FF 00.
std::vector<std::uint8_t> EncodeJetTextKey(std::u16string_view text);

}  // namespace tabrel
