#include "palm/classic/PmAddrUtil.h"

#include <algorithm>
#include <span>
#include <type_traits>

#include "misc/CxDebugUtil.h"
#include "misc/CxText.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

constexpr std::array<std::uint16_t, PmAddrRecord::kFieldCount> MakeFieldCodes() {
    std::array<std::uint16_t, PmAddrRecord::kFieldCount> codes{};
    for (std::uint16_t& code : codes) {
        code = ftCString;
    }
    for (std::size_t i : {0, 1, 2, 7, 9, 11, 13, 15, 24, 29}) {
        codes[i] = ftInteger;
    }
    codes[23] = ftBoolean;
    return codes;
}

constexpr std::array<std::uint16_t, PmAddrRecord::kFieldCount> kFieldCodes = MakeFieldCodes();

constexpr std::size_t kFirstPhoneField = 7;  // label of slot 1; its text follows
constexpr std::size_t kPrivateField = 23;
constexpr std::size_t kCategoryField = 24;
constexpr std::size_t kFirstCustomField = 25;
constexpr std::size_t kField29 = 29;

constexpr std::uint8_t kLongLengthMark = 0xFF;
constexpr char kLabelEnd = '\n';

PmClassicLog MakeLog() {
    PmClassicLog log;
    log.loadStart = "Loading Palm Desktop Address Book:%s";
    log.openFailed = "Failed to open Palm Desktop address book file: %s";
    log.versionFailed = "Failed to check Palm Desktop address book file version.";
    log.databaseNameRead = "Read Palm Desktop address book database file name: %s";
    log.databaseNameFailed = "Failed to read Palm Desktop address book database file name.";
    log.labelsFailed = "Failed to load custom labels information.";

    log.categoriesStart = "Start reading Palm Desktop address book category information.";
    log.nextFeedIdFailed = "Failed to read the next feed ID of the categories.";
    log.categoryCountFailed = "Failed to read categories count.";
    log.categoryIndexFailed = "Failed to read category index.";
    log.categoryIdFailed = "Failed to read category ID.";
    log.categoryDirtyFailed = "Failed to read category dirty field.";
    log.categoryNameFailed = "Failed to read the name of the category.";
    log.categoryFileNameFailed = "Failed to read category file name.";
    log.categoryAddFailed = "Failed to add category information.";
    log.categoriesDone = "Palm Desktop address book category information was loaded successfully.";
    log.categoriesFailed = "Failed to load category information.";

    log.schemaStart = "Start loading Palm Desktop address book database schema information.";
    log.resourceIdFailed = "Failed to read schema resource ID.";
    log.fieldsPerRowFailed = "Failed to read fields per row.";
    log.fieldsPerRowInvalid = "Incorrect fields per row:%d";
    log.recordIdPositionFailed = "Failed to read resource ID field position.";
    log.statusPositionFailed = "Failed to read status field position.";
    log.placementPositionFailed = "Failed to read placement field position.";
    log.fieldCountFailed = "Failed to read field count.";
    log.fieldCodeFailed = "Failed to read field type information. Field index=%d";
    log.schemaDone =
        "Palm Desktop address book database schema information is loaded successfully.";
    log.schemaFailed = "Failed to load database schema information.";

    log.recordsStart = "Start loading Palm Desktop address book records.";
    log.totalFieldsFailed = "Failed to read field count information.";
    log.recordCount = "Based on calculation, there are %d records in total.";
    log.recordsDone =
        "Palm Desktop address book database is loaded successfully. %d record(s) are loaded in "
        "total.";
    log.recordsFailed = "Failed to load Palm Desktop address book records.";

    log.loadDone = "Palm Desktop address book was loaded successfully.";
    log.loadFailed = "Can not load Palm Desktop Contacts: %s";

    log.byUserNoFolder = "Failed to get Palm Desktop data path by user, User ID=%d";
    log.byUserLoading = "Loading Palm Desktop address book file by user: User(%d) - File(%s)";

    log.saveStart = "Save Palm Desktop address book database as file: %s";
    log.saveOpenFailed = "Failed to open Palm Desktop address book database file.";
    log.versionWriteFailed = "Failed to write database version information.";
    log.databaseNameWriteFailed = "Failed to write database file name.";
    log.labelsWriteFailed = "Failed to write custom labels.";
    log.categoriesWriteFailed = "Failed to save categories information.";
    log.schemaWriteFailed = "Failed to save database schema information.";
    log.recordsWriteFailed = "Failed to save address book records information.";
    log.saveDone = "Palm Desktop address book database saved successfully.";
    log.saveFailed = "Failed to save Palm Desktop address book database.";

    log.categoriesSaveStart = "Start saving Palm Desktop address book category information.";
    log.categorySlotEmpty = "Category not found by index, skip this one.";
    log.categoryUnfiledSkipped = "Skip the \"unfiled\" category.";
    log.categoryIndexWriteFailed = "Failed to write category index.";
    log.categoryIdWriteFailed = "Failed to write category ID.";
    log.categoryDirtyWriteFailed = "Failed to write category dirty field.";
    log.categoryNameWriteFailed = "Failed to write category name (%s)";
    log.categoryFileNameWriteFailed = "Failed to write category file name (%s)";
    log.categoriesSaved = "Palm Desktop address book category information is saved successfully.";

    log.schemaSaveStart = "Start saving Palm Desktop address book database schema.";
    log.resourceIdWriteFailed = "Failed to write resource ID.";
    log.fieldsPerRowWriteFailed = "Failed to write fields per row.";
    log.recordIdPositionWriteFailed = "Failed to write resource ID field position.";
    log.statusPositionWriteFailed = "Failed to write status field position.";
    log.placementPositionWriteFailed = "Failed to write placement field position.";
    log.fieldCountWriteFailed = "Failed to write field count.";
    log.fieldCodeWriteFailed = "Failed to write field type. Field index=%d";
    log.schemaSaved = "Palm Desktop address book database schema is saved successfully.";

    log.recordsSaveStart = "Start saving Palm Desktop address book records.";
    log.recordsSaveCount = "There are %d address book in total";
    log.totalFieldsWriteFailed = "Failed to write total fields count.";
    log.recordWriteFailed = "Failed to save address book record.";
    log.recordFieldWriteFailed = "Failed to save record field (%d).";
    log.recordsSaved = "Palm Desktop address book records are saved successfully.";
    return log;
}

