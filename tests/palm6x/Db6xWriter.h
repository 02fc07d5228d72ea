#pragma once
// Builds Palm Desktop 6.x databases for tests as SQLite files: the tables "Information",
// "Category" and "Main" with declared types as a Jet schema gives them, text columns
// COLLATE NOCASE. Each application's "Main" columns are a Db6xColumn list (Memos below;
// add the others beside it). Every call opens and closes its own connection, so the
// writer never holds a lock while the code under test works on the file.

#include <sqlite3.h>

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel::test {

struct Db6xColumn {
    std::string_view name;
    std::string_view type;  // "INTEGER", "TEXT", "MEMO", "BIT", "DATETIME", ...
};

inline constexpr Db6xColumn kInformationColumns[] = {{"Name", "TEXT"}, {"Note", "MEMO"}};
inline constexpr Db6xColumn kCategoryColumns[] = {
    {"ID", "INTEGER"}, {"Name", "TEXT"}, {"Status", "INTEGER"}, {"Color", "INTEGER"}};
inline constexpr Db6xColumn kMemoColumns[] = {
    {"Record ID", "INTEGER"}, {"Status", "INTEGER"}, {"Placement", "INTEGER"}, {"Private", "BIT"},
    {"Category", "TEXT"},     {"Note", "MEMO"},      {"Blob", "LONGBINARY"}};

class Db6xWriter {
  public:
    // Creates the file with the three tables; main lists the columns of "Main".
    Db6xWriter(std::string path, std::span<const Db6xColumn> main) : m_path(std::move(path)) {
        Exec(CreateTable("Information", kInformationColumns) + ";" +
             CreateTable("Category", kCategoryColumns) + ";" + CreateTable("Main", main));
    }

    const std::string& Path() const { return m_path; }

    // Runs SQL text (one or more statements); throws when SQLite refuses it.
    void Exec(const std::string& sql) const {
        Connection db(m_path);
        char* message = nullptr;
        if (sqlite3_exec(db.handle, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message != nullptr ? message : "?";
            sqlite3_free(message);
            throw std::runtime_error(text + " in " + sql);
        }
    }

    void AddCategory(int id, std::string_view name, int status = 1, int color = 0) const {
        Exec("INSERT INTO Category VALUES (" + std::to_string(id) + ", " + Quote(name) + ", " +
             std::to_string(status) + ", " + std::to_string(color) + ")");
    }
    void AddInfo(std::string_view name, std::string_view note) const {
        Exec("INSERT INTO Information VALUES (" + Quote(name) + ", " + Quote(note) + ")");
    }

    // The rows of a query, each value as text ("NULL" for a NULL).
    std::vector<std::vector<std::string>> Rows(const std::string& sql) const {
        Connection db(m_path);
        std::vector<std::vector<std::string>> rows;
        sqlite3_exec(
            db.handle, sql.c_str(),
            [](void* out, int count, char** values, char**) {
                auto& all = *static_cast<std::vector<std::vector<std::string>>*>(out);
                all.emplace_back();
                for (int i = 0; i < count; ++i) {
                    all.back().push_back(values[i] != nullptr ? values[i] : "NULL");
                }
                return 0;
            },
            &rows, nullptr);
        return rows;
    }

    static std::string Quote(std::string_view text) {
        std::string quoted = "'";
        for (char c : text) {
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        }
        return quoted + "'";
    }

  private:
    struct Connection {
        explicit Connection(const std::string& path) {
            sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr);
        }
        ~Connection() { sqlite3_close(handle); }
        sqlite3* handle = nullptr;
    };

    static std::string CreateTable(std::string_view table, std::span<const Db6xColumn> columns) {
        std::string sql = "CREATE TABLE " + std::string(table) + " (";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string type(columns[i].type);
            const bool text = type == "TEXT" || type == "MEMO";
            sql += (i == 0 ? "[" : ", [") + std::string(columns[i].name) + "] " + type +
                   (text ? " COLLATE NOCASE" : "");
        }
        return sql + ")";
    }

    std::string m_path;
};

}  // namespace tabrel::test
