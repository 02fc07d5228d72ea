#pragma once
// PmClassicUtil: reading and writing the classic .dat files of Palm Desktop 4.1 and
// earlier, the part the four applications share. PmClassicRecordUtil<Record> adds the
// record list; each application (PmAddrUtil, PmDateUtil, PmTodoUtil, PmMemoUtil) derives
// from PmClassicRecordUtil<its record>, passes its PmClassicAppInfo and reads and writes its
// own fields 3 and up.
//
// File layout (integers little-endian; counted strings and typed fields as in PmDBUtil.h):
//   offset  size     meaning
//   0       4        version word of the application (a file has no magic text)
//   4       1..263   database file name, counted string (at most 260 bytes for Contacts,
//                    255 for the others)
//   ..      ..       label text, counted string: the Contacts custom labels, a text kept
//                    and written back by the others (at most 511 bytes for Calendar, 255
//                    for Tasks and Memos)
//   ..      4        next feed ID
//   ..      4        category count C ("Unfiled" not counted; low 16 bits used)
//   ..      ..       C x (u32 slot, u32 ID, u32 dirty flag, counted name of at most 256
//                    bytes, counted file name of at most 256 bytes)
//   ..      20       resource ID, fields per row, record ID position, status position,
//                    placement position (u32 each)
//   ..      2        field count F
//   ..      2F       field type codes (u16 each)
//   ..      4        total field count T
//   ..      ..       T / fields per row records of fields per row typed fields each
//   ..      ..       anything after the last whole record, kept and written back
//
// Extension points for an application:
//   - PmClassicAppInfo: version word, default schema, name and label limits, log lines.
//   - ReadRecordField / WriteRecordField (PmClassicRecordUtil): fields 3 and up.
//   - IsShown (PmClassicRecordUtil): the loading filter.
//   - LoadLabelText / SaveLabelText: the label text (Contacts reads its custom labels).
//
// Records the loading filter drops are not in the record list, but they are kept with the
// bytes they were read from and written back unchanged at their place, so a save never
// deletes them. A record that was loaded and not changed is written back byte for byte, up
// to the first record written from its fields; after that, a class reference of a repeat
// event is written in its full form (PmRawRecord.h). A load only reads the file (it still
// holds the file's lock meanwhile), so a read-only file loads. A save writes the whole file
// into a temporary file beside the target and puts it in the target's place only once it
// is complete (CxSafeReplace), so a failed save leaves the old file as it was.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/classic/PmClassicLog.h"
#include "palm/classic/PmClassicRecord.h"
#include "palm/dat/PmDBUtil.h"
#include "palm/dat/PmDatSchema.h"
#include "palm/dat/PmDataMgr.h"
#include "palm/dat/PmRawRecord.h"

namespace tabrel {

// What sets one application's classic file apart.
struct PmClassicAppInfo {
    // AppContacts, AppCalendar, AppTasks or AppMemos (PmApp.h); chooses the file under a
    // user's data folder.
    int app = 0;
    // The version word a file of this application carries; any other is refused.
    std::uint32_t version = 0;
    // The default schema: resource ID and one type code per field. The number of codes is
    // the application's field count and fields per row, and the number of fields its
    // records are read with at most.
    std::uint32_t resourceId = 0;
    std::span<const std::uint16_t> fieldCodes;
    // The longest database file name a file may record (260 Contacts, 255 the others).
    std::uint32_t maxDatabaseNameLength = 0;
    // The longest label text a file may hold (511 Contacts and Calendar, 255 the others).
    std::uint32_t maxLabelTextLength = 0;
    // After a load, GetFileName() is the path loaded from when true (Contacts), else the
    // name recorded in the file.
    bool fileNameIsLoadedPath = false;
    // The application's log lines; never null.
    const PmClassicLog* log = nullptr;
};

class PmClassicUtil : public PmDBUtil {
  public:
    // Record ID, status and placement positions of a new schema.
    static constexpr std::uint32_t kRecordIdPosition = 0;
    static constexpr std::uint32_t kStatusPosition = 1;
    static constexpr std::uint32_t kPlacementPosition = 2;
    static constexpr std::uint32_t kMaxCategoryTextLength = 256;
    // No classic record has a tenth of this many fields; more per row is damage.
    static constexpr std::uint32_t kMaxFieldsPerRow = 255;

    explicit PmClassicUtil(const PmClassicAppInfo& info);
    ~PmClassicUtil() override = default;

    // Expected version, default schema, empty label text, no category list, no records,
    // not loaded.
    virtual void InitDefaults();

