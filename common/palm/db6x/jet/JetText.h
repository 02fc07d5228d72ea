#pragma once
// The text of a Jet 4 Text or Memo value as stored: UTF-16LE, or Jet 4's compressed form.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

// The UTF-16 text of stored bytes. Compressed text begins with the bytes FF FE; after them,
// runs alternate, starting with a compressed one, each ended by a zero byte: in a
// compressed run every byte is one character (U+0000 to U+00FF), in an uncompressed run
// every two bytes are one UTF-16LE unit. Anything else is plain UTF-16LE. A last odd byte
// is dropped.
std::u16string DecodeJetText(std::span<const std::uint8_t> stored);

// The stored bytes of a text: compressed when the column allows it (compressible), the
// text has no unit whose low byte is zero (a zero byte switches runs) and the compressed
// form is shorter than UTF-16LE; UTF-16LE otherwise.
std::vector<std::uint8_t> EncodeJetText(std::u16string_view text, bool compressible);

}  // namespace tabrel
