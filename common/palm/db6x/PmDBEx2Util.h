#pragma once
// PmDBEx2Util: the base of the four Palm Desktop 6.x readers. It opens a database through
// its accessor (PmMDBAccessor), keeps the database's category list and information record,
// and offers the readers the steps they share: selecting rows of "Main", reading typed
// values into fields, finding the stored row of a record and running its INSERT or
// UPDATE. The record-specific frame (loading, the record list, WriteRecord) is
// PmEx2RecordUtil<Record> (PmEx2RecordUtil.h).
//
// Every database has the tables "Information" (PmInfoEx2.h), "Category" (PmCategoryEx2.h)
// and "Main", whose columns each application gives.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "palm/db6x/PmCategoryEx2.h"
#include "palm/db6x/PmInfoEx2.h"
#include "palm/db6x/PmMDBAccessor.h"
#include "palm/db6x/engine/DbValue.h"

namespace tabrel {

class PmDBEx2Util {
  public:
    PmDBEx2Util() = default;
    virtual ~PmDBEx2Util() = default;
    PmDBEx2Util(const PmDBEx2Util&) = delete;
    PmDBEx2Util& operator=(const PmDBEx2Util&) = delete;

    // Opens the database file at path for application kind (PmApp.h): creates the accessor
    // at the first call and re-points it later, then loads the categories. False, with
    // nothing logged here, for a missing or empty path or a file that does not exist;
    // false, with an empty category list, when the connection could not be opened (the
    // accessor logs why).
    virtual bool OpenDatabase(int kind, const std::string& path);
    // Replaces the category list with the rows of "Category". False without an accessor.
    virtual bool LoadCategories();
    // Fills the information record from the rows of "Information". False without an
    // accessor. Opening a database does not call it.
    virtual bool LoadInformation();
    // Selects columns of the row of "Main" with that Record ID; true when one came.
    virtual bool SelectRecordById(std::int32_t id, std::span<const std::string_view> columns,
                                  DbRow& row);
    // Selects columns of the rows of "Main" that where (a WHERE clause) matches and delivers
    // the first; true when one came.
    virtual bool SelectRecords(std::string_view where, std::span<const std::string_view> columns,
                               DbRow& row);
    // As SelectRecords, delivering every row that matches. False when the statement fails.
    bool SelectAllRecords(std::string_view where, std::span<const std::string_view> columns,
                          std::vector<DbRow>& rows);

    // Whether the open database refuses every write (a Jet file that cannot be written back),
    // and why.
    bool IsReadOnly() const;
    std::string WhyReadOnly() const;
    // Begins a pass of statements (an import) that Flush ends: until then they form one
    // transaction, which AbandonPass undoes. BeginPass logs the reason when it fails.
    bool BeginPass();
    void AbandonPass();
    // Ends the pass: gives new records their Record IDs and makes the statements' changes
    // part of the file (a Jet file kept in memory is written); logs the reason and answers
    // false when that fails.
    bool Flush();

    // The accessor, or nullptr before the first successful open.
    PmMDBAccessor* GetAccessor() const { return m_pAccessor.get(); }
    PmCategoryEx2Mgr& GetCategoryMgr() { return m_categories; }
    const PmInfoEx2& GetInformation() const { return m_info; }

  protected:
    // Conversions of one value of a row into a record field. A value that does not convert
    // (a kind the column should not have, a NULL, a date) leaves the field zero (0, or the
    // empty text), is logged at level 0 with the column's name, and answers false.
    static bool ReadInteger(const DbRow& row, std::size_t column, std::string_view name,
                            std::int32_t& field);
    static bool ReadBoolean(const DbRow& row, std::size_t column, std::string_view name,
                            std::uint8_t& field);
    // The text converted to ANSI, cut to size - 1 bytes (kWholeText keeps it whole).
    static bool ReadText(const DbRow& row, std::size_t column, std::string_view name,
                         std::string& field, std::size_t size);

    enum class RowMatch { None, One, Several, Failed };

    // Finds the row of "Main" a record is written to. The key columns (positions into
    // columns) are matched with keyValues. When they match several rows and the row the
    // record was last read or written as is known (remembered, one value per column), the
    // match is narrowed to the rows equal to it in every column that holds a value. One:
    // row holds the row's values (all columns) and clause the WHERE clause that matches it
    // alone. Several: the record cannot be told from other rows (logged).
    RowMatch FindStoredRow(std::span<const std::string_view> columns,
                           std::span<const std::size_t> keyColumns, const DbRow& keyValues,
                           const DbRow* remembered, std::string& clause, DbRow& row);
    // Runs an UPDATE of the named columns (with clause, which must not be empty) or an
    // INSERT, and checks that it changed a row. False, logged, when the statement fails or
    // changes nothing.
    bool WriteColumns(bool update, std::string_view clause, std::span<const std::string_view> names,
                      std::span<const DbValue> values);

  private:
    // The database of the open connection; nullptr when none is open.
    DbDatabase* OpenedDatabase() const;

    std::unique_ptr<PmMDBAccessor> m_pAccessor;
    PmCategoryEx2Mgr m_categories;  // refers to m_pAccessor, so declared after it
    PmInfoEx2 m_info;
};

}  // namespace tabrel
