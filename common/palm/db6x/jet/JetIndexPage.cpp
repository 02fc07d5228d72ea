#include "palm/db6x/jet/JetIndexPage.h"

#include <algorithm>
#include <set>

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"

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

void PutU16(std::vector<std::uint8_t>& page, std::size_t at, std::size_t value) {
    page[at] = static_cast<std::uint8_t>(value & 0xFF);
    page[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutU32(std::vector<std::uint8_t>& page, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        page[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = bytes; i-- > 0;) {
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
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

std::optional<std::vector<std::uint32_t>> ListJetIndexPages(std::span<const std::uint8_t> file,
                                                            const JetRealIndex& index,
                                                            std::string& error) {
    std::vector<std::uint32_t> pages{index.rootPage};
    std::set<std::uint32_t> seen{index.rootPage};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const auto page = ReadJetIndexPage(JetPage(file, pages[i]));
        if (!page) {
            error = "The file is damaged: an index page is missing or broken.";
            return std::nullopt;
        }
        if (page->isLeaf) {
            continue;
        }
        std::vector<std::uint32_t> children;
        for (const JetIndexEntry& entry : page->entries) {
            children.push_back(entry.child);
        }
        if (page->tail != 0) {
            children.push_back(page->tail);
        }
        for (const std::uint32_t child : children) {
            if (!seen.insert(child).second) {
                error = "The file is damaged: an index page is named twice.";
                return std::nullopt;
            }
            pages.push_back(child);
        }
    }
    return pages;
}

std::size_t SharedJetKeyPrefix(const std::vector<JetIndexEntry>& entries) {
    if (entries.empty()) {
        return 0;
    }
    const auto& first = entries.front().key;
    const auto& last = entries.back().key;
    return static_cast<std::size_t>(
        std::mismatch(first.begin(), first.end(), last.begin(), last.end()).first - first.begin());
}

std::optional<std::vector<std::uint8_t>> BuildJetIndexPage(const JetIndexPageInfo& info) {
    std::vector<std::uint8_t> page(kEntriesOffset, 0);
    page[0] =
        static_cast<std::uint8_t>(info.isLeaf ? JetPageType::IndexLeaf : JetPageType::IndexNode);
    page[1] = 0x01;
    PutU32(page, 4, info.owner);
    PutU32(page, kPreviousOffset, info.previous);
    PutU32(page, kNextOffset, info.next);
    PutU32(page, kTailOffset, info.isLeaf ? 0 : info.tail);
    const std::size_t prefix = info.prefixLength;
    if (prefix > SharedJetKeyPrefix(info.entries) && info.entries.size() > 1) {
        return std::nullopt;
    }
    PutU16(page, kPrefixOffset, prefix);
    std::size_t end = 0;  // of the entries, from their start
    for (std::size_t i = 0; i < info.entries.size(); ++i) {
        const JetIndexEntry& entry = info.entries[i];
        page.insert(page.end(),
                    entry.key.begin() + (i == 0 ? 0 : static_cast<std::ptrdiff_t>(prefix)),
                    entry.key.end());
        AppendBigEndian(page, entry.row >> 8, 3);
        page.push_back(static_cast<std::uint8_t>(entry.row & 0xFF));
        if (!info.isLeaf) {
            AppendBigEndian(page, entry.child, 4);
        }
        end = page.size() - kEntriesOffset;
        if (page.size() > kJetPageSize) {
            return std::nullopt;
        }
        page[kBitmapOffset + end / 8] |= static_cast<std::uint8_t>(1U << (end % 8));
    }
    PutU16(page, 2, kJetPageSize - page.size());
    page.resize(kJetPageSize, 0);
    return page;
}

}  // namespace tabrel
