#include "palm/db6x/jet/JetUsageMap.h"

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kPageListMap = 0x01;
constexpr std::size_t kMapPageBitmapOffset = 4;

void AddMarkedPages(std::span<const std::uint8_t> bitmap, std::uint64_t first,
                    std::uint64_t pageCount, std::vector<std::uint32_t>& pages) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        for (unsigned bit = 0; bit < 8 && bitmap[i] != 0; ++bit) {
            const std::uint64_t page = first + i * 8 + bit;
            if ((bitmap[i] & (1U << bit)) != 0 && page < pageCount) {
                pages.push_back(static_cast<std::uint32_t>(page));
            }
        }
    }
}

}  // namespace

std::optional<std::vector<std::uint32_t>> ReadJetUsageMap(std::span<const std::uint8_t> file,
                                                          std::span<const std::uint8_t> map) {
    const CxByteView view(map);
    const auto kind = view.U8(0);
    // A map may mark pages past the end of the file (space it reserved); those are not pages.
    const std::uint64_t pageCount = file.size() / kJetPageSize;
    std::vector<std::uint32_t> pages;
    if (kind == kInlineMap) {
        const auto first = view.U32(1);
        if (!first) {
            return std::nullopt;
        }
        AddMarkedPages(map.subspan(5), *first, pageCount, pages);
        return pages;
    }
    if (kind != kPageListMap) {
        return std::nullopt;
    }
    for (std::size_t k = 0; view.Has(1 + 4 * k, 4); ++k) {
        const std::uint32_t mapPage = *view.U32(1 + 4 * k);
        if (mapPage == 0) {
            continue;
        }
        const std::span<const std::uint8_t> page = JetPage(file, mapPage);
        if (page.empty() || page[0] != static_cast<std::uint8_t>(JetPageType::UsageMap)) {
            return std::nullopt;
        }
        AddMarkedPages(page.subspan(kMapPageBitmapOffset), std::uint64_t{k} * kJetPagesPerMapPage,
                       pageCount, pages);
    }
    return pages;
}

std::optional<std::vector<std::uint32_t>> ReadJetUsageMapAt(std::span<const std::uint8_t> file,
                                                            std::uint32_t pointer) {
    const auto row = FindJetRow(file, pointer);
    if (!row) {
        return std::nullopt;
    }
    return ReadJetUsageMap(file, *row);
}

namespace {

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

// Marks page in a bitmap that maps the pages from first on; false when it lies outside.
bool Mark(std::span<std::uint8_t> bitmap, std::uint64_t first, std::uint32_t page) {
    if (page < first || page - first >= std::uint64_t{bitmap.size()} * 8) {
        return false;
    }
    const std::uint64_t bit = page - first;
    bitmap[bit / 8] |= static_cast<std::uint8_t>(1U << (bit % 8));
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BuildJetInlineUsageMap(
    const std::vector<std::uint32_t>& pages, std::uint32_t first, std::size_t size) {
    if (size < 5) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> row(size, 0);
    row[0] = kInlineMap;
    PutU32(row, 1, first);
    for (const std::uint32_t page : pages) {
        if (!Mark(std::span(row).subspan(5), first, page)) {
            return std::nullopt;
        }
    }
    return row;
}

std::optional<JetPageListUsageMap> BuildJetPageListUsageMap(
    const std::vector<std::uint32_t>& pages, const std::vector<std::uint32_t>& mapPages,
    std::size_t size) {
    if (size < 1 + 4 * mapPages.size()) {
        return std::nullopt;
    }
    JetPageListUsageMap map;
    map.row.assign(size, 0);
    map.row[0] = kPageListMap;
    map.mapPages.resize(mapPages.size());
    for (std::size_t k = 0; k < mapPages.size(); ++k) {
        PutU32(map.row, 1 + 4 * k, mapPages[k]);
        if (mapPages[k] != 0) {
            map.mapPages[k].assign(kJetPageSize, 0);
            map.mapPages[k][0] = static_cast<std::uint8_t>(JetPageType::UsageMap);
            map.mapPages[k][1] = 0x01;
        }
    }
    for (const std::uint32_t page : pages) {
        const std::size_t k = page / kJetPagesPerMapPage;
        if (k >= mapPages.size() || map.mapPages[k].empty() ||
            !Mark(std::span(map.mapPages[k]).subspan(kMapPageBitmapOffset),
                  std::uint64_t{k} * kJetPagesPerMapPage, page)) {
            return std::nullopt;
        }
    }
    return map;
}

}  // namespace tabrel
