// Jet 4 database files for tests. The file is laid out in this page order:
//   page 0            database header
//   page 1            usage maps of all tables (more map pages at the end when needed)
//   page 2            table definition of the system catalogue MSysObjects
//   then              the table definition pages of the user tables, in the given order
//   then              the data pages of MSysObjects, then per user table its data pages and
//                     long-value pages
// Every integer is little-endian. A row pointer is (page << 8) | row.

#include "support/JetWriter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "support/jetwrite/Columns.h"
#include "support/jetwrite/Definition.h"
#include "support/jetwrite/Header.h"
#include "support/jetwrite/Pages.h"
#include "support/jetwrite/Text.h"
#include "support/jetwrite/Values.h"

namespace tabrel::test {
namespace {

using namespace jetwrite;

constexpr std::uint32_t kTablesContainerId = 0x0F000001;  // "Tables" in MSysObjects
constexpr std::uint32_t kRootContainerId = 0x0F000000;
constexpr std::uint32_t kSystemTableFlags = 0x80000002;
constexpr std::uint32_t kContainerFlags = 0x80000000;

// One row:
//   offset  size  meaning
//   0       2     number of columns
//   2       f     the fixed columns at their offsets (zero when NULL)
//   2+f     v     the non-NULL variable columns, first to last
//   ...     2     end of the variable data (offset in the row)      } only when the
//   ...     2*n   offset of each variable column, the last first     } table has
//   ...     2     number of variable columns n                       } variable columns
//   ...     m     null mask, (columns + 7) / 8 bytes: bit c set = column c has a value
//                 (for Yes/No: bit set = Yes)
Bytes EncodeRow(const JetTable& table, const TableShape& shape, const std::vector<JetValue>& row,
                bool compress, bool allowInline, RowPages& lval) {
    const std::size_t count = table.columns.size();
    Bytes out(2 + shape.fixedBytes, 0);
    Put16(out, 0, static_cast<std::uint32_t>(count));
    Bytes nullMask((count + 7) / 8, 0);
    std::vector<std::uint32_t> varOffsets(shape.varCount, 0);
    for (std::size_t c = 0; c < count; ++c) {
        const JetColumn& column = table.columns[c];
        const JetValue& value = row[c];
        const ColumnPlace& place = shape.places[c];
        bool present = !std::holds_alternative<std::monostate>(value);
        if (column.type == JetType::Bool) {
            present = present && IntegerOf(value, column) != 0;
        } else if (place.fixed && present) {
            const Bytes bytes = FixedBytes(value, column);
            std::copy(bytes.begin(), bytes.end(),
                      out.begin() + static_cast<std::ptrdiff_t>(2 + place.fixedOffset));
        }
        if (present) {
            nullMask[c / 8] = static_cast<std::uint8_t>(nullMask[c / 8] | (1u << (c % 8)));
        }
    }
    for (std::size_t c = 0; c < count; ++c) {
        const ColumnPlace& place = shape.places[c];
        if (place.fixed) {
            continue;
        }
        varOffsets[place.varIndex] = static_cast<std::uint32_t>(out.size());
        if (std::holds_alternative<std::monostate>(row[c])) {
            continue;
        }
        const JetColumn& column = table.columns[c];
        Bytes bytes = VariableBytes(row[c], column, compress);
        if (IsLong(column.type)) {
            bytes = LongValueField(bytes, allowInline, lval);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    if (shape.varCount > 0) {
        Append16(out, static_cast<std::uint32_t>(out.size()));
        for (std::size_t v = shape.varCount; v-- > 0;) {
            Append16(out, varOffsets[v]);
        }
        Append16(out, static_cast<std::uint32_t>(shape.varCount));
    }
    out.insert(out.end(), nullMask.begin(), nullMask.end());
    return out;
}

// ---- the system catalogue ----

JetTable CatalogTable(const std::vector<JetTable>& tables,
                      const std::vector<std::uint32_t>& definitionPages) {
    JetTable catalog{"MSysObjects",
                     {{"Id", JetType::Long},
                      {"ParentId", JetType::Long},
                      {"Name", JetType::Text, 128},
                      {"Type", JetType::Int},
                      {"DateCreate", JetType::DateTime},
                      {"DateUpdate", JetType::DateTime},
                      {"Flags", JetType::Long},
                      {"ForeignName", JetType::Text, 128},
                      {"Connect", JetType::Memo},
                      {"Database", JetType::Memo},
                      {"LvProp", JetType::Ole}},
                     {}};
    const auto entry = [&](std::uint32_t id, std::uint32_t parent, const std::string& name,
                           std::int64_t type, std::uint32_t flags) {
        catalog.rows.push_back({static_cast<std::int64_t>(static_cast<std::int32_t>(id)),
                                static_cast<std::int64_t>(static_cast<std::int32_t>(parent)), name,
                                type, kCreationDate, kCreationDate,
                                static_cast<std::int64_t>(static_cast<std::int32_t>(flags)),
                                JetValue{}, JetValue{}, JetValue{}, JetValue{}});
    };
    entry(kTablesContainerId, kRootContainerId, "Tables", 3, kContainerFlags);
    entry(2, kTablesContainerId, "MSysObjects", 1, kSystemTableFlags);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        entry(definitionPages[i], kTablesContainerId, tables[i].name, 1, 0);
    }
    return catalog;
}

void CheckTable(const JetTable& table) {
    if (table.name.empty() || Utf16(table.name).size() > 64) {
        Refuse("a table name has 1 to 64 characters");
    }
    if (table.columns.empty() || table.columns.size() > 255) {
        Refuse("table \"" + table.name + "\" needs 1 to 255 columns");
    }
    for (const JetColumn& column : table.columns) {
        if (column.autoNumber && column.type != JetType::Long) {
            Refuse("autonumber column \"" + column.name + "\" must be Long");
        }
        if (column.type == JetType::Text && (column.textChars == 0 || column.textChars > 255)) {
            Refuse("text column \"" + column.name + "\" holds 1 to 255 characters");
        }
    }
    for (const auto& row : table.rows) {
        if (row.size() != table.columns.size()) {
            Refuse("a row of table \"" + table.name + "\" has " + std::to_string(row.size()) +
                   " cells for " + std::to_string(table.columns.size()) + " columns");
        }
    }
}

// Fills autonumber cells left NULL, continuing after the highest number given; answers the
// next number of the table.
std::uint32_t NumberRows(JetTable& table) {
    std::int64_t next = 1;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (!table.columns[c].autoNumber) {
            continue;
        }
        for (const auto& row : table.rows) {
            if (const auto* v = std::get_if<std::int64_t>(&row[c])) {
                next = std::max(next, *v + 1);
            }
        }
        for (auto& row : table.rows) {
            if (std::holds_alternative<std::monostate>(row[c])) {
                row[c] = next++;
            }
        }
    }
    return static_cast<std::uint32_t>(next);
}

// The data pages of one table; its long-value pages in longValuePages.
std::vector<std::uint32_t> WriteRows(PageSet& pages, const JetTable& table,
                                     std::uint32_t definitionPage, bool compress,
                                     std::vector<std::uint32_t>& longValuePages) {
    const TableShape shape = ShapeOf(table.columns);
    RowPages data(pages, RowPages::Kind::Data, definitionPage);
    RowPages lval(pages, RowPages::Kind::LongValue, 0);
    for (const auto& row : table.rows) {
        Bytes bytes = EncodeRow(table, shape, row, compress, true, lval);
        if (bytes.size() > kMaxRow) {
            bytes = EncodeRow(table, shape, row, compress, false, lval);
        }
        data.Add(bytes);
    }
    longValuePages = lval.Pages();
    return data.Pages();
}

}  // namespace

std::vector<std::uint8_t> BuildJetDatabase(const std::vector<JetTable>& tables,
                                           const JetOptions& options) {
    std::vector<JetTable> user = tables;
    for (const JetTable& table : user) {
        CheckTable(table);
    }
    std::vector<TableFacts> facts(user.size() + 1);
    for (std::size_t i = 0; i < user.size(); ++i) {
        facts[i + 1].nextAutoNumber = NumberRows(user[i]);
        facts[i + 1].rows = static_cast<std::uint32_t>(user[i].rows.size());
        facts[i + 1].listLongValueMaps = options.longValueMaps;
    }
    facts[0].listLongValueMaps = false;

    PageSet pages;
    pages.Add();  // 0: header
    pages.Add();  // 1: usage maps
    pages.Add();  // 2: MSysObjects definition
    // Definition pages of the user tables; their size does not depend on page numbers.
    std::vector<std::vector<std::uint32_t>> definitionPages(user.size());
    std::vector<std::uint32_t> firstDefinitionPage;
    for (std::size_t i = 0; i < user.size(); ++i) {
        const Bytes stream =
            DefinitionStream(user[i], ShapeOf(user[i].columns), facts[i + 1], options.compressText);
        for (std::size_t n = DefinitionPageCount(stream.size()); n > 0; --n) {
            definitionPages[i].push_back(pages.Add());
        }
        firstDefinitionPage.push_back(definitionPages[i].front());
    }

    JetTable catalog = CatalogTable(user, firstDefinitionPage);
    CheckTable(catalog);
    facts[0].system = true;
    facts[0].rows = static_cast<std::uint32_t>(catalog.rows.size());

    std::vector<std::vector<std::uint32_t>> dataPages;
    std::vector<std::vector<std::uint32_t>> longValuePages(facts.size());
    dataPages.push_back(WriteRows(pages, catalog, 2, options.compressText, longValuePages[0]));
    for (std::size_t i = 0; i < user.size(); ++i) {
        dataPages.push_back(WriteRows(pages, user[i], firstDefinitionPage[i], options.compressText,
                                      longValuePages[i + 1]));
    }

    // Usage maps: on page 1, and on further map pages at the end when page 1 is full.
    RowPages maps(pages, RowPages::Kind::Map, 0);
    maps.Adopt(1);
    for (std::size_t t = 0; t < facts.size(); ++t) {
        facts[t].usedMap = maps.Add(UsageMap(dataPages[t]));
        facts[t].freeMap = maps.Add(UsageMap({}));
        const std::vector<JetColumn>& columns = t == 0 ? catalog.columns : user[t - 1].columns;
        for (const JetColumn& column : columns) {
            if (facts[t].listLongValueMaps &&
                (column.type == JetType::Memo || column.type == JetType::Ole)) {
                const bool first = facts[t].longValueMaps.empty();
                facts[t].longValueMaps.push_back(
                    maps.Add(UsageMap(first ? longValuePages[t] : std::vector<std::uint32_t>{})));
                facts[t].longValueMaps.push_back(maps.Add(UsageMap({})));
            }
        }
    }

    WriteDefinition(pages, {2},
                    DefinitionStream(catalog, ShapeOf(catalog.columns), facts[0], false));
    for (std::size_t i = 0; i < user.size(); ++i) {
        const Bytes stream =
            DefinitionStream(user[i], ShapeOf(user[i].columns), facts[i + 1], options.compressText);
        WriteDefinition(pages, definitionPages[i], stream);
    }
    pages[0] = HeaderPage(options);
    return pages.Join();
}

JetType JetTypeFromDeclared(std::string_view declared) {
    if (declared == "INTEGER") {
        return JetType::Long;
    }
    if (declared == "BIT") {
        return JetType::Bool;
    }
    if (declared == "MEMO") {
        return JetType::Memo;
    }
    if (declared == "LONGBINARY") {
        return JetType::Ole;
    }
    if (declared == "DATETIME") {
        return JetType::DateTime;
    }
    return JetType::Text;
}

}  // namespace tabrel::test
