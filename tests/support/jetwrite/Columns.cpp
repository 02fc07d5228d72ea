#include "support/jetwrite/Columns.h"

#include <algorithm>

namespace tabrel::test::jetwrite {

bool IsFixed(JetType type) {
    switch (type) {
        case JetType::Text:
        case JetType::Binary:
        case JetType::Memo:
        case JetType::Ole:
            return false;
        default:
            return true;
    }
}

bool IsLong(JetType type) {
    return type == JetType::Memo || type == JetType::Ole;
}
bool IsText(JetType type) {
    return type == JetType::Text || type == JetType::Memo;
}

std::size_t FixedSize(JetType type) {
    switch (type) {
        case JetType::Bool:
            return 0;
        case JetType::Byte:
            return 1;
        case JetType::Int:
            return 2;
        case JetType::Long:
        case JetType::Float:
            return 4;
        case JetType::Money:
        case JetType::Double:
        case JetType::DateTime:
            return 8;
        case JetType::Guid:
            return 16;
        case JetType::Numeric:
            return 17;
        default:
            return 0;
    }
}

TableShape ShapeOf(const std::vector<JetColumn>& columns) {
    TableShape shape;
    for (const JetColumn& column : columns) {
        ColumnPlace place;
        place.fixed = IsFixed(column.type);
        if (place.fixed) {
            place.fixedOffset = shape.fixedBytes;
            shape.fixedBytes += FixedSize(column.type);
        } else {
            place.varIndex = shape.varCount++;
        }
        shape.places.push_back(place);
    }
    return shape;
}

std::uint8_t ColumnFlags(const JetColumn& column) {
    std::uint8_t flags = 0x02;  // updatable
    if (IsFixed(column.type)) {
        flags |= 0x01;
    }
    if (column.autoNumber) {
        flags |= 0x04;
    }
    return flags;
}

std::uint32_t ColumnLength(const JetColumn& column) {
    switch (column.type) {
        case JetType::Text:
            return 2u * column.textChars;
        case JetType::Binary:
            return std::min<std::uint32_t>(column.textChars, 255);
        case JetType::Memo:
        case JetType::Ole:
            return 0;
        default:
            return static_cast<std::uint32_t>(FixedSize(column.type));
    }
}

}  // namespace tabrel::test::jetwrite
