#pragma once
// The text form of the CSV files Tabrel writes and reads: values joined by ",", lines
// ended by CR LF, an optional quotation character (the first character of the QuoteMark
// setting) around every value.
//
// A value that holds the quotation character is written with that character doubled, and
// the reader (CSV.h) turns a doubled one back into one, so every value round-trips. Without
// a quotation character values are written as they are.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tabrel {

inline constexpr std::string_view kCsvSeparator = ",";
inline constexpr std::string_view kCsvLineEnd = "\r\n";
// A value is cut to this many characters before it is quoted.
inline constexpr std::size_t kCsvValueMax = 32765;

// The quotation character of a QuoteMark setting: its first character, or 0 (none) for an
// empty one.
char CsvQuoteOf(std::string_view quoteMark);

// The quoted form of a value: cut to kCsvValueMax characters, each quotation character
// inside doubled, enclosed in the quotation character (none: the value as it is).
std::string QuoteValue(std::string_view text, char quote);

// The title row: the names joined with ",", not quoted, without the line end; the empty
// text for no names.
std::string CsvTitleRow(std::span<const std::string> names);

}  // namespace tabrel
