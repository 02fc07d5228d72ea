#include "palm/db6x/engine/SqliteEngine.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <unordered_map>
#include <vector>

#include "misc/CxText.h"
#include "palm/db6x/engine/SqlLiterals.h"

namespace tabrel {

namespace {

struct SqliteCloser {
    // close_v2 lets a cursor that outlives its connection finish first.
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using SqliteHandle = SqliteConnection;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// SQLite out of memory is the program out of memory: the conversion ends, no row is
// taken as missing or empty.
void ThrowIfOutOfMemory(int rc) {
    if (rc == SQLITE_NOMEM) {
        throw std::bad_alloc();
    }
}

// LEFT(text, n): the first n UTF-16 units of text; NULL for a NULL argument.
void LeftFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(argv[0]));
    const auto units = static_cast<std::size_t>(sqlite3_value_bytes16(argv[0])) / 2;
    const std::u16string_view text =
        data != nullptr ? std::u16string_view(data, units) : std::u16string_view();
    const sqlite3_int64 count = std::max<sqlite3_int64>(sqlite3_value_int64(argv[1]), 0);
    const std::u16string_view prefix = Utf16Prefix(text, static_cast<std::size_t>(count));
    sqlite3_result_text16(context, prefix.data(), static_cast<int>(prefix.size() * 2),
                          SQLITE_TRANSIENT);
}

// Jet's LEFT(text, n) in a form SQLite accepts: LEFT is a join keyword to SQLite, so the
// call is written with the bracketed name, [LEFT](text, n). Literals and bracketed names
// are copied as they are.
std::string AdaptJetSql(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 8);
    std::size_t i = 0;
    const auto isWordChar = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || static_cast<unsigned char>(c) >= 0x80;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            const char close = c == '[' ? ']' : c;
            std::size_t end = i + 1;
            while (end < sql.size() && sql[end] != close) {
                ++end;
            }
            end = std::min(end + 1, sql.size());  // a doubled quote continues as a new literal
            out.append(sql.substr(i, end - i));
            i = end;
        } else if (isWordChar(c)) {
            std::size_t end = i;
            while (end < sql.size() && isWordChar(sql[end])) {
                ++end;
            }
            const std::string_view word = sql.substr(i, end - i);
            const std::size_t next = sql.find_first_not_of(" \t\r\n", end);
            const bool call = next != std::string_view::npos && sql[next] == '(';
            out += call && EqualsNoCase(word, "LEFT") ? std::string("[LEFT]") : std::string(word);
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string ErrorOf(sqlite3* db) {
    const char* message = sqlite3_errmsg(db);
    return message != nullptr ? message : "unknown SQLite error";
}

// A name or a text as an SQL literal: "name", 'text'.
std::string Quote(std::string_view text, char quote) {
    std::string quoted(1, quote);
    for (const char c : text) {
        quoted += c;
        if (c == quote) {
            quoted += c;
        }
    }
    return quoted + quote;
}
std::string SqlName(std::string_view name) {
    return Quote(name, '"');
}
std::string SqlText(std::string_view text) {
    return Quote(text, '\'');
}

// A statement of the engine's own, in SQLite's own words; nullptr when it cannot be made.
StatementHandle PrepareSql(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    return StatementHandle(raw);
}

// Prepares the one statement of sql; anything but blanks after it is refused, so a text
// never runs more than the statement it was built as.
StatementHandle Prepare(sqlite3* db, std::string_view jetSql, std::string& error) {
    const std::string adapted = AdaptJetSql(jetSql);
    const std::string_view sql = adapted;
    if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        error = "The statement is too long.";
        return nullptr;
    }
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    StatementHandle statement(raw);
    if (rc != SQLITE_OK) {
        error = ErrorOf(db);
        return nullptr;
    }
    if (statement == nullptr) {
        error = "The statement is empty.";
        return nullptr;
    }
    const std::string_view rest = sql.substr(static_cast<std::size_t>(tail - sql.data()));
    if (rest.find_first_not_of(" \t\r\n;") != std::string_view::npos) {
        error = "Only one statement can be run at a time.";
        return nullptr;
    }
    return statement;
}

