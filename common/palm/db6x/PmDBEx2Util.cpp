#include "palm/db6x/PmDBEx2Util.h"

#include <array>
#include <filesystem>

#include "misc/CxDebugUtil.h"

namespace tabrel {

namespace {

constexpr std::string_view kMain = "Main";

// A NULL (Palm Desktop and Access leave optional columns NULL) reads as zero or empty and
// is no failure; any other value the field cannot take is logged. The answer: whether the
// value was one of those.
bool LogUnexpected(const DbRow& row, std::size_t column, std::string_view name) {
    if (column < row.size() && row[column].IsNull()) {
        return true;
    }
    const int kind = column < row.size() ? static_cast<int>(row[column].GetKind()) : -1;
    CX_LOG(kLogFailure,
           "The column %s holds a value of an unexpected kind (%d); its field is left zero.",
           std::string(name), kind);
    return false;
}

}  // namespace

bool PmDBEx2Util::OpenDatabase(int kind, const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return false;
    }
    if (m_pAccessor == nullptr) {
        m_pAccessor = std::make_unique<PmMDBAccessor>(kind, path);
    } else {
        m_pAccessor->Connect(kind, path);
    }
    m_categories.SetAccessor(m_pAccessor.get());
    if (!m_pAccessor->IsConnected()) {
        // A file that could not be opened is not loaded: reporting it loaded, with nothing
        // in it, would let a save "succeed" against it.
        m_categories.Clear();
        return false;
    }
    LoadCategories();
    return true;
}

bool PmDBEx2Util::LoadCategories() {
    if (m_pAccessor == nullptr) {
        return false;
    }
    CX_LOG(kLogProgress, "Start loading Palm Desktop category information.");
    m_categories.Clear();
    static constexpr std::array<std::string_view, 4> kColumns = {"ID", "Name", "Status", "Color"};
    DbRow row;
    bool got = m_pAccessor->SelectFirst("Category", kColumns, row);
    while (got) {
        PmCategoryEx2 category;
        if (row.size() == kColumns.size()) {
            ReadInteger(row, 0, kColumns[0], category.m_nId);
            ReadText(row, 1, kColumns[1], category.m_szName, PmCategoryEx2::kNameReadMax + 1);
            ReadInteger(row, 2, kColumns[2], category.m_nStatus);
            ReadInteger(row, 3, kColumns[3], category.m_nColor);
        }
        CX_LOG(kLogProgress, "Category loaded: %s", category.m_szName);
        m_categories.Add(category);
        got = m_pAccessor->SelectNext("Category", kColumns, row);
    }
    CX_LOG(kLogProgress, "Categories information loaded successfully.");
    return true;
}

bool PmDBEx2Util::LoadInformation() {
    if (m_pAccessor == nullptr) {
        return false;
    }
    static constexpr std::array<std::string_view, 2> kColumns = {"Name", "Note"};
    struct IntegerEntry {
        std::string_view name;
        std::int32_t PmInfoEx2::*member;
    };
    static constexpr std::array<IntegerEntry, 6> kIntegers = {{
        {"License", &PmInfoEx2::m_nLicense},
        {"Version", &PmInfoEx2::m_nVersion},
        {"Minor", &PmInfoEx2::m_nMinor},
        {"CodePage", &PmInfoEx2::m_nCodePage},
        {"PreSahara", &PmInfoEx2::m_nPreSahara},
        {"FreeRecID", &PmInfoEx2::m_nFreeRecId},
    }};
    DbRow row;
    bool got = m_pAccessor->SelectFirst("Information", kColumns, row);
    while (got) {
        std::string name;
        if (row.size() == 2 && row[1].GetKind() == DbKind::Text && ValueToText(row[0], name)) {
            for (const IntegerEntry& entry : kIntegers) {
                if (name == entry.name) {
                    m_info.*entry.member = LeadingNumber(row[1].GetText());
                }
            }
            if (name == "TableString") {
                ValueToText(row[1], m_info.m_szTableString, PmInfoEx2::kTableStringMax + 1);
            }
        }
        got = m_pAccessor->SelectNext("Information", kColumns, row);
    }
    return true;
}

bool PmDBEx2Util::SelectRecordById(std::int32_t id, std::span<const std::string_view> columns,
                                   DbRow& row) {
    if (m_pAccessor == nullptr) {
        return false;
    }
    static constexpr std::array<std::string_view, 1> kKey = {"Record ID"};
    const std::array<DbValue, 1> values = {MakeIntegerValue(id)};
    return SelectRecords(BuildWhere(kKey, values), columns, row);
}

bool PmDBEx2Util::SelectRecords(std::string_view where, std::span<const std::string_view> columns,
                                DbRow& row) {
    if (m_pAccessor == nullptr) {
        return false;
    }
    return m_pAccessor->OpenQuery(m_pAccessor->BuildMainSql(where, SqlSelect, columns), row);
}