// The 4-byte value a field index holds (Record is PmAddrRecord or const PmAddrRecord), or
// nullptr when it holds a text.
template <class Record>
auto ValueAt(Record& r, std::size_t index) {
    using Value = std::conditional_t<std::is_const_v<Record>, const std::uint32_t, std::uint32_t>;
    Value* none = nullptr;
    const std::size_t phoneEnd = kFirstPhoneField + 2 * PmAddrRecord::kPhoneCount;
    if (index >= kFirstPhoneField && index < phoneEnd) {
        const std::size_t offset = index - kFirstPhoneField;
        return offset % 2 == 0 ? &r.m_dwPhoneLabels[offset / 2] : none;
    }
    switch (index) {
        case kPrivateField:
            return &r.m_bPrivate;
        case kCategoryField:
            return &r.m_dwCategoryId;
        case kField29:
            return &r.m_dwField29;
        default:
            return none;
    }
}

// A text a field index holds and the capacity of its place.
template <class Text>
struct TextSlot {
    Text* text = nullptr;
    std::size_t capacity = 0;
};

// The text a field index holds, or a null text when it holds a value or is beyond the
// record.
template <class Record>
auto TextAt(Record& r, std::size_t index) {
    using Text = std::conditional_t<std::is_const_v<Record>, const std::string, std::string>;
    using Slot = TextSlot<Text>;
    using R = PmAddrRecord;
    const std::size_t phoneEnd = kFirstPhoneField + 2 * R::kPhoneCount;
    if (index >= kFirstPhoneField && index < phoneEnd) {
        const std::size_t offset = index - kFirstPhoneField;
        return offset % 2 == 1 ? Slot{&r.m_szPhones[offset / 2], R::kShortTextCapacity} : Slot{};
    }
    if (index >= kFirstCustomField && index < kFirstCustomField + R::kCustomCount) {
        return Slot{&r.m_szCustoms[index - kFirstCustomField], R::kCustomCapacity};
    }
    switch (index) {
        case 3:
            return Slot{&r.m_szLastName, R::kShortTextCapacity};
        case 4:
            return Slot{&r.m_szFirstName, R::kShortTextCapacity};
        case 5:
            return Slot{&r.m_szTitle, R::kShortTextCapacity};
        case 6:
            return Slot{&r.m_szCompany, R::kLongTextCapacity};
        case 17:
            return Slot{&r.m_szAddress, R::kLongTextCapacity};
        case 18:
            return Slot{&r.m_szCity, R::kShortTextCapacity};
        case 19:
            return Slot{&r.m_szState, R::kShortTextCapacity};
        case 20:
            return Slot{&r.m_szZip, R::kShortTextCapacity};
        case 21:
            return Slot{&r.m_szCountry, R::kShortTextCapacity};
        case 22:
            return Slot{&r.m_szNote, R::kNoteCapacity};
        default:
            return Slot{};
    }
}

}  // namespace

