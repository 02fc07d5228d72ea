#include "palm/db6x/jet/JetIndexPage.h"

#include <set>

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"

namespace tabrel {

namespace {

constexpr std::size_t kPreviousOffset = 12;
constexpr std::size_t kNextOffset = 16;
constexpr std::size_t kTailOffset = 20;
constexpr std::size_t kPrefixOffset = 24;
constexpr std::size_t kBitmapOffset = 27;
constexpr std::size_t kBitmapSize = 453;
constexpr std::size_t kEntriesOffset = kBitmapOffset + kBitmapSize;
constexpr std::size_t kRowSize = 4;
constexpr std::size_t kChildSize = 4;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

}  // namespace

std::optional<JetIndexPageInfo> ReadJetIndexPage(std::span<const std::uint8_t> page) {
    const CxByteView view(page);
    const auto type = view.U8(0);
    if (!type ||
        (*type != static_cast<std::uint8_t>(JetPageType::IndexNode) &&
         *type != static_cast<std::uint8_t>(JetPageType::IndexLeaf)) ||
        !view.Has(kEntriesOffset, 0)) {
        return std::nullopt;
    }
    JetIndexPageInfo info;
    info.isLeaf = *type == static_cast<std::uint8_t>(JetPageType::IndexLeaf);
    info.owner = *view.U32(4);
    info.previous = *view.U32(kPreviousOffset);
    info.next = *view.U32(kNextOffset);
    info.tail = *view.U32(kTailOffset);
    info.prefixLength = *view.U16(kPrefixOffset);
    const std::size_t trailer = kRowSize + (info.isLeaf ? 0 : kChildSize);
    std::span<const std::uint8_t> prefix;
    std::size_t start = 0;
    for (std::size_t bit = 0; bit < kBitmapSize * 8; ++bit) {
        if ((page[kBitmapOffset + bit / 8] & (1U << (bit % 8))) == 0) {
            continue;
        }
        if (kEntriesOffset + bit > page.size() || bit <= start) {
            return std::nullopt;
        }
        const std::span<const std::uint8_t> stored =
            page.subspan(kEntriesOffset + start, bit - start);
        JetIndexEntry entry;
        if (!info.entries.empty()) {
            entry.key.assign(prefix.begin(), prefix.end());
        }
        entry.key.insert(entry.key.end(), stored.begin(), stored.end());
        if (entry.key.size() < trailer) {
            return std::nullopt;
        }
        const auto rest = std::span<const std::uint8_t>(entry.key).last(trailer);
        entry.row = BigEndian(rest.first(3)) << 8 | rest[3];
        entry.child = info.isLeaf ? 0 : BigEndian(rest.subspan(kRowSize));
        entry.key.resize(entry.key.size() - trailer);
        if (info.entries.empty()) {
            if (stored.size() < info.prefixLength) {
                return std::nullopt;
            }
            prefix = stored.first(info.prefixLength);
        }
        info.entries.push_back(std::move(entry));
        start = bit;
    }
    return info;
}

std::optional<std::vector<JetIndexEntry>> ReadJetIndexEntries(std::span<const std::uint8_t> file,
                                                              const JetRealIndex& index,
                                                              std::string& error) {
    error = "The file is damaged: an index page is missing or broken.";
    std::set<std::uint32_t> seen;
    auto read = [&](std::uint32_t number) -> std::optional<JetIndexPageInfo> {
        if (!seen.insert(number).second) {
            return std::nullopt;  // a loop
        }
        return ReadJetIndexPage(JetPage(file, number));
    };
    std::optional<JetIndexPageInfo> page = read(index.rootPage);
    while (page && !page->isLeaf) {
        const std::uint32_t child = page->entries.empty() ? page->tail : page->entries[0].child;
        page = read(child);
    }
    std::vector<JetIndexEntry> entries;
    while (page) {
        for (JetIndexEntry& entry : page->entries) {
            entries.push_back(std::move(entry));
        }
        if (page->next == 0) {
            error.clear();
            return entries;
        }
        page = read(page->next);
    }
    return std::nullopt;
}

}  // namespace tabrel
