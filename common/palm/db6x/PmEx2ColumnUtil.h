#pragma once
// PmEx2Column<Record> and PmEx2ColumnUtil<Record>: the frame of a Palm Desktop 6.x reader
// whose columns of "Main" each map to one field of its record (Contacts, Calendar, Tasks).
// The reader gives a column table, in the order the columns are selected and inserted, the
// columns its comparison looks at and the columns that can enter its change list, in the
// order they enter it; this frame then reads rows, makes column values, compares records
// and lists their changes.
//
//   kind        field         written as                        read with
//   Integer     std::int32_t  decimal literal, 7                ValueToInteger
//   Boolean     std::uint8_t  "1" or "0"                        ValueToBoolean
//   Text        std::string   quoted literal, 'It''s'           ValueToText, cut to the
//                                                               capacity less one byte
//   NumberText  std::int32_t  quoted decimal text, '3'          ValueToInteger (an integer
//                                                               or a decimal text)
// A value that does not convert leaves its field zero and is logged (PmDBEx2Util).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "palm/db6x/PmEx2RecordUtil.h"

namespace tabrel {

enum class PmEx2ColumnKind : std::uint8_t { Integer, Boolean, Text, NumberText };

template <class Record>
struct PmEx2Column {
    using Field =
        std::variant<std::int32_t Record::*, std::uint8_t Record::*, std::string Record::*>;

    std::string_view name;
    PmEx2ColumnKind kind = PmEx2ColumnKind::Integer;
    Field field;
    // Texts: the field's width in bytes with its terminator; kWholeText keeps the text whole.
    std::size_t capacity = 0;
};

// Whether a column table names the columns of names, in their order, each with a field of
// its kind's type (for static_assert).
template <class Record>
constexpr bool ColumnTableMatches(std::span<const PmEx2Column<Record>> table,
                                  std::span<const std::string_view> names) {
    if (table.size() != names.size()) {
        return false;
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PmEx2Column<Record>& column = table[i];
        const std::size_t wanted = column.kind == PmEx2ColumnKind::Boolean ? 1
                                   : column.kind == PmEx2ColumnKind::Text  ? 2
                                                                           : 0;
        if (column.name != names[i] || column.field.index() != wanted ||
            (wanted == 2) != (column.capacity != 0)) {
            return false;
        }
    }
    return true;
}

// The positions 0 to Count - 1 but those left out, in order (for the compared and
// change-list tables).
template <std::size_t Count, std::size_t Out>
constexpr std::array<std::size_t, Count - Out> ColumnsExcept(
    const std::array<std::size_t, Out>& leftOut) {
    std::array<std::size_t, Count - Out> columns{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        if (std::find(leftOut.begin(), leftOut.end(), i) == leftOut.end()) {
            columns.at(n++) = i;
        }
    }
    return columns;
}

template <class Record>
class PmEx2ColumnUtil : public PmEx2RecordUtil<Record> {
  public:
    // What the frame needs of a reader's table "Main".
    struct Mapping {
        std::span<const PmEx2Column<Record>> table;
        std::span<const std::size_t> compared;     // columns the comparison looks at
        std::span<const std::size_t> changeOrder;  // columns that can enter the change list
    };

  protected:
    PmEx2ColumnUtil(const PmEx2AppInfo& info, const Mapping& mapping)
        : PmEx2RecordUtil<Record>(info), m_mapping(mapping) {}

    // Every column of the row into its field.
    void ReadRow(const DbRow& row, Record& record) override {
        for (std::size_t i = 0; i < m_mapping.table.size(); ++i) {
            const PmEx2Column<Record>& column = m_mapping.table[i];
            if (const auto* integer = std::get_if<0>(&column.field)) {
                PmDBEx2Util::ReadInteger(row, i, column.name, record.**integer);
            } else if (const auto* boolean = std::get_if<1>(&column.field)) {
                PmDBEx2Util::ReadBoolean(row, i, column.name, record.**boolean);
            } else if (const auto* text = std::get_if<2>(&column.field)) {
                PmDBEx2Util::ReadText(row, i, column.name, record.**text, column.capacity);
            }
        }
    }

    bool MakeColumnValue(const Record& record, std::size_t position, DbValue& value) override {
        if (position >= m_mapping.table.size()) {
            return false;
        }
        const PmEx2Column<Record>& column = m_mapping.table[position];
        if (const auto* integer = std::get_if<0>(&column.field)) {
            value = column.kind == PmEx2ColumnKind::NumberText
                        ? MakeNumberTextValue(record.**integer)
                        : MakeIntegerValue(record.**integer);
        } else if (const auto* boolean = std::get_if<1>(&column.field)) {
            value = MakeBooleanValue(record.**boolean);
        } else if (const auto* text = std::get_if<2>(&column.field)) {
            value = MakeTextValue(record.**text);
        }
        return true;
    }

    // Equal when every compared column is: numbers by value, texts byte for byte.
    bool Equals(const Record& record, const Record& stored) override {
        for (std::size_t column : m_mapping.compared) {
            if (!ColumnEquals(record, stored, column)) {
                return false;
            }
        }
        return true;
    }

    // The columns of the change order whose values differ, in that order.
    std::vector<std::size_t> ChangeList(const Record& record, const Record& stored) override {
        std::vector<std::size_t> changes;
        for (std::size_t column : m_mapping.changeOrder) {
            if (!ColumnEquals(record, stored, column)) {
                changes.push_back(column);
            }
        }
        return changes;
    }

    bool ColumnEquals(const Record& a, const Record& b, std::size_t position) const {
        if (position >= m_mapping.table.size()) {
            return true;
        }
        return std::visit([&a, &b](auto member) { return a.*member == b.*member; },
                          m_mapping.table[position].field);
    }

  private:
    Mapping m_mapping;
};

}  // namespace tabrel
