// Saving a "PalmSG Database" file: the whole database is written into a new file beside the
// target, which then takes the target's place. The target stays open (and so locked)
// meanwhile, and a save that fails anywhere leaves it as it was.

#include <cstdint>
#include <memory>

#include "misc/CxDebugUtil.h"
#include "misc/CxSafeReplace.h"
#include "misc/CxText.h"
#include "palm/dat/PmFile.h"
#include "palm/desktop/PmApp.h"
#include "palm/palmsg/PmExUtil.h"

namespace tabrel {

bool PmExUtil::Save() {
    return SaveAs(m_szLoadedPath);
}

bool PmExUtil::SaveAs(const std::string& path) {
    // After a failed load the header is the earlier file's while the schema and records are
    // (partly) the new file's; nothing of that mix is written.
    if (path.empty() || m_bLoadFailed) {
        CX_LOG(kLogFailure, "Failed to save Palm Desktop %s database.", Word());
        return false;
    }
    CX_LOG(kLogProgress, "Saving Palm Desktop %s database as file: %s", Word(), path);
    // Holding the target open keeps others from it until its replacement is in place.
    PmFile target;
    if (!target.Open(path, PmOpenReadWrite)) {
        CX_LOG(kLogFailure, "Failed to open file: %s", path);
        return false;
    }
    if (!UnchangedSinceLoad(target, path, m_szLoadedPath, m_loadedStamp)) {
        CX_LOG(kLogFailure, "Failed to save Palm Desktop %s database.", Word());
        return false;
    }
    CxSafeReplace replacement;
    const std::string fileName = GetFileName();
    bool ok = replacement.Begin(path) && Open(replacement.GetTempPath(), PmOpenCreate);
    if (!ok) {
        CX_LOG(kLogFailure, "Failed to open file: %s",
               replacement.GetTempPath().empty() ? path : replacement.GetTempPath());
    }
    ok = ok && RunSaveSteps(path) && Sync();
    ok = Close() && ok;
    ok = ok && replacement.Commit();
    SetFileName(fileName);
    if (ok && path == m_szLoadedPath) {
        m_loadedStamp = PmFileStamp::Of(path);
    }
    if (!ok) {
        CX_LOG(kLogFailure, "Failed to save Palm Desktop %s database.", Word());
        return false;
    }
    CX_LOG(kLogProgress, "Save Palm Desktop %s database successfully.", Word());
    return true;
}

bool PmExUtil::RunSaveSteps(const std::string& path) {
    if (!SaveMagic()) {
        CX_LOG(kLogFailure, "Failed to save magic code information.");
        return false;
    }
    if (!SaveVersion()) {
        CX_LOG(kLogFailure, "Failed to save database version.");
        return false;
    }
    // A name longer than a loader accepts would make the file unreadable.
    if (!SaveDescription(m_bDatabaseNameRead ? m_szDatabaseName
                                             : CutText(path, kMaxDatabaseNameLength))) {
        CX_LOG(kLogFailure, "Failed to save database file dscriptions.");
        return false;
    }
    if (!SaveCustomLabels()) {
        CX_LOG(kLogFailure, "Failed to save custom labels.");
        return false;
    }
    if (!SaveCategories()) {
        CX_LOG(kLogFailure, "Failed to save category information.");
        return false;
    }
    if (!SaveSchema()) {
        CX_LOG(kLogFailure, "Failed to save database schema.");
        return false;
    }
    if (!SaveRecords()) {
        CX_LOG(kLogFailure, "Failed to save %s records.", Word());
        return false;
    }
    return true;
}

// --- Steps (the layout is in PmExUtil.h) --------------------------------------------------

bool PmExUtil::SaveMagic() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s magic code information.", Word());
    static constexpr std::array<std::uint8_t, kMagicPrefixSize> kPrefix{0xBE, 0xBA, 0xFE, 0xCA,
                                                                        0x0F};
    if (!WriteBytes(kPrefix)) {
        CX_LOG(kLogFailure, "Failed to write magic code prefix.");
        return false;
    }
    if (!WriteBytes(std::span(reinterpret_cast<const std::uint8_t*>(kMagicText.data()),
                              kMagicText.size()))) {
        CX_LOG(kLogFailure, "Failed to write magic code content.");
        return false;
    }
    CX_LOG(kLogProgress, "Magic code information saved successfully.");
    return true;
}

