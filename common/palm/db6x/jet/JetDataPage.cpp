#include "palm/db6x/jet/JetDataPage.h"

#include <algorithm>

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetHeader.h"

namespace tabrel {

namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kRowCountOffset = 12;
constexpr std::size_t kRowTableOffset = 14;
constexpr std::uint16_t kRowOffsetMask = 0x1FFF;
constexpr std::uint16_t kDeletedRow = 0x8000;
constexpr std::uint16_t kMovedRow = 0x4000;

}  // namespace

std::span<const std::uint8_t> JetPage(std::span<const std::uint8_t> file, std::uint32_t page) {
    if (page >= file.size() / kJetPageSize) {
        return {};
    }
    return file.subspan(std::size_t{page} * kJetPageSize, kJetPageSize);
}

std::optional<JetDataPageInfo> ReadJetDataPage(std::span<const std::uint8_t> page) {
    const CxByteView view(page);
    const auto type = view.U8(0);
    const auto count = view.U16(kRowCountOffset);
    if (!type || *type != static_cast<std::uint8_t>(JetPageType::Data) || !count ||
        !view.Has(kRowTableOffset, std::size_t{*count} * 2)) {
        return std::nullopt;
    }
    JetDataPageInfo info;
    info.owner = *view.U32(kOwnerOffset);
    info.freeSpace = *view.U16(kFreeSpaceOffset);
    info.rows.reserve(*count);
    const std::size_t tableEnd = kRowTableOffset + std::size_t{*count} * 2;
    std::size_t end = page.size();
    for (std::size_t r = 0; r < *count; ++r) {
        const std::uint16_t word = *view.U16(kRowTableOffset + 2 * r);
        const std::size_t start = word & kRowOffsetMask;
        if (start < tableEnd || start > end) {
            return std::nullopt;
        }
        info.rows.push_back({static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(end),
                             (word & kDeletedRow) != 0, (word & kMovedRow) != 0});
        end = start;
    }
    return info;
}

std::optional<std::span<const std::uint8_t>> FindJetRow(std::span<const std::uint8_t> file,
                                                        std::uint32_t pointer) {
    const std::uint32_t number = pointer & 0xFF;
    const std::span<const std::uint8_t> page = JetPage(file, pointer >> 8);
    if ((pointer >> 8) == 0 || page.empty()) {
        return std::nullopt;
    }
    const auto info = ReadJetDataPage(page);
    if (!info || number >= info->rows.size()) {
        return std::nullopt;
    }
    const JetRowSlot& slot = info->rows[number];
    return page.subspan(slot.start, slot.end - slot.start);
}

std::optional<std::vector<std::uint8_t>> BuildJetDataPage(std::uint32_t owner,
                                                          const std::vector<JetPageRow>& rows) {
    std::vector<std::uint8_t> page(kJetPageSize, 0);
    auto put16 = [&](std::size_t at, std::size_t value) {
        page[at] = static_cast<std::uint8_t>(value & 0xFF);
        page[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    };
    page[0] = static_cast<std::uint8_t>(JetPageType::Data);
    page[1] = 0x01;
    for (std::size_t i = 0; i < 4; ++i) {
        page[kOwnerOffset + i] = static_cast<std::uint8_t>((owner >> (8 * i)) & 0xFF);
    }
    put16(kRowCountOffset, rows.size());
    const std::size_t tableEnd = kRowTableOffset + 2 * rows.size();
    std::size_t end = kJetPageSize;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const JetPageRow& row = rows[r];
        if (row.bytes.size() > end || end - row.bytes.size() < tableEnd) {
            return std::nullopt;
        }
        end -= row.bytes.size();
        std::copy(row.bytes.begin(), row.bytes.end(),
                  page.begin() + static_cast<std::ptrdiff_t>(end));
        put16(kRowTableOffset + 2 * r,
              end | (row.deleted ? kDeletedRow : 0) | (row.moved ? kMovedRow : 0));
    }
    put16(kFreeSpaceOffset, end - tableEnd);
    return page;
}

}  // namespace tabrel
