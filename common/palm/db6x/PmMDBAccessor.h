#pragma once
// PmMDBAccessor: runs the statements of PmDataAccessor on the connection and query object
// of one application in the data module (TdmMain.h), and turns result rows into DbRows.
//
// Every accessor of an application kind shares that kind's connection and query object:
// connecting one re-points the others, and any statement ends the result that another
// walk of the kind was reading. An accessor whose connection another one re-pointed runs
// no statement until it is connected again, so it never reads or writes another file. Messages go
// to the debug log: failures at level 0, each statement and each connection step at level 2.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "palm/db6x/PmDataAccessor.h"
#include "palm/db6x/TdmMain.h"

namespace tabrel {

class PmMDBAccessor : public PmDataAccessor {
  public:
    // Takes dmMain() as its data module, then Connect(kind, path).
    PmMDBAccessor(int kind, std::string_view path);

    // Points the kind's connection at the database file at path and opens it. Failures
    // are logged only; IsConnected() tells the outcome.
    void Connect(int kind, std::string_view path);

    DbQuery* GetAddrQuery() const { return &m_dataModule.qryAddr; }
    DbQuery* GetDateQuery() const { return &m_dataModule.qryDate; }
    DbQuery* GetTodoQuery() const { return &m_dataModule.qryTodo; }
    DbQuery* GetMemoQuery() const { return &m_dataModule.qryMemo; }
    // The query object of the accessor's kind; nullptr for a kind other than 1 to 4.
    DbQuery* GetQuery() const;
    DbConnection* GetAddrConnection() const { return &m_dataModule.connAddr; }
    DbConnection* GetDateConnection() const { return &m_dataModule.connDate; }
    DbConnection* GetTodoConnection() const { return &m_dataModule.connTodo; }
    DbConnection* GetMemoConnection() const { return &m_dataModule.connMemo; }
    // The connection of the accessor's kind; nullptr for a kind other than 1 to 4.
    DbConnection* GetConnection() const;

    int GetKind() const { return m_nKind; }
    const std::string& GetPath() const { return m_szPath; }
    // The kind's connection is open on this accessor's database file.
    bool IsConnected() const;

    // Runs a SELECT and delivers all of its rows (none is no failure). False when it
    // cannot be run or a row cannot be read; the reason is logged.
    bool QueryAll(const std::string& statement, std::vector<DbRow>& rows);
    // Rows changed by the latest command of the kind.
    std::int64_t GetRowsAffected() const;

    bool SelectFirst(std::string_view table, std::span<const std::string_view> columns,
                     DbRow& row) override;
    bool SelectNext(std::string_view table, std::span<const std::string_view> columns,
                    DbRow& row) override;
    bool OpenQuery(const std::string& statement, DbRow& row) override;
    bool FetchNext(const std::string& statement, DbRow& row) override;
    bool ExecuteSql(const std::string& statement, bool rowsWanted) override;

  private:
    TdmMain& m_dataModule;  // dmMain(); not owned
    int m_nKind = 0;
    std::string m_szPath;
};

}  // namespace tabrel
