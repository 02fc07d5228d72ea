#include "palm/db6x/PmMDBAccessor.h"

#include <filesystem>

#include "misc/CxDebugUtil.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

void LogQueryError(const std::string& statement, const std::string& error) {
    if (error.empty()) {
        CX_LOG(kLogFailure, "Database Query Error, Query String=%s", statement);
    } else {
        CX_LOG(kLogFailure, "Database Query Error, Query String=%s, Error=%s", statement, error);
    }
}

}  // namespace

PmMDBAccessor::PmMDBAccessor(int kind, std::string_view path) : m_dataModule(dmMain()) {
    Connect(kind, path);
}

void PmMDBAccessor::Connect(int kind, std::string_view path) {
    m_nKind = kind;
    m_szPath = std::string(path);
    CX_LOG(kLogProgress, "Set database file to be opened: %s", m_szPath);
    std::error_code error;
    if (m_szPath.empty() || !std::filesystem::exists(m_szPath, error)) {
        CX_LOG(kLogFailure, "The file doesn't exist. Abort.");
        return;
    }
    DbConnection* connection = GetConnection();
    if (connection == nullptr) {
        CX_LOG(kLogFailure, "There is no valid database connection to open this file.");
        return;
    }
    if (connection->IsOpen()) {
        CX_LOG(kLogProgress, "The connection is already opened, close it now.");
        connection->Close();
    }
    const std::string connectionString =
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + m_szPath + "\"";
    CX_LOG(kLogProgress, "Connection String: %s", connectionString);
    std::string reason;
    if (!connection->Open(m_szPath, reason)) {
        if (reason.empty()) {
            CX_LOG(kLogFailure, "Database Connection Error, Connection String=%s.",
                   connectionString);
        } else {
            CX_LOG(kLogFailure, "Database Connection Error, Connection String=%s, Error=%s",
                   connectionString, reason);
        }
    }
}

DbQuery* PmMDBAccessor::GetQuery() const {
    switch (m_nKind) {
        case AppContacts:
            return GetAddrQuery();
        case AppCalendar:
            return GetDateQuery();
        case AppTasks:
            return GetTodoQuery();
        case AppMemos:
            return GetMemoQuery();
        default:
            return nullptr;
    }
}

DbConnection* PmMDBAccessor::GetConnection() const {
    switch (m_nKind) {
        case AppContacts:
            return GetAddrConnection();
        case AppCalendar:
            return GetDateConnection();
        case AppTasks:
            return GetTodoConnection();
        case AppMemos:
            return GetMemoConnection();
        default:
            return nullptr;
    }
}

bool PmMDBAccessor::IsConnected() const {
    const DbConnection* connection = GetConnection();
    return connection != nullptr && connection->IsOpen() && !m_szPath.empty() &&
           connection->GetPath() == m_szPath;
}

std::int64_t PmMDBAccessor::GetRowsAffected() const {
    const DbQuery* query = GetQuery();
    return query != nullptr ? query->GetRowsAffected() : 0;
}

bool PmMDBAccessor::ExecuteSql(const std::string& statement, bool rowsWanted) {
    DbQuery* query = GetQuery();
    if (query == nullptr || statement.empty()) {
        return false;
    }
    CX_LOG(kLogProgress, "Execute SQL Query: %s", statement);
    // Another accessor of the kind may have re-pointed the shared connection: this
    // accessor's statements never run against another database than its own.
    const DbConnection& connection = query->GetConnection();
    if (connection.IsOpen() && connection.GetPath() != m_szPath) {
        query->Close();
        LogQueryError(statement,
                      "The connection is open on another database file: " + connection.GetPath());
        return false;
    }
    query->Close();
    query->SetSql(statement);
    std::string error;
    if (!(rowsWanted ? query->Open(error) : query->ExecSql(error))) {
        LogQueryError(statement, error);
        return false;
    }
    CX_LOG(kLogProgress, "Query executed successfully.");
    return true;
}

bool PmMDBAccessor::OpenQuery(const std::string& statement, DbRow& row) {
    if (statement.empty()) {
        CX_LOG(kLogFailure, "Invalid query string found.");
        return false;
    }
    DbQuery* query = GetQuery();
    if (query == nullptr || !ExecuteSql(statement, true) || query->Eof()) {
        return false;
    }
    row = query->ReadRow();
    return true;
}

bool PmMDBAccessor::FetchNext(const std::string& statement, DbRow& row) {
    if (statement.empty()) {
        CX_LOG(kLogFailure, "Invalid query string found.");
        return false;
    }
    if (statement != m_szLastQuery) {
        CX_LOG(kLogProgress, "This query is not same with former query. Ignore this query.");
        return false;
    }
    DbQuery* query = GetQuery();
    // The open result must still be the one of this statement: any other statement of the
    // kind has ended it.
    if (query == nullptr || query->GetSql() != statement) {
        return false;
    }
    std::string error;
    if (!query->Next(error)) {
        if (!error.empty()) {
            LogQueryError(statement, error);
        }
        return false;
    }
    row = query->ReadRow();
    return true;
}

bool PmMDBAccessor::SelectFirst(std::string_view table, std::span<const std::string_view> columns,
                                DbRow& row) {
    if (GetQuery() == nullptr) {
        return false;
    }
    m_szLastQuery = BuildSql(table, "", SqlSelect, columns, {});
    return OpenQuery(m_szLastQuery, row);
}

bool PmMDBAccessor::SelectNext(std::string_view, std::span<const std::string_view>, DbRow& row) {
    return FetchNext(m_szLastQuery, row);
}

bool PmMDBAccessor::QueryAll(const std::string& statement, std::vector<DbRow>& rows) {
    rows.clear();
    DbQuery* query = GetQuery();
    if (query == nullptr || !ExecuteSql(statement, true)) {
        return false;
    }
    while (!query->Eof()) {
        rows.push_back(query->ReadRow());
        std::string error;
        if (!query->Next(error) && !error.empty()) {
            LogQueryError(statement, error);
            rows.clear();
            return false;
        }
    }
    return true;
}

}  // namespace tabrel
