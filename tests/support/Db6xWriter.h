#pragma once
// Builds Palm Desktop 6.x databases for tests as SQLite files: the tables "Information",
// "Category" and "Main" with declared types as a Jet schema gives them, text columns
// COLLATE NOCASE. Each application's "Main" columns are a Db6xColumn list. Every call
// opens and closes its own connection, so the writer never holds a lock while the code
// under test works on the file.

#include <sqlite3.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
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
// Contacts: 95 columns, then the binary columns an INSERT fills with 0x00000000.
// clang-format off
inline constexpr Db6xColumn kAddrColumns[] = {
    {"Record ID", "INTEGER"}, {"Status", "INTEGER"}, {"Placement", "INTEGER"}, {"Private", "BIT"},
    {"Category", "TEXT"}, {"Note", "MEMO"}, {"Prefix", "TEXT"}, {"First Name", "TEXT"},
    {"Middle Name", "TEXT"}, {"Last Name", "TEXT"}, {"Suffix", "TEXT"}, {"NickName", "TEXT"},
    {"Anniversary", "INTEGER"}, {"Birthday", "INTEGER"}, {"Profession", "TEXT"},
    {"Company", "TEXT"}, {"Job Title", "TEXT"}, {"Assistant Name", "TEXT"},
    {"Assistant Phone", "TEXT"}, {"Work Street", "TEXT"}, {"Work City", "TEXT"},
    {"Work State", "TEXT"}, {"Work Zip", "TEXT"}, {"Work Country", "TEXT"}, {"Home Street", "TEXT"},
    {"Home City", "TEXT"}, {"Home State", "TEXT"}, {"Home Zip", "TEXT"}, {"Home Country", "TEXT"},
    {"Other Street", "TEXT"}, {"Other City", "TEXT"}, {"Other State", "TEXT"},
    {"Other Zip", "TEXT"}, {"Other Country", "TEXT"}, {"Work Phone", "TEXT"}, {"Work Fax", "TEXT"},
    {"Work Mobile", "TEXT"}, {"Home Phone", "TEXT"}, {"Home Fax", "TEXT"}, {"Home Mobile", "TEXT"},
    {"Other Phone", "TEXT"}, {"Other Fax", "TEXT"}, {"Other Mobile", "TEXT"},
    {"Work E-mail", "TEXT"}, {"E-mail 1", "TEXT"}, {"E-mail 2", "TEXT"}, {"E-mail 3", "TEXT"},
    {"Pager", "TEXT"}, {"Custom 1", "TEXT"}, {"Custom 2", "TEXT"}, {"Custom 3", "TEXT"},
    {"Custom 4", "TEXT"}, {"Primary Contact", "INTEGER"}, {"Phone Label1", "INTEGER"},
    {"Phone Label2", "INTEGER"}, {"Phone Label3", "INTEGER"}, {"Phone Label4", "INTEGER"},
    {"Phone Label5", "INTEGER"}, {"Phone Label6", "INTEGER"}, {"Phone Label7", "INTEGER"},
    {"First Yomi", "TEXT"}, {"Last Yomi", "TEXT"}, {"Company Yomi", "TEXT"}, {"Chat1", "TEXT"},
    {"Chat2", "TEXT"}, {"Chat1 LabelID", "INTEGER"}, {"Chat2 LabelID", "INTEGER"},
    {"Website", "TEXT"}, {"Custom 5", "TEXT"}, {"Custom 6", "TEXT"}, {"Custom 7", "TEXT"},
    {"Custom 8", "TEXT"}, {"Custom 9", "TEXT"}, {"Custom 10", "TEXT"}, {"Custom 11", "TEXT"},
    {"Custom 12", "TEXT"}, {"Custom 13", "TEXT"}, {"Custom 14", "TEXT"},
    {"Birthday AlarmSet", "BIT"}, {"Birthday AlarmAdv", "INTEGER"}, {"Avatar", "INTEGER"},
    {"Addr Label1", "INTEGER"}, {"Addr Label2", "INTEGER"}, {"Addr Label3", "INTEGER"},
    {"Anniversary AlarmSet", "BIT"}, {"Anniversary AlarmAdv", "INTEGER"}, {"English Name", "TEXT"},
    {"Picture URL", "TEXT"}, {"Picture Filename", "TEXT"}, {"Picture MIME type", "TEXT"},
    {"Picture Sync counter", "TEXT"}, {"Ringtone URL", "TEXT"}, {"Ringtone Filename", "TEXT"},
    {"Ringtone MIME type", "TEXT"}, {"Ringtone Sync counter", "TEXT"}, {"Photo", "LONGBINARY"},
    {"VoiceTag", "LONGBINARY"}, {"Ringtone", "LONGBINARY"}, {"Blob", "LONGBINARY"}};
