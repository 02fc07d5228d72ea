#include "support/jetwrite/Values.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "support/jetwrite/Columns.h"
#include "support/jetwrite/Text.h"

namespace tabrel::test::jetwrite {

namespace {

// Memo texts longer than this many characters are stored uncompressed.
constexpr std::size_t kMaxCompressedMemo = 1024;

void CheckRange(std::int64_t v, std::int64_t low, std::int64_t high, const JetColumn& column) {
    if (v < low || v > high) {
        Refuse("value " + std::to_string(v) + " out of range for column \"" + column.name + "\"");
    }
}

// A GUID "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the first three groups little-endian,
// the last eight bytes as written.
Bytes GuidBytes(const std::string& text, const JetColumn& column) {
    std::string hex;
    for (const char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            hex += c;
        } else if (c != '{' && c != '}' && c != '-') {
            hex.clear();
            break;
        }
    }
    if (hex.size() != 32) {
        Refuse("column \"" + column.name + "\" needs a GUID text");
    }
    std::array<std::uint8_t, 16> b{};
    for (std::size_t i = 0; i < 16; ++i) {
        b[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return Bytes{b[3], b[2], b[1],  b[0],  b[5],  b[4],  b[7],  b[6],
                 b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]};
}

__extension__ typedef unsigned __int128 Uint128;

// A decimal: sign byte (0x80 negative), then the unscaled value as 128 bits in four
// 32-bit little-endian words, the most significant word first.
Bytes NumericBytes(const JetValue& value, const JetColumn& column) {
    std::string text;
    if (const auto* given = std::get_if<std::string>(&value)) {
        text = *given;
    } else if (const auto* number = std::get_if<std::int64_t>(&value)) {
        text = std::to_string(*number);
    } else {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", column.scale, RealOf(value, column));
        text = buffer;
    }
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i++] == '-';
    }
    Uint128 unscaled = 0;
    int decimals = -1;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && decimals < 0) {
            decimals = 0;
        } else if (text[i] >= '0' && text[i] <= '9') {
            if (decimals >= column.scale) {
                continue;  // digits past the scale are dropped
            }
            unscaled = unscaled * 10 + static_cast<unsigned>(text[i] - '0');
            if (decimals >= 0) {
                ++decimals;
            }
        } else {
            Refuse("column \"" + column.name + "\" needs a decimal number, not \"" + text + "\"");
        }
    }
    for (int d = std::max(decimals, 0); d < column.scale; ++d) {
        unscaled *= 10;
    }
    Bytes out{static_cast<std::uint8_t>(negative ? 0x80 : 0x00)};
    for (int word = 3; word >= 0; --word) {
        const auto part = static_cast<std::uint32_t>(unscaled >> (32 * word));
        Append32(out, part);
    }
    return out;
}

}  // namespace

std::int64_t IntegerOf(const JetValue& value, const JetColumn& column) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return *number;
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return static_cast<std::int64_t>(std::llround(*real));
    }
    Refuse("column \"" + column.name + "\" needs a number");
}

double RealOf(const JetValue& value, const JetColumn& column) {
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*number);
    }
    Refuse("column \"" + column.name + "\" needs a number");
}

const std::string& TextOf(const JetValue& value, const JetColumn& column) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    Refuse("column \"" + column.name + "\" needs a text");
}

// The bytes of a fixed column's value.
Bytes FixedBytes(const JetValue& value, const JetColumn& column) {
    Bytes out(FixedSize(column.type), 0);
    switch (column.type) {
        case JetType::Byte: {
            const std::int64_t v = IntegerOf(value, column);
            CheckRange(v, 0, 255, column);
            out[0] = static_cast<std::uint8_t>(v);
            break;
        }
        case JetType::Int: {
            const std::int64_t v = IntegerOf(value, column);
            CheckRange(v, -32768, 32767, column);
            Put16(out, 0, static_cast<std::uint32_t>(v));
            break;
        }
        case JetType::Long: {
            const std::int64_t v = IntegerOf(value, column);
            CheckRange(v, INT32_MIN, INT32_MAX, column);
            Put32(out, 0, static_cast<std::uint32_t>(v));
            break;
        }
        case JetType::Money:  // a count of 1/10000
            Put64(out, 0,
                  static_cast<std::uint64_t>(std::llround(RealOf(value, column) * 10000.0)));
            break;
        case JetType::Float: {
            const auto f = static_cast<float>(RealOf(value, column));
            std::uint32_t bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            Put32(out, 0, bits);
            break;
        }
        case JetType::Double:
        case JetType::DateTime:
            Put64(out, 0, DoubleBits(RealOf(value, column)));
            break;
        case JetType::Guid:
            out = GuidBytes(TextOf(value, column), column);
            break;
        case JetType::Numeric:
            out = NumericBytes(value, column);
            break;
        default:
            break;
    }
    return out;
}

// The stored bytes of a variable or long column's value.
Bytes VariableBytes(const JetValue& value, const JetColumn& column, bool compress) {
    const std::string& text = TextOf(value, column);
    switch (column.type) {
        case JetType::Text:
            if (Utf16(text).size() > column.textChars) {
                Refuse("text longer than " + std::to_string(column.textChars) +
                       " characters for column \"" + column.name + "\"");
            }
            return JetText(text, compress);
        case JetType::Memo:
            return JetText(text, compress && Utf16(text).size() <= kMaxCompressedMemo);
        case JetType::Binary:
            if (text.size() > column.textChars || text.size() > 255) {
                Refuse("binary value too long for column \"" + column.name + "\"");
            }
            return Bytes(text.begin(), text.end());
        default:  // Ole
            return Bytes(text.begin(), text.end());
    }
}

}  // namespace tabrel::test::jetwrite