// The INSERT and UPDATE statements already prepared, by their shape with the literals
// lifted (SqlLiterals.h): an import runs one shape per record with other values, and
// preparing a statement of a hundred columns costs far more than running it.
class WriteStatementCache {
  public:
    // The statement of sql's shape with sql's values bound, which lifted holds: keep it
    // until the statement is reset (Run). nullptr when sql is not an INSERT or UPDATE whose
    // literals could be lifted, or its shape cannot be prepared (it is then run as it is,
    // and fails with its own reason if it is wrong).
    sqlite3_stmt* Find(sqlite3* db, std::string_view sql, std::optional<LiftedSql>& lifted) {
        const std::size_t start = sql.find_first_not_of(" \t\r\n");
        const std::string_view verb =
            start == std::string_view::npos ? std::string_view() : sql.substr(start, 6);
        if (!EqualsNoCase(verb, "INSERT") && !EqualsNoCase(verb, "UPDATE")) {
            return nullptr;
        }
        lifted = LiftLiterals(sql);
        if (!lifted) {
            return nullptr;
        }
        auto found = m_statements.find(lifted->shape);
        if (found == m_statements.end()) {
            if (m_statements.size() >= kMaxStatements) {
                m_statements.clear();
            }
            std::string ignored;
            StatementHandle statement = Prepare(db, lifted->shape, ignored);
            if (statement == nullptr || sqlite3_bind_parameter_count(statement.get()) !=
                                            static_cast<int>(lifted->literals.size())) {
                return nullptr;
            }
            found = m_statements.emplace(lifted->shape, std::move(statement)).first;
        }
        sqlite3_stmt* statement = found->second.get();
        for (std::size_t i = 0; i < lifted->literals.size(); ++i) {
            const int slot = static_cast<int>(i) + 1;
            const SqlLiteral& literal = lifted->literals[i];
            const int rc =
                std::holds_alternative<std::int64_t>(literal)
                    ? sqlite3_bind_int64(statement, slot, std::get<std::int64_t>(literal))
                    : sqlite3_bind_text64(statement, slot, std::get<std::string>(literal).data(),
                                          std::get<std::string>(literal).size(), SQLITE_STATIC,
                                          SQLITE_UTF8);
            ThrowIfOutOfMemory(rc);
            if (rc != SQLITE_OK) {
                m_statements.erase(found);
                return nullptr;
            }
        }
        return statement;
    }

  private:
    static constexpr std::size_t kMaxStatements = 32;
    std::unordered_map<std::string, StatementHandle> m_statements;
};

// Whether the database holds its texts as UTF-8 (the default; a Jet copy holds UTF-16).
bool HoldsUtf8(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA encoding", -1, &raw, nullptr);
    const StatementHandle statement(raw);
    if (statement == nullptr || sqlite3_step(raw) != SQLITE_ROW) {
        return false;
    }
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    return name != nullptr && std::string_view(name) == "UTF-8";
}

// The text of a column held as ASCII in a UTF-8 database, widened here: asking SQLite for
// UTF-16 would translate it into a buffer of its own first. Nothing for other texts.
std::optional<std::u16string> AsciiText(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) != SQLITE_TEXT) {
        return std::nullopt;
    }
    const auto* bytes = sqlite3_column_text(statement, column);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    if (bytes == nullptr) {
        return std::nullopt;  // out of memory: the UTF-16 read finds it
    }
    std::u16string text(size, u'\0');
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] >= 0x80) {
            return std::nullopt;
        }
        text[i] = static_cast<char16_t>(bytes[i]);
    }
    return text;
}

class SqliteCursor final : public DbCursor {
  public:
    // utf8: the database holds its texts as UTF-8.
    SqliteCursor(SqliteHandle db, StatementHandle statement, bool utf8)
        : m_db(std::move(db)), m_statement(std::move(statement)), m_bUtf8(utf8) {
        const int count = sqlite3_column_count(m_statement.get());
        for (int i = 0; i < count; ++i) {
            const char* declared = sqlite3_column_decltype(m_statement.get(), i);
            m_kinds.push_back(declared != nullptr ? KindOfDeclaredType(declared) : DbKind::Empty);
        }
    }

    bool AtEnd() const override { return m_bAtEnd; }

    DbRow ReadRow() const override {
        DbRow row;
        if (m_bAtEnd) {
            return row;
        }
        row.reserve(m_kinds.size());
        for (std::size_t i = 0; i < m_kinds.size(); ++i) {
            row.push_back(ReadValue(static_cast<int>(i), m_kinds[i]));
        }
        return row;
    }

    bool Next(std::string& error) override {
        if (m_bAtEnd) {
            return false;
        }
        return Step(error);
    }

    // Moves to the next row; false at the end or, with error set, on a failure.
    bool Step(std::string& error) {
        const int rc = sqlite3_step(m_statement.get());
        if (rc == SQLITE_ROW) {
            m_bAtEnd = false;
            return true;
        }
        m_bAtEnd = true;
        ThrowIfOutOfMemory(rc);
        if (rc != SQLITE_DONE) {
            error = ErrorOf(m_db.get());
        }
        return false;
    }

