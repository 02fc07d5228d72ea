#include "palm/db6x/jet/JetTableScan.h"

#include "misc/CxByteView.h"
#include "palm/db6x/jet/JetDataPage.h"
#include "palm/db6x/jet/JetUsageMap.h"

namespace tabrel {

std::optional<std::vector<JetScannedRow>> ScanJetTable(std::span<const std::uint8_t> file,
                                                       const JetTableDefinition& table,
                                                       std::string& error) {
    const auto pages = ReadJetUsageMapAt(file, table.ownedPages);
    if (!pages || table.pages.empty()) {
        error = "The file is damaged: the page map of a table cannot be read.";
        return std::nullopt;
    }
    std::vector<JetScannedRow> rows;
    for (const std::uint32_t number : *pages) {
        const std::span<const std::uint8_t> page = JetPage(file, number);
        // Only the data pages of the map hold rows.
        if (page[0] != static_cast<std::uint8_t>(JetPageType::Data)) {
            continue;
        }
        const auto info = ReadJetDataPage(page);
        if (!info) {
            error = "The file is damaged: the row table of a data page is broken.";
            return std::nullopt;
        }
        if (info->owner != table.pages.front()) {
            continue;
        }
        for (std::size_t r = 0; r < info->rows.size(); ++r) {
            const JetRowSlot& slot = info->rows[r];
            if (slot.deleted) {
                continue;
            }
            std::span<const std::uint8_t> bytes = page.subspan(slot.start, slot.end - slot.start);
            if (slot.moved) {
                const auto target = bytes.size() >= 4 ? CxByteView(bytes).U32(0) : std::nullopt;
                const auto moved = target ? FindJetRow(file, *target) : std::nullopt;
                if (!moved) {
                    error = "The file is damaged: a moved row points to a row that does not exist.";
                    return std::nullopt;
                }
                bytes = *moved;
            }
            rows.push_back({(number << 8) | static_cast<std::uint32_t>(r), bytes});
        }
    }
    return rows;
}

}  // namespace tabrel
