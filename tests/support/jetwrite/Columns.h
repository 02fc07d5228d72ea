#pragma once
// Column kinds of the Jet 4 test writer and where each column sits in a row.

#include <cstdint>
#include <vector>

#include "support/JetWriter.h"

namespace tabrel::test::jetwrite {

bool IsFixed(JetType type);
bool IsLong(JetType type);  // Memo, OLE
bool IsText(JetType type);  // Text, Memo
// Bytes a fixed column takes in the row (Yes/No lives in the null mask alone).
std::size_t FixedSize(JetType type);
// The flags of a column's definition entry: 0x01 fixed, 0x02 updatable, 0x04 autonumber.
std::uint8_t ColumnFlags(const JetColumn& column);
// The length of a column in its definition entry (text: 2 bytes per character).
std::uint32_t ColumnLength(const JetColumn& column);

// Where each column sits in a row.
struct ColumnPlace {
    bool fixed = false;
    std::size_t fixedOffset = 0;  // after the 2-byte column count
    std::size_t varIndex = 0;     // position among the variable columns
};

struct TableShape {
    std::vector<ColumnPlace> places;
    std::size_t fixedBytes = 0;
    std::size_t varCount = 0;
};

TableShape ShapeOf(const std::vector<JetColumn>& columns);

}  // namespace tabrel::test::jetwrite
