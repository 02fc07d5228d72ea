#pragma once
// The pages of a Jet 4 file under construction, the pages that hold rows, and the row
// layouts that live on them: long-value fields and usage maps.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/jetwrite/Bytes.h"

namespace tabrel::test::jetwrite {

// The pages of the file under construction.
class PageSet {
  public:
    std::uint32_t Add() {
        m_pages.emplace_back(kPageSize, 0);
        return static_cast<std::uint32_t>(m_pages.size() - 1);
    }
    Bytes& operator[](std::uint32_t page) { return m_pages.at(page); }
    Bytes Join() const {
        Bytes out;
        out.reserve(m_pages.size() * kPageSize);
        for (const Bytes& page : m_pages) {
            out.insert(out.end(), page.begin(), page.end());
        }
        return out;
    }

  private:
    std::vector<Bytes> m_pages;
};

// A data page or long-value page:
//   offset  size  meaning
//   0       1     page type 0x01
//   1       1     0x01
//   2       2     free space in the page
//   4       4     table definition page of the rows; "LVAL" on a long-value page; 0 on
//                 a page of usage maps
//   8       4     0
//   12      2     number of rows
//   14      2*n   row offsets (start of each row in the page), row 0 first
//   ...           free space
//   ...           the rows, row 0 at the end of the page, each next row below the last
class RowPages {
  public:
    enum class Kind { Data, LongValue, Map };

    // owner: the table definition page of the rows of a data page.
    RowPages(PageSet& pages, Kind kind, std::uint32_t owner)
        : m_pages(pages), m_kind(kind), m_owner(owner) {}

    // Continues on a page already added to the set (and still empty).
    void Adopt(std::uint32_t page) { StartPage(page); }

    // Places one row (it must fit an empty page) and answers its row pointer.
    std::uint32_t Add(const Bytes& row) {
        if (row.size() > kMaxRow) {
            Refuse("a row of " + std::to_string(row.size()) + " bytes does not fit a page");
        }
        if (m_current == 0 || FreeSpace() < row.size() + 2 || m_rows >= kMaxRowsPerPage) {
            StartPage(m_pages.Add());
        }
        Bytes& page = m_pages[m_current];
        m_end -= row.size();
        std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(m_end));
        Put16(page, kRowPageHeader + 2 * m_rows, static_cast<std::uint32_t>(m_end));
        ++m_rows;
        Put16(page, 12, static_cast<std::uint32_t>(m_rows));
        Put16(page, 2, static_cast<std::uint32_t>(FreeSpace()));
        return (m_current << 8) | static_cast<std::uint32_t>(m_rows - 1);
    }

    // Places a row alone on a new page (the chained parts of a long value).
    std::uint32_t AddAlone(const Bytes& row) {
        m_current = 0;
        const std::uint32_t pointer = Add(row);
        m_current = 0;
        return pointer;
    }

    const std::vector<std::uint32_t>& Pages() const { return m_used; }

  private:
    std::size_t FreeSpace() const { return m_end - kRowPageHeader - 2 * m_rows; }

    void StartPage(std::uint32_t number) {
        m_current = number;
        m_used.push_back(m_current);
        m_rows = 0;
        m_end = kPageSize;
        Bytes& page = m_pages[m_current];
        page[0] = 0x01;
        page[1] = 0x01;
        if (m_kind == Kind::LongValue) {
            std::memcpy(page.data() + 4, "LVAL", 4);
        } else {
            Put32(page, 4, m_owner);
        }
        Put16(page, 2, static_cast<std::uint32_t>(FreeSpace()));
    }

    PageSet& m_pages;
    Kind m_kind;
    std::uint32_t m_owner;
    std::uint32_t m_current = 0;
    std::size_t m_rows = 0;
    std::size_t m_end = kPageSize;
    std::vector<std::uint32_t> m_used;
};

// Long values up to this many bytes stay inside the row (when the row still fits a page).
inline constexpr std::size_t kInlineLongValue = 256;

// A memo or OLE value's 12-byte field:
//   offset  size  meaning
//   0       3     length of the value in bytes
//   3       1     0x80: the value follows the field; 0x40: the value is one row of a
//                 long-value page; 0x00: the value is chained over long-value rows
//   4       4     row pointer of the (first) long-value row, else 0
//   8       4     0
//   12      n     the value, when it follows the field
// A chained row is the row pointer of the next part (0 for the last), then the part.
Bytes LongValueField(const Bytes& data, bool allowInline, RowPages& lval);

// Both usage maps of a table hold one "type 0" map each, as a row of the map pages:
//   offset  size  meaning
//   0       1     map type 0x00
//   1       4     the page of bit 0
//   5       n     bitmap: bit i (low bit first) set = page (start + i) is a data page of
//                 the table
Bytes UsageMap(const std::vector<std::uint32_t>& pages);

}  // namespace tabrel::test::jetwrite
