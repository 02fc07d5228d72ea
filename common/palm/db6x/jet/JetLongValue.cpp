#include "palm/db6x/jet/JetLongValue.h"

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

// The header of a Memo or OLE field in its row:
//   offset  size  meaning
//   0       4     length of the value (low 30 bits); bit 31: the value follows the header
//                 in the row; bit 30: the value is one row of a long-value page; neither:
//                 the value is a chain of long-value rows
//   4       4     the (first) long-value row: row number in the low byte, page number above
//   8       4     unused
//   12      n     the value itself when it is inline
//
// A long-value row lies on a data page whose owner is "LVAL" (JetDataPage.h).
// A row of a chain begins with the 4-byte pointer to the next row (0 at the last one); the
// rest of the row is a piece of the value.
constexpr std::size_t kFieldHeaderSize = 12;
constexpr std::uint32_t kInlineFlag = 0x80000000U;
constexpr std::uint32_t kSinglePageFlag = 0x40000000U;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFFU;
// Jet 4 keeps at most this many rows on a page.
constexpr std::size_t kMaxRowsPerPage = 1001;

}  // namespace

bool ReadJetLongValue(std::span<const std::uint8_t> file, std::span<const std::uint8_t> field,
                      std::vector<std::uint8_t>& value, std::string& error) {
    value.clear();
    if (field.size() < kFieldHeaderSize) {
        return true;
    }
    const CxByteView header(field);
    const std::uint32_t word = *header.U32(0);
    const std::uint32_t length = word & kLengthMask;
    std::uint32_t pointer = *header.U32(4);
    if ((word & kInlineFlag) != 0) {
        value.assign(field.begin() + kFieldHeaderSize, field.end());
        return true;
    }
    if ((word & kSinglePageFlag) != 0) {
        const auto row = FindJetRow(file, pointer);
        if (!row) {
            error = "The file is damaged: a long value points to a row that does not exist.";
            return false;
        }
        value.assign(row->begin(), row->end());
        return true;
    }
    if (length > file.size()) {
        error = "The file is damaged: a long value is longer than the file.";
        return false;
    }
    value.reserve(length);
    // A chain visits every row at most once, so it ends within the rows the file can hold.
    const std::size_t maxSteps = file.size() / kJetPageSize * kMaxRowsPerPage;
    for (std::size_t step = 0; pointer != 0; ++step) {
        const auto found = step < maxSteps ? FindJetRow(file, pointer) : std::nullopt;
        if (!found || found->size() < 4) {
            error = "The file is damaged: the chain of a long value is broken.";
            return false;
        }
        const std::span<const std::uint8_t> row = *found;
        const std::size_t piece = row.size() - 4;
        if (value.size() + piece > length) {
            error = "The file is damaged: a long value is longer than its length says.";
            return false;
        }
        value.insert(value.end(), row.begin() + 4, row.end());
        pointer = *CxByteView(row).U32(0);
    }
    return true;
}

}  // namespace tabrel