bool PmDBEx2Util::SelectAllRecords(std::string_view where,
                                   std::span<const std::string_view> columns,
                                   std::vector<DbRow>& rows) {
    if (m_pAccessor == nullptr) {
        return false;
    }
    return m_pAccessor->QueryAll(m_pAccessor->BuildMainSql(where, SqlSelect, columns), rows);
}

bool PmDBEx2Util::ReadInteger(const DbRow& row, std::size_t column, std::string_view name,
                              std::int32_t& field) {
    if (column < row.size() && ValueToInteger(row[column], field)) {
        return true;
    }
    field = 0;
    return LogUnexpected(row, column, name);
}

bool PmDBEx2Util::ReadBoolean(const DbRow& row, std::size_t column, std::string_view name,
                              std::uint8_t& field) {
    if (column < row.size() && ValueToBoolean(row[column], field)) {
        return true;
    }
    field = 0;
    return LogUnexpected(row, column, name);
}

bool PmDBEx2Util::ReadText(const DbRow& row, std::size_t column, std::string_view name,
                           std::string& field, std::size_t size) {
    if (column < row.size() && ValueToText(row[column], field, size)) {
        return true;
    }
    field.clear();
    return LogUnexpected(row, column, name);
}

PmDBEx2Util::RowMatch PmDBEx2Util::FindStoredRow(std::span<const std::string_view> columns,
                                                 std::span<const std::size_t> keyColumns,
                                                 const DbRow& keyValues, const DbRow* remembered,
                                                 std::string& clause, DbRow& row) {
    std::vector<std::string_view> keyNames;
    for (std::size_t key : keyColumns) {
        keyNames.push_back(columns[key]);
    }
    clause = BuildWhere(keyNames, keyValues);
    std::vector<DbRow> rows;
    if (clause.empty() || !SelectAllRecords(clause, columns, rows)) {
        return RowMatch::Failed;
    }
    if (rows.size() > 1 && remembered != nullptr && remembered->size() == columns.size()) {
        // Several rows share the key values: keep those equal to the remembered row in
        // every column that has a value.
        std::vector<std::string_view> names;
        DbRow values;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (!(*remembered)[i].IsEmpty()) {
                names.push_back(columns[i]);
                values.push_back((*remembered)[i]);
            }
        }
        clause = BuildWhere(names, values);
        if (clause.empty() || !SelectAllRecords(clause, columns, rows)) {
            return RowMatch::Failed;
        }
    }
    if (rows.empty()) {
        return RowMatch::None;
    }
    if (rows.size() > 1) {
        CX_LOG(kLogFailure,
               "The record matches %d rows of the table Main and cannot be told apart: %s",
               static_cast<int>(rows.size()), clause);
        return RowMatch::Several;
    }
    row = std::move(rows.front());
    return RowMatch::One;
}

bool PmDBEx2Util::WriteColumns(bool update, std::string_view clause,
                               std::span<const std::string_view> names,
                               std::span<const DbValue> values) {
    if (m_pAccessor == nullptr || (update && clause.empty())) {
        return false;
    }
    const std::string statement = m_pAccessor->BuildMainSql(
        update ? clause : "", update ? SqlUpdate : SqlInsert, names, values);
    if (!m_pAccessor->ExecuteSql(statement, false)) {
        return false;
    }
    if (m_pAccessor->GetRowsAffected() == 0) {
        CX_LOG(kLogFailure, "The statement changed no row of the table %s: %s", std::string(kMain),
               statement);
        return false;
    }
    return true;
}

DbDatabase* PmDBEx2Util::OpenedDatabase() const {
    const DbConnection* connection = m_pAccessor ? m_pAccessor->GetConnection() : nullptr;
    return connection != nullptr && connection->IsOpen() ? connection->GetDatabase() : nullptr;
}

bool PmDBEx2Util::IsReadOnly() const {
    const DbDatabase* database = OpenedDatabase();
    return database != nullptr && database->IsReadOnly();
}

std::string PmDBEx2Util::WhyReadOnly() const {
    const DbDatabase* database = OpenedDatabase();
    return database != nullptr ? database->WhyReadOnly() : std::string();
}

bool PmDBEx2Util::BeginPass() {
    DbDatabase* database = OpenedDatabase();
    std::string error;
    if (database != nullptr && !database->BeginPass(error)) {
        CX_LOG(kLogFailure, "Failed to begin writing the database: %s", error);
        return false;
    }
    return true;
}

void PmDBEx2Util::AbandonPass() {
    if (DbDatabase* database = OpenedDatabase()) {
        database->AbandonPass();
    }
}

bool PmDBEx2Util::Flush() {
    DbDatabase* database = OpenedDatabase();
    std::string error;
    if (database != nullptr && !database->Flush(error)) {
        CX_LOG(kLogFailure, "Failed to write the database file: %s", error);
        return false;
    }
    return true;
}

}  // namespace tabrel
