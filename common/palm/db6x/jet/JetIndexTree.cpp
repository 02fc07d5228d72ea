#include "palm/db6x/jet/JetIndexTree.h"

#include <algorithm>

#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

// The bytes an index page has for its entries (after the 480 of its header and bitmap).
constexpr std::size_t kEntrySpace = kJetPageSize - 480;
constexpr std::size_t kLeafTrailer = 4;  // the row
constexpr std::size_t kNodeTrailer = 8;  // the row and the child page

std::size_t Shared(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

// The entries split into pages, in order, each as full as its space allows; empty when an
// entry alone does not fit.
std::vector<std::vector<JetIndexEntry>> SplitIntoPages(const std::vector<JetIndexEntry>& entries,
                                                       std::size_t trailer) {
    std::vector<std::vector<JetIndexEntry>> pages;
    std::size_t sizes = 0;  // of the entries of the last page, whole
    for (const JetIndexEntry& entry : entries) {
        const std::size_t size = entry.key.size() + trailer;
        if (!pages.empty()) {
            std::vector<JetIndexEntry>& page = pages.back();
            const std::size_t prefix = Shared(page.front().key, entry.key);
            if (sizes + size - prefix * page.size() <= kEntrySpace) {
                page.push_back(entry);
                sizes += size;
                continue;
            }
        }
        if (size > kEntrySpace) {
            return {};
        }
        pages.push_back({entry});
        sizes = size;
    }
    return pages;
}

}  // namespace

std::optional<std::vector<JetBuiltPage>> BuildJetIndexTree(
    std::uint32_t owner, std::uint32_t root, const std::vector<JetIndexEntry>& entries,
    const std::function<std::uint32_t()>& newPage) {
    std::vector<JetBuiltPage> built;
    std::vector<JetIndexEntry> level = entries;
    for (bool leaf = true;; leaf = false) {
        std::vector<std::vector<JetIndexEntry>> pages =
            SplitIntoPages(level, leaf ? kLeafTrailer : kNodeTrailer);
        if (pages.empty() && !level.empty()) {
            return std::nullopt;
        }
        if (pages.size() <= 1) {
            JetIndexPageInfo info;
            info.isLeaf = leaf;
            info.owner = owner;
            info.entries = pages.empty() ? std::vector<JetIndexEntry>{} : pages.front();
            info.prefixLength = static_cast<std::uint16_t>(SharedJetKeyPrefix(info.entries));
            auto bytes = BuildJetIndexPage(info);
            if (!bytes) {
                return std::nullopt;
            }
            built.push_back({root, std::move(*bytes)});
            return built;
        }
        std::vector<std::uint32_t> numbers(pages.size());
        std::generate(numbers.begin(), numbers.end(), newPage);
        std::vector<JetIndexEntry> parents;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            JetIndexPageInfo info;
            info.isLeaf = leaf;
            info.owner = owner;
            info.previous = i > 0 ? numbers[i - 1] : 0;
            info.next = i + 1 < pages.size() ? numbers[i + 1] : 0;
            info.entries = std::move(pages[i]);
            info.prefixLength = static_cast<std::uint16_t>(SharedJetKeyPrefix(info.entries));
            auto bytes = BuildJetIndexPage(info);
            if (!bytes) {
                return std::nullopt;
            }
            parents.push_back({info.entries.back().key, info.entries.back().row, numbers[i]});
            built.push_back({numbers[i], std::move(*bytes)});
        }
        level = std::move(parents);
    }
}

}  // namespace tabrel
