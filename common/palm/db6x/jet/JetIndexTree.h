#pragma once
// Lays out a whole Jet 4 index from its entries, bottom up: the leaf pages filled in key
// order, each sharing the prefix of its first and last keys; then levels of intermediate
// pages, each entry naming a child page by the child's last entry, until one page is left,
// the root. The pages of a level are linked to their previous and next pages. Every child of an
// intermediate page has its entry (no tail page); an index of one page has a leaf for its root.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "palm/db6x/jet/JetIndexPage.h"

namespace tabrel {

struct JetBuiltPage {
    std::uint32_t number = 0;
    std::vector<std::uint8_t> bytes;
};

// The pages of an index of the table whose definition is at owner, holding entries (in key
// order, then row order): the root takes the number root, the other pages the numbers
// newPage gives, in order. nullopt when an entry does not fit a page.
std::optional<std::vector<JetBuiltPage>> BuildJetIndexTree(
    std::uint32_t owner, std::uint32_t root, const std::vector<JetIndexEntry>& entries,
    const std::function<std::uint32_t()>& newPage);

}  // namespace tabrel
