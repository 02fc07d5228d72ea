#include "support/jetwrite/Definition.h"

#include <algorithm>

#include "support/jetwrite/Text.h"

namespace tabrel::test::jetwrite {

Bytes DefinitionStream(const JetTable& table, const TableShape& shape, const TableFacts& facts,
                       bool compress) {
    Bytes s(63, 0);
    s[0] = 0x02;
    s[1] = 0x01;
    Put32(s, 16, facts.rows);
    Put32(s, 20, facts.nextAutoNumber);
    const bool autoNumber = std::any_of(table.columns.begin(), table.columns.end(),
                                        [](const JetColumn& c) { return c.autoNumber; });
    s[24] = autoNumber ? 0x01 : 0x00;
    s[40] = facts.system ? 0x53 : 0x4E;
    const auto count = static_cast<std::uint32_t>(table.columns.size());
    Put16(s, 41, count);
    Put16(s, 43, static_cast<std::uint32_t>(shape.varCount));
    Put16(s, 45, count);
    Put32(s, 55, facts.usedMap);
    Put32(s, 59, facts.freeMap);
    for (std::uint32_t c = 0; c < count; ++c) {
        const JetColumn& column = table.columns[c];
        const ColumnPlace& place = shape.places[c];
        Bytes entry(25, 0);
        entry[0] = static_cast<std::uint8_t>(column.type);
        Put16(entry, 5, c);
        Put16(entry, 7, place.fixed ? 0 : static_cast<std::uint32_t>(place.varIndex));
        Put16(entry, 9, c);
        if (IsText(column.type)) {
            Put16(entry, 11, 0x0409);
            entry[16] = compress ? 0x01 : 0x00;
        } else if (column.type == JetType::Numeric) {
            entry[11] = column.precision;
            entry[12] = column.scale;
        }
        entry[15] = ColumnFlags(column);
        Put16(entry, 21, place.fixed ? static_cast<std::uint32_t>(place.fixedOffset) : 0);
        Put16(entry, 23, ColumnLength(column));
        s.insert(s.end(), entry.begin(), entry.end());
    }
    for (const JetColumn& column : table.columns) {
        const Bytes name = Utf16Le(Utf16(column.name));
        Append16(s, static_cast<std::uint32_t>(name.size()));
        s.insert(s.end(), name.begin(), name.end());
    }
    //   per Memo or OLE column: u16 its number, u32 its page map, u32 its free-space map
    std::size_t k = 0;
    for (std::uint32_t c = 0; facts.listLongValueMaps && c < count; ++c) {
        if (table.columns[c].type == JetType::Memo || table.columns[c].type == JetType::Ole) {
            Append16(s, c);
            for (int map = 0; map < 2; ++map, ++k) {
                const std::uint32_t pointer =
                    k < facts.longValueMaps.size() ? facts.longValueMaps[k] : 0;
                Append32(s, pointer);
            }
        }
    }
    Append16(s, 0xFFFF);
    Put32(s, 8, static_cast<std::uint32_t>(s.size() - 8));
    return s;
}

std::size_t DefinitionPageCount(std::size_t streamSize) {
    if (streamSize <= kPageSize) {
        return 1;
    }
    return 1 + (streamSize - kPageSize + (kPageSize - 8) - 1) / (kPageSize - 8);
}

void WriteDefinition(PageSet& pages, const std::vector<std::uint32_t>& at, const Bytes& stream) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        Bytes& page = pages[at[i]];
        std::size_t to = 0;
        if (i == 0) {
            to = std::min(stream.size(), kPageSize);
            std::copy(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(to),
                      page.begin());
        } else {
            page[0] = 0x02;
            page[1] = 0x01;
            to = std::min(stream.size(), from + kPageSize - 8);
            std::copy(stream.begin() + static_cast<std::ptrdiff_t>(from),
                      stream.begin() + static_cast<std::ptrdiff_t>(to), page.begin() + 8);
        }
        const std::size_t used = (i == 0 ? 0 : 8) + (to - from);
        Put16(page, 2, static_cast<std::uint32_t>(kPageSize - used));
        Put32(page, 4, i + 1 < at.size() ? at[i + 1] : 0);
        from = to;
    }
}

}  // namespace tabrel::test::jetwrite
