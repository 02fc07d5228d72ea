#pragma once
// The Jet engine of the Palm Desktop 6.x readers: a Jet 4 file ("Standard Jet DB") is read
// once, when it is opened, and its tables "Information", "Category" and "Main" (every
// column, in stored order; tables of other names are not loaded, a missing one stays
// missing) are copied into an SQLite database in memory. Queries run on that copy with the
// SQLite engine's rules (SqliteEngine.h): the declared types below give the value kinds,
// Text and Memo columns compare without regard to the case of ASCII letters (SQLite's
// NOCASE; a LEFT(...) result compares exactly), LEFT is registered.
//   Jet type                             declared type          kind
//   Yes/No                               BIT                    boolean
//   Byte, Integer, Long Integer          BYTE, SMALLINT,        integer
//                                        INTEGER
//   AutoNumber (Long Integer)            COUNTER                integer
//   Text, Memo                           TEXT, LONGTEXT         text (COLLATE NOCASE)
//   Currency, Single, Double, Date/Time  CURRENCY, REAL,        empty
//                                        DOUBLE, DATETIME
//   Binary, OLE Object, Replication ID,  BINARY, LONGBINARY,    empty (the stored bytes)
//   Decimal, any other                   GUID, DECIMAL, BLOB
// (LONGTEXT rather than MEMO: SQLite gives it text affinity, so that a memo such as "007"
// stays the text it is instead of becoming the number 7.)
// Memo and OLE values are read whole, texts are converted from UTF-16 as stored (Jet 4's
// compressed form included), and NULL stays NULL.
//
// Opened for reading, the file is only read: it is opened read-only (without updating its
// access time where the system allows) and read into memory, and nothing is ever written
// to it; every statement run as a command is refused. The Jet library reads the bytes in a child
// process, so that a damaged file cannot hang or crash the program; the file's size and
// header are checked before (JetHeader.h).

#include <memory>
#include <string>
#include <string_view>

#include "palm/db6x/engine/DbEngine.h"

namespace tabrel {

// The reason every command on a Jet database opened for reading fails with (one opened for
// writing that cannot be written fails with WhyReadOnly).
inline constexpr std::string_view kJetWriteRefused = "The database was opened for reading only.";

enum class JetAccess { Read, Write };

// Opens the Jet file at path and loads its tables. nullptr with the reason in error when
// the file cannot be read, is no Jet 4 database, is password-protected, encrypted, damaged
// or truncated. With JetAccess::Write, commands run on the copy and Flush writes the tables
// they changed back into the file (JetWriteBack.h), unless a table of the copy is one that
// cannot be written: the database is then read only and WhyReadOnly says why.
std::unique_ptr<DbDatabase> OpenJetFile(const std::string& path, std::string& error,
                                        JetAccess access = JetAccess::Read);

// The declared type of a column of this Jet type code in the copy.
std::string_view JetDeclaredType(int jetType, bool autoNumber);

}  // namespace tabrel
