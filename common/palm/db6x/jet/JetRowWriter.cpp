#include "palm/db6x/jet/JetRowWriter.h"

#include <algorithm>

namespace tabrel {

namespace {

void PutU16(std::vector<std::uint8_t>& row, std::size_t at, std::size_t value) {
    row[at] = static_cast<std::uint8_t>(value & 0xFF);
    row[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void AppendU16(std::vector<std::uint8_t>& row, std::size_t value) {
    row.push_back(static_cast<std::uint8_t>(value & 0xFF));
    row.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeJetRow(const JetTableDefinition& table,
                                                      const std::vector<JetRowValue>& values,
                                                      std::size_t minSize) {
    if (values.size() != table.columns.size()) {
        return std::nullopt;
    }
    const std::size_t columnCount = table.maxColumns;
    std::vector<std::uint8_t> mask((columnCount + 7) / 8, 0);
    auto markPresent = [&](std::uint16_t number) {
        if (number < columnCount) {
            mask[number / 8] |= static_cast<std::uint8_t>(1U << (number % 8));
        }
    };
    std::vector<std::uint8_t> row(2, 0);
    PutU16(row, 0, columnCount);

    // The fixed part.
    std::size_t fixedEnd = 2;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const JetColumnDefinition& column = table.columns[c];
        const JetRowValue& value = values[c];
        if (column.type == kJetBool) {
            if (value.yes) {
                markPresent(column.number);
            }
            continue;
        }
        if (!column.IsFixed()) {
            continue;
        }
        const std::size_t start = 2 + std::size_t{column.fixedOffset};
        fixedEnd = std::max(fixedEnd, start + column.width);
        if (row.size() < fixedEnd) {
            row.resize(fixedEnd, 0);
        }
        if (!value.isNull) {
            if (value.bytes.size() != column.width) {
                return std::nullopt;
            }
            std::copy(value.bytes.begin(), value.bytes.end(), row.begin() + start);
            markPresent(column.number);
        }
    }

    // The variable part, in the order of the offset table.
    std::vector<std::size_t> variable;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (!table.columns[c].IsFixed() && table.columns[c].type != kJetBool) {
            variable.push_back(c);
        }
    }
    std::sort(variable.begin(), variable.end(), [&](std::size_t a, std::size_t b) {
        return table.columns[a].variableIndex < table.columns[b].variableIndex;
    });
    const std::size_t places = table.variableColumns;
    std::vector<std::size_t> offsets;
    for (const std::size_t c : variable) {
        const JetColumnDefinition& column = table.columns[c];
        if (column.variableIndex >= places) {
            return std::nullopt;
        }
        // A place of a deleted column starts where the next value does.
        while (offsets.size() <= column.variableIndex) {
            offsets.push_back(row.size());
        }
        if (!values[c].isNull) {
            row.insert(row.end(), values[c].bytes.begin(), values[c].bytes.end());
            markPresent(column.number);
        }
    }
    while (offsets.size() < places) {
        offsets.push_back(row.size());
    }
    const std::size_t end = row.size();
    const std::size_t trailer = mask.size() + (places > 0 ? 4 + 2 * places : 0);
    if (row.size() + trailer < minSize) {
        row.resize(minSize - trailer, 0);
    }
    if (places > 0) {
        AppendU16(row, end);
        for (std::size_t i = places; i-- > 0;) {
            AppendU16(row, offsets[i]);
        }
        AppendU16(row, places);
    }
    row.insert(row.end(), mask.begin(), mask.end());
    if (row.size() > kJetMaxRowSize || end > 0xFFFF) {
        return std::nullopt;
    }
    return row;
}

}  // namespace tabrel
