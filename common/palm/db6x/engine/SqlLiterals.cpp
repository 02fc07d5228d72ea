#include "palm/db6x/engine/SqlLiterals.h"

#include <algorithm>
#include <charconv>

namespace tabrel {

namespace {

bool IsWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a word that is an integer literal SQLite reads as a 64-bit integer.
std::optional<std::int64_t> IntegerOf(std::string_view word) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        const std::string_view digits = word.substr(2);
        std::uint64_t bits = 0;
        if (digits.size() > 16) {
            return std::nullopt;
        }
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (ec != std::errc() || end != digits.data() + digits.size()) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(bits);  // two's complement, as SQLite takes it
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;  // a real, an exponent, or too large for 64 bits
    }
    return value;
}

}  // namespace

std::optional<LiftedSql> LiftLiterals(std::string_view sql) {
    LiftedSql lifted;
    lifted.shape.reserve(sql.size());
    // An INSERT of a 6.x record has about a hundred values: one allocation for all of them.
    lifted.literals.reserve(static_cast<std::size_t>(std::count(sql.begin(), sql.end(), ',')) + 1);
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'') {
            std::string text;
            std::size_t from = i + 1;
            for (;;) {
                const std::size_t quote = sql.find('\'', from);
                if (quote == std::string_view::npos) {
                    return std::nullopt;
                }
                text.append(sql.substr(from, quote - from));
                if (quote + 1 < sql.size() && sql[quote + 1] == '\'') {
                    text += '\'';
                    from = quote + 2;
                    continue;
                }
                i = quote + 1;
                break;
            }
            lifted.shape += '?';
            lifted.literals.emplace_back(std::move(text));
        } else if (c == '"' || c == '[') {
            const char close = c == '[' ? ']' : '"';
            const std::size_t end = sql.find(close, i + 1);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            lifted.shape.append(sql.substr(i, end + 1 - i));
            i = end + 1;
        } else if (IsWordChar(c)) {
            std::size_t end = i;
            while (end < sql.size() && IsWordChar(sql[end])) {
                ++end;
            }
            const std::string_view word = sql.substr(i, end - i);
            const bool partOfNumber =
                (i > 0 && sql[i - 1] == '.') || (end < sql.size() && sql[end] == '.');
            const auto integer = IsDigit(c) && !partOfNumber ? IntegerOf(word) : std::nullopt;
            if (integer) {
                lifted.shape += '?';
                lifted.literals.emplace_back(*integer);
            } else {
                lifted.shape.append(word);
            }
            i = end;
        } else if (c == '?' || ((c == '-' || c == '/') && i + 1 < sql.size() &&
                                sql[i + 1] == (c == '-' ? '-' : '*'))) {
            return std::nullopt;
        } else {
            lifted.shape += c;
            ++i;
        }
    }
    if (lifted.literals.empty()) {
        return std::nullopt;
    }
    return lifted;
}

}  // namespace tabrel
