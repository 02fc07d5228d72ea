#pragma once
// PmExUtil: reading and writing the "PalmSG Database" .dat files of Palm Desktop 4.1.2 and
// later 4.x, the part the four applications share. PmExRecordUtil<Record> adds the record
// list; each application (PmAddrExUtil, PmDateExUtil, PmTodoExUtil, PmMemoExUtil) derives
// from PmExRecordUtil<its record>, passes its PmExAppInfo and reads and writes its own
// fields 11 and up.
//
// File layout (integers little-endian; counted strings and typed fields as in PmDBUtil.h):
//   offset  size     meaning
//   0       5        magic prefix BE BA FE CA 0F (not checked when read)
//   5       19       "PalmSG Database00RV"
//   24      4        version word of the application
//   28      24       reserved block 1; bytes 12 and 13 hold 4096 + record count
//   52      1..263   database file name, counted string of at most 260 bytes
//   ..      R2       reserved block 2 (PmExAppInfo::reserved2Size bytes)
//   ..      ..       Contacts only: 9 x (counted string of at most 32 bytes, u32), then
//                    reserved block 3 (42 bytes)
//   ..      4        next feed ID
//   ..      4        category count C ("Unfiled" not counted; low 16 bits used)
//   ..      ..       C x (u32 slot, u32 ID, u32 dirty flag, counted name of at most 256
//                    bytes, counted file name of at most 256 bytes)
//   ..      20       resource ID, fields per row, record ID position, status position,
//                    placement position (u32 each)
//   ..      2        field count F
//   ..      2F       field type codes (u16 each)
//   ..      4        total field count T
//   ..      ..       T / fields per row records of F typed fields each
//   ..      ..       anything after the last whole record, kept and written back
//
// Loading and saving log every step to the debug log (failures at level 0, progress at
// level 2). A load only reads the file (it still holds the file's lock meanwhile), so a
// read-only file loads. A save writes the whole file into a temporary file beside the
// target and puts it in the target's place only once it is complete, so a failed save
// leaves the old file as it was. A record that was loaded and not changed is written back
// byte for byte, up to the first record written from its fields; after that, a class
// reference of a repeat event is written in its full form (PmRawRecord.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "palm/dat/PmDBUtil.h"
#include "palm/dat/PmDatSchema.h"
#include "palm/dat/PmDataMgr.h"
#include "palm/dat/PmRawRecord.h"
#include "palm/palmsg/PmExRecord.h"

namespace tabrel {

// What sets one application's file apart. The field codes usually live in a static array
// of the application's source file.
struct PmExAppInfo {
    // AppContacts, AppCalendar, AppTasks or AppMemos (PmApp.h). Chooses the file under the
    // user's data folder and the forms of the log lines that differ: Contacts logs "Can not
    // load Palm Desktop Contacts: %s" after a failed load where the others log "Load Palm
    // Desktop <word> failed: %s"; Memos logs no line after a successful load and refuses an
    // empty path with "Invalid Palm Desktop Notes database file name.".
    int app = 0;
    // "Contacts", "Calendar", "Tasks" or "Memos": the word of the log lines.
    std::string_view word;
    // The version word a file of this application carries; any other is refused.
    std::uint32_t version = 0;
    // The default schema: resource ID and one type code per field. The number of codes is
    // the application's field count and fields per row, and the most fields a file's
    // schema may announce.
    std::uint32_t resourceId = 0;
    std::span<const std::uint16_t> fieldCodes;
    // Size of reserved block 2: 11 for Contacts, 43 for the others.
    std::size_t reserved2Size = 0;
    // Bytes of the record's category name including the terminator (a name keeps at most
    // categoryCapacity - 1 characters).
    std::size_t categoryCapacity = 0;
};

class PmExUtil : public PmDBUtil {
  public:
    static constexpr std::size_t kMagicSize = 24;
    static constexpr std::size_t kMagicPrefixSize = 5;
    static constexpr std::string_view kMagicText = "PalmSG Database00RV";
    static constexpr std::size_t kReserved1Size = 24;
    static constexpr std::uint32_t kMaxDatabaseNameLength = 260;
    static constexpr std::uint32_t kMaxCategoryTextLength = 256;
    // Bytes 12 and 13 of reserved block 1: 4096 + record count, little-endian.
    static constexpr std::size_t kRecordCountOffset = 12;
    // The positions of record ID, status and placement of a new schema.
    static constexpr std::uint32_t kRecordIdPosition = 0;
    static constexpr std::uint32_t kStatusPosition = 2;
    static constexpr std::uint32_t kPlacementPosition = 4;

