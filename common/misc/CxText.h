#pragma once
// Small text helpers for the 8-bit texts of the data model.

#include <string>
#include <string_view>

namespace tabrel {

// The first maxChars bytes of text: how a fixed-width field of maxChars + 1 bytes keeps it.
inline std::string CutText(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, maxChars));
}

// ASCII letter-case folding; bytes of 0x80 and above are compared as they are.
inline char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace tabrel
