#pragma once
// PmEx2RecordUtil<Record>: the frame the four Palm Desktop 6.x readers share (loading by
// user and by file, the record list, Save, WriteRecord and the category look-ups). Each
// reader (PmAddrEx2Util, PmDateEx2Util, PmTodoEx2Util, PmMemoEx2Util) derives from
// PmEx2RecordUtil<its record>, passes a PmEx2AppInfo and implements the hooks below.
//
// Record needs a zero state from Record{} and the category members
//   std::int32_t m_nCategoryId;    the category ID, a database column
//   std::string m_szCategoryName;  at most kCategoryNameMax characters, not a column,
//                                  filled from the category list
//
// Hooks, in the order a reader's work calls them:
//   loading a row       ReadLoadedRow (default ReadRow), then AfterLoad (default
//                       FillCategoryName); a row without one value per column converts
//                       nothing and its record stays zero.
//   writing a record    BeforeWrite; MakeKeyValues (only for a record that is not in the
//                       list); ReadRow of the stored row; Equals; ChangeList;
//                       BeforeChangeWrite; MakeColumnValue of each listed column.
//
// WriteRecord (record):
//   1. BeforeWrite; a failure ends the write with false.
//   2. The row the record is written to. A record of the list that was never written (a
//      new record of this run) has none: it is inserted. A record of the list that was
//      loaded or written before is found by the key values its row had when it was last
//      read or written, so changed key fields still update its own row. A record that is
//      not one of the list's is found by its own key values. When the keys match several
//      rows, a remembered row narrows them down to the rows equal to it; rows that still
//      cannot be told apart are not written (false).
//   3. Found: equal (Equals) -> true, nothing written; otherwise the changed columns
//      (ChangeList; none -> true) are written with an UPDATE whose WHERE clause is the
//      one that found the row. Not found: every column is written with an INSERT.
//   4. BeforeChangeWrite, the values (MakeColumnValue), the statement. A statement that
//      fails or changes no row answers false. Afterwards the list remembers the row as
//      written.
//
// Notes for a reader:
//   - Remembered key values are the stored ones, of the kind the column gave: a time held
//     as an integer or as decimal text matches either way. A key column that reads as
//     empty (a NULL, or a date column) is matched with IS NULL, which a date never meets:
//     choose key columns whose values read as integers, booleans or texts.
//   - Texts of fixed width are read with ReadText and their capacity; notes with
//     kWholeText, so that they are written back whole.
//   - The list keeps rows of the database it was loaded from: Clear it before loading
//     another file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "misc/CxText.h"
#include "palm/db6x/PmDBEx2Util.h"
#include "palm/db6x/PmEx2DataMgr.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel {

// What sets one application's reader apart: its kind, the columns of its table "Main" in
// the order they are selected and inserted, its key columns (positions into columns) and
// its log lines (printf formats; a null emptyPathLine logs nothing).
struct PmEx2AppInfo {
    int app = 0;
    std::span<const std::string_view> columns;
    std::span<const std::size_t> keyColumns;
    const char* byUserLine = "";  // %d: the user ID
    const char* emptyPathLine = nullptr;
    const char* loadingLine = "";     // %s: the path
    const char* openFailedLine = "";  // %s: the path
    const char* startMainLine = "";
    const char* firstRowLine = "";
    const char* noFirstRowLine = "";
    const char* noNextRowLine = "";
    const char* endMainLine = "";
};

template <class Record>
class PmEx2RecordUtil : public PmDBEx2Util {
  public:
    using DataMgr = PmEx2DataMgr<Record>;

    static constexpr std::size_t kCategoryNameMax = 31;

    bool IsLoaded() const { return m_bLoaded; }

    // Loads the application's database of a Palm user (PalmUsers.h).
    bool LoadByUser(std::int32_t userId) {
        CX_LOG(kLogProgress, m_info.byUserLine, userId);
        std::string folder;
        if (!GetUserDataFolder(userId, folder)) {
            CX_LOG(kLogFailure, "Failed to get user database path by user ID.");
            return false;
        }
        std::string path;
        FindUserDatabase(userId, m_info.app, true, path);
        CX_LOG(kLogProgress, "Get user file successfully, try loading file:%s", path);
        return LoadFile(path);
    }

