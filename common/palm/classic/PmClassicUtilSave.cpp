// Saving a classic .dat file: the whole database is written into a new file beside the
// target, which then takes the target's place (CxSafeReplace). The target stays open (and so
// locked) meanwhile, and a save that fails anywhere leaves it as it was.

#include <cstdint>
#include <limits>

#include "misc/CxSafeReplace.h"
#include "misc/CxText.h"
#include "palm/classic/PmClassicUtil.h"
#include "palm/dat/PmFile.h"

namespace tabrel {

bool PmClassicUtil::Save() {
    return SaveAs(m_szLoadedPath);
}

bool PmClassicUtil::SaveAs(const std::string& path) {
    // After a failed load the label text is the earlier file's while the schema and records
    // are (partly) the new file's; nothing of that mix is written.
    if (path.empty() || m_bLoadFailed) {
        LogLine(kLogFailure, Log().saveFailed);
        return false;
    }
    LogLine(kLogProgress, Log().saveStart, path);
    // Holding the target open keeps others from it until its replacement is in place.
    PmFile target;
    CxSafeReplace replacement;
    const std::string fileName = GetFileName();
    bool ok = target.Open(path, PmOpenReadWrite) &&
              UnchangedSinceLoad(target, path, m_szLoadedPath, m_loadedStamp) &&
              replacement.Begin(path) && Open(replacement.GetTempPath(), PmOpenCreate);
    if (!ok) {
        LogLine(kLogFailure, Log().saveOpenFailed);
    }
    // A name longer than a loader accepts would make the file unreadable.
    ok = ok &&
         RunSaveSteps(m_bDatabaseNameRead ? m_szDatabaseName
                                          : CutText(path, m_info.maxDatabaseNameLength)) &&
         Sync();
    ok = Close() && ok;
    ok = ok && replacement.Commit();
    SetFileName(fileName);
    if (ok && path == m_szLoadedPath) {
        m_loadedStamp = PmFileStamp::Of(path);
    }
    if (ok) {
        LogLine(kLogProgress, Log().saveDone);
    }
    return ok;
}

bool PmClassicUtil::RunSaveSteps(const std::string& databaseName) {
    if (!WriteLong(m_dwExpectedVersion)) {
        LogLine(kLogFailure, Log().versionWriteFailed);
        return false;
    }
    if (!WriteCString(databaseName)) {
        LogLine(kLogFailure, Log().databaseNameWriteFailed);
        return false;
    }
    if (!SaveLabelText()) {
        LogLine(kLogFailure, Log().labelsWriteFailed);
        return false;
    }
    if (!SaveCategories()) {
        LogLine(kLogFailure, Log().categoriesWriteFailed);
        return false;
    }
    if (!SaveSchema()) {
        LogLine(kLogFailure, Log().schemaWriteFailed);
        return false;
    }
    if (!SaveRecords()) {
        LogLine(kLogFailure, Log().recordsWriteFailed);
        return false;
    }
    return true;
}

// --- Steps (the layout is in PmClassicUtil.h) ---------------------------------------------

bool PmClassicUtil::SaveLabelText() {
    return WriteCString(m_szLabelText);
}

bool PmClassicUtil::SaveCategories() {
    LogLine(kLogProgress, Log().categoriesSaveStart);
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
        if (category == nullptr) {
            LogLine(kLogProgress, Log().categorySlotEmpty);
        } else if (category->GetId() == 0) {
            LogLine(kLogProgress, Log().categoryUnfiledSkipped);
        } else if (!SaveCategory(slot, *category)) {
            return false;
        }
    }
    LogLine(kLogProgress, Log().categoriesSaved);
    return true;
}

// Category entry: u32 slot, u32 ID, u32 dirty flag (always 0), counted name, counted file
// name.
bool PmClassicUtil::SaveCategory(std::int32_t slot, const PmCategory& category) {
    if (!WriteLong(static_cast<std::uint32_t>(slot))) {
        LogLine(kLogFailure, Log().categoryIndexWriteFailed);
        return false;
    }
    if (!WriteLong(static_cast<std::uint32_t>(category.GetId()))) {
        LogLine(kLogFailure, Log().categoryIdWriteFailed);
        return false;
    }
    if (!WriteLong(0)) {
        LogLine(kLogFailure, Log().categoryDirtyWriteFailed);
        return false;
    }
    if (!WriteCString(category.GetName())) {
        LogLine(kLogFailure, Log().categoryNameWriteFailed, category.GetName());
        return false;
    }
    if (!WriteCString(category.GetFileName())) {
        LogLine(kLogFailure, Log().categoryFileNameWriteFailed, category.GetFileName());
        return false;
    }
    return true;
}

bool PmClassicUtil::SaveSchema() {
    LogLine(kLogProgress, Log().schemaSaveStart);
    if (!WriteLong(m_schema.m_dwResourceId)) {
        LogLine(kLogProgress, Log().resourceIdWriteFailed);
        return false;
    }
    if (!WriteLong(m_schema.m_dwFieldsPerRow)) {
        LogLine(kLogFailure, Log().fieldsPerRowWriteFailed);
        return false;
    }
    if (!WriteLong(m_schema.m_dwRecordIdPosition)) {
        LogLine(kLogFailure, Log().recordIdPositionWriteFailed);
        return false;
    }
    if (!WriteLong(m_schema.m_dwStatusPosition)) {
        LogLine(kLogFailure, Log().statusPositionWriteFailed);
        return false;
    }
    if (!WriteLong(m_schema.m_dwPlacementPosition)) {
        LogLine(kLogFailure, Log().placementPositionWriteFailed);
        return false;
    }
    if (!WriteShort(static_cast<std::uint16_t>(m_schema.m_fieldCodes.size()))) {
        LogLine(kLogFailure, Log().fieldCountWriteFailed);
        return false;
    }
    for (std::size_t i = 0; i < m_schema.m_fieldCodes.size(); ++i) {
        if (!WriteShort(m_schema.m_fieldCodes[i])) {
            LogLine(kLogFailure, Log().fieldCodeWriteFailed, i);
            return false;
        }
    }
    LogLine(kLogProgress, Log().schemaSaved);
    return true;
}

// Records: u32 total field count, then the records in file order, the hidden ones at the
// places they were read from, then the bytes that followed the last whole record.
bool PmClassicUtil::SaveRecords() {
    LogLine(kLogProgress, Log().recordsSaveStart);
    const std::size_t count = CountRecords();
    const std::size_t written = count + CountHiddenRecords();
    LogLine(kLogProgress, Log().recordsSaveCount, written);
    const std::uint64_t total = std::uint64_t{written} * m_schema.m_dwFieldsPerRow;
    if (total > std::numeric_limits<std::uint32_t>::max() ||
        !WriteLong(static_cast<std::uint32_t>(total))) {
        LogLine(kLogFailure, Log().totalFieldsWriteFailed);
        return false;
    }
    m_bFieldsWritten = false;
    std::size_t next = 0;
    for (std::size_t position = 0; position < count; ++position) {
        if (!SaveHiddenRecords(position, next)) {
            return false;
        }
        if (!SaveRecord(position)) {
            LogLine(kLogFailure, Log().recordWriteFailed);
            return false;
        }
    }
    if (!SaveHiddenRecords(std::numeric_limits<std::size_t>::max(), next)) {
        return false;
    }
    if (!m_trailing.empty() && !WriteBytes(m_trailing)) {
        return false;
    }
    LogLine(kLogProgress, Log().recordsSaved);
    return true;
}

}  // namespace tabrel
