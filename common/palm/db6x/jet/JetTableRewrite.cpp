#include "palm/db6x/jet/JetTableRewrite.h"

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetIndexKey.h"
#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetLongValueWriter.h"
#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetRowWriter.h"
#include "palm/db6x/jet/JetUsageMap.h"

namespace tabrel {

namespace {

constexpr std::size_t kDataPageHeader = 14;
constexpr std::size_t kSlotSize = 2;
constexpr std::size_t kMaxRowsPerDataPage = 255;
// A data page with at least this much room is listed in the map of pages with free space.
constexpr std::size_t kRoomWorthListing = 512;
constexpr std::uint32_t kFileMap = 1 << 8;  // page 1, row 0
// In the definition (JetTableDefinition.h):
constexpr std::size_t kRowCountOffset = 16;
constexpr std::size_t kAutoNumberOffset = 20;
constexpr std::size_t kIndexCountsOffset = 63;
constexpr std::size_t kContinuationHeader = 8;

bool IsLong(const JetColumnDefinition& column) {
    return column.type == kJetMemo || column.type == kJetOle;
}

void PutU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return *CxByteView(bytes).U32(at);
}

// The file as a copy that may grow, page by page.
class Pages {
  public:
    explicit Pages(std::span<const std::uint8_t> file) : m_bytes(file.begin(), file.end()) {}

    std::span<std::uint8_t> Page(std::uint32_t number) {
        if (std::size_t{number} * kJetPageSize >= m_bytes.size()) {
            m_bytes.resize((std::size_t{number} + 1) * kJetPageSize, 0);
        }
        return std::span(m_bytes).subspan(std::size_t{number} * kJetPageSize, kJetPageSize);
    }
    void Put(const JetBuiltPage& page) {
        std::copy(page.bytes.begin(), page.bytes.end(), Page(page.number).begin());
    }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

  private:
    std::vector<std::uint8_t> m_bytes;
};

// The pages the table gives back to be laid out again, lowest first, then new pages after
// the end of the file.
class PagePool {
  public:
    PagePool(std::set<std::uint32_t> reusable, std::uint32_t end)
        : m_reusable(std::move(reusable)), m_end(end) {}

    std::uint32_t Take() {
        std::uint32_t page = 0;
        if (!m_reusable.empty()) {
            page = *m_reusable.begin();
            m_reusable.erase(m_reusable.begin());
        } else {
            page = m_end++;
        }
        m_taken.insert(page);
        return page;
    }
    const std::set<std::uint32_t>& Unused() const { return m_reusable; }
    const std::set<std::uint32_t>& Taken() const { return m_taken; }
    std::uint32_t End() const { return m_end; }

