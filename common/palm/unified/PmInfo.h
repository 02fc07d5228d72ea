#pragma once
// PmInfo: what the four facades (PmAddrInfo, PmDateInfo, PmTodoInfo, PmMemoInfo) share. A
// facade hides the three generations of Palm Desktop storage from the rest of the system:
// it tells the generation of a file, loads a user's database or a file with the right
// reader, keeps one item (PmRecItem) and one common record per live record, offers the
// loaded generation's field catalogue and the field texts in both directions, puts imported
// common records into the loaded database and saves.
//
// The items and the common store are kept in step: the item at position p stands for the
// common record at position p. Each item knows the position of its record in the reader's
// record list, also when an import appended it, so that a later update in the same run
// reaches that record.
//
// A facade derives from PmInfo<Facade, Types> and provides:
//   static const PmGenerationTables<PmCatalogueRow> kCatalogues       its catalogues
//   static const PmGenerationTables<PmTextRule> kTextRules            CSV text -> common
//   void FillCommon(const Item&, CommRec&)                            Palm -> common
//   void FillRecord(const CommRec&, Item&, const Carried&)            common -> Palm
//   bool ItemFieldText(const Item&, const FieldDescriptor&, std::string&, std::size_t size)
//   void ApplyTextRule(const PmTextRule&, std::string_view, CommRec&) the rules not kText
// and may hide PrepareItem(Item&), called on every item built from a loaded record before
// its common record is made.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "misc/CxDebugUtil.h"
#include "misc/CxList.h"
#include "misc/CxText.h"
#include "palm/classic/PmClassicRecord.h"
#include "palm/comm/CommMgr.h"
#include "palm/dat/PmFile.h"
#include "palm/desktop/PalmDesktop.h"
#include "palm/palmsg/PmExRecord.h"
#include "palm/unified/FieldDescriptor.h"
#include "palm/unified/PmDataVersion.h"
#include "palm/unified/PmInfoConvert.h"
#include "palm/unified/PmRecItem.h"

namespace tabrel {

// One row of a constant field catalogue.
struct PmCatalogueRow {
    std::int32_t id = 0;
    std::int32_t kind = 0;  // Contacts phone rows 1 to 8, else 0
    std::string_view name;
    std::int32_t type = 0;  // a FieldType
    std::int32_t length = 0;

    FieldDescriptor ToDescriptor() const {
        FieldDescriptor row;
        row.m_nId = id;
        row.m_nKind = kind;
        row.m_szName = std::string(name);
        row.m_nType = type;
        row.m_nLength = length;
        return row;
    }
};

// Where the CSV text of one catalogue row goes in a common record: kText rules set the
// common text field commonId to the text cut to limit characters; kSpecial rules are the
// facade's own (ApplyTextRule). alsoId names a second common field the rule fills.
struct PmTextRule {
    enum Conversion : std::int32_t { kText, kSpecial };

    std::int32_t id = 0;
    std::int32_t kind = 0;
    std::int32_t commonId = 0;
    std::size_t limit = 0;
    Conversion conversion = kText;
    std::int32_t alsoId = -1;
};

// A facade's constant tables of one kind, one per storage generation.
template <class Row>
struct PmGenerationTables {
    std::span<const Row> classic;
    std::span<const Row> ex;
    std::span<const Row> ex2;

