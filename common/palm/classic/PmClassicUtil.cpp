// Loading a classic .dat file: the steps of the layout in PmClassicUtil.h, each logging the
// lines of the application's PmClassicLog.

#include "palm/classic/PmClassicUtil.h"

#include <algorithm>
#include <memory>

#include "misc/CxAssert.h"
#include "misc/CxText.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel {

namespace {

// The smallest number of bytes any record field takes in a file (a 4-byte code and at
// least 4 bytes of value), used to refuse counts the rest of a file cannot hold.
constexpr std::uint64_t kMinFieldBytes = 8;

}  // namespace

PmClassicUtil::PmClassicUtil(const PmClassicAppInfo& info) : m_info(info) {
    CX_ASSERT(m_info.log != nullptr, "m_info.log!=NULL");
    PmClassicUtil::InitDefaults();
}

void PmClassicUtil::InitDefaults() {
    m_dwExpectedVersion = m_info.version;
    m_schema = PmDatSchema{};
    m_schema.m_dwResourceId = m_info.resourceId;
    m_schema.m_dwFieldsPerRow = static_cast<std::uint32_t>(m_info.fieldCodes.size());
    m_schema.m_dwRecordIdPosition = kRecordIdPosition;
    m_schema.m_dwStatusPosition = kStatusPosition;
    m_schema.m_dwPlacementPosition = kPlacementPosition;
    m_schema.m_fieldCodes.assign(m_info.fieldCodes.begin(), m_info.fieldCodes.end());
    m_szDatabaseName.clear();
    m_bDatabaseNameRead = false;
    m_szLabelText.clear();
    m_szLoadedPath.clear();
    m_trailing.clear();
    SetCatMgr(nullptr);
    m_bLoaded = false;
}

bool PmClassicUtil::ReadBytesSince(std::uint64_t start, std::vector<std::uint8_t>& bytes) {
    const std::uint64_t end = GetPosition();
    if (end < start || !Seek(start)) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(end - start));
    return bytes.empty() || ReadBytes(bytes);
}

// --- Whole file ---------------------------------------------------------------------------

bool PmClassicUtil::LoadByUser(std::int32_t userId) {
    std::string path;
    // A missing file still gives the path it was looked for at; LoadFile reports it.
    if (!FindUserDatabase(userId, m_info.app, false, path) && path.empty()) {
        LogLine(kLogFailure, Log().byUserNoFolder, userId);
        m_bLoadFailed = true;
        m_bLoaded = false;
        m_szLoadedPath.clear();
        return false;
    }
    LogLine(kLogProgress, Log().byUserLoading, userId, path);
    return LoadFile(path);
}

bool PmClassicUtil::LoadFile(const std::string& path) {
    // Whatever a failed load leaves behind is never saved, neither over the last loaded file
    // nor anywhere else.
    m_bLoaded = false;
    m_bLoadFailed = true;
    m_szLoadedPath.clear();
    if (path.empty() && Log().emptyPath != nullptr) {
        LogLine(kLogFailure, Log().emptyPath);
        return false;
    }
    LogLine(kLogProgress, Log().loadStart, path);
    // Read only: a file the user may not write can still be converted.
    bool ok = Open(path, PmOpenRead);
    if (!ok) {
        LogLine(kLogFailure, Log().openFailed, path);
    }
    ok = ok && RunLoadSteps();
    const std::optional<PmFileStamp> stamp = GetOpenStamp();
    Close();
    if (!ok) {
        LogLine(kLogFailure, Log().loadFailed, path);
        return false;
    }
    LogLine(kLogProgress, Log().loadDone);
    SetFileName(m_info.fileNameIsLoadedPath ? path : m_szDatabaseName);
    m_szLoadedPath = path;
    m_loadedStamp = stamp;
    m_bLoaded = true;
    m_bLoadFailed = false;
    return true;
}

bool PmClassicUtil::RunLoadSteps() {
    if (!CheckVersion()) {
        LogLine(kLogFailure, Log().versionFailed);
        return false;
    }
    if (!LoadDatabaseName()) {
        LogLine(kLogFailure, Log().databaseNameFailed);
        return false;
    }
    if (!LoadLabelText()) {
        LogLine(kLogFailure, Log().labelsFailed);
        return false;
    }
    if (!LoadCategories()) {
        LogLine(kLogFailure, Log().categoriesFailed);
        return false;
    }
    if (!LoadSchema()) {
        LogLine(kLogFailure, Log().schemaFailed);
        return false;
    }
    if (!LoadRecords()) {
        LogLine(kLogFailure, Log().recordsFailed);
        return false;
    }
    return true;
}

