#include "palm/db6x/jet/JetEngine.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <vector>

#include "palm/db6x/engine/DbFileBytes.h"
#include "palm/db6x/engine/SqliteEngine.h"
#include "palm/db6x/jet/JetCatalogue.h"
#include "palm/db6x/jet/JetChildProcess.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetMdbReader.h"
#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTableStream.h"
#include "palm/db6x/jet/JetTypes.h"
#include "palm/db6x/jet/JetWriteBack.h"

namespace tabrel {

namespace {

// Jet 4 files are at most 2 GiB.
constexpr std::size_t kMaxJetFileSize = std::size_t{1} << 31;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The reading process may take this long and write this much: far more than a sound file
// of that size needs (every stored byte becomes at most two, and each cell a few more).
ChildLimits LimitsFor(std::size_t fileSize) {
    ChildLimits limits;
    limits.maxOutput = 16 * fileSize + (std::size_t{16} << 20);
    limits.timeout = std::chrono::seconds(30) +
                     std::chrono::milliseconds(fileSize / (std::size_t{1} << 20) * 250);
    return limits;
}

// Names of the tables and columns a Palm database has are ASCII.
std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (const char16_t unit : text) {
        narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return narrow;
}

std::string Quoted(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

bool Exec(sqlite3* db, const std::string& sql, std::string& error) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

// Creates the copy of one table; the statement that inserts one of its rows.
StatementPtr CreateTable(sqlite3* db, const JetTableInfo& table, std::string& error) {
    std::string create = "CREATE TABLE " + Quoted(table.name) + " (";
    std::string insert = "INSERT INTO " + Quoted(table.name) + " VALUES (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const JetColumnInfo& column = table.columns[i];
        const std::string_view type = JetDeclaredType(column.type, column.autoNumber);
        const bool text = column.type == kJetText || column.type == kJetMemo;
        create += (i == 0 ? "" : ", ") + Quoted(column.name) + " " + std::string(type) +
                  (text ? " COLLATE NOCASE" : "");
        insert += i == 0 ? "?" : ", ?";
    }
    if (!Exec(db, create + ")", error)) {
        return nullptr;
    }
    sqlite3_stmt* raw = nullptr;
    insert += ")";
    if (sqlite3_prepare_v2(db, insert.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return nullptr;
    }
    return StatementPtr(raw);
}

bool InsertRow(sqlite3* db, sqlite3_stmt* insert, const std::vector<JetCell>& cells,
               std::string& error) {
    sqlite3_reset(insert);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        const JetCell& cell = cells[i];
        int rc = SQLITE_OK;
        if (const auto* integer = std::get_if<std::int64_t>(&cell)) {
            rc = sqlite3_bind_int64(insert, slot, *integer);
        } else if (const auto* number = std::get_if<double>(&cell)) {
            rc = sqlite3_bind_double(insert, slot, *number);
        } else if (const auto* text = std::get_if<std::u16string>(&cell)) {
            rc = sqlite3_bind_text64(insert, slot, reinterpret_cast<const char*>(text->data()),
                                     text->size() * 2, SQLITE_STATIC, SQLITE_UTF16LE);
        } else if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&cell)) {
            rc = sqlite3_bind_blob64(insert, slot, bytes->data(), bytes->size(), SQLITE_STATIC);
        } else {
            rc = sqlite3_bind_null(insert, slot);
        }
        if (rc != SQLITE_OK) {
            error = sqlite3_errmsg(db);
            return false;
        }
    }
    if (sqlite3_step(insert) != SQLITE_DONE) {
        error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

// Every statement that finds a stored record names its Record ID, so the copy of "Main" is
// indexed by it: without, each record written would scan the whole table. The index is the
// copy's own; the file is written from the rows.
bool IndexRecordIds(sqlite3* db, std::string& error) {
    return !HasColumn(db, "Main", "Record ID") ||
           Exec(db, "CREATE INDEX \"Main by Record ID\" ON Main (\"Record ID\")", error);
}

// Copies the tables of a stream into db.
bool LoadTables(sqlite3* db, std::string_view stream, bool queryOnly, std::string& error) {
    JetStreamReader reader(stream);
    StatementPtr insert;
    std::string table;
    // Jet's texts are UTF-16 and the readers take them so: held as such, they are never
    // translated on the way in or out.
    if (!Exec(db, "PRAGMA encoding = 'UTF-16le'", error) || !Exec(db, "BEGIN", error)) {
        return false;
    }
    for (;;) {
        JetRecord record{};
        if (!reader.Next(record)) {
            error = "The file cannot be read: the reading process gave malformed data.";
            return false;
        }
        switch (record) {
            case JetRecord::Table:
                table = reader.Table().name;
                insert = reader.Table().columns.empty() ? nullptr
                                                        : CreateTable(db, reader.Table(), error);
                if (insert == nullptr && !reader.Table().columns.empty()) {
                    error = "The table " + table + " cannot be copied: " + error;
                    return false;
                }
                break;
            case JetRecord::Row:
                if (insert != nullptr && !InsertRow(db, insert.get(), reader.Row(), error)) {
                    error = "A row of the table " + table + " cannot be copied: " + error;
                    return false;
                }
                break;
            case JetRecord::Failure:
                error = reader.Reason();
                return false;
            case JetRecord::End:
                insert.reset();
                return (queryOnly || IndexRecordIds(db, error)) && Exec(db, "COMMIT", error) &&
                       (!queryOnly || Exec(db, "PRAGMA query_only = ON", error));
        }
    }
}

// The numbering of the new rows of each table with an auto-number column (the 6.x
// statements insert new records with Record ID 0): from one past the larger of the
// table's counter and its largest number.
std::optional<std::vector<NewRowNumbering>> AutoNumberings(sqlite3* db,
                                                           const std::vector<std::uint8_t>& file,
                                                           std::string& error) {
    const auto catalogue = ReadJetCatalogue(file, error);
    if (!catalogue) {
        return std::nullopt;
    }
    std::vector<NewRowNumbering> numberings;
    for (const JetCatalogueTable& entry : *catalogue) {
        const auto table = entry.isSystem
                               ? std::nullopt
                               : ReadJetTableDefinition(file, entry.definitionPage, error);
        if (!table) {
            continue;
        }
        const std::string name = Narrow(entry.name);
        for (const JetColumnDefinition& column : table->columns) {
            // A table the copy lacks (not one of the three loaded) has nothing to number.
            if (column.IsAutoNumber() && HasColumn(db, name, Narrow(column.name))) {
                numberings.push_back(
                    {name, Narrow(column.name), table->lastAutoNumber, LargestRowid(db, name)});
            }
        }
    }
    error.clear();
    return numberings;
}

// A Jet database: queries run on the copy in memory; commands too when it was opened for
// writing, and Flush writes the tables they changed back into the file.
class JetDatabase final : public DbDatabase {
  public:
    JetDatabase(SqliteConnection db, std::string path, std::vector<std::uint8_t> file,
                std::string whyReadOnly, std::vector<NewRowNumbering> numberings)
        : m_db(db),
          m_pCopy(WrapSqlite(db)),
          m_path(std::move(path)),
          m_file(std::move(file)),
          m_whyReadOnly(std::move(whyReadOnly)),
          m_numberings(std::move(numberings)) {
        if (!m_file.empty()) {
            sqlite3_update_hook(m_db.get(), &JetDatabase::Changed, this);
        }
    }
    ~JetDatabase() override { sqlite3_update_hook(m_db.get(), nullptr, nullptr); }
    JetDatabase(const JetDatabase&) = delete;
    JetDatabase& operator=(const JetDatabase&) = delete;

    bool Execute(std::string_view sql, std::int64_t& changed, std::string& error) override {
        changed = 0;
        if (IsReadOnly()) {
            error = m_whyReadOnly.empty() ? std::string(kJetWriteRefused) : m_whyReadOnly;
            return false;
        }
        return m_pCopy->Execute(sql, changed, error);
    }

    std::unique_ptr<DbCursor> Query(std::string_view sql, std::string& error) override {
        return m_pCopy->Query(sql, error);
    }

    bool IsReadOnly() const override { return m_file.empty(); }
    std::string WhyReadOnly() const override { return m_whyReadOnly; }

    bool BeginPass(std::string& error) override {
        return IsReadOnly() || m_pCopy->BeginPass(error);
    }
    void AbandonPass() override {
        m_pCopy->AbandonPass();
        m_changed.clear();
    }

    bool Flush(std::string& error) override {
        if (m_changed.empty()) {
            return m_pCopy->Flush(error);
        }
        // Another program's change is never written over.
        std::vector<std::uint8_t> now;
        if (!ReadWholeFile(m_path, kMaxJetFileSize, now, error) || now != m_file) {
            error = "The file " + m_path +
                    " was changed by another program after it was loaded, so it was not "
                    "overwritten.";
            return false;
        }
        for (const NewRowNumbering& numbering : m_numberings) {
            if (m_changed.contains(numbering.table) &&
                !NumberNewRows(m_db.get(), numbering, error)) {
                return false;
            }
        }
        if (!WriteJetTablesBack(m_db.get(), m_changed, m_file, m_path, error)) {
            return false;
        }
        m_changed.clear();
        return m_pCopy->Flush(error);  // the file holds the pass; so does the copy now
    }

  private:
    static void Changed(void* self, int, const char*, const char* table, sqlite3_int64) {
        static_cast<JetDatabase*>(self)->m_changed.insert(table);
    }

    SqliteConnection m_db;
    std::unique_ptr<DbDatabase> m_pCopy;
    std::string m_path;
    std::vector<std::uint8_t> m_file;  // the file as written last; empty when read only
    std::string m_whyReadOnly;
    std::vector<NewRowNumbering> m_numberings;
    std::set<std::string> m_changed;
};

}  // namespace

std::string_view JetDeclaredType(int jetType, bool autoNumber) {
    switch (jetType) {
        case kJetBool:
            return "BIT";
        case kJetByte:
            return "BYTE";
        case kJetInt:
            return "SMALLINT";
        case kJetLong:
            return autoNumber ? "COUNTER" : "INTEGER";
        case kJetMoney:
            return "CURRENCY";
        case kJetFloat:
            return "REAL";
        case kJetDouble:
            return "DOUBLE";
        case kJetDateTime:
            return "DATETIME";
        case kJetBinary:
            return "BINARY";
        case kJetText:
            return "TEXT";
        case kJetOle:
            return "LONGBINARY";
        case kJetMemo:
            return "LONGTEXT";
        case kJetGuid:
            return "GUID";
        case kJetNumeric:
            return "DECIMAL";
        default:
            return "BLOB";
    }
}

std::unique_ptr<DbDatabase> OpenJetFile(const std::string& path, std::string& error,
                                        JetAccess access) {
    std::vector<std::uint8_t> file;
    if (!ReadWholeFile(path, kMaxJetFileSize, file, error) || !CheckJetFile(file, error)) {
        return nullptr;
    }
    std::string stream;
    int exitCode = -1;
    if (!RunInChildProcess([&file](int fd) { return WriteJetTables(file, fd); },
                           LimitsFor(file.size()), stream, exitCode, error)) {
        return nullptr;
    }
    if (exitCode != 0 && exitCode != 1) {
        error = "Reading the file failed (exit status " + std::to_string(exitCode) + ").";
        return nullptr;
    }
    std::string whyReadOnly;
    if (access == JetAccess::Write) {
        whyReadOnly = WhyJetTablesUnwritable(file, {"Information", "Category", "Main"});
    }
    const bool writable = access == JetAccess::Write && whyReadOnly.empty();
    if (!writable) {
        file = {};
    }
    SqliteConnection db = OpenSqliteMemory(error);
    if (db == nullptr || !LoadTables(db.get(), stream, !writable, error)) {
        return nullptr;
    }
    auto numberings =
        writable ? AutoNumberings(db.get(), file, error) : std::vector<NewRowNumbering>();
    if (!numberings) {
        return nullptr;
    }
    return std::make_unique<JetDatabase>(std::move(db), path, std::move(file), whyReadOnly,
                                         std::move(*numberings));
}

}  // namespace tabrel
