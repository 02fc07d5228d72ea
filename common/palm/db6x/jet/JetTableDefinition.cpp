#include "palm/db6x/jet/JetTableDefinition.h"

#include <algorithm>

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetText.h"

namespace tabrel {

namespace {

constexpr std::size_t kNextPageOffset = 4;
constexpr std::size_t kContinuationHeader = 8;
constexpr std::size_t kRowCountOffset = 16;
constexpr std::size_t kAutoNumberOffset = 20;
constexpr std::size_t kTableTypeOffset = 40;
constexpr std::size_t kCountsOffset = 41;
constexpr std::size_t kRealIndexCountsOffset = 63;
constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
// Jet 4 allows 255 columns and 32 indexes a table; more is a damaged definition.
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kMaxIndexes = 256;

// Reads the joined definition front to back; any read past its end fails the whole read.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes), m_view(bytes) {}

    bool Ok() const { return m_ok; }
    void Seek(std::size_t offset) { m_offset = offset; }
    void Skip(std::size_t count) { m_offset += count; }
    std::uint8_t U8() { return Take(m_view.U8(m_offset), 1); }
    std::uint16_t U16() { return Take(m_view.U16(m_offset), 2); }
    std::uint32_t U32() { return Take(m_view.U32(m_offset), 4); }
    std::u16string Name() {
        const std::uint16_t length = U16();
        if (!m_ok || !m_view.Has(m_offset, length)) {
            m_ok = false;
            return {};
        }
        m_offset += length;
        return DecodeJetText(m_bytes.subspan(m_offset - length, length));
    }

  private:
    template <typename T>
    T Take(std::optional<T> value, std::size_t size) {
        m_ok = m_ok && value.has_value();
        m_offset += size;
        return value.value_or(T{});
    }

    std::span<const std::uint8_t> m_bytes;
    CxByteView m_view;
    std::size_t m_offset = 0;
    bool m_ok = true;
};

// The definition's pages joined as the layout says; false when a page is not a definition
// page or the chain loops.
bool JoinPages(std::span<const std::uint8_t> file, std::uint32_t first,
               std::vector<std::uint8_t>& joined, std::vector<std::uint32_t>& pages) {
    for (std::uint32_t page = first; page != 0;) {
        const std::span<const std::uint8_t> bytes = JetPage(file, page);
        if (bytes.empty() || bytes[0] != static_cast<std::uint8_t>(JetPageType::TableDefinition) ||
            std::find(pages.begin(), pages.end(), page) != pages.end()) {
            return false;
        }
        pages.push_back(page);
        joined.insert(joined.end(), bytes.begin() + (pages.size() == 1 ? 0 : kContinuationHeader),
                      bytes.end());
        page = *CxByteView(bytes).U32(kNextPageOffset);
    }
    return true;
}

void ReadColumns(Reader& in, std::size_t count, JetTableDefinition& table) {
    table.columns.resize(count);
    for (JetColumnDefinition& column : table.columns) {
        column.type = in.U8();
        in.Skip(4);
        column.number = in.U16();
        column.variableIndex = in.U16();
        in.Skip(2);
        column.sortOrder = in.U16();
        in.Skip(1);
        column.sortVersion = in.U8();
        column.flags = in.U8();
        column.compressedUnicode = (in.U8() & 0x01) != 0;
        in.Skip(4);
        column.fixedOffset = in.U16();
        column.width = in.U16();
    }
    for (JetColumnDefinition& column : table.columns) {
        column.name = in.Name();
    }
    // Stored in any order (system tables by name); a table shows them by number.
    std::stable_sort(table.columns.begin(), table.columns.end(),
                     [](const auto& a, const auto& b) { return a.number < b.number; });
}

void ReadIndexes(Reader& in, std::size_t logicalCount, JetTableDefinition& table) {
    for (JetRealIndex& index : table.realIndexes) {
        in.Skip(4);
        for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
            const std::uint16_t number = in.U16();
            const bool ascending = in.U8() == 0x01;
            if (number != kNoColumn) {
                index.columns.push_back({number, ascending});
            }
        }
        index.usedPages = in.U32();
        index.rootPage = in.U32();
        in.Skip(4);
        index.flags = in.U8();
        in.Skip(5);
    }
    table.logicalIndexes.resize(logicalCount);
    for (JetLogicalIndex& index : table.logicalIndexes) {
        in.Skip(4);
        index.number = in.U32();
        index.realIndex = in.U32();
        in.Skip(1);
        index.relatedIndex = in.U32();
        index.relatedTablePage = in.U32();
        index.cascadeUpdates = in.U8() != 0;
        index.cascadeDeletes = in.U8() != 0;
        index.kind = in.U8();
        in.Skip(4);
    }
    for (JetLogicalIndex& index : table.logicalIndexes) {
        index.name = in.Name();
    }
}

// The long-value page maps that close the definition.
void ReadLongValueMaps(Reader& in, JetTableDefinition& table) {
    for (std::size_t i = 0; i <= table.columns.size(); ++i) {
        const std::uint16_t number = in.U16();
        if (!in.Ok() || number == kNoColumn) {
            return;
        }
        const std::uint32_t pages = in.U32();
        const std::uint32_t freePages = in.U32();
        for (JetColumnDefinition& column : table.columns) {
            if (column.number == number) {
                column.longValuePages = pages;
                column.longValueFreePages = freePages;
            }
        }
    }
}

}  // namespace

std::optional<JetTableDefinition> ReadJetTableDefinition(std::span<const std::uint8_t> file,
                                                         std::uint32_t page, std::string& error) {
    JetTableDefinition table;
    std::vector<std::uint8_t> joined;
    if (!JoinPages(file, page, joined, table.pages)) {
        error = "The file is damaged: a table definition page is missing or not one.";
        return std::nullopt;
    }
    Reader in(joined);
    in.Seek(kRowCountOffset);
    table.rowCount = in.U32();
    in.Seek(kAutoNumberOffset);
    table.lastAutoNumber = in.U32();
    in.Seek(kTableTypeOffset);
    table.tableType = in.U8();
    in.Seek(kCountsOffset);
    table.maxColumns = in.U16();
    table.variableColumns = in.U16();
    const std::uint16_t columnCount = in.U16();
    const std::uint32_t logicalCount = in.U32();
    const std::uint32_t realCount = in.U32();
    table.ownedPages = in.U32();
    table.freeSpacePages = in.U32();
    if (!in.Ok() || columnCount > kMaxColumns || logicalCount > kMaxIndexes ||
        realCount > kMaxIndexes) {
        error = "The file is damaged: a table definition gives impossible counts.";
        return std::nullopt;
    }
    in.Seek(kRealIndexCountsOffset);
    table.realIndexes.resize(realCount);
    for (JetRealIndex& index : table.realIndexes) {
        in.Skip(4);
        index.entryCount = in.U32();
        in.Skip(4);
    }
    ReadColumns(in, columnCount, table);
    ReadIndexes(in, logicalCount, table);
    if (!in.Ok()) {
        error = "The file is damaged: a table definition is longer than its pages.";
        return std::nullopt;
    }
    ReadLongValueMaps(in, table);
    return table;
}

}  // namespace tabrel
