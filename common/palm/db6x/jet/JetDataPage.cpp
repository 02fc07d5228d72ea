#include "palm/db6x/jet/JetDataPage.h"

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

}  // namespace tabrel
