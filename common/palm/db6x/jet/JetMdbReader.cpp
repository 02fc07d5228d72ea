#include "palm/db6x/jet/JetMdbReader.h"

#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "misc/CxByteView.h"
#include "misc/CxText.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetTableStream.h"
#include "palm/db6x/jet/JetText.h"

namespace tabrel {

namespace {

constexpr std::array<std::string_view, 3> kTables = {"Information", "Category", "Main"};
// The low bits of a row's entry in a data page's row table give its start in the page.
constexpr int kRowOffsetMask = 0x1FFF;
// Jet 4 keeps at most this many rows on a page.
constexpr std::size_t kMaxRowsPerPage = 1001;

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using HandlePtr = std::unique_ptr<MdbHandle, HandleCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

MdbColumn* ColumnAt(MdbTableDef* table, unsigned int index) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

// Writes one cell of a row that stands in the handle's page buffer. False with the reason
// in error when the field is damaged.
bool WriteCell(MdbHandle* mdb, const MdbColumn& column, const MdbField& field,
               std::span<const std::uint8_t> file, JetStreamWriter& out, std::string& error) {
    if (column.col_type == MDB_BOOL) {
        out.Integer(field.is_null ? 0 : 1);  // a Yes/No value is its bit in the null mask
        return true;
    }
    if (field.is_null) {
        out.Null();
        return true;
    }
    if (field.start < 0 || field.siz < 0 ||
        static_cast<std::size_t>(field.start) + static_cast<std::size_t>(field.siz) >
            kJetPageSize) {
        error = "The file is damaged: a value lies outside its page.";
        return false;
    }
    const std::span<const std::uint8_t> bytes(mdb->pg_buf + field.start,
                                              static_cast<std::size_t>(field.siz));
    const CxByteView view(bytes);
    const auto fixed = [&](std::size_t size) {
        if (bytes.size() < size) {
            error = "The file is damaged: a value is shorter than its type.";
            return false;
        }
        return true;
    };
    std::vector<std::uint8_t> value;
    switch (column.col_type) {
        case MDB_BYTE:
            if (!fixed(1)) {
                return false;
            }
            out.Integer(*view.U8(0));
            return true;
        case MDB_INT:
            if (!fixed(2)) {
                return false;
            }
            out.Integer(static_cast<std::int16_t>(*view.U16(0)));
            return true;
        case MDB_LONGINT:
            if (!fixed(4)) {
                return false;
            }
            out.Integer(static_cast<std::int32_t>(*view.U32(0)));
            return true;
        case MDB_MONEY:
            if (!fixed(8)) {
                return false;
            }
            out.Number(static_cast<double>(static_cast<std::int64_t>(*view.U64(0))) / 10000.0);
            return true;
        case MDB_FLOAT: {
            if (!fixed(4)) {
                return false;
            }
            const std::uint32_t bits = *view.U32(0);
            float number = 0;
            std::memcpy(&number, &bits, sizeof(number));
            out.Number(number);
            return true;
        }
        case MDB_DOUBLE:
        case MDB_DATETIME: {
            if (!fixed(8)) {
                return false;
            }
            const std::uint64_t bits = *view.U64(0);
            double number = 0;
            std::memcpy(&number, &bits, sizeof(number));
            out.Number(number);
            return true;
        }
        case MDB_TEXT:
            out.Text(DecodeJetText(bytes));
            return true;
        case MDB_MEMO:
            if (!ReadJetLongValue(file, bytes, value, error)) {
                return false;
            }
            out.Text(DecodeJetText(value));
            return true;
        case MDB_OLE:
            if (!ReadJetLongValue(file, bytes, value, error)) {
                return false;
            }
            out.Bytes(value);
            return true;
        default:
            out.Bytes(bytes);
            return true;
    }
}

// Writes one table: its columns, then its rows. rowsLeft bounds the rows of every table
// together by what the file can hold.
bool WriteTable(MdbHandle* mdb, MdbCatalogEntry* entry, std::string_view name,
                std::span<const std::uint8_t> file, std::size_t& rowsLeft, JetStreamWriter& out,
                std::string& error) {
    const std::string damaged = "The file is damaged: the table " + std::string(name);
    if (entry->table_pg == 0 || entry->table_pg >= file.size() / kJetPageSize) {
        error = damaged + " has no definition page.";
        return false;
    }
    const TablePtr table(mdb_read_table(entry));
    if (table != nullptr && table->columns == nullptr) {
        mdb_read_columns(table.get());
    }
    if (table == nullptr || table->columns == nullptr || table->columns->len != table->num_cols) {
        error = damaged + " cannot be read.";
        return false;
    }
    JetTableInfo info;
    info.name = std::string(name);
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        const MdbColumn* column = ColumnAt(table.get(), i);
        info.columns.push_back(
            {column->name, static_cast<std::uint8_t>(column->col_type), column->is_long_auto != 0});
    }
    out.BeginTable(info);