bool PmExUtil::SaveVersion() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s version information.", Word());
    if (!WriteLong(m_dwExpectedVersion)) {
        CX_LOG(kLogFailure, "Failed to write the integer value of database version.");
        return false;
    }
    // 4096 + record count, as a 16-bit little-endian value.
    const std::size_t count = CountRecords();
    m_reserved1[kRecordCountOffset] = static_cast<std::uint8_t>(count % 256);
    m_reserved1[kRecordCountOffset + 1] = static_cast<std::uint8_t>((count / 256 + 16) % 256);
    if (!WriteBytes(m_reserved1)) {
        CX_LOG(kLogFailure, "Failed to write reserved 1 field.");
        return false;
    }
    CX_LOG(kLogProgress, "Palm Desktop %s version information is saved successfully.", Word());
    return true;
}

bool PmExUtil::SaveDescription(const std::string& databaseName) {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s file description.", Word());
    if (!WriteCString(databaseName)) {
        CX_LOG(kLogFailure, "Failed to write database file name.");
        return false;
    }
    if (!m_reserved2.empty() && !WriteBytes(m_reserved2)) {
        CX_LOG(kLogFailure, "Failed to write reserved 2 field.");
        return false;
    }
    CX_LOG(kLogProgress, "Palm Desktop %s file description is saved successfully.", Word());
    return true;
}

bool PmExUtil::SaveCategories() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s categories.", Word());
    const PmCategoryMgr* categories = GetCatMgr();
    const std::int32_t nextFeedId =
        categories != nullptr ? categories->GetNextFeedId() : PmCategoryMgr::kDefaultNextFeedId;
    // Every category but "Unfiled" (ID 0) is written.
    std::uint32_t count = 0;
    for (std::int32_t slot = 0; categories != nullptr && slot < PmCategoryMgr::kSlotCount; ++slot) {
        const PmCategory* category = categories->GetAt(slot);
        count += category != nullptr && category->GetId() != 0 ? 1 : 0;
    }
    if (!WriteLong(static_cast<std::uint32_t>(nextFeedId)) || !WriteLong(count)) {
        return false;
    }
    for (std::int32_t slot = 0; count != 0 && slot < PmCategoryMgr::kSlotCount; ++slot) {
        const PmCategory* category = categories->GetAt(slot);
        if (category == nullptr || category->GetId() == 0) {
            continue;
        }
        CX_LOG(kLogProgress, "Saving category [%s]", category->GetName());
        // The dirty flag is always written as 0.
        if (!WriteLong(static_cast<std::uint32_t>(slot)) ||
            !WriteLong(static_cast<std::uint32_t>(category->GetId())) || !WriteLong(0) ||
            !WriteCString(category->GetName()) || !WriteCString(category->GetFileName())) {
            return false;
        }
    }
    CX_LOG(kLogProgress, "Palm Desktop %s categories are saved successfully.", Word());
    return true;
}

bool PmExUtil::SaveSchema() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s database schema.", Word());
    if (!WriteLong(m_schema.m_dwResourceId) || !WriteLong(m_schema.m_dwFieldsPerRow) ||
        !WriteLong(m_schema.m_dwRecordIdPosition) || !WriteLong(m_schema.m_dwStatusPosition) ||
        !WriteLong(m_schema.m_dwPlacementPosition) ||
        !WriteShort(static_cast<std::uint16_t>(m_schema.m_fieldCodes.size()))) {
        return false;
    }
    for (const std::uint16_t code : m_schema.m_fieldCodes) {
        if (!WriteShort(code)) {
            return false;
        }
    }
    CX_LOG(kLogProgress, "Palm Desktop %s database schema is saved successfully.", Word());
    return true;
}

bool PmExUtil::SaveRecords() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop %s records.", Word());
    const std::size_t count = CountRecords();
    CX_LOG(kLogProgress, "Total number of records: %d", count);
    const std::uint64_t total = std::uint64_t{count} * m_schema.m_dwFieldsPerRow;
    if (total > UINT32_MAX || !WriteLong(static_cast<std::uint32_t>(total))) {
        return false;
    }
    m_bFieldsWritten = false;
    for (std::size_t position = 0; position < count; ++position) {
        if (!SaveRecord(position)) {
            return false;
        }
    }
    if (!m_trailing.empty() && !WriteBytes(m_trailing)) {
        return false;
    }
    CX_LOG(kLogProgress, "Palm Desktop %s records are saved successfully.", Word());
    return true;
}

}  // namespace tabrel
