#include "palm/db6x/jet/JetRow.h"

#include "misc/CxByteView.h"

namespace tabrel {

std::optional<std::vector<JetRowValue>> CrackJetRow(const JetTableDefinition& table,
                                                    std::span<const std::uint8_t> row) {
    const CxByteView view(row);
    const auto columnCount = view.U16(0);
    if (!columnCount) {
        return std::nullopt;
    }
    const std::size_t maskSize = (std::size_t{*columnCount} + 7) / 8;
    if (!view.Has(2, maskSize)) {
        return std::nullopt;
    }
    const std::size_t maskStart = row.size() - maskSize;
    std::size_t variableCount = 0;
    std::vector<std::size_t> offsets;  // of the variable values, then their end
    if (table.variableColumns > 0) {
        const auto count = maskStart >= 2 ? view.U16(maskStart - 2) : std::nullopt;
        if (!count || maskStart < 2 + 2 * (std::size_t{*count} + 1)) {
            return std::nullopt;
        }
        variableCount = *count;
        const std::size_t tableStart = maskStart - 2 - 2 * (variableCount + 1);
        for (std::size_t i = 0; i <= variableCount; ++i) {
            offsets.push_back(*view.U16(maskStart - 4 - 2 * i));
            if (offsets.back() > tableStart || (i > 0 && offsets[i] < offsets[i - 1])) {
                return std::nullopt;
            }
        }
    }
    auto hasBit = [&](std::uint16_t number) {
        return number < *columnCount && (row[maskStart + number / 8] & (1U << (number % 8))) != 0;
    };
    std::vector<JetRowValue> values(table.columns.size());
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const JetColumnDefinition& column = table.columns[c];
        JetRowValue& value = values[c];
        const bool bit = hasBit(column.number);
        if (column.type == kJetBool) {
            value.isNull = false;
            value.yes = bit;
            continue;
        }
        if (!bit) {
            continue;
        }
        if (column.IsFixed()) {
            const std::size_t start = 2 + std::size_t{column.fixedOffset};
            if (!view.Has(start, column.width) || start + column.width > maskStart) {
                return std::nullopt;
            }
            value = {false, false, row.subspan(start, column.width)};
        } else if (column.variableIndex < variableCount) {
            const std::size_t start = offsets[column.variableIndex];
            value = {false, false, row.subspan(start, offsets[column.variableIndex + 1] - start)};
        }
    }
    return values;
}

}  // namespace tabrel
