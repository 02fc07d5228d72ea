#pragma once
// DbValue: the tagged value exchanged with a Palm Desktop 6.x database, and the free
// functions that make values from record fields and turn values back into fields.
//
// A text value holds UTF-16 (std::u16string), the database's own text; records hold ANSI
// text in the configured code page (CxCodePage.h), and every crossing between the two goes
// through that code page. A null text and an empty text are the same value.
//
// The kind codes are those of the OLE Automation VARIANT the Windows program exchanged:
//   kind     code  content
//   empty    0     nothing (also what NULL, dates, floating point and binary columns read as;
//                  IsNull tells a NULL, which the readers take as zero or empty quietly)
//   integer  3     32-bit signed integer
//   text     8     UTF-16 text
//   boolean  11    16-bit value, zero false, anything else true
//   int16    2     16-bit signed integer; accepted when reading, never produced here
//   int8     16    8-bit signed integer; accepted when reading, never produced here

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabrel {

enum class DbKind : std::uint8_t {
    Empty = 0,
    Int16 = 2,
    Integer = 3,
    Text = 8,
    Boolean = 11,
    Int8 = 16,
};

class DbValue {
  public:
    DbValue() = default;

    // A NULL: empty, and known to be a NULL rather than a value of an unread type.
    static DbValue Null() {
        DbValue value;
        value.m_bNull = true;
        return value;
    }
    static DbValue Integer(std::int32_t value) { return DbValue(DbKind::Integer, value); }
    static DbValue Int16(std::int16_t value) { return DbValue(DbKind::Int16, value); }
    static DbValue Int8(std::int8_t value) { return DbValue(DbKind::Int8, value); }
    static DbValue Boolean(std::int16_t value) { return DbValue(DbKind::Boolean, value); }
    static DbValue Text(std::u16string text) {
        DbValue value(DbKind::Text, 0);
        value.m_szText = std::move(text);
        return value;
    }

    DbKind GetKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == DbKind::Empty; }
    bool IsNull() const { return m_bNull; }
    // The number of an integer, int16, int8 or boolean value (0 for the others).
    std::int32_t GetNumber() const { return m_nValue; }
    // The text of a text value (empty for the others).
    const std::u16string& GetText() const { return m_szText; }

    // A NULL equals every other empty value.
    bool operator==(const DbValue& other) const {
        return m_kind == other.m_kind && m_nValue == other.m_nValue && m_szText == other.m_szText;
    }

  private:
    DbValue(DbKind kind, std::int32_t value) : m_kind(kind), m_nValue(value) {}

    DbKind m_kind = DbKind::Empty;
    bool m_bNull = false;  // beside the kind, so that a value takes 40 bytes, not 48
    std::int32_t m_nValue = 0;
    std::u16string m_szText;
};

// One result row: the values in the order of the statement's columns.
using DbRow = std::vector<DbValue>;

// A size for ValueToText that keeps the whole text.
inline constexpr std::size_t kWholeText = std::numeric_limits<std::size_t>::max();

DbValue MakeIntegerValue(std::int32_t value);
// A boolean holding the byte as it is (0 false).
DbValue MakeBooleanValue(std::uint8_t value);
// ANSI text to a text value, converted whole.
DbValue MakeTextValue(std::string_view ansi);
// The integer in signed decimal, as a text value ('3' once written as a literal).
DbValue MakeNumberTextValue(std::int32_t value);

// An integer, int16 or int8 value (sign-extended), or a text's leading decimal number (0
// when it has none). False, out untouched, for the other kinds.
bool ValueToInteger(const DbValue& value, std::int32_t& out);
// 1 or 0 for a boolean value; false, out untouched, for the other kinds.
bool ValueToBoolean(const DbValue& value, std::uint8_t& out);
// A text value converted to ANSI and cut to at most size - 1 bytes (never half a
// character); kWholeText keeps all of it. False, out untouched, for the other kinds.
bool ValueToText(const DbValue& value, std::string& out, std::size_t size = kWholeText);

// The leading decimal number of a text: blanks skipped, an optional sign, then digits;
// 0 when there are none, clamped to the 32-bit range.
std::int32_t LeadingNumber(std::u16string_view text);

// The first count UTF-16 units of text, one fewer when the cut would split a surrogate
// pair. LEFT(text, n) of the database engine cuts the same way, so a prefix built here
// equals the prefix the engine computes.
std::u16string_view Utf16Prefix(std::u16string_view text, std::size_t count);

// UTF-16 to UTF-8, the text of the statements the engine runs; a lone surrogate becomes
// U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace tabrel