    // The result of the last load.
    bool IsLoaded() const { return m_bLoaded; }
    // Whether the last load attempt failed; SaveAs then refuses, so that what the failed
    // load read is never written under the header of an earlier file.
    bool HasLoadFailed() const { return m_bLoadFailed; }
    // Loads the user's database of this application (found in the user's data folder).
    bool LoadByUser(std::int32_t userId);
    // Loads the whole file. A failed load leaves the object not loaded (Save then fails).
    bool LoadFile(const std::string& path);
    // Writes the database back to the path it was last loaded from; fails, logging so, when
    // no load succeeded.
    bool Save();
    // Writes the whole database in place of the existing file at path; fails when there is
    // no file at path, or when the last load attempt failed. The database file name written
    // is the one read from the file (path itself when nothing was loaded).
    virtual bool SaveAs(const std::string& path);

    const PmClassicAppInfo& GetAppInfo() const { return m_info; }
    std::uint32_t GetExpectedVersion() const { return m_dwExpectedVersion; }
    const PmDatSchema& GetSchema() const { return m_schema; }
    // The database file name recorded in the loaded file.
    const std::string& GetDatabaseName() const { return m_szDatabaseName; }
    // The label text as it is written back.
    const std::string& GetLabelText() const { return m_szLabelText; }
    // The path of the last successful load; Save writes there.
    const std::string& GetLoadedPath() const { return m_szLoadedPath; }
    // Whether the loaded file is no longer as it was read (another program wrote or
    // removed it); a save would refuse to overwrite it.
    bool LoadedFileChanged() const {
        return m_loadedStamp && PmFileStamp::Of(m_szLoadedPath) != m_loadedStamp;
    }
    // The bytes after the last whole record of the loaded file.
    const std::vector<std::uint8_t>& GetTrailingBytes() const { return m_trailing; }
    // How many records the loading filter kept out of the record list.
    std::size_t GetHiddenRecordCount() const { return CountHiddenRecords(); }

  protected:
    // --- Load steps, in file order; each logs its own lines and answers success ----------
    virtual bool CheckVersion();
    // The label text at the file position: by default a counted string of at most
    // maxLabelTextLength bytes, kept whole in the label text.
    virtual bool LoadLabelText();
    virtual bool LoadCategories();
    virtual bool LoadSchema();
    virtual bool LoadRecords();

    // --- Save steps, in file order --------------------------------------------------------
    // By default the label text as a counted string.
    virtual bool SaveLabelText();
    virtual bool SaveCategories();
    virtual bool SaveSchema();
    virtual bool SaveRecords();

    // --- The record list, provided by PmClassicRecordUtil ---------------------------------
    // Destroys the records, the hidden ones too.
    virtual void ClearRecords() = 0;
    virtual std::size_t CountRecords() const = 0;
    virtual std::size_t CountHiddenRecords() const = 0;
    // Reads one record of fields per row fields at the file position and puts it in the
    // record list, or among the hidden records when the loading filter drops it.
    virtual bool LoadRecord() = 0;
    // Writes the record at position: its loaded bytes when it has them, else its fields.
    virtual bool SaveRecord(std::size_t position) = 0;
    // Writes the hidden records from next on that were read before the shown record at
    // position, moving next past them.
    virtual bool SaveHiddenRecords(std::size_t position, std::size_t& next) = 0;

    // --- Helpers --------------------------------------------------------------------------
    void SetLabelText(std::string text) { m_szLabelText = std::move(text); }
    // The number of fields every record of the file is read and written with.
    std::size_t GetFieldsPerRow() const { return m_schema.m_dwFieldsPerRow; }
    // Reads the bytes from start up to the current position again (the position stays).
    bool ReadBytesSince(std::uint64_t start, std::vector<std::uint8_t>& bytes);
    const PmClassicLog& Log() const { return *m_info.log; }
    // Logs line at level unless it is null.
    template <class... Args>
    static void LogLine(int level, const char* line, const Args&... args) {
        if (line != nullptr) {
            DebugLog().Print(level, __FILE__, __LINE__, line, args...);
        }
    }

    // Set once a record of the save under way went out from its fields (PmRawRecord.h).
    bool m_bFieldsWritten = false;

  private:
    bool RunLoadSteps();
    bool LoadDatabaseName();
    bool RunSaveSteps(const std::string& databaseName);
    bool LoadCategoryEntry();
    bool SaveCategory(std::int32_t slot, const PmCategory& category);

    PmClassicAppInfo m_info;
    bool m_bLoaded = false;
    bool m_bLoadFailed = false;
    std::uint32_t m_dwExpectedVersion = 0;
    PmDatSchema m_schema;
    std::string m_szDatabaseName;
    bool m_bDatabaseNameRead = false;  // false: a save records the path it writes to
    std::string m_szLabelText;
    std::string m_szLoadedPath;
    std::optional<PmFileStamp> m_loadedStamp;  // the loaded file as it was when read
    std::vector<std::uint8_t> m_trailing;
};

// The record list and the record operations of one application.
template <class Record>
class PmClassicRecordUtil : public PmClassicUtil {
  public:
    using DataMgr = PmDataMgr<Record>;