  private:
    std::set<std::uint32_t> m_reusable;
    std::set<std::uint32_t> m_taken;
    std::uint32_t m_end;
};

// Where the row a data pointer names lies in the file: its offset and length.
std::optional<std::pair<std::size_t, std::size_t>> RowPlace(std::span<const std::uint8_t> file,
                                                            std::uint32_t pointer) {
    const auto page = ReadJetDataPage(JetPage(file, pointer >> 8));
    if ((pointer >> 8) == 0 || !page || (pointer & 0xFF) >= page->rows.size()) {
        return std::nullopt;
    }
    const JetRowSlot& slot = page->rows[pointer & 0xFF];
    return std::pair{std::size_t{pointer >> 8} * kJetPageSize + slot.start,
                     std::size_t{slot.end} - slot.start};
}

// Rewrites the usage map a data pointer names, in place, to mark pages; false when they do
// not fit it. An inline map that cannot hold them becomes a list of map pages, which
// newPage (when given) provides, as does a list that lacks the map page a range needs. For
// the file's map, beyond is where the file ends: every page from there on is marked too
// (free).
bool RewriteMap(std::span<const std::uint8_t> file, Pages& out, std::uint32_t pointer,
                const std::set<std::uint32_t>& marked,
                const std::function<std::uint32_t()>* newPage, std::uint32_t beyond = 0) {
    const auto place = RowPlace(file, pointer);
    if (!place || place->second < 5) {
        return false;
    }
    const auto row = file.subspan(place->first, place->second);
    std::vector<std::uint32_t> pages(marked.begin(), marked.end());
    std::span<std::uint8_t> target =
        out.Page(pointer >> 8).subspan(place->first % kJetPageSize, place->second);
    std::vector<std::uint32_t> mapPages;
    if (row[0] == 0x00) {
        std::uint32_t first = U32(row, 1);
        const std::uint32_t span = static_cast<std::uint32_t>((row.size() - 5) * 8);
        if (!pages.empty() && (pages.front() < first || pages.back() - first >= span)) {
            first = pages.front() / 8 * 8;  // another first page, if that lets them fit
        }
        std::vector<std::uint32_t> inlinePages = pages;
        for (std::uint32_t page = std::max(beyond, first); beyond != 0 && page < first + span;
             ++page) {
            inlinePages.push_back(page);
        }
        if (const auto built = BuildJetInlineUsageMap(inlinePages, first, row.size())) {
            std::copy(built->begin(), built->end(), target.begin());
            return true;
        }
        if (newPage == nullptr) {
            return false;
        }
        mapPages.assign((row.size() - 1) / 4, 0);
    } else {
        for (std::size_t at = 1; at + 4 <= row.size(); at += 4) {
            mapPages.push_back(U32(row, at));
        }
    }
    for (const std::uint32_t page : pages) {
        const std::size_t k = page / kJetPagesPerMapPage;
        if (k >= mapPages.size()) {
            return false;
        }
        if (mapPages[k] == 0 && newPage != nullptr) {
            mapPages[k] = (*newPage)();
        }
    }
    std::uint32_t covered = 0;
    for (std::size_t k = 0; k < mapPages.size(); ++k) {
        covered =
            mapPages[k] != 0 ? static_cast<std::uint32_t>((k + 1) * kJetPagesPerMapPage) : covered;
    }
    for (std::uint32_t page = beyond; beyond != 0 && page < covered; ++page) {
        pages.push_back(page);
    }
    const auto built = BuildJetPageListUsageMap(pages, mapPages, row.size());
    if (!built) {
        return false;
    }
    std::copy(built->row.begin(), built->row.end(), target.begin());
    for (std::size_t k = 0; k < mapPages.size(); ++k) {
        if (mapPages[k] != 0) {
            out.Put({mapPages[k], built->mapPages[k]});
        }
    }
    return true;
}

// Writes a 32-bit value at an offset of the definition's joined pages.
void PutInDefinition(Pages& out, const JetTableDefinition& table, std::size_t offset,
                     std::uint32_t value) {
    // The first page holds the first 4096 bytes; each further page 4088 more after its header.
    std::size_t page = 0;
    if (offset + 4 > kJetPageSize) {
        offset -= kJetPageSize;
        page = 1;
        while (offset + 4 > kJetPageSize - kContinuationHeader && page + 1 < table.pages.size()) {
            offset -= kJetPageSize - kContinuationHeader;
            ++page;
        }
        offset += kContinuationHeader;
    }
    PutU32(out.Page(table.pages[std::min(page, table.pages.size() - 1)]), offset, value);
}

// The pages the table owns now, which a rewrite lays out again (its index roots stay).
std::optional<std::set<std::uint32_t>> ReusablePages(std::span<const std::uint8_t> file,
                                                     const JetTableDefinition& table,
                                                     std::string& error) {
    std::set<std::uint32_t> pages;
    const auto owned = ReadJetUsageMapAt(file, table.ownedPages);
    if (!owned) {
        error = "the page map of the table cannot be read";
        return std::nullopt;
    }
    for (const std::uint32_t page : *owned) {
        const auto data = ReadJetDataPage(JetPage(file, page));
        if (data && data->owner == table.pages.front()) {
            pages.insert(page);
        }
    }
    for (const JetColumnDefinition& column : table.columns) {
        if (IsLong(column) && column.longValuePages != 0) {
            const auto longPages = ReadJetUsageMapAt(file, column.longValuePages);
            if (!longPages) {
                error = "the long-value page map of a column cannot be read";
                return std::nullopt;
            }
            pages.insert(longPages->begin(), longPages->end());
        }
    }
    for (const JetRealIndex& index : table.realIndexes) {
        const auto indexPages = ListJetIndexPages(file, index, error);
        if (!indexPages) {
            return std::nullopt;
        }
        pages.insert(indexPages->begin() + 1, indexPages->end());
    }
    return pages;
}

}  // namespace