// clang-format on
// Calendar: the number texts (Category, Start Time, End Time) as text columns.
inline constexpr Db6xColumn kDateColumns[] = {
    {"Record ID", "INTEGER"},   {"Status", "INTEGER"},        {"Placement", "INTEGER"},
    {"Private", "BIT"},         {"Category", "TEXT"},         {"Note", "MEMO"},
    {"Start Time", "TEXT"},     {"End Time", "TEXT"},         {"Untimed", "BIT"},
    {"Time Zone", "TEXT"},      {"Location", "TEXT"},         {"Summary", "TEXT"},
    {"Alarm", "BIT"},           {"Alarm Advance", "INTEGER"}, {"Alarm Unit", "INTEGER"},
    {"Repeated Event", "TEXT"}, {"Blob", "LONGBINARY"}};
// Tasks: the number texts (Category and the four dates) as text columns.
// clang-format off
inline constexpr Db6xColumn kTodoColumns[] = {
    {"Record ID", "INTEGER"}, {"Status", "INTEGER"}, {"Placement", "INTEGER"}, {"Private", "BIT"},
    {"Category", "TEXT"}, {"Note", "MEMO"}, {"Description", "TEXT"}, {"Due Date", "TEXT"},
    {"Completed", "BIT"}, {"Priority", "INTEGER"}, {"Repeat On Complete Date", "BIT"},
    {"Complete Date", "TEXT"}, {"Alarm Set", "BIT"}, {"Alarm Time", "TEXT"},
    {"Alarm Advance", "INTEGER"}, {"Repeat Start Date", "TEXT"}, {"Repeat Info", "TEXT"},
    {"Blob", "LONGBINARY"}};
// clang-format on

class Db6xWriter {
  public:
    // Creates the file with the three tables; main lists the columns of "Main".
    Db6xWriter(std::string path, std::span<const Db6xColumn> main) : m_path(std::move(path)) {
        Exec(CreateTable("Information", kInformationColumns) + ";" +
             CreateTable("Category", kCategoryColumns) + ";" + CreateTable("Main", main));
    }

    // A writer on an existing file (nothing is created).
    static Db6xWriter Attach(std::string path) { return Db6xWriter(std::move(path)); }

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

    // Inserts one row into "Main": each column given by its name and an SQL literal; the
    // others are NULL.
    void InsertMain(const std::vector<std::pair<std::string, std::string>>& values) const {
        std::string names;
        std::string literals;
        for (const auto& [name, literal] : values) {
            names += (names.empty() ? "[" : ", [") + name + "]";
            literals += (literals.empty() ? "" : ", ") + literal;
        }
        Exec("INSERT INTO Main (" + names + ") VALUES (" + literals + ")");
    }

    // Inserts one row into "Main" whose columns hold 0 or the empty text, but the given
    // ones (name and SQL literal) and the binary ones (NULL).
    void InsertZeroRow(std::span<const Db6xColumn> columns,
                       const std::vector<std::pair<std::string, std::string>>& given) const {
        std::vector<std::pair<std::string, std::string>> values;
        for (const Db6xColumn& column : columns) {
            const std::string name(column.name);
            std::string literal = column.type == "TEXT" || column.type == "MEMO" ? "''"
                                  : column.type == "LONGBINARY"                  ? "NULL"
                                                                                 : "0";
            for (const auto& [other, value] : given) {
                if (other == name) {
                    literal = value;
                }
            }
            values.emplace_back(name, literal);
        }
        InsertMain(values);
    }

    // A distinct value for every column of a "Main" table but its binary ones, as the
    // column's text: an INTEGER column at position i holds 1000 + i, a BIT column 1, a text
    // column "c" followed by i, and a text column named in numberTexts 1000 + i as text.
    static std::vector<std::pair<std::string, std::string>> SampleValues(
        std::span<const Db6xColumn> columns, std::span<const std::string_view> numberTexts) {
        std::vector<std::pair<std::string, std::string>> values;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Db6xColumn& column = columns[i];
            const bool numberText =
                std::find(numberTexts.begin(), numberTexts.end(), column.name) != numberTexts.end();
            std::string value;
            if (column.type == "INTEGER" || numberText) {
                value = std::to_string(1000 + i);
            } else if (column.type == "BIT") {
                value = "1";
            } else if (column.type == "TEXT" || column.type == "MEMO") {
                value = "c" + std::to_string(i);
            } else {
                continue;
            }
            values.emplace_back(std::string(column.name), value);
        }
        return values;
    }
    // SampleValues as SQL literals, for InsertMain.
    static std::vector<std::pair<std::string, std::string>> SampleLiterals(
        std::span<const Db6xColumn> columns, std::span<const std::string_view> numberTexts) {
        auto values = SampleValues(columns, numberTexts);
        for (std::size_t i = 0, column = 0; i < values.size(); ++i, ++column) {
            while (columns[column].name != values[i].first) {
                ++column;
            }
            const std::string_view type = columns[column].type;
            if (type == "TEXT" || type == "MEMO") {
                values[i].second = Quote(values[i].second);
            }
        }
        return values;
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
    explicit Db6xWriter(std::string path) : m_path(std::move(path)) {}

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