    // Opens the database and appends the rows of "Main" to the record list (which is not
    // emptied first). False when the path is empty or the database cannot be opened.
    bool LoadFile(const std::string& path) {
        if (path.empty()) {
            if (m_info.emptyPathLine != nullptr) {
                CX_LOG(kLogFailure, m_info.emptyPathLine);
            }
            return false;
        }
        CX_LOG(kLogProgress, m_info.loadingLine, path);
        if (!OpenDatabase(m_info.app, path)) {
            CX_LOG(kLogFailure, m_info.openFailedLine, path);
            return false;
        }
        LoadMain();
        return true;
    }

    // Whether the open database's table "Main" has the application's columns, so that it
    // is a database of this application and not of another one.
    bool HasApplicationTable() {
        std::vector<DbRow> rows;
        return SelectAllRecords("WHERE 1=0", m_info.columns, rows);
    }

    // Every record reaches the database when it is handed to WriteRecord, so nothing is
    // left to write.
    virtual bool Save() { return true; }

    DataMgr& GetDataMgr() { return m_records; }

    // Writes one record (see above). Hand over the list's own record (GetRecordAt), so
    // that the row it stands for is known.
    bool WriteRecord(Record& record) {
        if (!BeforeWrite(record)) {
            return false;
        }
        const std::span<const std::string_view> columns = m_info.columns;
        const std::optional<std::size_t> position = m_records.FindPosition(&record);
        const DbRow* remembered = position ? m_records.GetStoredRow(*position) : nullptr;
        std::string clause;
        DbRow row;
        bool found = false;
        if (!position || remembered != nullptr) {
            DbRow keys;
            if (remembered != nullptr) {
                for (std::size_t key : m_info.keyColumns) {
                    keys.push_back(key < remembered->size() ? (*remembered)[key] : DbValue());
                }
            } else {
                keys = MakeKeyValues(record);
            }
            switch (FindStoredRow(columns, m_info.keyColumns, keys, remembered, clause, row)) {
                case RowMatch::Failed:
                case RowMatch::Several:
                    return false;
                case RowMatch::None:
                    break;
                case RowMatch::One:
                    found = true;
                    break;
            }
        }

        std::vector<std::size_t> changes;
        if (found) {
            Record stored{};
            if (row.size() == columns.size()) {
                ReadRow(row, stored);
            }
            if (Equals(record, stored)) {
                return true;
            }
            changes = ChangeList(record, stored);
            if (changes.empty()) {
                return true;
            }
        } else {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                changes.push_back(i);
            }
        }
        if (!BeforeChangeWrite(record)) {
            return false;
        }
        std::vector<std::string_view> names;
        DbRow values;
        for (std::size_t column : changes) {
            DbValue value;
            if (column >= columns.size() || !MakeColumnValue(record, column, value)) {
                return false;
            }
            names.push_back(columns[column]);
            values.push_back(std::move(value));
        }
        if (!WriteColumns(found, clause, names, values)) {
            return false;
        }
        if (position) {
            DbRow written = found ? std::move(row) : DbRow(columns.size());
            written.resize(columns.size());
            for (std::size_t i = 0; i < changes.size(); ++i) {
                written[changes[i]] = std::move(values[i]);
            }
            m_records.SetStoredRow(*position, std::move(written));
        }
        return true;
    }

    // The ID of the category called name: 0 and true for an empty name; the category's ID
    // and true when it is in the list. Otherwise 0 and false, or with create a new
    // category of that name (cut to 254 characters): its ID and true, or -1 and false
    // when it cannot be created.
    bool GetCategoryId(std::string_view name, std::int32_t& id, bool create) {
        id = 0;
        if (name.empty()) {
            return true;
        }
        if (const PmCategoryEx2* category = GetCategoryMgr().FindByName(name)) {
            id = category->m_nId;
            return true;
        }
        if (!create) {
            return false;
        }
        PmCategoryEx2 category;
        category.SetName(name);
        GetCategoryMgr().AddNew(category);
        // Looked up by the name it was created with, so a long name finds its category.
        if (const PmCategoryEx2* created = GetCategoryMgr().FindByName(category.m_szName)) {
            id = created->m_nId;
            return true;
        }
        id = -1;
        return false;
    }

    // The record's category name from its category ID; false, name unchanged, when the ID
    // is not in the list.
    bool FillCategoryName(Record& record) {
        const PmCategoryEx2* category = GetCategoryMgr().FindById(record.m_nCategoryId);
        if (category == nullptr) {
            return false;
        }
        record.m_szCategoryName = CutText(category->m_szName, kCategoryNameMax);
        return true;
    }

    // The record's category ID from its category name: 0 for an empty name, the
    // category's ID for a name in the list; false, ID unchanged, for an unknown name.
    bool ResolveCategoryId(Record& record) {
        if (record.m_szCategoryName.empty()) {
            record.m_nCategoryId = 0;
            return true;
        }
        const PmCategoryEx2* category = GetCategoryMgr().FindByName(record.m_szCategoryName);
        if (category == nullptr) {
            return false;
        }
        record.m_nCategoryId = category->m_nId;
        return true;
    }

  protected:
    explicit PmEx2RecordUtil(const PmEx2AppInfo& info) : m_info(info) {}

    // For a reader constructed with a path: the outcome of its LoadFile.
    void SetLoaded(bool loaded) { m_bLoaded = loaded; }
    const PmEx2AppInfo& GetAppInfo() const { return m_info; }

    // A stored row (one value per column) into a zero record, as when finding the row a
    // record is written to.
    virtual void ReadRow(const DbRow& row, Record& record) = 0;
    // A row of "Main" into a zero record while loading.
    virtual void ReadLoadedRow(const DbRow& row, Record& record) { ReadRow(row, record); }
    virtual void AfterLoad(Record& record) { FillCategoryName(record); }
    // Steps before anything is read for a write; false ends the write.
    virtual bool BeforeWrite(Record& /*record*/) { return true; }
    // Steps once it is known that columns are to be written; false ends the write before
    // any statement.
    virtual bool BeforeChangeWrite(Record& /*record*/) { return true; }
    // The value written for a column; false ends the write before any statement.
    virtual bool MakeColumnValue(const Record& record, std::size_t column, DbValue& value) = 0;
    // The key values of a record that is not in the list, one per key column.
    virtual DbRow MakeKeyValues(const Record& record) {
        DbRow keys;
        for (std::size_t key : m_info.keyColumns) {
            DbValue value;
            MakeColumnValue(record, key, value);
            keys.push_back(std::move(value));
        }
        return keys;
    }
    // Whether a record equals its stored row's record, and which columns differ (positions
    // in column order; an empty list writes nothing).
    virtual bool Equals(const Record& record, const Record& stored) = 0;
    virtual std::vector<std::size_t> ChangeList(const Record& record, const Record& stored) = 0;

  private:
    // Appends the rows of "Main" to the record list, each with the row it came from.
    bool LoadMain() {
        if (GetAccessor() == nullptr) {
            return false;
        }
        const std::span<const std::string_view> columns = m_info.columns;
        CX_LOG(kLogProgress, m_info.startMainLine);
        DbRow row;
        bool got = GetAccessor()->SelectFirst("Main", columns, row);
        CX_LOG(kLogProgress, got ? m_info.firstRowLine : m_info.noFirstRowLine);
        while (got) {
            Record record{};
            if (row.size() == columns.size()) {
                ReadLoadedRow(row, record);
            }
            AfterLoad(record);
            m_records.AddLoadedRecord(std::move(record), std::move(row));
            row = DbRow();
            got = GetAccessor()->SelectNext("Main", columns, row);
            if (!got) {
                CX_LOG(kLogProgress, m_info.noNextRowLine);
            }
        }
        CX_LOG(kLogProgress, m_info.endMainLine);
        return true;
    }

    const PmEx2AppInfo& m_info;
    DataMgr m_records;
    bool m_bLoaded = false;
};

}  // namespace tabrel