  private:
    DbValue ReadValue(int column, DbKind kind) const {
        sqlite3_stmt* statement = m_statement.get();
        if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
            return DbValue::Null();
        }
        switch (kind) {
            case DbKind::Boolean:
                return DbValue::Boolean(sqlite3_column_int64(statement, column) != 0 ? -1 : 0);
            case DbKind::Integer: {
                const sqlite3_int64 number = sqlite3_column_int64(statement, column);
                if (number < std::numeric_limits<std::int32_t>::min() ||
                    number > std::numeric_limits<std::int32_t>::max()) {
                    return {};
                }
                return DbValue::Integer(static_cast<std::int32_t>(number));
            }
            case DbKind::Text: {
                if (m_bUtf8) {
                    if (std::optional<std::u16string> ascii = AsciiText(statement, column)) {
                        return DbValue::Text(std::move(*ascii));
                    }
                }
                const auto* data =
                    static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
                if (data == nullptr) {
                    ThrowIfOutOfMemory(sqlite3_errcode(m_db.get()));  // not an empty text
                }
                const auto units =
                    static_cast<std::size_t>(sqlite3_column_bytes16(statement, column)) / 2;
                return DbValue::Text(data != nullptr ? std::u16string(data, units)
                                                     : std::u16string());
            }
            default:
                return {};
        }
    }

    SqliteHandle m_db;  // keeps the connection alive while the cursor lives
    StatementHandle m_statement;
    std::vector<DbKind> m_kinds;
    bool m_bUtf8 = false;
    bool m_bAtEnd = true;
};

class SqliteDatabase final : public DbDatabase {
  public:
    explicit SqliteDatabase(SqliteHandle db, std::vector<NewRowNumbering> numberings = {})
        : m_db(std::move(db)),
          m_numberings(std::move(numberings)),
          m_bUtf8(HoldsUtf8(m_db.get())) {}
    ~SqliteDatabase() override { AbandonPass(); }
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    bool BeginPass(std::string& error) override {
        if (!m_bInPass) {
            if (!Run("BEGIN", error)) {
                return false;
            }
            m_bInPass = true;
        }
        return true;
    }

    void AbandonPass() override {
        if (m_bInPass) {
            m_bInPass = false;
            std::string ignored;
            if (sqlite3_get_autocommit(m_db.get()) == 0) {
                Run("ROLLBACK", ignored);
            }
        }
    }

    bool Flush(std::string& error) override {
        const bool numbered = std::all_of(m_numberings.begin(), m_numberings.end(),
                                          [&](const NewRowNumbering& numbering) {
                                              return NumberNewRows(m_db.get(), numbering, error);
                                          });
        if (!m_bInPass || !numbered) {
            return numbered;
        }
        if (sqlite3_get_autocommit(m_db.get()) != 0) {
            // SQLite itself undoes a whole transaction after some failures (a full disk).
            m_bInPass = false;
            error = "an error undid the changes of the conversion";
            return false;
        }
        if (!Run("COMMIT", error)) {
            return false;
        }
        m_bInPass = false;
        return true;
    }

    bool Execute(std::string_view sql, std::int64_t& changed, std::string& error) override {
        changed = 0;
        std::optional<LiftedSql> lifted;
        if (sqlite3_stmt* shared = m_writes.Find(m_db.get(), sql, lifted)) {
            return Run(shared, changed, error);
        }
        const StatementHandle statement = Prepare(m_db.get(), sql, error);
        return statement != nullptr && Run(statement.get(), changed, error);
    }

    std::unique_ptr<DbCursor> Query(std::string_view sql, std::string& error) override {
        StatementHandle statement = Prepare(m_db.get(), sql, error);
        if (statement == nullptr) {
            return nullptr;
        }
        auto cursor = std::make_unique<SqliteCursor>(m_db, std::move(statement), m_bUtf8);
        std::string stepError;
        if (!cursor->Step(stepError) && !stepError.empty()) {
            error = stepError;
            return nullptr;
        }
        return cursor;
    }

  private:
    // Steps a statement to its end and resets it, so that it holds nothing of the database.
    bool Run(sqlite3_stmt* statement, std::int64_t& changed, std::string& error) {
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(statement);
        }
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);  // a shared statement keeps no value it was given
        ThrowIfOutOfMemory(rc);
        if (rc != SQLITE_DONE) {
            error = ErrorOf(m_db.get());
            return false;
        }
        changed = sqlite3_changes64(m_db.get());
        return true;
    }

    bool Run(const char* sql, std::string& error) {
        const int rc = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr);
        ThrowIfOutOfMemory(rc);
        if (rc != SQLITE_OK) {
            error = ErrorOf(m_db.get());
            return false;
        }
        return true;
    }

    SqliteHandle m_db;
    WriteStatementCache m_writes;  // finalized before the connection is let go of
    std::vector<NewRowNumbering> m_numberings;
    bool m_bUtf8 = false;    // the database holds its texts as UTF-8
    bool m_bInPass = false;  // the transaction of a pass is open
};

}  // namespace

