#pragma once
// Writes Jet 4 Memo and OLE values (JetLongValue.h has the field's layout): a value of at
// most 64 bytes inline in its row, one that fits a long-value row in one row, a longer one
// in a chain of rows, each beginning with the pointer to the next (0 at the last). The rows
// go onto long-value pages of their own, each filled before the next is begun.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetIndexTree.h"

namespace tabrel {

// The most bytes of a value kept inline in its row.
inline constexpr std::size_t kJetInlineLongValueMax = 64;

class JetLongValuePages {
  public:
    explicit JetLongValuePages(std::function<std::uint32_t()> newPage)
        : m_newPage(std::move(newPage)) {}

    // Adds a row; the data pointer that names it.
    std::uint32_t Add(std::vector<std::uint8_t> row);
    // The pages with their rows.
    std::vector<JetBuiltPage> Build() const;

  private:
    struct Page {
        std::uint32_t number = 0;
        std::vector<JetPageRow> rows;
        std::size_t used = 0;  // by the header, the row table and the rows
    };
    std::function<std::uint32_t()> m_newPage;
    std::vector<Page> m_pages;
};

// The field of the value in its row; its long-value rows, if any, added to pages. inlineRoom
// is how many bytes the row has left for it (a value is inline only where it fits).
std::vector<std::uint8_t> EncodeJetLongValue(std::span<const std::uint8_t> value,
                                             JetLongValuePages& pages,
                                             std::size_t inlineRoom = kJetInlineLongValueMax);

}  // namespace tabrel
