// Loading a "PalmSG Database" file: the steps of the layout in PmExUtil.h, each logging its
// progress and its failure.

#include "palm/palmsg/PmExUtil.h"

#include <algorithm>
#include <memory>

#include "misc/CxDebugUtil.h"
#include "misc/CxText.h"
#include "misc/WinUtil.h"
#include "palm/desktop/PalmUsers.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

// The smallest number of bytes any record field takes in a file (a 4-byte code and at
// least 4 bytes of value), used to refuse counts the rest of a file cannot hold.
constexpr std::uint64_t kMinFieldBytes = 8;

std::string Hex(std::span<const std::uint8_t> bytes) {
    return HexDump(bytes.data(), bytes.size());
}

// The bytes as a C text: up to the first zero byte.
std::string AsCText(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace

PmExUtil::PmExUtil(const PmExAppInfo& info) : m_info(info), m_szWord(info.word) {
    PmExUtil::InitDefaults();
}

void PmExUtil::InitDefaults() {
    m_dwExpectedVersion = m_info.version;
    m_schema = PmDatSchema{};
    m_schema.m_dwResourceId = m_info.resourceId;
    m_schema.m_dwFieldsPerRow = static_cast<std::uint32_t>(m_info.fieldCodes.size());
    m_schema.m_dwRecordIdPosition = kRecordIdPosition;
    m_schema.m_dwStatusPosition = kStatusPosition;
    m_schema.m_dwPlacementPosition = kPlacementPosition;
    m_schema.m_fieldCodes.assign(m_info.fieldCodes.begin(), m_info.fieldCodes.end());
    m_reserved1.fill(0);
    // 4096 records' worth in bytes 12 and 13; Contacts files start from one more.
    m_reserved1[kRecordCountOffset] = m_info.app == AppContacts ? 1 : 0;
    m_reserved1[kRecordCountOffset + 1] = 0x10;
    m_reserved2.assign(m_info.reserved2Size, 0);
    m_szDatabaseName.clear();
    m_bDatabaseNameRead = false;
    m_trailing.clear();
    m_bLoaded = false;
}

// --- Whole file ---------------------------------------------------------------------------

bool PmExUtil::LoadByUser(std::int32_t userId) {
    CX_LOG(kLogProgress, "Start loading Palm Desktop %s by user ID: %d", Word(), userId);
    std::string path;
    // A missing file still gives the path it was looked for at; LoadFile reports it.
    if (!FindUserDatabase(userId, m_info.app, false, path) && path.empty()) {
        CX_LOG(kLogFailure, "Failed to get user database path by user ID.");
        m_bLoadFailed = true;
        m_bLoaded = false;
        m_szLoadedPath.clear();
        return false;
    }
    CX_LOG(kLogProgress, "Get user file successfully, try loading file:%s", path);
    return LoadFile(path);
}

bool PmExUtil::LoadFile(const std::string& path) {
    // Whatever a failed load leaves behind is never saved, neither over the last loaded file
    // nor anywhere else.
    m_bLoaded = false;
    m_bLoadFailed = true;
    m_szLoadedPath.clear();
    if (m_info.app == AppMemos && path.empty()) {
        CX_LOG(kLogFailure, "Invalid Palm Desktop Notes database file name.");
        return false;
    }
    CX_LOG(kLogProgress, "Loading Palm Desktop %s: %s", Word(), path);
    m_trailing.clear();
    // Read only: a file the user may not write can still be converted.
    bool ok = Open(path, PmOpenRead);
    if (!ok) {
        CX_LOG(kLogFailure, "Failed to open file: %s", path);
    }
    ok = ok && RunLoadSteps();
    const std::optional<PmFileStamp> stamp = GetOpenStamp();
    Close();
    if (!ok) {
        if (m_info.app == AppContacts) {
            CX_LOG(kLogFailure, "Can not load Palm Desktop Contacts: %s", path);
        } else {
            CX_LOG(kLogFailure, "Load Palm Desktop %s failed: %s", Word(), path);
        }
        return false;
    }
    m_szLoadedPath = path;
    m_loadedStamp = stamp;
    SetFileName(m_szDatabaseName);
    if (m_info.app != AppMemos) {
        CX_LOG(kLogProgress, "Palm Desktop %s information is loaded successfully.", Word());
    }
    m_bLoaded = true;
    m_bLoadFailed = false;
    return true;
}

bool PmExUtil::RunLoadSteps() {
    if (!CheckMagic()) {
        CX_LOG(kLogFailure, "Failed to check magic code.");
        return false;
    }
    if (!CheckVersion()) {
        CX_LOG(kLogFailure, "Failed to check database version.");
        return false;
    }
    if (!LoadDescription()) {
        CX_LOG(kLogFailure, "Failed to load database file descriptions.");
        return false;
    }
    if (!LoadCustomLabels()) {
        CX_LOG(kLogFailure, "Failed to load custom labels information.");
        return false;
    }
    if (!LoadCategories()) {
        CX_LOG(kLogFailure, "Failed to load category information.");
        return false;
    }
    if (!LoadSchema()) {
        CX_LOG(kLogFailure, "Failed to load database schema information.");
        return false;
    }
    if (!LoadRecords()) {
        CX_LOG(kLogFailure, "Failed to load %s records.", Word());
        return false;
    }
    return true;
}

// --- Steps --------------------------------------------------------------------------------

// Magic:
//   offset  size  meaning
//   0       5     prefix, not checked
//   5       19    "PalmSG Database00RV"
bool PmExUtil::CheckMagic() {
    CX_LOG(kLogProgress, "Start checking Palm Desktop %s database magic code.", Word());
    std::array<std::uint8_t, kMagicSize> magic{};
    std::size_t count = 0;
    if (!ReadBytesUpTo(magic, count)) {
        count = 0;
    }
    const auto text = std::span<const std::uint8_t>(magic).subspan(
        kMagicPrefixSize, count > kMagicPrefixSize ? count - kMagicPrefixSize : 0);
    if (count != kMagicSize || !std::equal(text.begin(), text.end(), kMagicText.begin())) {
        CX_LOG(kLogFailure, "Incorrect database magic code: %s", AsCText(text));
        return false;
    }
    CX_LOG(kLogProgress, "Check magic code successfully.");
    return true;
}

// Version:
//   offset  size  meaning
//   0       4     version word
//   4       24    reserved block 1
bool PmExUtil::CheckVersion() {
    CX_LOG(kLogProgress, "Start checking Palm Desktop %s database file version.", Word());
    std::uint32_t version = 0;
    if (!ReadLong(version)) {
        return false;
    }
    CX_LOG(kLogProgress, "Database version: %d", static_cast<std::int32_t>(version));
    if (version != m_dwExpectedVersion) {
        CX_LOG(kLogFailure, "Incorrect database version:%d", static_cast<std::int32_t>(version));
        return false;
    }
    std::array<std::uint8_t, kReserved1Size> reserved{};
    std::size_t count = 0;
    if (!ReadBytesUpTo(reserved, count) || count != reserved.size()) {
        CX_LOG(kLogFailure, "Failed to read reserved 1 field. Content=%s, Size=%d",
               Hex(std::span(reserved).first(count)), count);
        return false;
    }
    m_reserved1 = reserved;
    CX_LOG(kLogProgress, "Reserved 1 Field: %s", Hex(m_reserved1));
    CX_LOG(kLogProgress, "Check database version successfully.");
    return true;
}

// Description:
//   offset  size    meaning
//   0       1..263  database file name, counted string of at most 260 bytes
//   ..      R2      reserved block 2
bool PmExUtil::LoadDescription() {
    CX_LOG(kLogProgress, "Start loading Palm Desktop %s database file description.", Word());
    std::string name;
    std::uint32_t max = kMaxDatabaseNameLength;
    if (!ReadCString(name, max)) {
        CX_LOG(kLogFailure, "Failed to read database file name.");
        return false;
    }
    m_szDatabaseName = std::move(name);
    m_bDatabaseNameRead = true;
    CX_LOG(kLogProgress, "Database file name:%s", m_szDatabaseName);
    std::vector<std::uint8_t> reserved(m_info.reserved2Size);
    std::size_t count = 0;
    if (!reserved.empty() && (!ReadBytesUpTo(reserved, count) || count != reserved.size())) {
        CX_LOG(kLogFailure, "Failed to read reserved 2 field. Content=%s, Size=%d",
               Hex(std::span(reserved).first(count)), count);
        return false;
    }
    m_reserved2 = std::move(reserved);
    CX_LOG(kLogProgress, "Reserved 2 Fields: %s", Hex(m_reserved2));
    CX_LOG(kLogProgress, "Load database description information successfully.");
    return true;
}

// Category block:
//   offset  size  meaning
//   0       4     next feed ID
//   4       4     category count C (low 16 bits), "Unfiled" not counted
//   8       ..    C entries (see LoadCategoryEntry)
bool PmExUtil::LoadCategories() {
    CX_LOG(kLogProgress, "Start loading Palm Desktop %s category information.", Word());
    SetCatMgr(std::make_unique<PmCategoryMgr>());
    PmCategoryMgr& categories = *GetCatMgr();
    std::uint32_t nextFeedId = 0;
    if (!ReadLong(nextFeedId)) {
        CX_LOG(kLogFailure, "Failed to read the next feed ID.");
        return false;
    }
    categories.SetNextFeedId(static_cast<std::int32_t>(nextFeedId));
    std::uint32_t countWord = 0;
    if (!ReadLong(countWord)) {
        return false;
    }
    const std::uint32_t count = countWord & 0xFFFF;
    // The list has room for 15 categories beside "Unfiled".
    if (count > PmCategoryMgr::kSlotCount - 1) {
        CX_LOG(kLogFailure, "Incorrect category count:%d", count);
        return false;
    }
    categories.AddUnfiled();
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!LoadCategoryEntry()) {
            return false;
        }
    }
    categories.SetModified(false);
    CX_LOG(kLogProgress, "Load Palm Desktop %s categories successfully.", Word());
    return true;
}