    // The table of a generation; empty for none.
    std::span<const Row> For(PmDataVersion version) const {
        switch (version) {
            case PM_DATA_CLASSIC:
                return classic;
            case PM_DATA_EX:
                return ex;
            case PM_DATA_EX2:
                return ex2;
            default:
                return {};
        }
    }
};

// A facade's log lines (printf formats; null: not logged) and its differences.
struct PmInfoTexts {
    const char* checkStart;         // level 2, %s the path
    const char* checkFound6x;       // level 2, %s
    const char* checkFound4x;       // level 2, %s
    const char* checkFoundClassic;  // level 2, %s
    const char* checkFailed;        // level 0, %s
    const char* loadByUser;         // level 2, %d the user
    const char* unknownVersion;     // level 0
    const char* loadByUserFailed;   // level 0, %d
    const char* loadByFile;         // level 2, %s; null for none
    const char* loadByFileFailed;   // level 0, %s
    // A missing path answers PM_DATA_NONE at once in CheckFileVersion.
    bool checkEmptyPathIsNone;
    // LoadByFile refuses a missing path before anything else.
    bool loadEmptyPathRefused;
    // Save with nothing loaded logs unknownVersion.
    bool saveLogsUnknownVersion;
    // The generation of an installed Palm Desktop below 3.5.0.
    PmDataVersion oldInstalledVersion;
};

// What became of an imported record.
enum PmImportResult : std::int32_t {
    kImportAdded,    // added as a new record
    kImportUpdated,  // merged into the matching record
    kImportEqual,    // an equal record is present; nothing changed
    kImportFailed,   // nothing loaded, or the record could not be written
};

// The status word of a Palm record of any generation.
inline std::uint32_t PmStatusWord(const PmClassicRecord& record) {
    return record.m_dwStatus;
}
inline std::uint32_t PmStatusWord(const PmExRecord& record) {
    return record.m_dwStatus;
}
template <class Record>
requires requires(const Record& record) {
    record.m_nStatus;
}
std::uint32_t PmStatusWord(const Record& record) {
    return static_cast<std::uint32_t>(record.m_nStatus);
}

// Status bits (low byte) of a record that is deleted or archived: neither shown nor
// converted.
inline constexpr std::uint32_t kPmHiddenStatusBits = 0x84;

// The record type of a reader's record list.
template <class Util>
using PmReaderRecord =
    std::remove_cvref_t<decltype(*std::declval<Util&>().GetDataMgr().GetRecordAt(0))>;

template <class ClassicUtilT, class ExUtilT, class Ex2UtilT, class CommMgrT, class CommRecT>
struct PmInfoTypes {
    using ClassicUtil = ClassicUtilT;
    using ExUtil = ExUtilT;
    using Ex2Util = Ex2UtilT;
    using CommStore = CommMgrT;
    using CommRec = CommRecT;
    using ClassicRecord = PmReaderRecord<ClassicUtil>;
    using ExRecord = PmReaderRecord<ExUtil>;
    using Ex2Record = PmReaderRecord<Ex2Util>;
    using Item = PmRecItem<CommRec, ClassicRecord, ExRecord, Ex2Record>;
};

template <class Derived, class Types>
class PmInfo {
  public:
    using ClassicUtil = typename Types::ClassicUtil;
    using ExUtil = typename Types::ExUtil;
    using Ex2Util = typename Types::Ex2Util;
    using CommStore = typename Types::CommStore;
    using CommRec = typename Types::CommRec;
    using ClassicRecord = typename Types::ClassicRecord;
    using ExRecord = typename Types::ExRecord;
    using Ex2Record = typename Types::Ex2Record;
    using Item = typename Types::Item;
    // The common fields an import carried; none: every field.
    using Carried = std::optional<CommFieldSet>;

    PmInfo(const PmInfo&) = delete;
    PmInfo& operator=(const PmInfo&) = delete;
    virtual ~PmInfo() { Reset(); }

    PmDataVersion GetInstalledVersion() const { return m_nInstalledVersion; }
    PmDataVersion GetLoadedVersion() const { return m_nLoadedVersion; }
    // Whether the loaded data cannot be written back (a 6.x database in a Jet file of a
    // layout not written), and why.
    bool IsLoadedReadOnly() const {
        return m_nLoadedVersion == PM_DATA_EX2 && m_pEx2->IsReadOnly();
    }
    std::string LoadedReadOnlyReason() const {
        return m_nLoadedVersion == PM_DATA_EX2 ? m_pEx2->WhyReadOnly() : std::string();
    }