namespace {

// Opens path with flags and registers the functions the readers' statements call.
SqliteHandle OpenConnection(const char* path, int flags, std::string& error) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path, &raw, flags, nullptr);
    SqliteHandle db(raw, SqliteCloser());
    if (rc != SQLITE_OK) {
        error = raw != nullptr ? ErrorOf(raw) : "SQLite cannot open the file.";
        return nullptr;
    }
    if (sqlite3_create_function(raw, "LEFT", 2, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                LeftFunction, nullptr, nullptr) != SQLITE_OK) {
        error = ErrorOf(raw);
        return nullptr;
    }
    return db;
}

}  // namespace

std::unique_ptr<DbDatabase> OpenSqliteFile(const std::string& path, std::string& error) {
    SqliteHandle db = OpenConnection(path.c_str(), SQLITE_OPEN_READWRITE, error);
    if (db == nullptr) {
        return nullptr;
    }
    std::vector<NewRowNumbering> numberings;
    if (HasColumn(db.get(), "Main", "Record ID")) {
        numberings.push_back({"Main", "Record ID", 0, LargestRowid(db.get(), "Main")});
    }
    return std::make_unique<SqliteDatabase>(std::move(db), std::move(numberings));
}

bool HasColumn(sqlite3* db, std::string_view table, std::string_view column) {
    const StatementHandle statement =
        PrepareSql(db, "SELECT 1 FROM pragma_table_info(" + SqlText(table) +
                           ") WHERE name = " + SqlText(column));
    return statement != nullptr && sqlite3_step(statement.get()) == SQLITE_ROW;
}

std::int64_t LargestRowid(sqlite3* db, std::string_view table) {
    const StatementHandle statement =
        PrepareSql(db, "SELECT IFNULL(MAX(rowid), 0) FROM main." + SqlName(table));
    return statement != nullptr && sqlite3_step(statement.get()) == SQLITE_ROW
               ? sqlite3_column_int64(statement.get(), 0)
               : 0;
}

bool NumberNewRows(sqlite3* db, const NewRowNumbering& numbering, std::string& error) {
    const std::string table = "main." + SqlName(numbering.table);
    const std::string column = SqlName(numbering.column);
    const std::string sql =
        "UPDATE " + table + " SET " + column + " = n.id FROM (SELECT rowid AS r, (SELECT MAX(" +
        std::to_string(numbering.floor) + ", IFNULL(MAX(" + column + "), 0)) FROM " + table +
        ") + ROW_NUMBER() OVER (ORDER BY rowid) AS id FROM " + table + " WHERE rowid > " +
        std::to_string(numbering.afterRowid) + " AND (" + column + " IS NULL OR " + column +
        " = 0)) AS n WHERE " + table + ".rowid = n.r";
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    ThrowIfOutOfMemory(rc);
    if (rc != SQLITE_OK) {
        error = ErrorOf(db);
        return false;
    }
    return true;
}

SqliteConnection OpenSqliteMemory(std::string& error) {
    return OpenConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
}

std::unique_ptr<DbDatabase> WrapSqlite(SqliteConnection db) {
    return std::make_unique<SqliteDatabase>(std::move(db));
}

DbKind KindOfDeclaredType(std::string_view declaredType) {
    const std::size_t start = declaredType.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return DbKind::Empty;
    }
    declaredType.remove_prefix(start);
    const std::string_view word = declaredType.substr(0, declaredType.find_first_of(" \t("));
    for (std::string_view name : {"BIT", "BOOLEAN", "YESNO"}) {
        if (EqualsNoCase(word, name)) {
            return DbKind::Boolean;
        }
    }
    for (std::string_view name :
         {"INTEGER", "INT", "LONG", "SHORT", "SMALLINT", "BYTE", "COUNTER"}) {
        if (EqualsNoCase(word, name)) {
            return DbKind::Integer;
        }
    }
    for (std::string_view name : {"TEXT", "MEMO", "VARCHAR", "CHAR", "LONGTEXT"}) {
        if (EqualsNoCase(word, name)) {
            return DbKind::Text;
        }
    }
    return DbKind::Empty;
}

}  // namespace tabrel
