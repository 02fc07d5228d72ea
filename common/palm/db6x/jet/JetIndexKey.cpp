#include "palm/db6x/jet/JetIndexKey.h"

#include <algorithm>

#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetText.h"
#include "palm/db6x/jet/JetTextKey.h"
#include "palm/db6x/jet/JetTypes.h"

namespace tabrel {

namespace {

constexpr std::uint8_t kValueFlag = 0x7F;
constexpr std::uint8_t kNullFlag = 0x00;
constexpr std::uint8_t kYes = 0x00;
constexpr std::uint8_t kNo = 0xFF;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;

// The value's bytes big-endian (stored little-endian); empty when they are not width long.
std::vector<std::uint8_t> BigEndian(std::span<const std::uint8_t> stored, std::size_t width) {
    if (stored.size() != width) {
        return {};
    }
    return std::vector<std::uint8_t>(stored.rbegin(), stored.rend());
}

// The key bytes of a value that is not NULL, after its flag; nullopt when it cannot be made.
std::optional<std::vector<std::uint8_t>> ValueKey(const JetColumnDefinition& column,
                                                  const JetRowValue& value,
                                                  std::span<const std::uint8_t> file) {
    switch (column.type) {
        case kJetByte:
            return BigEndian(value.bytes, 1);
        case kJetInt:
        case kJetLong:
        case kJetMoney: {
            std::vector<std::uint8_t> key = BigEndian(value.bytes, column.type == kJetInt    ? 2
                                                                   : column.type == kJetLong ? 4
                                                                                             : 8);
            if (key.empty()) {
                return std::nullopt;
            }
            key[0] ^= 0x80;
            return key;
        }
        case kJetFloat:
        case kJetDouble:
        case kJetDateTime: {
            std::vector<std::uint8_t> key =
                BigEndian(value.bytes, column.type == kJetFloat ? 4 : 8);
            if (key.empty()) {
                return std::nullopt;
            }
            if ((key[0] & 0x80) == 0) {
                key[0] ^= 0x80;
            } else {
                std::transform(key.begin(), key.end(), key.begin(),
                               [](std::uint8_t b) { return static_cast<std::uint8_t>(~b); });
            }
            return key;
        }
        case kJetText:
            return EncodeJetTextKey(DecodeJetText(value.bytes));
        case kJetMemo: {
            std::vector<std::uint8_t> memo;
            std::string error;
            if (!ReadJetLongValue(file, value.bytes, memo, error)) {
                return std::nullopt;
            }
            return EncodeJetTextKey(DecodeJetText(memo));
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

bool CanEncodeJetKey(const JetColumnDefinition& column) {
    switch (column.type) {
        case kJetBool:
        case kJetByte:
        case kJetInt:
        case kJetLong:
        case kJetMoney:
        case kJetFloat:
        case kJetDouble:
        case kJetDateTime:
            return true;
        case kJetText:
        case kJetMemo:
            return column.sortOrder == kGeneralSortOrder && column.sortVersion == 0;
        default:
            return false;
    }
}

std::optional<std::vector<std::uint8_t>> EncodeJetIndexKey(const JetTableDefinition& table,
                                                           const JetRealIndex& index,
                                                           const std::vector<JetRowValue>& values,
                                                           std::span<const std::uint8_t> file) {
    std::vector<std::uint8_t> key;
    for (const JetIndexColumn& part : index.columns) {
        const auto found =
            std::find_if(table.columns.begin(), table.columns.end(),
                         [&](const JetColumnDefinition& c) { return c.number == part.number; });
        if (found == table.columns.end() || !CanEncodeJetKey(*found) ||
            values.size() != table.columns.size()) {
            return std::nullopt;
        }
        const JetRowValue& value = values[found - table.columns.begin()];
        std::vector<std::uint8_t> bytes;
        if (found->type == kJetBool) {
            bytes = {kValueFlag, value.yes ? kYes : kNo};
        } else if (value.isNull) {
            bytes = {kNullFlag};
        } else {
            const auto valueKey = ValueKey(*found, value, file);
            if (!valueKey) {
                return std::nullopt;
            }
            bytes = {kValueFlag};
            bytes.insert(bytes.end(), valueKey->begin(), valueKey->end());
        }
        if (!part.ascending) {
            std::transform(bytes.begin(), bytes.end(), bytes.begin(),
                           [](std::uint8_t b) { return static_cast<std::uint8_t>(~b); });
            // A descending text ends in one more end byte, not flipped.
            if ((found->type == kJetText || found->type == kJetMemo) && !value.isNull) {
                bytes.push_back(0x00);
            }
        }
        key.insert(key.end(), bytes.begin(), bytes.end());
    }
    return key;
}

}  // namespace tabrel
