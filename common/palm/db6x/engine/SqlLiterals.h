#pragma once
// The literals of a statement taken out as parameters, so that statements that differ
// only in their values (every INSERT of an import) share one prepared statement.
//
// A text literal ('...' with '' for a quote) becomes a text parameter, a decimal integer
// that fits 64 bits or a hex literal of at most 16 digits (0x00000000) an integer one; each
// is replaced by ?. Bracketed and double-quoted names, keywords and every other token stay
// as they are. SQLite gives a parameter the value the literal had, so the statement means
// what it meant.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tabrel {

using SqlLiteral = std::variant<std::int64_t, std::string>;  // an integer, a UTF-8 text

struct LiftedSql {
    std::string shape;                 // the statement with ? for each literal
    std::vector<SqlLiteral> literals;  // in the order of the ?s
};

// The statement with its literals lifted; nullopt when it has no literal or is not plain
// enough to be sure of (a comment, a ? of its own, an unterminated literal or name).
std::optional<LiftedSql> LiftLiterals(std::string_view sql);

}  // namespace tabrel