    // The generation of the file at path, told by its extension and by the readers that
    // load it; PM_DATA_INVALID when none does. The facade's data is left untouched; the
    // reader that loaded the file is kept for a LoadByFile of the same file that follows.
    PmDataVersion CheckFileVersion(const std::string& path) {
        m_checked = CheckedReader();
        if (m_texts.checkEmptyPathIsNone && path.empty()) {
            return PM_DATA_NONE;
        }
        Log(kLogProgress, m_texts.checkStart, path);
        const std::string extension = ExtensionOf(path);
        const std::optional<PmFileStamp> stamp = PmFileStamp::Of(path);
        if (EqualsNoCase(extension, ".mdb")) {
            if (auto reader = std::make_unique<Ex2Util>(path);
                reader->IsLoaded() && reader->HasApplicationTable()) {
                Log(kLogProgress, m_texts.checkFound6x, path);
                m_checked = CheckedReader{path, stamp, std::move(reader)};
                return PM_DATA_EX2;
            }
        } else if (EqualsNoCase(extension, ".dat")) {
            if (auto reader = std::make_unique<ExUtil>(path); reader->IsLoaded()) {
                Log(kLogProgress, m_texts.checkFound4x, path);
                m_checked = CheckedReader{path, stamp, std::move(reader)};
                return PM_DATA_EX;
            }
            if (auto reader = std::make_unique<ClassicUtil>(path); reader->IsLoaded()) {
                Log(kLogProgress, m_texts.checkFoundClassic, path);
                m_checked = CheckedReader{path, stamp, std::move(reader)};
                return PM_DATA_CLASSIC;
            }
        }
        Log(kLogFailure, m_texts.checkFailed, path);
        return PM_DATA_INVALID;
    }

    // Loads a Palm user's database with the reader of the installed generation.
    bool LoadByUser(std::int32_t userId) {
        Reset();
        Log(kLogProgress, m_texts.loadByUser, userId);
        if (!IsDataGeneration(m_nInstalledVersion)) {
            Log(kLogFailure, m_texts.unknownVersion);
            m_nLoadedVersion = PM_DATA_INVALID;
            return false;
        }
        const bool loaded = WithReader(m_nInstalledVersion,
                                       [&](auto& reader) { return reader.LoadByUser(userId); });
        if (!loaded) {
            Log(kLogFailure, m_texts.loadByUserFailed, userId);
            return false;
        }
        SetLoaded(m_nInstalledVersion);
        return true;
    }

    // Loads a data file with the reader its extension (and, for .dat, its content) chooses.
    bool LoadByFile(const std::string& path) {
        if (m_texts.loadEmptyPathRefused && path.empty()) {
            return false;
        }
        CheckedReader checked = std::exchange(m_checked, CheckedReader());
        Reset();
        Log(kLogProgress, m_texts.loadByFile, path);
        const std::string extension = ExtensionOf(path);
        PmDataVersion version = PM_DATA_NONE;
        if (EqualsNoCase(extension, ".mdb")) {
            CX_LOG(kLogProgress, ".mdb file, try Palm Desktop 6.x database loader.");
            if (checked.TakeFor(path, m_pEx2) ||
                (m_pEx2->LoadFile(path) && m_pEx2->HasApplicationTable())) {
                version = PM_DATA_EX2;
            }
        } else if (EqualsNoCase(extension, ".dat")) {
            CX_LOG(kLogProgress, ".dat file, try Palm Desktop 4.1.4 database loader.");
            if (checked.TakeFor(path, m_pEx) || m_pEx->LoadFile(path)) {
                version = PM_DATA_EX;
            } else {
                CX_LOG(kLogProgress,
                       "Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier "
                       "loader version.");
                if (checked.TakeFor(path, m_pClassic) || m_pClassic->LoadFile(path)) {
                    version = PM_DATA_CLASSIC;
                }
            }
        }
        if (version == PM_DATA_NONE) {
            m_nLoadedVersion = PM_DATA_INVALID;
            Log(kLogFailure, m_texts.loadByFileFailed, path);
            return false;
        }
        SetLoaded(version);
        return true;
    }

    // Drops everything loaded: the readers' record lists, the items and the common records.
    void Reset() {
        m_checked = CheckedReader();
        m_nLoadedVersion = PM_DATA_NONE;
        m_nFieldCount = 0;
        m_pClassic->GetDataMgr().Clear();
        m_pEx->GetDataMgr().Clear();
        m_pEx2->GetDataMgr().Clear();
        m_pItems.Clear();
        m_pCommMgr->Clear();
    }

