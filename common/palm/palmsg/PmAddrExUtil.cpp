#include "palm/palmsg/PmAddrExUtil.h"

#include <bit>
#include <span>
#include <type_traits>

#include "misc/CxDebugUtil.h"
#include "misc/WinUtil.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

static_assert(std::endian::native == std::endian::little,
              "the birthday's bytes are taken as a little-endian double");

constexpr std::array<std::uint16_t, PmAddrExRecord::kFieldCount> MakeFieldCodes() {
    std::array<std::uint16_t, PmAddrExRecord::kFieldCount> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        codes[i] = ftCString;
    }
    for (std::size_t i = 0; i <= 5; ++i) {
        codes[i] = ftInteger;
    }
    codes[6] = ftBoolean;
    for (std::size_t i = 0; i < PmExRecord::kBlockCount; ++i) {
        codes[PmExRecord::kFirstBlockField + i] = static_cast<std::uint16_t>(64 + i);
    }
    for (std::size_t i : {17, 42, 48, 54, 62, 63, 67, 68}) {
        codes[i] = ftInteger;
    }
    for (std::size_t i = 26; i <= 32; ++i) {
        codes[i] = ftInteger;
    }
    codes[65] = ftQuad;
    codes[66] = ftBoolean;
    return codes;
}

constexpr std::array<std::uint16_t, PmAddrExRecord::kFieldCount> kFieldCodes = MakeFieldCodes();

constexpr std::size_t kFirstPhone = 19;
constexpr std::size_t kFirstPhoneLabel = 26;
constexpr std::size_t kFirstCustom = 33;
constexpr std::size_t kFirstAddress = 42;
constexpr std::size_t kAddressFields = 6;
constexpr std::size_t kBirthdayField = 65;
constexpr std::size_t kFlagField = 66;

// The 4-byte value held for a field index, or nullptr when the field holds none.
template <class Record>
auto ValueAt(Record& r, std::size_t index) -> decltype(&r.m_dwValue17) {
    if (index >= kFirstPhoneLabel && index < kFirstPhoneLabel + PmAddrExRecord::kPhoneCount) {
        return &r.m_dwPhoneLabels[index - kFirstPhoneLabel];
    }
    if (index >= kFirstAddress && index < kFirstAddress + 3 * kAddressFields &&
        (index - kFirstAddress) % kAddressFields == 0) {
        return &r.m_addresses[(index - kFirstAddress) / kAddressFields].m_dwLabel;
    }
    switch (index) {
        case 17:
            return &r.m_dwValue17;
        case 62:
            return &r.m_dwValue62;
        case 63:
            return &r.m_dwValue63;
        case kFlagField:
            return &r.m_dwFlag66;
        case 67:
            return &r.m_dwValue67;
        case 68:
            return &r.m_dwValue68;
        default:
            return nullptr;
    }
}

// The text held for a field index and its capacity, or a null text when the field holds
// none.
template <class Text>
struct TextSlot {
    Text* text = nullptr;
    std::size_t capacity = 0;
};

template <class Record>
auto TextAt(Record& r, std::size_t index)
    -> TextSlot<std::remove_pointer_t<decltype(&r.m_szNote)>> {
    constexpr std::size_t kShort = PmAddrExRecord::kShortTextCapacity;
    constexpr std::size_t kLong = PmAddrExRecord::kLongTextCapacity;
    if (index >= kFirstPhone && index < kFirstPhone + PmAddrExRecord::kPhoneCount) {
        return {&r.m_szPhones[index - kFirstPhone], kShort};
    }
    if (index >= kFirstCustom && index < kFirstCustom + PmAddrExRecord::kCustomCount) {
        return {&r.m_szCustoms[index - kFirstCustom], kLong};
    }
    if (index >= kFirstAddress && index < kFirstAddress + 3 * kAddressFields) {
        auto& address = r.m_addresses[(index - kFirstAddress) / kAddressFields];
        switch ((index - kFirstAddress) % kAddressFields) {
            case 1:
                return {&address.m_szStreet, PmAddrExAddress::kStreetCapacity};
            case 2:
                return {&address.m_szCity, PmAddrExAddress::kPartCapacity};
            case 3:
                return {&address.m_szState, PmAddrExAddress::kPartCapacity};
            case 4:
                return {&address.m_szZip, PmAddrExAddress::kPartCapacity};
            case 5:
                return {&address.m_szCountry, PmAddrExAddress::kPartCapacity};
            default:
                return {};
        }
    }
    if (index >= 69 && index <= 72) {
        return {&r.m_szTexts69[index - 69], kShort};
    }
    switch (index) {
        case 11:
            return {&r.m_szText11, kShort};
        case 12:
            return {&r.m_szText12, kShort};
        case 13:
            return {&r.m_szFirstName, kShort};
        case 14:
            return {&r.m_szLastName, kShort};
        case 15:
            return {&r.m_szTitle, kShort};
        case 16:
            return {&r.m_szCompany, kLong};
        case 18:
            return {&r.m_szNote, PmAddrExRecord::kNoteCapacity};
        case 60:
            return {&r.m_szChats[0], kShort};
        case 61:
            return {&r.m_szChats[1], kShort};
        case 64:
            return {&r.m_szWebPage, kLong};
        default:
            return {};
    }
}

}  // namespace