    explicit PmExUtil(const PmExAppInfo& info);
    ~PmExUtil() override = default;

    // Expected version, default schema, empty reserved blocks (reserved block 1 then holds
    // 0x10 in byte 13, and for Contacts 1 in byte 12), no records, not loaded.
    virtual void InitDefaults();

    // The result of the last load.
    bool IsLoaded() const { return m_bLoaded; }
    // Whether the last load attempt failed; SaveAs then refuses, so that what the failed
    // load read is never written under the header of an earlier file.
    bool HasLoadFailed() const { return m_bLoadFailed; }
    // Loads the user's database of this application (found in the user's data folder).
    bool LoadByUser(std::int32_t userId);
    // Loads the whole file. On success the file name (GetFileName) becomes the name
    // recorded inside the file, and the path is kept for Save.
    bool LoadFile(const std::string& path);
    // Writes the database back to the path it was loaded from; fails, logging so, when no
    // load succeeded.
    bool Save();
    // Writes the whole database in place of the existing file at path; fails when there is
    // no file at path, or when the last load attempt failed. The database file name written
    // is the one read from the file (path itself when nothing was loaded).
    bool SaveAs(const std::string& path);

    const PmExAppInfo& GetAppInfo() const { return m_info; }
    std::uint32_t GetExpectedVersion() const { return m_dwExpectedVersion; }
    const PmDatSchema& GetSchema() const { return m_schema; }
    const std::array<std::uint8_t, kReserved1Size>& GetReserved1() const { return m_reserved1; }
    const std::vector<std::uint8_t>& GetReserved2() const { return m_reserved2; }
    // The database file name recorded in the loaded file (up to 260 characters).
    const std::string& GetDatabaseName() const { return m_szDatabaseName; }
    // The path of the last successful load; Save writes there.
    const std::string& GetLoadedPath() const { return m_szLoadedPath; }
    // Whether the loaded file is no longer as it was read (another program wrote or
    // removed it); a save would refuse to overwrite it.
    bool LoadedFileChanged() const {
        return m_loadedStamp && PmFileStamp::Of(m_szLoadedPath) != m_loadedStamp;
    }
    // The bytes after the last whole record of the loaded file.
    const std::vector<std::uint8_t>& GetTrailingBytes() const { return m_trailing; }

  protected:
    // --- Load steps, in file order; each logs its own lines and answers success ----------
    virtual bool CheckMagic();
    virtual bool CheckVersion();
    virtual bool LoadDescription();
    // Contacts only; the others have nothing between description and categories.
    virtual bool LoadCustomLabels() { return true; }
    virtual bool LoadCategories();
    virtual bool LoadSchema();
    virtual bool LoadRecords();

    // --- Save steps, in file order --------------------------------------------------------
    virtual bool SaveMagic();
    virtual bool SaveVersion();
    // databaseName: the name to record in the file.
    virtual bool SaveDescription(const std::string& databaseName);
    virtual bool SaveCustomLabels() { return true; }
    virtual bool SaveCategories();
    virtual bool SaveSchema();
    virtual bool SaveRecords();

    // --- The record list, provided by PmExRecordUtil --------------------------------------
    virtual void ClearRecords() = 0;
    virtual std::size_t CountRecords() const = 0;
    // Reads one record of GetSchema().m_fieldCodes.size() fields at the file position and
    // appends it with the bytes it was read from.
    virtual bool LoadRecord() = 0;
    // Writes the record at position: its loaded bytes when it has them, else its fields.
    virtual bool SaveRecord(std::size_t position) = 0;

    // --- Helpers for the record readers and writers ---------------------------------------
    // Fields 0 to 10 of every record (index below PmExRecord::kFirstAppField). Field 5 also
    // fills the category name. Fields 0 to 6 are written with code 1, 7 to 10 as blocks.
    bool ReadHeaderField(std::size_t index, PmExRecord& record);
    bool WriteHeaderField(std::size_t index, const PmExRecord& record);
    // Reads the bytes from start up to the current position again (the position stays).
    bool ReadBytesSince(std::uint64_t start, std::vector<std::uint8_t>& bytes);
    // The type code of the block of field index (7 to 10): the schema's when it lists a
    // block code there, else the default 64 to 67.
    std::uint32_t GetBlockCode(std::size_t index) const;
    // The log word of the application.
    const char* Word() const { return m_szWord.c_str(); }

    // Set once a record of the save under way went out from its fields (PmRawRecord.h).
    bool m_bFieldsWritten = false;

