#pragma once
// Texts as Jet 4 stores them: UTF-16LE, or the compressed form.

#include <string>

#include "support/jetwrite/Bytes.h"

namespace tabrel::test::jetwrite {

// UTF-8 to UTF-16 code units; a malformed sequence becomes U+FFFD.
std::u16string Utf16(const std::string& text);

Bytes Utf16Le(const std::u16string& units);

// The stored bytes of a text: compressed when compress is set and the text allows it and
// gets shorter, else UTF-16LE.
Bytes JetText(const std::string& text, bool compress);

}  // namespace tabrel::test::jetwrite
