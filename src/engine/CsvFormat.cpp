#include "engine/CsvFormat.h"

namespace tabrel {

char CsvQuoteOf(std::string_view quoteMark) {
    return quoteMark.empty() ? '\0' : quoteMark[0];
}

std::string QuoteValue(std::string_view text, char quote) {
    text = text.substr(0, kCsvValueMax);
    if (quote == '\0') {
        return std::string(text);
    }
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += quote;
    for (const char c : text) {
        quoted += c;
        if (c == quote) {
            quoted += c;
        }
    }
    quoted += quote;
    return quoted;
}

std::string CsvTitleRow(std::span<const std::string> names) {
    std::string row;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            row += kCsvSeparator;
        }
        row += names[i];
    }
    return row;
}

}  // namespace tabrel
