#include "palm/db6x/jet/JetCatalogue.h"

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTableScan.h"
#include "palm/db6x/jet/JetText.h"

namespace tabrel {

namespace {

constexpr std::uint32_t kCataloguePage = 2;
constexpr std::int64_t kLocalTable = 1;
constexpr std::uint32_t kSystemFlags = 0x80000002U;
constexpr std::uint32_t kPageMask = 0x00FFFFFFU;

// The index of the column named name, or nullopt.
std::optional<std::size_t> ColumnNamed(const JetTableDefinition& table, std::u16string_view name) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].name == name) {
            return c;
        }
    }
    return std::nullopt;
}

// A little-endian integer value of 1 to 4 bytes, sign-extended.
std::int64_t Integer(const JetRowValue& value) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < value.bytes.size() && i < 4; ++i) {
        bits |= std::uint64_t{value.bytes[i]} << (8 * i);
    }
    const std::size_t width = std::min<std::size_t>(value.bytes.size(), 4);
    if (width > 0 && width < 8 && (bits >> (8 * width - 1)) != 0) {
        bits |= ~std::uint64_t{0} << (8 * width);
    }
    return static_cast<std::int64_t>(bits);
}

}  // namespace

std::optional<std::vector<JetCatalogueTable>> ReadJetCatalogue(std::span<const std::uint8_t> file,
                                                               std::string& error) {
    const auto catalogue = ReadJetTableDefinition(file, kCataloguePage, error);
    if (!catalogue) {
        return std::nullopt;
    }
    const auto id = ColumnNamed(*catalogue, u"Id");
    const auto name = ColumnNamed(*catalogue, u"Name");
    const auto type = ColumnNamed(*catalogue, u"Type");
    const auto flags = ColumnNamed(*catalogue, u"Flags");
    if (!id || !name || !type || !flags) {
        error = "The file is damaged: the system catalogue lacks a column it must have.";
        return std::nullopt;
    }
    const auto rows = ScanJetTable(file, *catalogue, error);
    if (!rows) {
        return std::nullopt;
    }
    std::vector<JetCatalogueTable> tables;
    for (const JetScannedRow& row : *rows) {
        const auto values = CrackJetRow(*catalogue, row.bytes);
        if (!values) {
            error = "The file is damaged: a row of the system catalogue is broken.";
            return std::nullopt;
        }
        if ((*values)[*type].isNull || Integer((*values)[*type]) != kLocalTable) {
            continue;
        }
        const auto objectFlags = static_cast<std::uint32_t>(Integer((*values)[*flags]));
        tables.push_back({DecodeJetText((*values)[*name].bytes),
                          static_cast<std::uint32_t>(Integer((*values)[*id])) & kPageMask,
                          (objectFlags & kSystemFlags) != 0});
    }
    return tables;
}

}  // namespace tabrel