    explicit PmClassicRecordUtil(const PmClassicAppInfo& info) : PmClassicUtil(info) {}

    DataMgr& GetDataMgr() { return m_records; }
    const DataMgr& GetDataMgr() const { return m_records; }

    // Appends a record the system created, stamped as added: record ID 0, status
    // kPmStatusAdded, placement kPmNewPlacement. It is written from its fields.
    bool AddNewRecord(const Record& record) {
        Record stamped = record;
        stamped.m_dwRecordId = 0;
        stamped.m_dwStatus = kPmStatusAdded;
        stamped.m_dwPlacement = kPmNewPlacement;
        return m_records.AddRecord(stamped);
    }

    // Puts a changed record at position, marked as modified; it is then written from its
    // fields. False past the end.
    bool ChangeRecord(std::size_t position, const Record& record) {
        Record changed = record;
        changed.m_dwStatus |= kPmStatusModified;
        return m_records.ReplaceRecord(position, changed);
    }

    void InitDefaults() override {
        PmClassicUtil::InitDefaults();
        ClearRecords();
    }

  protected:
    // Field index (PmClassicRecord::kFirstAppField and up) of the application's record. An
    // index beyond the application's last field reads and writes nothing.
    virtual bool ReadRecordField(std::size_t index, Record& record) = 0;
    virtual bool WriteRecordField(std::size_t index, const Record& record) = 0;
    // The loading filter: whether a record read completely goes into the record list.
    virtual bool IsShown(const Record& /*record*/) const { return true; }

    void ClearRecords() override {
        m_records.Clear();
        m_hidden.clear();
    }
    std::size_t CountRecords() const override { return m_records.GetRecordCount(); }
    std::size_t CountHiddenRecords() const override { return m_hidden.size(); }

    // Fields 0 to 2 with the value reader (code 1, 3 or 6), the rest by the application.
    bool LoadRecord() override {
        const std::uint64_t start = GetPosition();
        TakeClassReference();
        Record record{};
        std::uint32_t* header[] = {&record.m_dwRecordId, &record.m_dwStatus, &record.m_dwPlacement};
        for (std::size_t index = 0; index < GetFieldsPerRow(); ++index) {
            const bool read = index < PmClassicRecord::kFirstAppField
                                  ? ReadValueField(*header[index])
                                  : ReadRecordField(index, record);
            if (!read) {
                return false;
            }
        }
        PmRawRecord raw;
        if (const std::optional<std::uint64_t> reference = TakeClassReference()) {
            raw.classRefOffset = static_cast<std::size_t>(*reference - start);
        }
        if (!ReadBytesSince(start, raw.bytes)) {
            return false;
        }
        if (!IsShown(record)) {
            // Written back in front of the record now at position CountRecords().
            m_hidden.push_back(HiddenRecord{CountRecords(), std::move(record), std::move(raw)});
            return true;
        }
        return m_records.AddLoadedRecord(std::move(record), std::move(raw));
    }

    bool SaveRecord(std::size_t position) override {
        const Record* record = m_records.GetRecordAt(position);
        return record != nullptr && WriteRecord(*record, m_records.GetRawRecord(position));
    }

    bool SaveHiddenRecords(std::size_t position, std::size_t& next) override {
        for (; next < m_hidden.size() && m_hidden[next].position <= position; ++next) {
            if (!WriteRecord(m_hidden[next].record, m_hidden[next].raw)) {
                LogLine(kLogFailure, Log().recordWriteFailed);
                return false;
            }
        }
        return true;
    }

  private:
    // A record the loading filter kept out of the record list.
    struct HiddenRecord {
        std::size_t position;  // the shown records read before it
        Record record;
        PmRawRecord raw;
    };

    bool WriteRecord(const Record& record, const PmRawRecord& raw) {
        return SaveRecordInFileOrder(*this, raw, m_bFieldsWritten,
                                     [&] { return WriteFields(record); });
    }

    // Fields 0 to 2 with code 1, the rest by the application; as many fields as the file's
    // records hold, so that the file reads back under its own schema.
    bool WriteFields(const Record& record) {
        const std::uint32_t header[] = {record.m_dwRecordId, record.m_dwStatus,
                                        record.m_dwPlacement};
        for (std::size_t index = 0; index < GetFieldsPerRow(); ++index) {
            const bool written = index < PmClassicRecord::kFirstAppField
                                     ? WriteIntegerField(header[index])
                                     : WriteRecordField(index, record);
            if (!written) {
                LogLine(kLogFailure, Log().recordFieldWriteFailed, index);
                return false;
            }
        }
        return true;
    }

    DataMgr m_records;
    std::vector<HiddenRecord> m_hidden;  // in file order
};

}  // namespace tabrel
