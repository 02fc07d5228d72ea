#pragma once
// The database engine behind the Palm Desktop 6.x readers: open a database file by path,
// run one statement as a command or as a query, and walk a query's rows as DbValues.
//
// Statements are UTF-8 text. A row's values follow the statement's columns; the kind of a
// value follows the declared type of its column (SqliteEngine.h lists the mapping), and
// NULL always reads as empty.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "palm/db6x/engine/DbValue.h"

namespace tabrel {

// The rows of one query, walked forward. It stands on a row or at its end.
class DbCursor {
  public:
    virtual ~DbCursor() = default;

    virtual bool AtEnd() const = 0;
    // The values of the current row; an empty row at the end.
    virtual DbRow ReadRow() const = 0;
    // Moves to the next row. False at the end, and false with the engine's reason in error
    // when the engine fails (the cursor is then at its end).
    virtual bool Next(std::string& error) = 0;
};

// One open database file.
class DbDatabase {
  public:
    virtual ~DbDatabase() = default;

    // Runs one statement as a command; changed is the number of rows it inserted, updated
    // or deleted. False with the engine's reason in error.
    virtual bool Execute(std::string_view sql, std::int64_t& changed, std::string& error) = 0;
    // Runs one statement as a query; the cursor stands on its first row, or at its end when
    // there is none. nullptr with the engine's reason in error.
    virtual std::unique_ptr<DbCursor> Query(std::string_view sql, std::string& error) = 0;
    // Whether every command is refused (a database read into memory that cannot be written
    // back).
    virtual bool IsReadOnly() const { return false; }
    // Why it is read only ("" when it is not, or when there is nothing more to say).
    virtual std::string WhyReadOnly() const { return ""; }
    // Begins a pass of commands (an import): until Flush ends it, their changes form one
    // transaction, which AbandonPass undoes, as does letting go of the database. Without a
    // pass each command stands on its own. False with the reason in error.
    virtual bool BeginPass(std::string& /*error*/) { return true; }
    virtual void AbandonPass() {}
    // Ends a pass of commands: gives the new records their IDs and makes what the commands
    // changed part of the file (commits it, or writes it into a file read into memory).
    // False with the reason in error; the pass is then still to be abandoned.
    virtual bool Flush(std::string& /*error*/) { return true; }
};

}  // namespace tabrel