    mdb_rewind_table(table.get());
    std::vector<MdbField> fields(table->num_cols);
    std::vector<int> fieldOfColumn(table->num_cols);
    std::size_t rowsRead = 0;
    while (mdb_fetch_row(table.get()) != 0) {
        ++rowsRead;
        if (rowsLeft == 0) {
            error = damaged + " has more rows than the file can hold.";
            return false;
        }
        --rowsLeft;
        // The row just read stands in the page buffer; crack it again to see its NULLs.
        int start = 0;
        std::size_t length = 0;
        const int row = static_cast<int>(table->cur_row) - 1;
        if (mdb_find_row(mdb, row, &start, &length) != 0 ||
            mdb_crack_row(table.get(), start & kRowOffsetMask, length, fields.data()) < 0) {
            error = damaged + " has a row that cannot be read.";
            return false;
        }
        std::fill(fieldOfColumn.begin(), fieldOfColumn.end(), -1);
        for (unsigned int i = 0; i < table->num_cols; ++i) {
            const int column = fields[i].colnum;
            if (column >= 0 && static_cast<unsigned int>(column) < table->num_cols) {
                fieldOfColumn[static_cast<std::size_t>(column)] = static_cast<int>(i);
            }
        }
        out.BeginRow();
        for (unsigned int i = 0; i < table->num_cols; ++i) {
            const int field = fieldOfColumn[i];
            if (field < 0) {
                out.Null();
            } else if (!WriteCell(mdb, *ColumnAt(table.get(), i),
                                  fields[static_cast<std::size_t>(field)], file, out, error)) {
                return false;
            }
        }
        out.EndRow();
        if (!out.Flush()) {
            error = "The rows cannot be handed over.";
            return false;
        }
    }
    // The data pages a table's rows are on cannot be told from the file alone; the count
    // its definition keeps shows rows that were not found (a file cut or damaged).
    if (rowsRead < table->num_rows) {
        error = "The file is damaged or truncated: the table " + std::string(name) + " holds " +
                std::to_string(rowsRead) + " of the " + std::to_string(table->num_rows) +
                " rows its definition counts.";
        return false;
    }
    return true;
}

bool WriteTables(std::vector<std::uint8_t>& file, JetStreamWriter& out, std::string& error) {
    // Names reach libmdb's character conversion as UTF-8, whatever the environment says.
    ::setenv("MDBICONV", "UTF-8", 1);
    const HandlePtr mdb(mdb_open_buffer(file.data(), file.size(), MDB_NOFLAGS));
    if (mdb == nullptr) {
        error = "The file is damaged: the database cannot be opened.";
        return false;
    }
    const GPtrArray* catalog = mdb_read_catalog(mdb.get(), MDB_TABLE);
    if (catalog == nullptr) {
        error = "The file is damaged: its system catalogue cannot be read.";
        return false;
    }
    std::size_t rowsLeft = file.size() / kJetPageSize * kMaxRowsPerPage;
    for (const std::string_view name : kTables) {
        for (guint i = 0; i < catalog->len; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
            if (entry->object_type == MDB_TABLE && EqualsNoCase(entry->object_name, name)) {
                if (!WriteTable(mdb.get(), entry, name, file, rowsLeft, out, error)) {
                    return false;
                }
                break;
            }
        }
    }
    return true;
}

}  // namespace

int WriteJetTables(std::vector<std::uint8_t>& file, int fd) {
    JetStreamWriter out(fd);
    std::string error;
    if (!WriteTables(file, out, error)) {
        out.Failure(error);
        out.Flush(true);
        return 1;
    }
    out.End();
    return out.Flush(true) ? 0 : 1;
}

}  // namespace tabrel