// Category entry:
//   offset  size  meaning
//   0       4     slot index, 1 to 15
//   4       4     category ID
//   8       4     dirty flag (not 0: dirty)
//   12      ..    name, counted string of at most 256 bytes (15 are kept)
//   ..      ..    file name, counted string of at most 256 bytes (made anew from the name)
bool PmExUtil::LoadCategoryEntry() {
    std::uint32_t slot = 0;
    std::uint32_t id = 0;
    std::uint32_t dirty = 0;
    if (!ReadLong(slot) || !ReadLong(id) || !ReadLong(dirty)) {
        return false;
    }
    std::string name;
    std::uint32_t max = kMaxCategoryTextLength;
    if (!ReadCString(name, max)) {
        CX_LOG(kLogFailure, "Failed to read category name.");
        return false;
    }
    CX_LOG(kLogProgress, "Read category:%s", name);
    std::string fileName;
    max = kMaxCategoryTextLength;
    if (!ReadCString(fileName, max)) {
        CX_LOG(kLogFailure, "Failed to read category file name.");
        return false;
    }
    // An entry can only name a real slot and a real ID; the list would otherwise place it
    // or number it anew.
    if (slot >= static_cast<std::uint32_t>(PmCategoryMgr::kSlotCount) ||
        static_cast<std::int32_t>(id) == -1) {
        return false;
    }
    PmCategory category;
    category.SetIndex(static_cast<std::int32_t>(slot));
    category.SetId(static_cast<std::int32_t>(id));
    category.SetDirty(dirty != 0);
    category.SetName(name);
    category.SetFileName(fileName);
    return GetCatMgr()->Add(category);
}

