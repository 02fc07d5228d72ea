#pragma once
// DbConnection and DbQuery: the connection and query object pair that the data module
// (TdmMain.h) holds for each application.
//
// A connection is pointed at one database file at a time and stays open until it is
// re-pointed, closed or the program ends. A query object belongs to one connection: it
// holds one statement text and at most one open result, which every new statement, and
// every re-pointing of the connection, ends.

#include <cstdint>
#include <memory>
#include <string>

#include "palm/db6x/engine/DbEngine.h"

namespace tabrel {

class DbConnection {
  public:
    DbConnection() = default;
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens the database file at path (closing what was open). False with the reason in
    // error; the connection is then closed.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return m_pDatabase != nullptr; }
    // The file of the open database; empty when closed.
    const std::string& GetPath() const { return m_szPath; }
    // The open database, or nullptr.
    DbDatabase* GetDatabase() const { return m_pDatabase.get(); }
    // Changes at every open and close, so a query knows that its result belongs to a
    // database that is no longer the connection's.
    std::uint64_t GetGeneration() const { return m_nGeneration; }

  private:
    std::unique_ptr<DbDatabase> m_pDatabase;
    std::string m_szPath;
    std::uint64_t m_nGeneration = 0;
};

class DbQuery {
  public:
    explicit DbQuery(DbConnection& connection) : m_connection(connection) {}
    DbQuery(const DbQuery&) = delete;
    DbQuery& operator=(const DbQuery&) = delete;

    DbConnection& GetConnection() const { return m_connection; }

    // Ends the open result, if any.
    void Close();
    void SetSql(std::string sql) { m_szSql = std::move(sql); }
    const std::string& GetSql() const { return m_szSql; }

    // Runs the statement text as a query, standing on its first row. False with the reason
    // in error (a closed connection included).
    bool Open(std::string& error);
    // Runs the statement text as a command. False with the reason in error.
    bool ExecSql(std::string& error);

    // A result is open on the connection's current database.
    bool IsActive() const;
    // No current row: no open result, or past its last row.
    bool Eof() const;
    // Moves to the next row; false at the end, and with error set when the engine failed.
    bool Next(std::string& error);
    // The values of the current row; empty at the end.
    DbRow ReadRow() const;
    // Rows changed by the latest command.
    std::int64_t GetRowsAffected() const { return m_nRowsAffected; }

  private:
    DbConnection& m_connection;
    std::string m_szSql;
    std::unique_ptr<DbCursor> m_pCursor;
    std::uint64_t m_nCursorGeneration = 0;
    std::int64_t m_nRowsAffected = 0;
};

}  // namespace tabrel