    // The file the loaded data came from; empty with nothing loaded.
    std::string GetLoadedPath() const {
        switch (m_nLoadedVersion) {
            case PM_DATA_CLASSIC:
                return m_pClassic->GetLoadedPath();
            case PM_DATA_EX:
                return m_pEx->GetLoadedPath();
            case PM_DATA_EX2:
                return m_pEx2->GetAccessor() != nullptr ? m_pEx2->GetAccessor()->GetPath() : "";
            default:
                return {};
        }
    }
    // Whether the loaded .dat file changed on disk after it was loaded.
    bool LoadedFileChanged() const {
        switch (m_nLoadedVersion) {
            case PM_DATA_CLASSIC:
                return m_pClassic->LoadedFileChanged();
            case PM_DATA_EX:
                return m_pEx->LoadedFileChanged();
            default:
                return false;
        }
    }

    // A 6.x database takes the writes of a conversion as one pass, which Save ends and
    // AbandonPass undoes (the .dat generations write nothing before Save anyway).
    bool BeginPass() { return m_nLoadedVersion != PM_DATA_EX2 || m_pEx2->BeginPass(); }
    void AbandonPass() {
        if (m_nLoadedVersion == PM_DATA_EX2) {
            m_pEx2->AbandonPass();
        }
    }

    // Saves through the reader of the loaded generation; false with nothing loaded.
    bool Save() {
        if (!IsDataGeneration(m_nLoadedVersion)) {
            if (m_texts.saveLogsUnknownVersion) {
                Log(kLogFailure, m_texts.unknownVersion);
            }
            return false;
        }
        const bool saved = WithLoadedReader([](auto& reader) { return reader.Save(); });
        // A database kept in memory (a Jet file) is written into its file now.
        return saved && (m_nLoadedVersion != PM_DATA_EX2 || m_pEx2->Flush());
    }

    CommStore& GetCommMgr() { return *m_pCommMgr; }
    const CommStore& GetCommMgr() const { return *m_pCommMgr; }

    // The items, one per common record, in the same order.
    std::size_t GetItemCount() const { return m_pItems.GetCount(); }
    const Item* GetItemAt(std::size_t position) const { return m_pItems.GetAt(position); }
    // The item a common record was made from (its source data); nullptr for a record that
    // has none, such as an import record.
    static const Item* GetItemOf(const CommRec& record) {
        return dynamic_cast<const Item*>(record.m_source.m_pSourceData.get());
    }

    // --- The field catalogue of the loaded generation ------------------------------------

    std::uint32_t GetFieldCount() const { return m_nFieldCount; }
    std::optional<FieldDescriptor> GetFieldAt(std::size_t position) const {
        if (position >= m_nFieldCount) {
            return std::nullopt;
        }
        return Derived::kCatalogues.For(m_nLoadedVersion)[position].ToDescriptor();
    }
    std::optional<FieldDescriptor> GetFieldById(std::int32_t id) const {
        if (m_nFieldCount == 0) {
            return std::nullopt;
        }
        for (const PmCatalogueRow& row : Derived::kCatalogues.For(m_nLoadedVersion)) {
            if (row.id == id) {
                return row.ToDescriptor();
            }
        }
        return std::nullopt;
    }
    // The catalogue of a generation (empty for none), whether loaded or not.
    static std::span<const PmCatalogueRow> GetCatalogue(PmDataVersion version) {
        return Derived::kCatalogues.For(version);
    }

    // --- Field texts ---------------------------------------------------------------------

    // The text of a catalogue row of an item, at most size - 1 characters; false (with the
    // empty text) when the generation does not read the row.
    bool GetFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                      std::size_t size) const {
        text.clear();
        if (!IsDataGeneration(item.m_nVersion) || size == 0) {
            return false;
        }
        std::string full;
        const bool read = Self().ItemFieldText(item, row, full, size);
        text = CutText(full, size - 1);
        return read;
    }
    // The same for the item a common record was made from.
    bool GetFieldText(const CommRec& record, const FieldDescriptor& row, std::string& text,
                      std::size_t size) const {
        text.clear();
        const Item* item = GetItemOf(record);
        return item != nullptr && GetFieldText(*item, row, text, size);
    }

    // Stores the CSV text of a catalogue row in a common record; rows without a target are
    // ignored. False when no generation is loaded.
    bool SetFieldText(const FieldDescriptor& row, std::string_view text, CommRec& record) {
        if (!IsDataGeneration(m_nLoadedVersion)) {
            return false;
        }
        const PmTextRule* rule = FindTextRule(m_nLoadedVersion, row);
        if (rule == nullptr) {
            return true;
        }
        if (rule->conversion == PmTextRule::kText) {
            CommStore::SetText(record, rule->commonId, CutText(text, rule->limit));
        } else {
            Self().ApplyTextRule(*rule, text, record);
        }
        return true;
    }

