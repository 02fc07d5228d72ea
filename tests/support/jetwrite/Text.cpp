#include "support/jetwrite/Text.h"

namespace tabrel::test::jetwrite {

std::u16string Utf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c >> 4) == 0xE) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c >> 3) == 0x1E) {
            len = 4;
            cp = c & 0x07;
        } else {
            len = 0;
        }
        bool ok = len > 0 && i + len <= text.size();
        for (std::size_t k = 1; ok && k < len; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next >> 6) == 0x2;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!ok) {
            cp = 0xFFFD;
            len = 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

Bytes Utf16Le(const std::u16string& units) {
    Bytes out;
    for (const char16_t u : units) {
        Append16(out, u);
    }
    return out;
}

// Jet 4 compressed unicode: 0xFF 0xFE, then the text in runs. The text starts in compressed
// mode, where a character below U+0100 is its low byte alone; a 0x00 byte switches between
// compressed and uncompressed mode (two bytes per character). A character whose low byte is
// 0x00 cannot be written, as the reader would take that byte for a switch. Answers the
// UTF-16LE bytes instead when compression is impossible or does not make the text shorter.
Bytes JetText(const std::string& text, bool compress) {
    const std::u16string units = Utf16(text);
    Bytes plain = Utf16Le(units);
    if (!compress) {
        return plain;
    }
    Bytes packed{0xFF, 0xFE};
    bool compressed = true;
    for (const char16_t u : units) {
        const auto low = static_cast<std::uint8_t>(u & 0xFF);
        const auto high = static_cast<std::uint8_t>(u >> 8);
        if (low == 0) {
            return plain;
        }
        if ((high == 0) != compressed) {
            packed.push_back(0);
            compressed = !compressed;
        }
        packed.push_back(low);
        if (!compressed) {
            packed.push_back(high);
        }
    }
    return packed.size() < plain.size() ? packed : plain;
}

}  // namespace tabrel::test::jetwrite