// Schema:
//   offset  size  meaning
//   0       4     resource ID
//   4       4     fields per row
//   8       4     record ID position
//   12      4     status position
//   16      4     placement position
//   20      2     field count F, 1 to the application's field count
//   22      2F    field type codes
bool PmExUtil::LoadSchema() {
    CX_LOG(kLogProgress, "Start loading Palm Desktop %s database schema.", Word());
    PmDatSchema schema;
    if (!ReadLong(schema.m_dwResourceId)) {
        CX_LOG(kLogFailure, "Failed to read resource ID.");
        return false;
    }
    CX_LOG(kLogProgress, "Resource ID:%d", schema.m_dwResourceId);
    if (!ReadLong(schema.m_dwFieldsPerRow)) {
        CX_LOG(kLogFailure, "Failed to read fields per row.");
        return false;
    }
    CX_LOG(kLogProgress, "Fields Per Row:%d", schema.m_dwFieldsPerRow);
    if (schema.m_dwFieldsPerRow == 0) {
        // The record count is the total field count divided by this.
        CX_LOG(kLogFailure, "Incorrect fields per row:%d", schema.m_dwFieldsPerRow);
        return false;
    }
    if (!ReadLong(schema.m_dwRecordIdPosition)) {
        CX_LOG(kLogFailure, "Failed to read Record ID Position.");
        return false;
    }
    CX_LOG(kLogFailure, "Record ID Position:%d", schema.m_dwRecordIdPosition);
    if (!ReadLong(schema.m_dwStatusPosition)) {
        CX_LOG(kLogFailure, "Failed to read Record Status Position.");
        return false;
    }
    CX_LOG(kLogProgress, "Record Status Position:%d", schema.m_dwStatusPosition);
    if (!ReadLong(schema.m_dwPlacementPosition)) {
        CX_LOG(kLogFailure, "Failed to read Placement Position.");
        return false;
    }
    CX_LOG(kLogProgress, "Placement Position:%d", schema.m_dwPlacementPosition);
    std::uint16_t fieldCount = 0;
    if (!ReadShort(fieldCount)) {
        CX_LOG(kLogFailure, "Failed to read Fields Count.");
        return false;
    }
    CX_LOG(kLogProgress, "Fields Count:%d", fieldCount);
    if (fieldCount == 0 || fieldCount > m_info.fieldCodes.size()) {
        CX_LOG(kLogFailure, "Incorrect fields count:%d", fieldCount);
        return false;
    }
    schema.m_fieldCodes.resize(fieldCount);
    for (std::size_t i = 0; i < schema.m_fieldCodes.size(); ++i) {
        if (!ReadShort(schema.m_fieldCodes[i])) {
            CX_LOG(kLogFailure, "Failed to read Field Type. Index=%d", i);
            return false;
        }
        CX_LOG(kLogProgress, "Field (%d) - %d", i + 1, schema.m_fieldCodes[i]);
    }
    m_schema = std::move(schema);
    CX_LOG(kLogProgress, "Palm Desktop %s database schema is loaded successfully.", Word());
    return true;
}

