#include "palm/db6x/jet/JetLongValueWriter.h"

#include <algorithm>

#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

constexpr std::size_t kPageHeader = 14;
constexpr std::size_t kSlotSize = 2;
constexpr std::size_t kMaxRowsPerPage = 256;  // a data pointer has one byte for the row
// The longest row a long-value page takes, alone on it.
constexpr std::size_t kMaxRow = kJetPageSize - kPageHeader - kSlotSize;
constexpr std::size_t kPointerSize = 4;
constexpr std::uint32_t kInlineFlag = 0x80000000U;
constexpr std::uint32_t kSingleRowFlag = 0x40000000U;
constexpr std::size_t kFieldHeader = 12;

void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

std::vector<std::uint8_t> Field(std::uint32_t word, std::uint32_t pointer) {
    std::vector<std::uint8_t> field;
    field.reserve(kFieldHeader);
    AppendU32(field, word);
    AppendU32(field, pointer);
    AppendU32(field, 0);
    return field;
}

}  // namespace

std::uint32_t JetLongValuePages::Add(std::vector<std::uint8_t> row) {
    const std::size_t size = row.size() + kSlotSize;
    if (m_pages.empty() || m_pages.back().used + size > kJetPageSize ||
        m_pages.back().rows.size() >= kMaxRowsPerPage) {
        m_pages.push_back({m_newPage(), {}, kPageHeader});
    }
    Page& page = m_pages.back();
    page.used += size;
    page.rows.push_back({std::move(row), false, false});
    return page.number << 8 | static_cast<std::uint32_t>(page.rows.size() - 1);
}

std::vector<JetBuiltPage> JetLongValuePages::Build() const {
    std::vector<JetBuiltPage> built;
    for (const Page& page : m_pages) {
        built.push_back({page.number, *BuildJetDataPage(kJetLongValueOwner, page.rows)});
    }
    return built;
}

std::vector<std::uint8_t> EncodeJetLongValue(std::span<const std::uint8_t> value,
                                             JetLongValuePages& pages, std::size_t inlineRoom) {
    const auto length = static_cast<std::uint32_t>(value.size());
    if (value.size() <= std::min(kJetInlineLongValueMax, inlineRoom)) {
        std::vector<std::uint8_t> field = Field(length | kInlineFlag, 0);
        field.insert(field.end(), value.begin(), value.end());
        return field;
    }
    if (value.size() <= kMaxRow) {
        return Field(length | kSingleRowFlag,
                     pages.Add(std::vector<std::uint8_t>(value.begin(), value.end())));
    }
    // A chain, added from its last piece back, so that each row knows the next one's place.
    const std::size_t piece = kMaxRow - kPointerSize;
    std::uint32_t next = 0;
    for (std::size_t end = value.size(); end > 0;) {
        const std::size_t start = (end - 1) / piece * piece;
        std::vector<std::uint8_t> row;
        row.reserve(kPointerSize + end - start);
        AppendU32(row, next);
        row.insert(row.end(), value.begin() + static_cast<std::ptrdiff_t>(start),
                   value.begin() + static_cast<std::ptrdiff_t>(end));
        next = pages.Add(std::move(row));
        end = start;
    }
    return Field(length, next);
}

}  // namespace tabrel