const PmClassicAppInfo& PmAddrUtil::AppInfo() {
    static const PmClassicLog log = MakeLog();
    static const PmClassicAppInfo info{.app = AppContacts,
                                       .version = kVersion,
                                       .resourceId = kResourceId,
                                       .fieldCodes = kFieldCodes,
                                       .maxDatabaseNameLength = kMaxDatabaseNameLength,
                                       .maxLabelTextLength = kMaxLabelTextLength,
                                       .fileNameIsLoadedPath = true,
                                       .log = &log};
    return info;
}

PmAddrUtil::PmAddrUtil() : PmClassicRecordUtil(AppInfo()) {}

PmAddrUtil::PmAddrUtil(const std::string& path) : PmAddrUtil() {
    LoadFile(path);
}

void PmAddrUtil::InitDefaults() {
    PmClassicRecordUtil::InitDefaults();
    m_szCustomLabelText.clear();
    m_szCustomLabels.fill(std::string());
}

// Label text of a Contacts file:
//   offset  size  meaning
//   0       1     length L when below 0xFF; 0xFF announces the long form
//   1       2     L (long form only)
//   1 or 3  L     the labels, each ended by a line feed (0x0A)
bool PmAddrUtil::LoadCustomLabels() {
    CX_LOG(kLogProgress, "Start loading Palm Desktop address book custom label information.");
    m_szCustomLabelText.clear();
    m_szCustomLabels.fill(std::string());
    std::uint8_t first = 0;
    if (!ReadByte(first)) {
        CX_LOG(kLogFailure, "Failed to read the length of custom labels.");
        return false;
    }
    std::uint32_t length = first;
    if (first == kLongLengthMark) {
        std::uint16_t longLength = 0;
        if (!ReadShort(longLength)) {
            CX_LOG(kLogFailure, "Incorrect custom label length reading.");
            return false;
        }
        length = longLength;
    }
    // The whole text is read at once (it is written back whole); a length beyond the end of
    // the file is damage.
    const std::uint64_t size = GetFileSize();
    const std::uint64_t position = GetPosition();
    if (position > size || size - position < length) {
        CX_LOG(kLogFailure, "Custom label content reading error.");
        return false;
    }
    std::string text(length, '\0');
    if (length > 0 &&
        !ReadBytes(std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()))) {
        CX_LOG(kLogFailure, "Custom label content reading error.");
        return false;
    }
    SplitCustomLabels(text);
    SetLabelText(std::move(text));
    return true;
}

void PmAddrUtil::SplitCustomLabels(const std::string& text) {
    const std::size_t window = std::min<std::size_t>(text.size(), kMaxLabelTextLength);
    std::size_t kept = window;
    std::size_t label = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < window; ++i) {
        if (text[i] != kLabelEnd) {
            continue;
        }
        m_szCustomLabels[label++] = text.substr(start, i - start);
        start = i + 1;
        if (label == kCustomLabelCount) {
            CX_LOG(kLogProgress,
                   "For Palm Desktop ealier than v4.1.2, the max custom label is 4. Break now.");
            kept = start;
            break;
        }
    }
    // A last label without its line feed.
    if (label < kCustomLabelCount && start < kept) {
        m_szCustomLabels[label] = text.substr(start, kept - start);
    }
    m_szCustomLabelText = text.substr(0, kept);
}

// Contact fields after the header (the field table is in PmAddrRecord.h; the schema's codes
// are not consulted):
//   field                      reader          writer
//   7, 9, 11, 13, 15, 24, 29   value field     integer (code 1)
//   23                         value field     boolean (code 6)
//   every other field to 28    string field    string (code 5, word 1; the whole stored
//                                              text while unchanged)
//   30 and up                  nothing (a read logs the index)
bool PmAddrUtil::ReadRecordField(std::size_t index, PmAddrRecord& record) {
    if (std::uint32_t* value = ValueAt(record, index)) {
        if (!ReadValueField(*value)) {
            return false;
        }
        if (index == kCategoryField) {
            // A category ID without a category leaves the name empty.
            std::string name;
            if (GetCategoryText(static_cast<std::int32_t>(record.m_dwCategoryId), name)) {
                record.m_szCategory = CutText(name, PmClassicRecord::kCategoryCapacity - 1);
            }
        }
        return true;
    }
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    CX_LOG(kLogFailure, "Unknown field ID read (ID=%d), ignore it.", index);
    return true;
}

bool PmAddrUtil::WriteRecordField(std::size_t index, const PmAddrRecord& record) {
    if (const std::uint32_t* value = ValueAt(record, index)) {
        return index == kPrivateField ? WriteBooleanField(*value) : WriteIntegerField(*value);
    }
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    return true;
}

}  // namespace tabrel