// Records:
//   offset  size  meaning
//   0       4     total field count T
//   4       ..    T / fields per row records, each of F typed fields
//   ..      ..    the rest of the file, kept
bool PmExUtil::LoadRecords() {
    CX_LOG(kLogProgress, "Start loading Palm Desktop %s records.", Word());
    ClearRecords();
    std::uint32_t total = 0;
    if (!ReadLong(total)) {
        CX_LOG(kLogFailure, "Failed to read total fields count.");
        return false;
    }
    CX_LOG(kLogProgress, "Total Fields: %d", total);
    const std::uint32_t recordCount = total / m_schema.m_dwFieldsPerRow;
    CX_LOG(kLogProgress, "Calculated Record Count: %d", recordCount);

    const std::uint64_t size = GetFileSize();
    const std::uint64_t left = size > GetPosition() ? size - GetPosition() : 0;
    const std::uint64_t needed =
        std::uint64_t{recordCount} * m_schema.m_fieldCodes.size() * kMinFieldBytes;
    bool ok = needed <= left;
    for (std::uint32_t i = 0; ok && i < recordCount; ++i) {
        ok = LoadRecord();
    }
    if (ok && GetPosition() < size) {
        m_trailing.resize(static_cast<std::size_t>(size - GetPosition()));
        ok = ReadBytes(m_trailing);
    }
    if (!ok) {
        CX_LOG(kLogFailure, "Error reading Palm Desktop %s, current file position: %d", Word(),
               GetPosition());
        CX_LOG(kLogFailure, "Palm Desktop %s records are not saved successfully.", Word());
        return false;
    }
    CX_LOG(kLogProgress, "Palm Desktop %s records information is saved successfully.", Word());
    return true;
}

// --- Record helpers -----------------------------------------------------------------------

// Record header (see PmExRecord.h):
//   field  reader
//   0-6    value field (code 1, 3 or 6)
//   7-10   block field (any code)
bool PmExUtil::ReadHeaderField(std::size_t index, PmExRecord& record) {
    std::uint32_t* values[] = {
        &record.m_dwRecordId,  &record.m_dwRecordNumber, &record.m_dwStatus, &record.m_dwField3,
        &record.m_dwPlacement, &record.m_dwCategoryId,   &record.m_dwPrivate};
    if (index < std::size(values)) {
        if (!ReadValueField(*values[index])) {
            return false;
        }
        if (index == PmExRecord::kCategoryField) {
            std::string name;
            if (GetCategoryText(static_cast<std::int32_t>(record.m_dwCategoryId), name)) {
                record.m_szCategory =
                    CutText(name, m_info.categoryCapacity > 0 ? m_info.categoryCapacity - 1 : 0);
            }
        }
        return true;
    }
    if (index < PmExRecord::kFirstAppField) {
        return ReadBlockField(record.m_blocks[index - PmExRecord::kFirstBlockField]);
    }
    return true;
}

bool PmExUtil::WriteHeaderField(std::size_t index, const PmExRecord& record) {
    const std::uint32_t values[] = {
        record.m_dwRecordId,  record.m_dwRecordNumber, record.m_dwStatus, record.m_dwField3,
        record.m_dwPlacement, record.m_dwCategoryId,   record.m_dwPrivate};
    if (index < std::size(values)) {
        // The private flag too goes out with code 1.
        return WriteIntegerField(values[index]);
    }
    if (index < PmExRecord::kFirstAppField) {
        return WriteBlockField(record.m_blocks[index - PmExRecord::kFirstBlockField]);
    }
    return true;
}

std::uint32_t PmExUtil::GetBlockCode(std::size_t index) const {
    constexpr std::uint32_t kFirstBlockCode = 64;
    constexpr std::uint32_t kLastBlockCode = 67;
    if (index < m_schema.m_fieldCodes.size() && m_schema.m_fieldCodes[index] >= kFirstBlockCode &&
        m_schema.m_fieldCodes[index] <= kLastBlockCode) {
        return m_schema.m_fieldCodes[index];
    }
    return kFirstBlockCode + static_cast<std::uint32_t>(index - PmExRecord::kFirstBlockField);
}

bool PmExUtil::ReadBytesSince(std::uint64_t start, std::vector<std::uint8_t>& bytes) {
    const std::uint64_t end = GetPosition();
    if (end < start || !Seek(start)) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(end - start));
    return bytes.empty() || ReadBytes(bytes);
}

}  // namespace tabrel
