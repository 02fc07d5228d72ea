#include "palm/db6x/jet/JetWriteBack.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "misc/CxSafeReplace.h"
#include "misc/CxWriteError.h"
#include "palm/db6x/jet/JetCatalogue.h"
#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTableRewrite.h"
#include "palm/db6x/jet/JetText.h"
#include "palm/db6x/jet/JetTypes.h"

namespace tabrel {

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The definition of the table named name; nullopt with the reason in error.
std::optional<JetTableDefinition> FindTable(const std::vector<std::uint8_t>& file,
                                            const std::string& name, std::string& error) {
    const auto catalogue = ReadJetCatalogue(file, error);
    if (!catalogue) {
        return std::nullopt;
    }
    for (const JetCatalogueTable& entry : *catalogue) {
        if (entry.name == Wide(name) && !entry.isSystem) {
            return ReadJetTableDefinition(file, entry.definitionPage, error);
        }
    }
    error = "the file has no table " + name;
    return std::nullopt;
}

template <typename T>
std::vector<std::uint8_t> LittleEndian(T value, std::size_t width) {
    std::vector<std::uint8_t> bytes(width);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    for (std::size_t i = 0; i < width; ++i) {
        bytes[i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// The value of the copy's column at the statement's row as the column stores it.
JetWriteValue ValueOf(sqlite3_stmt* row, int at, const JetColumnDefinition& column) {
    using Kind = JetWriteValue::Kind;
    const bool isNull = sqlite3_column_type(row, at) == SQLITE_NULL;
    if (column.type == kJetBool) {
        return {!isNull && sqlite3_column_int64(row, at) != 0 ? Kind::Yes : Kind::No, {}};
    }
    if (isNull) {
        return {Kind::Null, {}};
    }
    switch (column.type) {
        case kJetByte:
        case kJetInt:
        case kJetLong:
            return {Kind::Stored,
                    LittleEndian(sqlite3_column_int64(row, at), column.type == kJetByte  ? 1
                                                                : column.type == kJetInt ? 2
                                                                                         : 4)};
        case kJetMoney:
            return {Kind::Stored,
                    LittleEndian(std::llround(sqlite3_column_double(row, at) * 10000.0), 8)};
        case kJetFloat:
            return {Kind::Stored,
                    LittleEndian(static_cast<float>(sqlite3_column_double(row, at)), 4)};
        case kJetDouble:
        case kJetDateTime:
            return {Kind::Stored, LittleEndian(sqlite3_column_double(row, at), 8)};
        case kJetText:
        case kJetMemo: {
            const auto* units = static_cast<const char16_t*>(sqlite3_column_text16(row, at));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes16(row, at)) / 2;
            return {column.type == kJetMemo ? Kind::Long : Kind::Stored,
                    EncodeJetText(std::u16string_view(units != nullptr ? units : u"", size),
                                  column.compressedUnicode)};
        }
        default: {
            const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(row, at));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(row, at));
            return {column.type == kJetOle ? Kind::Long : Kind::Stored,
                    std::vector<std::uint8_t>(bytes, bytes + size)};
        }
    }
}

// The rows of the copy's table, in the order they were added, as the definition stores
// them; the largest auto-number among them in lastAutoNumber.
std::optional<std::vector<JetWriteRow>> CopyRows(sqlite3* copy, const std::string& name,
                                                 const JetTableDefinition& table,
                                                 std::uint32_t& lastAutoNumber,
                                                 std::string& error) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    const std::string sql = "SELECT * FROM " + quoted + "\" ORDER BY rowid";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(copy, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(copy);
        return std::nullopt;
    }
    const StatementPtr statement(raw);
    // Where each column of the definition is among the copy's columns.
    std::vector<int> places;
    for (const JetColumnDefinition& column : table.columns) {
        int place = -1;
        for (int i = 0; i < sqlite3_column_count(raw); ++i) {
            const auto* named = static_cast<const char16_t*>(sqlite3_column_name16(raw, i));
            if (named != nullptr && column.name == named) {
                place = i;
            }
        }
        if (place < 0) {
            error = "the copy of the table " + name + " lacks one of its columns";
            return std::nullopt;
        }
        places.push_back(place);
    }
    std::vector<JetWriteRow> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        JetWriteRow row;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            row.push_back(ValueOf(raw, places[c], table.columns[c]));
            if (table.columns[c].IsAutoNumber() && row.back().kind == JetWriteValue::Kind::Stored) {
                const auto value = sqlite3_column_int64(raw, places[c]);
                lastAutoNumber = std::max<std::uint32_t>(
                    lastAutoNumber, value > 0 ? static_cast<std::uint32_t>(value) : 0);
            }
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(copy);
        return std::nullopt;
    }
    return rows;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            NoteWriteError(written < 0 ? errno : ENOSPC);
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::string WhyJetTablesUnwritable(const std::vector<std::uint8_t>& file,
                                   const std::set<std::string>& tables) {
    for (const std::string& name : tables) {
        std::string error;
        const auto table = FindTable(file, name, error);
        if (!table) {
            continue;  // a table the file lacks is never written
        }
        const std::string why = WhyJetTableUnwritable(*table);
        if (!why.empty()) {
            return "The table " + name + " cannot be written: " + why + ".";
        }
    }
    return "";
}

bool WriteJetTablesBack(sqlite3* copy, const std::set<std::string>& tables,
                        std::vector<std::uint8_t>& file, const std::string& path,
                        std::string& error) {
    std::vector<std::uint8_t> bytes = file;
    for (const std::string& name : tables) {
        const auto table = FindTable(bytes, name, error);
        if (!table) {
            return false;
        }
        std::uint32_t lastAutoNumber = table->lastAutoNumber;
        const auto rows = CopyRows(copy, name, *table, lastAutoNumber, error);
        if (!rows) {
            return false;
        }
        auto rewritten = RewriteJetTable(bytes, *table, *rows, lastAutoNumber, error);
        if (!rewritten) {
            error = "The table " + name + " cannot be written: " + error + ".";
            return false;
        }
        bytes = std::move(*rewritten);
    }
    CxSafeReplace replacement;
    if (!replacement.Begin(path) || !WriteAll(replacement.GetTempFd(), bytes) ||
        !replacement.Commit()) {
        error = "The file " + path + " could not be written.";
        return false;
    }
    file = std::move(bytes);
    return true;
}

}  // namespace tabrel
