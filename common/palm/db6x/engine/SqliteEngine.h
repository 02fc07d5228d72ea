#pragma once
// The SQLite engine of the Palm Desktop 6.x readers.
//
// It runs the statements as the readers build them: square-bracketed names and hex
// literals (0x00000000) are SQLite's own, and LEFT(text, n) is registered as a function
// that answers the first n UTF-16 units of the text (Utf16Prefix in DbValue.h), like
// Jet's. LEFT being a join keyword to SQLite, a call LEFT( outside literals and bracketed
// names is run as [LEFT]( . Text crosses as UTF-8 in statements and as UTF-16 in values.
//
// The kind of a result value follows the declared type of its column (its first word,
// letter case ignored; NULL reads as empty whatever the type):
//   BIT, BOOLEAN, YESNO                                        boolean (true reads as -1)
//   INTEGER, INT, LONG, SHORT, SMALLINT, BYTE, COUNTER          integer (empty beyond 32 bits)
//   TEXT, MEMO, VARCHAR, CHAR, LONGTEXT                         text
//   anything else: dates, floating point, currency, binary,    empty
//   and a result column that is no table column
// Text comparisons ignore letter case only where the schema says so (COLLATE NOCASE on the
// text columns, as a database made for these readers declares them, so that they behave
// like Jet's).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "palm/db6x/engine/DbEngine.h"

struct sqlite3;

namespace tabrel {

// An open SQLite connection, closed when its last holder lets go of it.
using SqliteConnection = std::shared_ptr<sqlite3>;

// Opens an existing SQLite database file for reading and writing (reading only when the
// file is write-protected). The records the statements insert into "Main" with Record ID
// 0 take the next Record IDs when the database is flushed. nullptr with SQLite's reason in
// error.
std::unique_ptr<DbDatabase> OpenSqliteFile(const std::string& path, std::string& error);

// Opens a new, empty database in memory, set up as OpenSqliteFile sets up a file (LEFT
// registered). nullptr with SQLite's reason in error.
SqliteConnection OpenSqliteMemory(std::string& error);

// The engine over an open connection, running the statements as OpenSqliteFile's does.
std::unique_ptr<DbDatabase> WrapSqlite(SqliteConnection db);

// The new rows of a table whose key the statements leave 0: the 6.x readers insert every
// new record with Record ID 0 and find it again by that 0 while the pass lasts, but no two
// records of a database may share an ID (Jet keys them by it). So the rows inserted after
// the row afterRowid whose column is 0 or NULL are numbered when the pass ends, in the
// order they came, from one past the larger of floor and the column's largest value.
struct NewRowNumbering {
    std::string table;
    std::string column;
    std::int64_t floor = 0;
    std::int64_t afterRowid = 0;
};
bool NumberNewRows(sqlite3* db, const NewRowNumbering& numbering, std::string& error);

// Whether the table has the column; the largest rowid of the table (0 when it has none).
bool HasColumn(sqlite3* db, std::string_view table, std::string_view column);
std::int64_t LargestRowid(sqlite3* db, std::string_view table);

// The value kind of a column declared with this type.
DbKind KindOfDeclaredType(std::string_view declaredType);

}  // namespace tabrel