  private:
    bool RunLoadSteps();
    bool RunSaveSteps(const std::string& path);
    bool LoadCategoryEntry();

    PmExAppInfo m_info;
    std::string m_szWord;
    bool m_bLoaded = false;
    bool m_bLoadFailed = false;
    std::uint32_t m_dwExpectedVersion = 0;
    PmDatSchema m_schema;
    std::array<std::uint8_t, kReserved1Size> m_reserved1{};
    std::vector<std::uint8_t> m_reserved2;
    std::string m_szDatabaseName;
    bool m_bDatabaseNameRead = false;  // false: a save records the path it writes to
    std::string m_szLoadedPath;
    std::optional<PmFileStamp> m_loadedStamp;  // the loaded file as it was when read
    std::vector<std::uint8_t> m_trailing;
};

// The record list and the record operations of one application.
template <class Record>
class PmExRecordUtil : public PmExUtil {
  public:
    using DataMgr = PmDataMgr<Record>;

    explicit PmExRecordUtil(const PmExAppInfo& info) : PmExUtil(info) {}

    DataMgr& GetDataMgr() { return m_records; }
    const DataMgr& GetDataMgr() const { return m_records; }

    // Destroys every record.
    void FreeRecords() { m_records.Clear(); }

    // Appends a record the system created, stamped as added: record number 4096 + n,
    // status |= added, field 3 = n x the application's fields per row, placement
    // 0x7FFFFFFF, where n is the number of records before it. A block without a type code
    // gets the code its field has in the schema (64 to 67).
    bool AddNewRecord(const Record& record) {
        Record stamped = record;
        const auto n = static_cast<std::uint32_t>(m_records.GetRecordCount());
        stamped.m_dwRecordNumber = kPmNewRecordNumberBase + n;
        stamped.m_dwStatus |= kPmStatusAdded;
        stamped.m_dwField3 = n * static_cast<std::uint32_t>(GetAppInfo().fieldCodes.size());
        stamped.m_dwPlacement = kPmNewPlacement;
        for (std::size_t i = 0; i < PmExRecord::kBlockCount; ++i) {
            if (stamped.m_blocks[i].m_dwType == 0) {
                stamped.m_blocks[i].m_dwType = GetBlockCode(PmExRecord::kFirstBlockField + i);
            }
        }
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
        PmExUtil::InitDefaults();
        m_records.Clear();
    }

  protected:
    // Field index (PmExRecord::kFirstAppField and up) of the application's record. An
    // index beyond the application's last field reads and writes nothing.
    virtual bool ReadRecordField(std::size_t index, Record& record) = 0;
    virtual bool WriteRecordField(std::size_t index, const Record& record) = 0;

    void ClearRecords() override { m_records.Clear(); }
    std::size_t CountRecords() const override { return m_records.GetRecordCount(); }

    bool LoadRecord() override {
        const std::uint64_t start = GetPosition();
        TakeClassReference();
        Record record{};
        const std::size_t fieldCount = GetSchema().m_fieldCodes.size();
        for (std::size_t index = 0; index < fieldCount; ++index) {
            const bool read = index < PmExRecord::kFirstAppField ? ReadHeaderField(index, record)
                                                                 : ReadRecordField(index, record);
            if (!read) {
                return false;
            }
        }
        PmRawRecord raw;
        if (const std::optional<std::uint64_t> reference = TakeClassReference()) {
            raw.classRefOffset = static_cast<std::size_t>(*reference - start);
        }
        return ReadBytesSince(start, raw.bytes) &&
               m_records.AddLoadedRecord(std::move(record), std::move(raw));
    }

    bool SaveRecord(std::size_t position) override {
        const Record* record = m_records.GetRecordAt(position);
        if (record == nullptr) {
            return false;
        }
        return SaveRecordInFileOrder(*this, m_records.GetRawRecord(position), m_bFieldsWritten,
                                     [&] { return WriteFields(*record); });
    }

    // As many fields as the file's records hold, so that the file reads back under its own
    // schema.
    bool WriteFields(const Record& record) {
        const std::size_t fieldCount = GetSchema().m_fieldCodes.size();
        for (std::size_t index = 0; index < fieldCount; ++index) {
            const bool written = index < PmExRecord::kFirstAppField
                                     ? WriteHeaderField(index, record)
                                     : WriteRecordField(index, record);
            if (!written) {
                return false;
            }
        }
        return true;
    }

  private:
    DataMgr m_records;
};

}  // namespace tabrel
