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

// The blanks Trim takes off: space, tab, the line breaks, vertical tab and form feed.
inline constexpr std::string_view kBlanks = " \t\r\n\v\f";

// text without the blanks at its start.
inline std::string_view TrimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// text without the blanks at its start and end.
inline std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    return text.substr(0, text.find_last_not_of(kBlanks) + 1);
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
