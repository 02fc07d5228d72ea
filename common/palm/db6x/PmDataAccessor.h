#pragma once
// PmDataAccessor: the table accessor of the Palm Desktop 6.x databases. It builds every
// statement the readers send (SELECT, INSERT, DELETE and UPDATE of the tables
// "Information", "Category" and "Main"); PmMDBAccessor (PmMDBAccessor.h) runs them. This
// base runs nothing: its data operations answer false.
//
// Statements are built whole, as UTF-8 text: no literal, WHERE clause or statement is ever
// cut, so a long note is written whole and a quote is never left unterminated.
//
// Statement texts, with table T and WHERE clause W (nothing when W is empty), column names
// always in square brackets and lists joined with ", ":
//   SELECT  "SELECT " columns " FROM " T " " W
//   INSERT  "INSERT INTO " T " (" columns extra ") VALUES (" literals extra-values ")"
//   DELETE  "DELETE FROM " T " " W
//   UPDATE  "UPDATE " T " SET " [column]=literal, ... " " W
// An INSERT of more than 30 columns (the Contacts table) appends the columns [Photo],
// [VoiceTag], [Ringtone] with the values 0x00000000; one of more than 4 columns (every
// Main table) then appends [Blob] with 0x00000000.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "palm/db6x/engine/DbValue.h"

namespace tabrel {

enum SqlKind : int { SqlSelect = 1, SqlInsert = 2, SqlDelete = 3, SqlUpdate = 4 };

// A key text whose literal has this many characters or more is matched on its first
// kPrefixLength characters only, through LEFT([column], 256).
inline constexpr std::size_t kPrefixLength = 256;

// The value as an SQL literal: a boolean "1" or "0"; an integer (int16 and int8 too) in
// signed decimal; a text in single quotes with every single quote doubled ("''" when
// empty). An empty value gives the empty text.
std::string FormatLiteral(const DbValue& value);

// The WHERE clause that matches the key columns with their values, "WHERE " followed by
// one condition per pair joined with " AND ":
//   [column] = literal                      for a literal of fewer than 256 characters
//   LEFT([column], 256) = prefix literal    otherwise: the literal of the first 256
//                                           characters of the text, quotes doubled after
//                                           the cut
//   [column] IS NULL                        for an empty value (a NULL read as a key)
// Characters are counted in UTF-16 units, as the database counts them. The empty text
// when there are no columns or no values; values must hold one value per column.
std::string BuildWhere(std::span<const std::string_view> columns, std::span<const DbValue> values);

// Builds a statement of kind (SqlKind) for table; values are used by INSERT and UPDATE,
// one per column, and an empty value is written as NULL there. The empty text without
// columns, for another kind, or with too few values.
std::string BuildSql(std::string_view table, std::string_view where, int kind,
                     std::span<const std::string_view> columns, std::span<const DbValue> values);

class PmDataAccessor {
  public:
    PmDataAccessor() = default;
    virtual ~PmDataAccessor() = default;
    PmDataAccessor(const PmDataAccessor&) = delete;
    PmDataAccessor& operator=(const PmDataAccessor&) = delete;

    // Statements for the tables "Information", "Category" and "Main" (BuildSql).
    virtual std::string BuildInformationSql(std::string_view where, int kind,
                                            std::span<const std::string_view> columns,
                                            std::span<const DbValue> values = {});
    virtual std::string BuildCategorySql(std::string_view where, int kind,
                                         std::span<const std::string_view> columns,
                                         std::span<const DbValue> values = {});
    virtual std::string BuildMainSql(std::string_view where, int kind,
                                     std::span<const std::string_view> columns,
                                     std::span<const DbValue> values = {});

    // Selects the columns of the whole table and delivers its first row; the SELECT becomes
    // the last query. True when a row was delivered.
    virtual bool SelectFirst(std::string_view table, std::span<const std::string_view> columns,
                             DbRow& row);
    // Delivers the next row of the last query (table and columns are not consulted).
    virtual bool SelectNext(std::string_view table, std::span<const std::string_view> columns,
                            DbRow& row);
    // Runs a SELECT and delivers its first row. It does not change the last query.
    virtual bool OpenQuery(const std::string& statement, DbRow& row);
    // Delivers the next row of the open result, provided statement is the last query.
    virtual bool FetchNext(const std::string& statement, DbRow& row);
    // Runs a statement: as a query with rowsWanted, otherwise as a command.
    virtual bool ExecuteSql(const std::string& statement, bool rowsWanted);

    // The SELECT of the latest SelectFirst, whole; empty before the first.
    const std::string& GetLastQuery() const { return m_szLastQuery; }

  protected:
    std::string m_szLastQuery;
};

}  // namespace tabrel