std::string WhyJetTableUnwritable(const JetTableDefinition& table) {
    for (const JetLogicalIndex& index : table.logicalIndexes) {
        if (index.IsForeignKey()) {
            return "a relationship is enforced on the table";
        }
    }
    for (const JetRealIndex& index : table.realIndexes) {
        for (const JetIndexColumn& part : index.columns) {
            const auto column =
                std::find_if(table.columns.begin(), table.columns.end(),
                             [&](const JetColumnDefinition& c) { return c.number == part.number; });
            if (column == table.columns.end() || IsLong(*column) || !CanEncodeJetKey(*column)) {
                return "an index is over a column whose keys are not written here";
            }
        }
    }
    for (const JetColumnDefinition& column : table.columns) {
        if (IsLong(column) && column.longValuePages == 0) {
            return "a long-value column has no page map";
        }
    }
    return "";
}

std::optional<JetWriteRow> ReadJetWriteRow(std::span<const std::uint8_t> file,
                                           const JetTableDefinition& table,
                                           std::span<const std::uint8_t> row) {
    const auto values = CrackJetRow(table, row);
    if (!values) {
        return std::nullopt;
    }
    JetWriteRow out(values->size());
    for (std::size_t c = 0; c < values->size(); ++c) {
        const JetColumnDefinition& column = table.columns[c];
        const JetRowValue& value = (*values)[c];
        if (column.type == kJetBool) {
            out[c].kind = value.yes ? JetWriteValue::Kind::Yes : JetWriteValue::Kind::No;
        } else if (value.isNull) {
            out[c].kind = JetWriteValue::Kind::Null;
        } else if (IsLong(column)) {
            out[c].kind = JetWriteValue::Kind::Long;
            std::string error;
            if (!ReadJetLongValue(file, value.bytes, out[c].bytes, error)) {
                return std::nullopt;
            }
        } else {
            out[c].kind = JetWriteValue::Kind::Stored;
            out[c].bytes.assign(value.bytes.begin(), value.bytes.end());
        }
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> RewriteJetTable(std::span<const std::uint8_t> file,
                                                         const JetTableDefinition& table,
                                                         const std::vector<JetWriteRow>& rows,
                                                         std::uint32_t lastAutoNumber,
                                                         std::string& error) {
    error = WhyJetTableUnwritable(table);
    if (!error.empty()) {
        return std::nullopt;
    }
    const auto reusable = ReusablePages(file, table, error);
    if (!reusable) {
        return std::nullopt;
    }
    const auto fileEnd = static_cast<std::uint32_t>(file.size() / kJetPageSize);
    PagePool pool(*reusable, fileEnd);
    auto take = [&] { return pool.Take(); };
    const std::function<std::uint32_t()> takeFunction = take;
    const std::uint32_t owner = table.pages.front();

    // The rows, their long values on pages of each long-value column.
    std::vector<JetLongValuePages> longPages;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        longPages.emplace_back(take);
    }
    std::vector<std::vector<std::uint8_t>> encoded;
    std::vector<std::vector<std::vector<std::uint8_t>>> keys(table.realIndexes.size());
    std::vector<std::vector<bool>> allNull(table.realIndexes.size());
    for (const JetWriteRow& row : rows) {
        if (row.size() != table.columns.size()) {
            error = "a row has the wrong number of values";
            return std::nullopt;
        }
        std::vector<std::vector<std::uint8_t>> fields(row.size());
        std::vector<JetRowValue> values(row.size());
        for (std::size_t c = 0; c < row.size(); ++c) {
            const JetWriteValue& cell = row[c];
            values[c].isNull = cell.kind == JetWriteValue::Kind::Null;
            values[c].yes = cell.kind == JetWriteValue::Kind::Yes;
            if (cell.kind == JetWriteValue::Kind::Long) {
                fields[c] = EncodeJetLongValue(cell.bytes, longPages[c]);
                values[c].bytes = fields[c];
            } else if (cell.kind == JetWriteValue::Kind::Stored) {
                values[c].bytes = cell.bytes;
            }
        }
        auto bytes = EncodeJetRow(table, values);
        if (!bytes) {
            error = "a row is too long for a page, or a value has the wrong width";
            return std::nullopt;
        }
        encoded.push_back(std::move(*bytes));
        for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
            const JetRealIndex& index = table.realIndexes[i];
            auto key = EncodeJetIndexKey(table, index, values, file);
            if (!key) {
                error = "an index key cannot be made";
                return std::nullopt;
            }
            bool none = true;
            for (const JetIndexColumn& part : index.columns) {
                for (std::size_t c = 0; c < table.columns.size(); ++c) {
                    none = none && !(table.columns[c].number == part.number && !values[c].isNull &&
                                     table.columns[c].type != kJetBool);
                }
            }
            keys[i].push_back(std::move(*key));
            allNull[i].push_back(none);
        }
    }

    // The data pages, filled in turn.
    Pages out(file);
    std::vector<std::uint32_t> pointers;
    std::set<std::uint32_t> dataPages;
    std::set<std::uint32_t> roomyPages;
    std::vector<JetPageRow> pageRows;
    std::uint32_t pageNumber = 0;
    std::size_t used = kDataPageHeader;
    auto closePage = [&] {
        if (pageRows.empty()) {
            return;
        }
        out.Put({pageNumber, *BuildJetDataPage(owner, pageRows)});
        dataPages.insert(pageNumber);
        if (kJetPageSize - used >= kRoomWorthListing) {
            roomyPages.insert(pageNumber);
        }
        pageRows.clear();
        used = kDataPageHeader;
    };
    for (std::vector<std::uint8_t>& row : encoded) {
        if (pageRows.empty() || used + row.size() + kSlotSize > kJetPageSize ||
            pageRows.size() >= kMaxRowsPerDataPage) {
            closePage();
            pageNumber = pool.Take();
        }
        used += row.size() + kSlotSize;
        pointers.push_back(pageNumber << 8 | static_cast<std::uint32_t>(pageRows.size()));
        pageRows.push_back({std::move(row), false, false});
    }
    closePage();

    // The long-value pages and their maps.
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const JetColumnDefinition& column = table.columns[c];
        if (!IsLong(column)) {
            continue;
        }
        std::set<std::uint32_t> pages;
        std::set<std::uint32_t> roomy;
        for (const JetBuiltPage& page : longPages[c].Build()) {
            out.Put(page);
            pages.insert(page.number);
            if (static_cast<std::size_t>(page.bytes[2] | page.bytes[3] << 8) >= kRoomWorthListing) {
                roomy.insert(page.number);
            }
        }
        if (!RewriteMap(file, out, column.longValuePages, pages, &takeFunction) ||
            (column.longValueFreePages != 0 &&
             !RewriteMap(file, out, column.longValueFreePages, roomy, &takeFunction))) {
            error = "a long-value page map cannot hold the column's pages";
            return std::nullopt;
        }
    }

    // The indexes, each from its root page.
    for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
        const JetRealIndex& index = table.realIndexes[i];
        std::vector<std::size_t> order;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (!((index.flags & 0x02) != 0 && allNull[i][r])) {
                order.push_back(r);
            }
        }
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return std::tie(keys[i][a], pointers[a]) < std::tie(keys[i][b], pointers[b]);
        });
        // A unique index takes any number of rows whose key columns are all NULL.
        const bool unique = index.IsUnique() ||
                            std::any_of(table.logicalIndexes.begin(), table.logicalIndexes.end(),
                                        [&](const JetLogicalIndex& l) {
                                            return l.IsPrimaryKey() && l.realIndex == i;
                                        });
        std::vector<JetIndexEntry> entries;
        std::uint32_t distinct = 0;
        for (std::size_t e = 0; e < order.size(); ++e) {
            const std::size_t r = order[e];
            const bool repeated = e > 0 && keys[i][r] == keys[i][order[e - 1]];
            if (repeated && unique && !allNull[i][r]) {
                error = "two rows would have the same key in a unique index";
                return std::nullopt;
            }
            distinct += repeated ? 0 : 1;
            entries.push_back({keys[i][r], pointers[r], 0});
        }
        const auto built = BuildJetIndexTree(owner, index.rootPage, entries, take);
        if (!built) {
            error = "an index entry is too long for a page";
            return std::nullopt;
        }
        std::set<std::uint32_t> pages;
        for (const JetBuiltPage& page : *built) {
            out.Put(page);
            pages.insert(page.number);
        }
        if (!RewriteMap(file, out, index.usedPages, pages, &takeFunction)) {
            error = "an index page map cannot hold the index's pages";
            return std::nullopt;
        }
        PutInDefinition(out, table, kIndexCountsOffset + 12 * i + 4, distinct);
    }

    // The table's maps and counts.
    if (!RewriteMap(file, out, table.ownedPages, dataPages, &takeFunction) ||
        !RewriteMap(file, out, table.freeSpacePages, roomyPages, &takeFunction)) {
        error = "the page map of the table cannot hold its pages";
        return std::nullopt;
    }
    PutInDefinition(out, table, kRowCountOffset, static_cast<std::uint32_t>(rows.size()));
    PutInDefinition(out, table, kAutoNumberOffset, lastAutoNumber);

    // The file's free pages: those given back and not taken again; a new page is in use. A
    // file whose page 1 is not the engine's own (its owner itself) keeps no such map.
    const auto mapPage = ReadJetDataPage(JetPage(file, 1));
    if (!mapPage || mapPage->owner != 1) {
        for (const std::uint32_t page : pool.Unused()) {
            auto bytes = out.Page(page);
            std::fill(bytes.begin(), bytes.end(), 0);
        }
        return out.Take();
    }
    const auto free = ReadJetUsageMapAt(file, kFileMap);
    if (!free) {
        error = "the file's page map cannot be read";
        return std::nullopt;
    }
    std::set<std::uint32_t> freePages(free->begin(), free->end());
    for (const std::uint32_t page : pool.Taken()) {
        freePages.erase(page);
    }
    freePages.insert(pool.Unused().begin(), pool.Unused().end());
    // Given-back pages are left out of the file's map when it cannot name them: they are
    // then merely unused.
    if (!RewriteMap(file, out, kFileMap, freePages, nullptr, pool.End())) {
        std::set<std::uint32_t> kept;
        for (const std::uint32_t page : freePages) {
            if (page < fileEnd) {
                kept.insert(page);
            }
        }
        if (!RewriteMap(file, out, kFileMap, kept, nullptr, pool.End())) {
            error = "the file's page map cannot be written";
            return std::nullopt;
        }
    }
    // The pages given back and not used again are cleared.
    for (const std::uint32_t page : pool.Unused()) {
        auto bytes = out.Page(page);
        std::fill(bytes.begin(), bytes.end(), 0);
    }
    return out.Take();
}

}  // namespace tabrel