const PmExAppInfo& PmAddrExUtil::AppInfo() {
    static const PmExAppInfo info{AppContacts,
                                  "Contacts",
                                  kVersion,
                                  kResourceId,
                                  kFieldCodes,
                                  kReserved2Size,
                                  PmAddrExRecord::kCategoryCapacity};
    return info;
}

PmAddrExUtil::PmAddrExUtil() : PmExRecordUtil(AppInfo()) {}

PmAddrExUtil::PmAddrExUtil(const std::string& path) : PmAddrExUtil() {
    LoadFile(path);
}

void PmAddrExUtil::InitDefaults() {
    PmExRecordUtil::InitDefaults();
    m_szCustomLabels.fill(std::string());
    m_reserved3.fill(0);
}

// Custom labels:
//   offset  size  meaning
//   0       ..    9 x (label, counted string of at most 32 bytes; u32, ignored)
//   ..      42    reserved block 3
bool PmAddrExUtil::LoadCustomLabels() {
    m_szCustomLabels.fill(std::string());
    for (std::string& label : m_szCustomLabels) {
        std::uint32_t max = kMaxCustomLabelLength;
        std::uint32_t ignored = 0;
        if (!ReadCString(label, max) || !ReadLong(ignored)) {
            return false;
        }
    }
    std::array<std::uint8_t, kReserved3Size> reserved{};
    std::size_t count = 0;
    if (!ReadBytesUpTo(reserved, count) || count != reserved.size()) {
        CX_LOG(kLogFailure, "Failed to read reserved 3 field. Content=%s, Size=%d",
               HexDump(reserved.data(), count), count);
        return false;
    }
    m_reserved3 = reserved;
    CX_LOG(kLogProgress, "Load custom label information successfully.");
    return true;
}

bool PmAddrExUtil::SaveCustomLabels() {
    CX_LOG(kLogProgress, "Start saving Palm Desktop Contacts custom labels.");
    for (const std::string& label : m_szCustomLabels) {
        if (!WriteCString(label) || !WriteLong(0)) {
            return false;
        }
    }
    if (!WriteBytes(m_reserved3)) {
        return false;
    }
    CX_LOG(kLogProgress, "Palm Desktop Contacts custom labels are saved successfully.");
    return true;
}

// Contact fields after the header (the field table is in PmAddrExRecord.h):
//   field                              reader            writer
//   17, 26-32, 42, 48, 54, 62, 63,     value field       integer (code 1)
//   67, 68
//   66                                 value field       boolean (code 6)
//   65                                 quad field        quad (code 68)
//   every other field up to 72         string field      string (code 5, word 1; the
//                                                        whole stored text while unchanged)
//   73 and up                          nothing           nothing
bool PmAddrExUtil::ReadRecordField(std::size_t index, PmAddrExRecord& record) {
    if (std::uint32_t* value = ValueAt(record, index)) {
        return ReadValueField(*value);
    }
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return ReadTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    if (index == kBirthdayField) {
        PmQuad bytes{};
        if (!ReadQuadField(bytes)) {
            return false;
        }
        record.m_dBirthday = std::bit_cast<double>(bytes);
    }
    return true;
}

bool PmAddrExUtil::WriteRecordField(std::size_t index, const PmAddrExRecord& record) {
    if (const std::uint32_t* value = ValueAt(record, index)) {
        return index == kFlagField ? WriteBooleanField(*value) : WriteIntegerField(*value);
    }
    if (const auto slot = TextAt(record, index); slot.text != nullptr) {
        return WriteTextField(index, *slot.text, slot.capacity, record.m_wholeTexts);
    }
    if (index == kBirthdayField) {
        return WriteQuadField(std::bit_cast<PmQuad>(record.m_dBirthday));
    }
    return true;
}

}  // namespace tabrel
