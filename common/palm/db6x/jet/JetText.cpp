#include "palm/db6x/jet/JetText.h"

namespace tabrel {

std::u16string DecodeJetText(std::span<const std::uint8_t> stored) {
    std::u16string text;
    const bool compressed = stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE;
    std::size_t i = compressed ? 2 : 0;
    text.reserve(compressed ? stored.size() - i : stored.size() / 2);
    bool oneByte = compressed;
    while (i < stored.size()) {
        if (compressed && stored[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            text += static_cast<char16_t>(stored[i]);
            ++i;
        } else if (i + 1 < stored.size()) {
            text += static_cast<char16_t>(stored[i] | (stored[i + 1] << 8));
            i += 2;
        } else {
            break;
        }
    }
    return text;
}

std::vector<std::uint8_t> EncodeJetText(std::u16string_view text, bool compressible) {
    std::vector<std::uint8_t> plain;
    plain.reserve(2 * text.size());
    bool canCompress = compressible && !text.empty();
    for (const char16_t unit : text) {
        plain.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        plain.push_back(static_cast<std::uint8_t>(unit >> 8));
        canCompress = canCompress && (unit & 0xFF) != 0;
    }
    if (!canCompress) {
        return plain;
    }
    std::vector<std::uint8_t> compressed{0xFF, 0xFE};
    bool oneByte = true;
    for (const char16_t unit : text) {
        if ((unit <= 0xFF) != oneByte) {
            compressed.push_back(0);
            oneByte = !oneByte;
        }
        compressed.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        if (!oneByte) {
            compressed.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
    }
    return compressed.size() < plain.size() ? compressed : plain;
}

}  // namespace tabrel
