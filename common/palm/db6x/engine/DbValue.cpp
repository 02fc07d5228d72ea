#include "palm/db6x/engine/DbValue.h"

#include <algorithm>

#include "misc/CxCodePage.h"

namespace tabrel {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

DbValue MakeIntegerValue(std::int32_t value) {
    return DbValue::Integer(value);
}

DbValue MakeBooleanValue(std::uint8_t value) {
    return DbValue::Boolean(value);
}

DbValue MakeTextValue(std::string_view ansi) {
    // Each ANSI byte gives at most one UTF-16 unit, so this room keeps the whole text.
    return DbValue::Text(ToWide(ansi, ansi.size() + 1));
}

DbValue MakeNumberTextValue(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return DbValue::Text(std::u16string(digits.begin(), digits.end()));
}

bool ValueToInteger(const DbValue& value, std::int32_t& out) {
    switch (value.GetKind()) {
        case DbKind::Integer:
        case DbKind::Int16:
        case DbKind::Int8:
            out = value.GetNumber();
            return true;
        case DbKind::Text:
            out = LeadingNumber(value.GetText());
            return true;
        default:
            return false;
    }
}

bool ValueToBoolean(const DbValue& value, std::uint8_t& out) {
    if (value.GetKind() != DbKind::Boolean) {
        return false;
    }
    out = value.GetNumber() != 0 ? 1 : 0;
    return true;
}

bool ValueToText(const DbValue& value, std::string& out, std::size_t size) {
    if (value.GetKind() != DbKind::Text) {
        return false;
    }
    out = ToNarrow(value.GetText(), size);
    return true;
}

std::int32_t LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        number = std::min<std::int64_t>(number * 10 + (text[i] - u'0'), kLimit);
    }
    if (negative) {
        return static_cast<std::int32_t>(-number);
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(number, kLimit - 1));
}

std::u16string_view Utf16Prefix(std::u16string_view text, std::size_t count) {
    if (text.size() <= count) {
        return text;
    }
    if (count > 0 && IsHighSurrogate(text[count - 1]) && IsLowSurrogate(text[count])) {
        --count;
    }
    return text.substr(0, count);
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) +
                                (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace tabrel