    // The common fields that SetFieldText fills from these rows in the loaded generation:
    // what an import of a CSV with these columns carries.
    CommFieldSet GetCarriedFields(std::span<const FieldDescriptor> rows) const {
        CommFieldSet carried;
        for (const FieldDescriptor& row : rows) {
            if (const PmTextRule* rule = FindTextRule(m_nLoadedVersion, row)) {
                carried.insert(rule->commonId);
                if (rule->alsoId >= 0) {
                    carried.insert(rule->alsoId);
                }
            }
        }
        return carried;
    }

    // --- Import --------------------------------------------------------------------------

    // Puts an imported common record into the loaded database: kImportEqual when an equal
    // record is present; otherwise it is merged into the matching record (kImportUpdated)
    // or added as a new one (kImportAdded), each only when the record really reached the
    // reader (for 6.x: the database); kImportFailed when it did not, or nothing is loaded.
    // A failed add leaves no item, common record or reader record behind. With carried
    // given, an update takes only those common fields of record (and the texts among them
    // only when not empty); the rest keep their stored values.
    PmImportResult ImportRecord(const CommRec& record, const Carried& carried = std::nullopt) {
        if (!IsDataGeneration(m_nLoadedVersion)) {
            return kImportFailed;
        }
        const CommMatch match = m_pCommMgr->Match(record);
        switch (match.m_nResult) {
            case kCommMatchEqual:
                return kImportEqual;
            case kCommMatchKey:
                return UpdateRecord(record, match.m_nPosition, carried) ? kImportUpdated
                                                                        : kImportFailed;
            case kCommMatchNone:
            default:
                return AddNewRecord(record) ? kImportAdded : kImportFailed;
        }
    }
    // True when ImportRecord added or updated a record.
    bool AddImportRecord(const CommRec& record, const Carried& carried = std::nullopt) {
        const PmImportResult result = ImportRecord(record, carried);
        return result == kImportAdded || result == kImportUpdated;
    }

  protected:
    PmInfo(const PmInfoTexts& texts, std::uint32_t palmVersion)
        : m_texts(texts),
          m_nInstalledVersion(ClassifyInstalledVersion(palmVersion, texts.oldInstalledVersion)),
          m_pClassic(std::make_unique<ClassicUtil>()),
          m_pEx(std::make_unique<ExUtil>()),
          m_pEx2(std::make_unique<Ex2Util>()),
          m_pCommMgr(std::make_unique<CommStore>()) {
        CX_LOG(kLogProgress, "Palm Desktop Version: %d", static_cast<std::int32_t>(palmVersion));
    }

    // Called on an item built from a loaded record before its common record is made.
    void PrepareItem(Item& /*item*/) {}

    ClassicUtil& ClassicReader() { return *m_pClassic; }
    ExUtil& ExReader() { return *m_pEx; }
    Ex2Util& Ex2Reader() { return *m_pEx2; }
    const ClassicUtil& ClassicReader() const { return *m_pClassic; }
    const ExUtil& ExReader() const { return *m_pEx; }

    // The identifier of the category an import record names (its text up to the first ",")
    // in the loaded reader's list, added when missing; 0 for an empty name, -1 when it
    // cannot be added.
    std::int32_t ResolveCategory(std::string_view category) {
        const std::string_view name = PmCategoryNameOf(category);
        std::int32_t id = 0;
        WithLoadedReader([&](auto& reader) { return reader.GetCategoryId(name, id, true); });
        return id;
    }

    static bool IsCarried(const Carried& carried, std::int32_t commonId) {
        return !carried || carried->contains(commonId);
    }

  private:
    Derived& Self() { return static_cast<Derived&>(*this); }
    const Derived& Self() const { return static_cast<const Derived&>(*this); }

    template <class... Args>
    static void Log(int level, const char* line, const Args&... args) {
        if (line != nullptr) {
            DebugLog().Print(level, __FILE__, __LINE__, line, args...);
        }
    }

