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

}  // namespace tabrel