// --- Steps --------------------------------------------------------------------------------

// Version:
//   offset  size  meaning
//   0       4     version word; must be the application's
bool PmClassicUtil::CheckVersion() {
    std::uint32_t version = 0;
    return ReadLong(version) && version == m_dwExpectedVersion;
}

// Database file name:
//   offset  size    meaning
//   0       1..263  counted string of at most maxDatabaseNameLength bytes
bool PmClassicUtil::LoadDatabaseName() {
    std::string name;
    std::uint32_t max = m_info.maxDatabaseNameLength;
    if (!ReadCString(name, max)) {
        return false;
    }
    m_szDatabaseName = std::move(name);
    m_bDatabaseNameRead = true;
    LogLine(kLogProgress, Log().databaseNameRead, m_szDatabaseName);
    return true;
}

// Label text:
//   offset  size    meaning
//   0       1..514  counted string of at most maxLabelTextLength bytes
bool PmClassicUtil::LoadLabelText() {
    std::string text;
    std::uint32_t max = m_info.maxLabelTextLength;
    if (!ReadCString(text, max)) {
        return false;
    }
    m_szLabelText = std::move(text);
    return true;
}

// Category block:
//   offset  size  meaning
//   0       4     next feed ID
//   4       4     category count C (low 16 bits), "Unfiled" not counted
//   8       ..    C entries (see LoadCategoryEntry)
bool PmClassicUtil::LoadCategories() {
    LogLine(kLogProgress, Log().categoriesStart);
    SetCatMgr(std::make_unique<PmCategoryMgr>());
    PmCategoryMgr& categories = *GetCatMgr();
    std::uint32_t nextFeedId = 0;
    if (!ReadLong(nextFeedId)) {
        LogLine(kLogFailure, Log().nextFeedIdFailed);
        return false;
    }
    categories.SetNextFeedId(static_cast<std::int32_t>(nextFeedId));
    std::uint32_t countWord = 0;
    if (!ReadLong(countWord)) {
        LogLine(kLogFailure, Log().categoryCountFailed);
        return false;
    }
    categories.AddUnfiled();
    // A count beyond what the list holds fails at the first entry it cannot add.
    const std::uint32_t count = countWord & 0xFFFF;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!LoadCategoryEntry()) {
            return false;
        }
    }
    categories.SetModified(false);
    LogLine(kLogProgress, Log().categoriesDone);
    return true;
}

// Category entry:
//   offset  size  meaning
//   0       4     slot index, 1 to 15
//   4       4     category ID
//   8       4     dirty flag (not 0: dirty)
//   12      ..    name, counted string of at most 256 bytes (15 are kept)
//   ..      ..    file name, counted string of at most 256 bytes (made anew from the name)
bool PmClassicUtil::LoadCategoryEntry() {
    std::uint32_t slot = 0;
    std::uint32_t id = 0;
    std::uint32_t dirty = 0;
    if (!ReadLong(slot)) {
        LogLine(kLogFailure, Log().categoryIndexFailed);
        return false;
    }
    if (!ReadLong(id)) {
        LogLine(kLogFailure, Log().categoryIdFailed);
        return false;
    }
    if (!ReadLong(dirty)) {
        LogLine(kLogFailure, Log().categoryDirtyFailed);
        return false;
    }
    std::string name;
    std::uint32_t max = kMaxCategoryTextLength;
    if (!ReadCString(name, max)) {
        LogLine(kLogFailure, Log().categoryNameFailed);
        return false;
    }
    std::string fileName;
    max = kMaxCategoryTextLength;
    if (!ReadCString(fileName, max)) {
        LogLine(kLogFailure, Log().categoryFileNameFailed);
        return false;
    }
    // An entry can only name a real slot and a real ID; the list would otherwise place it
    // or number it anew.
    bool added = slot < static_cast<std::uint32_t>(PmCategoryMgr::kSlotCount) &&
                 static_cast<std::int32_t>(id) != -1;
    if (added) {
        PmCategory category;
        category.SetIndex(static_cast<std::int32_t>(slot));
        category.SetId(static_cast<std::int32_t>(id));
        category.SetDirty(dirty != 0);
        category.SetName(name);
        category.SetFileName(fileName);
        added = GetCatMgr()->Add(category);
    }
    if (!added) {
        LogLine(kLogFailure, Log().categoryAddFailed);
    }
    return added;
}