    // The text from the last dot of the file name on, dot included; empty without one.
    static std::string ExtensionOf(const std::string& path) {
        const std::size_t slash = path.find_last_of("/\\");
        const std::size_t dot = path.rfind('.');
        if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
            return {};
        }
        return path.substr(dot);
    }

    static const PmTextRule* FindTextRule(PmDataVersion version, const FieldDescriptor& row) {
        if (row.IsCustom()) {
            return nullptr;
        }
        for (const PmTextRule& rule : Derived::kTextRules.For(version)) {
            if (rule.id == row.m_nId && rule.kind == row.m_nKind) {
                return &rule;
            }
        }
        return nullptr;
    }

    void SetLoaded(PmDataVersion version) {
        m_nLoadedVersion = version;
        m_nFieldCount = static_cast<std::uint32_t>(Derived::kCatalogues.For(version).size());
        BuildItems();
    }

    // One item and one common record for every live record of the loaded reader.
    void BuildItems() {
        WithLoadedReader([&](auto& reader) {
            BuildItemsFrom(reader.GetDataMgr());
            return true;
        });
    }

    template <class DataMgr>
    void BuildItemsFrom(const DataMgr& records) {
        std::size_t position = 0;
        for (const auto& record : records) {
            if ((PmStatusWord(record) & 0xFF & kPmHiddenStatusBits) == 0) {
                AddLoadedItem(record, position);
            }
            ++position;
        }
    }

    // Running out of memory here ends the load (std::bad_alloc goes on to the caller): a
    // load never leaves records out.
    template <class Record>
    void AddLoadedItem(const Record& record, std::size_t position) {
        auto item = std::make_unique<Item>();
        item->m_nVersion = m_nLoadedVersion;
        item->Set(record);
        item->m_nSource = position;
        Self().PrepareItem(*item);
        CommRec common{};
        Self().FillCommon(*item, common);
        common.m_source.m_nSourceType = kCommSourcePalm;
        common.m_source.m_nStatus = static_cast<std::int32_t>(PmStatusWord(record));
        common.m_source.m_pSourceData = item->Clone();
        Keep(std::move(item), std::move(common));
    }

    // Appends an item and its common record. Running out of memory keeps neither
    // and throws std::bad_alloc.
    void Keep(std::unique_ptr<Item> item, CommRec common) {
        Item* held = item.get();
        m_pItems.Add(std::move(item));
        try {
            held->m_pCommon = m_pCommMgr->Add(std::move(common));
        } catch (const std::bad_alloc&) {
            m_pItems.RemoveLast();
            throw;
        }
    }

    // Running out of memory leaves the reader's list and the stores as they were and
    // throws std::bad_alloc; the pass ends there.
    bool AddNewRecord(const CommRec& record) {
        auto item = std::make_unique<Item>(m_nLoadedVersion);
        Self().FillRecord(record, *item, std::nullopt);
        CommRec common(record);
        if (!AppendToReader(*item)) {
            return false;
        }
        try {
            common.m_source.m_pSourceData = item->Clone();
            Keep(std::move(item), std::move(common));
        } catch (const std::bad_alloc&) {
            RemoveLastFromReader();
            throw;
        }
        return true;
    }

    // Stamps the item's record as new, appends it to the reader's list (6.x: and writes it
    // to the database) and takes the stamped record back into the item.
    bool AppendToReader(Item& item) {
        return WithLoadedReader([&](auto& reader) { return AppendTo(reader, item); });
    }

    template <class Util>
    static bool AppendTo(Util& util, Item& item) {
        using Record = PmReaderRecord<Util>;
        auto& records = util.GetDataMgr();
        const std::size_t position = records.GetRecordCount();
        if constexpr (std::is_same_v<Util, Ex2Util>) {
            Record stamped = *item.Ex2();
            stamped.m_nStatus |= static_cast<std::int32_t>(kPmStatusAdded);
            stamped.m_nPlacement = static_cast<std::int32_t>(kPmNewPlacement);
            if (!records.AddRecord(stamped)) {
                return false;
            }
            Record* held = records.GetRecordAt(position);
            if (held == nullptr || !util.WriteRecord(*held)) {
                records.RemoveLastRecord();
                CX_LOG(kLogFailure, "Failed to write the imported record to the database.");
                return false;
            }
        } else if (!util.AddNewRecord(*item.template Get<Record>())) {
            return false;
        }
        item.Set(*records.GetRecordAt(position));
        item.m_nSource = position;
        return true;
    }

    void RemoveLastFromReader() {
        WithLoadedReader([](auto& reader) {
            reader.GetDataMgr().RemoveLastRecord();
            return true;
        });
    }

    bool UpdateRecord(const CommRec& record, std::size_t position, const Carried& carried) {
        Item* item = m_pItems.At(position);
        CX_ASSERT(item != nullptr, "pItem!=NULL");
        if (!item->m_nSource) {
            return false;
        }
        // Running out of memory throws std::bad_alloc and ends the pass.
        Item updated(*item);
        Self().FillRecord(record, updated, carried);
        if (!ReplaceInReader(updated)) {
            return false;
        }
        if (!m_pCommMgr->Merge(record, position, carried)) {
            return false;
        }
        *item = std::move(updated);
        m_pCommMgr->SetSourceData(position, item->Clone());
        return true;
    }

    // Marks the item's record modified and puts it in place of the reader's record it
    // stands for (6.x: and writes it; a failed write puts the old record back).
    bool ReplaceInReader(Item& item) {
        return WithLoadedReader([&](auto& reader) { return ReplaceIn(reader, item); });
    }

    template <class Util>
    static bool ReplaceIn(Util& util, Item& item) {
        using Record = PmReaderRecord<Util>;
        const std::size_t position = *item.m_nSource;
        auto& records = util.GetDataMgr();
        if constexpr (std::is_same_v<Util, Ex2Util>) {
            const Record* old = records.GetRecordAt(position);
            if (old == nullptr) {
                return false;
            }
            const Record before = *old;
            Record changed = *item.Ex2();
            changed.m_nStatus |= static_cast<std::int32_t>(kPmStatusModified);
            records.ReplaceRecord(position, changed);
            if (!util.WriteRecord(*records.GetRecordAt(position))) {
                records.ReplaceRecord(position, before);
                CX_LOG(kLogFailure, "Failed to write the updated record to the database.");
                return false;
            }
        } else if (!util.ChangeRecord(position, *item.template Get<Record>())) {
            return false;
        }
        item.Set(*records.GetRecordAt(position));
        return true;
    }

    // Calls fn with the reader of a storage generation and gives back its answer; false for
    // any other version. The one place where a generation picks its reader.
    template <class Fn>
    bool WithReader(PmDataVersion version, Fn&& fn) {
        switch (version) {
            case PM_DATA_CLASSIC:
                return fn(*m_pClassic);
            case PM_DATA_EX:
                return fn(*m_pEx);
            case PM_DATA_EX2:
                return fn(*m_pEx2);
            default:
                return false;
        }
    }
    template <class Fn>
    bool WithLoadedReader(Fn&& fn) {
        return WithReader(m_nLoadedVersion, std::forward<Fn>(fn));
    }

    const PmInfoTexts& m_texts;
    PmDataVersion m_nInstalledVersion = PM_DATA_NONE;
    PmDataVersion m_nLoadedVersion = PM_DATA_NONE;
    std::uint32_t m_nFieldCount = 0;
    std::unique_ptr<ClassicUtil> m_pClassic;
    std::unique_ptr<ExUtil> m_pEx;
    std::unique_ptr<Ex2Util> m_pEx2;
    // The reader with which CheckFileVersion loaded a file, and the file's stamp then: a
    // conversion checks its file, then loads it, and so reads it once.
    struct CheckedReader {
        std::string path;
        std::optional<PmFileStamp> stamp;
        std::variant<std::monostate, std::unique_ptr<ClassicUtil>, std::unique_ptr<ExUtil>,
                     std::unique_ptr<Ex2Util>>
            reader;

        // Moves the reader into target when it is of target's kind and loaded path, and the
        // file has not changed since.
        template <class Util>
        bool TakeFor(const std::string& file, std::unique_ptr<Util>& target) {
            auto* kept = std::get_if<std::unique_ptr<Util>>(&reader);
            if (kept == nullptr || path != file || !stamp || PmFileStamp::Of(file) != stamp) {
                return false;
            }
            target = std::move(*kept);
            reader = std::monostate();
            return true;
        }
    };
    CheckedReader m_checked;
    CxList<Item> m_pItems;
    std::unique_ptr<CommStore> m_pCommMgr;
};

}  // namespace tabrel
