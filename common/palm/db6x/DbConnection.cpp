#include "palm/db6x/DbConnection.h"

#include "palm/db6x/DbOpen.h"

namespace tabrel {

namespace {

constexpr const char* kNotOpen = "The database connection is not open.";

}  // namespace

bool DbConnection::Open(const std::string& path, std::string& error) {
    Close();
    m_pDatabase = OpenDbFile(path, error);
    if (m_pDatabase == nullptr) {
        return false;
    }
    m_szPath = path;
    ++m_nGeneration;
    return true;
}

void DbConnection::Close() {
    if (m_pDatabase != nullptr) {
        m_pDatabase.reset();
        m_szPath.clear();
        ++m_nGeneration;
    }
}

void DbQuery::Close() {
    m_pCursor.reset();
}

bool DbQuery::Open(std::string& error) {
    Close();
    DbDatabase* database = m_connection.GetDatabase();
    if (database == nullptr) {
        error = kNotOpen;
        return false;
    }
    m_pCursor = database->Query(m_szSql, error);
    m_nCursorGeneration = m_connection.GetGeneration();
    return m_pCursor != nullptr;
}

bool DbQuery::ExecSql(std::string& error) {
    Close();
    m_nRowsAffected = 0;
    DbDatabase* database = m_connection.GetDatabase();
    if (database == nullptr) {
        error = kNotOpen;
        return false;
    }
    return database->Execute(m_szSql, m_nRowsAffected, error);
}

bool DbQuery::IsActive() const {
    return m_pCursor != nullptr && m_nCursorGeneration == m_connection.GetGeneration();
}

bool DbQuery::Eof() const {
    return !IsActive() || m_pCursor->AtEnd();
}

bool DbQuery::Next(std::string& error) {
    if (Eof()) {
        return false;
    }
    return m_pCursor->Next(error);
}

DbRow DbQuery::ReadRow() const {
    return Eof() ? DbRow() : m_pCursor->ReadRow();
}

}  // namespace tabrel