// Schema:
//   offset  size  meaning
//   0       4     resource ID
//   4       4     fields per row, 1 to kMaxFieldsPerRow
//   8       4     record ID position
//   12      4     status position
//   16      4     placement position
//   20      2     field count F
//   22      2F    field type codes, kept as they are (the readers go by field index)
bool PmClassicUtil::LoadSchema() {
    LogLine(kLogProgress, Log().schemaStart);
    PmDatSchema schema;
    if (!ReadLong(schema.m_dwResourceId)) {
        LogLine(kLogFailure, Log().resourceIdFailed);
        return false;
    }
    if (!ReadLong(schema.m_dwFieldsPerRow)) {
        LogLine(kLogFailure, Log().fieldsPerRowFailed);
        return false;
    }
    // The record count is the total field count divided by this.
    if (schema.m_dwFieldsPerRow == 0 || schema.m_dwFieldsPerRow > kMaxFieldsPerRow) {
        LogLine(kLogFailure, Log().fieldsPerRowInvalid, schema.m_dwFieldsPerRow);
        return false;
    }
    if (!ReadLong(schema.m_dwRecordIdPosition)) {
        LogLine(kLogFailure, Log().recordIdPositionFailed);
        return false;
    }
    if (!ReadLong(schema.m_dwStatusPosition)) {
        LogLine(kLogFailure, Log().statusPositionFailed);
        return false;
    }
    if (!ReadLong(schema.m_dwPlacementPosition)) {
        LogLine(kLogFailure, Log().placementPositionFailed);
        return false;
    }
    std::uint16_t fieldCount = 0;
    if (!ReadShort(fieldCount)) {
        LogLine(kLogFailure, Log().fieldCountFailed);
        return false;
    }
    // Grown code by code, so a count the file cannot hold allocates nothing in advance.
    for (std::size_t i = 0; i < fieldCount; ++i) {
        std::uint16_t code = 0;
        if (!ReadShort(code)) {
            LogLine(kLogFailure, Log().fieldCodeFailed, i);
            return false;
        }
        schema.m_fieldCodes.push_back(code);
    }
    m_schema = std::move(schema);
    LogLine(kLogProgress, Log().schemaDone);
    return true;
}

// Records:
//   offset  size  meaning
//   0       4     total field count T
//   4       ..    T / fields per row records, each of fields per row typed fields
//   ..      ..    the rest of the file, kept
bool PmClassicUtil::LoadRecords() {
    LogLine(kLogProgress, Log().recordsStart);
    ClearRecords();
    m_trailing.clear();
    std::uint32_t total = 0;
    if (!ReadLong(total)) {
        LogLine(kLogFailure, Log().totalFieldsFailed);
        return false;
    }
    const std::uint32_t recordCount = total / m_schema.m_dwFieldsPerRow;
    LogLine(kLogProgress, Log().recordCount, recordCount);

    // Every field a record is read with takes bytes; fields beyond the application's own
    // read nothing.
    const std::uint64_t size = GetFileSize();
    const std::uint64_t left = size > GetPosition() ? size - GetPosition() : 0;
    const std::uint64_t fieldsRead =
        std::min<std::uint64_t>(m_schema.m_dwFieldsPerRow, m_info.fieldCodes.size());
    bool ok = std::uint64_t{recordCount} * fieldsRead * kMinFieldBytes <= left;
    for (std::uint32_t i = 0; ok && i < recordCount; ++i) {
        ok = LoadRecord();
    }
    if (ok && GetPosition() < size) {
        m_trailing.resize(static_cast<std::size_t>(size - GetPosition()));
        ok = ReadBytes(m_trailing);
    }
    if (!ok) {
        LogLine(kLogFailure, Log().recordsUnreadable, GetPosition());
        return false;
    }
    LogLine(kLogProgress, Log().recordsDone, CountRecords());
    return true;
}

}  // namespace tabrel
