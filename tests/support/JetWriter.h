#pragma once
// Writes Jet 4 (Access 2000) database files for tests: the database header page, the system
// catalogue MSysObjects listing the user tables, and per table its definition page, data
// pages and long-value pages. Page size 4096. The files are made to be read by any Jet 4
// reader; the tests prove that with mdbtools.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tabrel::test {

// Jet column types, by their stored code.
enum class JetType : std::uint8_t {
    Bool = 0x01,
    Byte = 0x02,
    Int = 0x03,
    Long = 0x04,
    Money = 0x05,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10
};

struct JetColumn {
    std::string name;
    JetType type;
    std::uint16_t textChars = 255;  // Text: the most characters; Binary: the most bytes
    bool autoNumber = false;        // Long: numbered by the database
    std::uint8_t precision = 18;    // Numeric: digits in all
    std::uint8_t scale = 0;         // Numeric: digits after the decimal point
};

// One cell: no value (NULL), a number (Bool/Byte/Int/Long/autonumber as int64; Float/Double/
// DateTime/Money as double), or text (UTF-8; Text/Memo) or bytes (Binary/Ole as std::string).
// DateTime is the Jet day number (days since 1899-12-30, the time as the fraction). Guid is
// text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; Numeric is text ("-12.345") or a number.
using JetValue = std::variant<std::monostate, std::int64_t, double, std::string>;

struct JetTable {
    std::string name;
    std::vector<JetColumn> columns;
    std::vector<std::vector<JetValue>> rows;
};

struct JetOptions {
    bool compressText = true;  // Jet 4 compressed unicode where the text allows it
    std::string password;      // non-empty: the header carries a database password
    // Each Memo and OLE column has its long-value page maps in the definition, as a real
    // engine writes them (the first such column's maps list every long-value page of the
    // table); false leaves them out, as old versions of this writer did.
    bool longValueMaps = true;
};

// The options of a file whose long-value columns have no page maps, which Tabrel does not
// write.
inline JetOptions WithoutLongValueMaps() {
    JetOptions options;
    options.longValueMaps = false;
    return options;
}

// The bytes of a Jet 4 database file (page size 4096) holding the tables, in the given order.
// Throws std::invalid_argument on a table it cannot write (a row with the wrong number of
// cells, a value of the wrong kind, a row over one page).
std::vector<std::uint8_t> BuildJetDatabase(const std::vector<JetTable>& tables,
                                           const JetOptions& options = {});

// The Palm applications whose data a Palm Desktop 6.x database holds.
enum class JetPalmApp { Contacts, Calendar, Tasks, Memos };

// The Palm Desktop 6.x column lists as Jet columns, made from tests/support/Db6xWriter.h's
// k*Columns (INTEGER → Long, BIT → Bool, TEXT → Text 255, MEMO → Memo, LONGBINARY → Ole,
// DATETIME → DateTime).
std::vector<JetColumn> JetInformationColumns();
std::vector<JetColumn> JetCategoryColumns();
std::vector<JetColumn> JetMainColumns(JetPalmApp app);

// The three empty tables of an application's database, in this order: "Information",
// "Category", "Main". Fill their rows and pass them to BuildJetDatabase.
std::vector<JetTable> JetPalmTables(JetPalmApp app);

// The Jet type of a declared column type ("INTEGER" → Long, "BIT" → Bool, "TEXT" → Text,
// "MEMO" → Memo, "LONGBINARY" → Ole, "DATETIME" → DateTime, others → Text).
JetType JetTypeFromDeclared(std::string_view declared);

// A list of declared columns (anything with members name and type, such as Db6xWriter's
// Db6xColumn lists) as Jet columns.
template <class Declared>
std::vector<JetColumn> JetColumnsFrom(const Declared& columns) {
    std::vector<JetColumn> out;
    for (const auto& column : columns) {
        out.push_back(JetColumn{std::string(column.name), JetTypeFromDeclared(column.type)});
    }
    return out;
}

}  // namespace tabrel::test
