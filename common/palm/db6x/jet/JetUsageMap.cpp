#include "palm/db6x/jet/JetUsageMap.h"

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kPageListMap = 0x01;
constexpr std::size_t kMapPageBitmapOffset = 4;
constexpr std::uint32_t kPagesPerMapPage = (kJetPageSize - kMapPageBitmapOffset) * 8;

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
        AddMarkedPages(page.subspan(kMapPageBitmapOffset), std::uint64_t{k} * kPagesPerMapPage,
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

}  // namespace tabrel
