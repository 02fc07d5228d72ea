#include "palm/unified/PmAddrInfo.h"

#include <array>
#include <cmath>
#include <concepts>
#include <limits>
#include <tuple>
#include <type_traits>

namespace tabrel {

namespace {

using Id = CommAddrId;
using Classic = PmAddrRecord;
using Ex = PmAddrExRecord;
using Ex2 = PmAddrEx2Record;

constexpr PmInfoTexts kTexts = {
    "Check Palm Desktop Contacts file version, file: %s",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Contacts file type: (%s)",
    "Load Palm Desktop Contacts by user: %d",
    "Unknown Palm Desktop version",
    "Could not open Palm Desktop Contacts database by User: %d",
    "Load Palm Desktop Contacts by file: %s",
    "Failed to load Palm Desktop Contacts data file: %s",
    true,
    true,
    false,
    PM_DATA_NONE,
};

constexpr std::int32_t kText = FieldTypeString;
constexpr std::int32_t kFlag = FieldTypeBoolean;

// --- Catalogues ----------------------------------------------------------------------------

// clang-format off
constexpr std::array<PmCatalogueRow, 24> kClassicCatalogue = {{
    {3, 0, "Last Name", kText, 32},
    {4, 0, "First Name", kText, 32},
    {5, 0, "Title", kText, 32},
    {6, 0, "Company", kText, 256},
    {0, 1, "Work Phone", kText, 32},
    {0, 2, "Home Phone", kText, 32},
    {0, 3, "Fax", kText, 32},
    {0, 4, "Other Phone", kText, 32},
    {0, 5, "E-Mail", kText, 32},
    {0, 6, "Main Phone", kText, 32},
    {0, 7, "Pager", kText, 32},
    {0, 8, "Mobile Phone", kText, 32},
    {17, 0, "Address", kText, 256},
    {18, 0, "City", kText, 32},
    {19, 0, "State", kText, 32},
    {20, 0, "Zip", kText, 32},
    {21, 0, "Country", kText, 32},
    {24, 0, "Category", kText, 32},
    {23, 0, "Private", kFlag, 4},
    {22, 0, "Note", kText, 2048},
    {25, 0, "Custom 1", kText, 256},
    {26, 0, "Custom 2", kText, 256},
    {27, 0, "Custom 3", kText, 256},
    {28, 0, "Custom 4", kText, 256},
}};

constexpr std::array<PmCatalogueRow, 43> kExCatalogue = {{
    {14, 0, "Last Name", kText, 32},
    {13, 0, "First Name", kText, 32},
    {15, 0, "Title", kText, 32},
    {16, 0, "Company", kText, 256},
    {0, 1, "Work Phone", kText, 32},
    {0, 2, "Home Phone", kText, 32},
    {0, 3, "Fax", kText, 32},
    {0, 4, "Other Phone", kText, 32},
    {0, 5, "E-Mail", kText, 32},
    {0, 6, "Main Phone", kText, 32},
    {0, 7, "Pager", kText, 32},
    {0, 8, "Mobile Phone", kText, 32},
    {43, 0, "Address(Work)", kText, 256},
    {44, 0, "City(Work)", kText, 32},
    {45, 0, "State(Work)", kText, 32},
    {46, 0, "Zip(Work)", kText, 32},
    {47, 0, "Country(Work)", kText, 32},
    {33, 0, "Custom 1", kText, 256},
    {34, 0, "Custom 2", kText, 256},
    {35, 0, "Custom 3", kText, 256},
    {36, 0, "Custom 4", kText, 256},
    {5, 0, "Category", kText, 32},
    {6, 0, "Private", kFlag, 4},
    {18, 0, "Note", kText, 2048},
    {49, 0, "Address(Home)", kText, 256},
    {50, 0, "City(Home)", kText, 32},
    {51, 0, "State(Home)", kText, 32},
    {52, 0, "Zip(Home)", kText, 32},
    {53, 0, "Country(Home)", kText, 32},
    {55, 0, "Address(Other)", kText, 256},
    {56, 0, "City(Other)", kText, 32},
    {57, 0, "State(Other)", kText, 32},
    {58, 0, "Zip(Other)", kText, 32},
    {59, 0, "Country(Other)", kText, 32},
    {64, 0, "Web Page", kText, 256},
    {65, 0, "Birthday", kText, 32},
    {60, 0, "Chat 1", kText, 32},
    {61, 0, "Chat 2", kText, 32},
    {37, 0, "Custom 5", kText, 256},
    {38, 0, "Custom 6", kText, 256},
    {39, 0, "Custom 7", kText, 256},
    {40, 0, "Custom 8", kText, 256},
    {41, 0, "Custom 9", kText, 256},
}};

constexpr std::array<PmCatalogueRow, 63> kEx2Catalogue = {{
    {3, 0, "Private", kFlag, 4},
    {4, 0, "Category", kText, 256},
    {5, 0, "Note", kText, 2048},
    {6, 0, "Prefix", kText, 32},
    {7, 0, "First Name", kText, 32},
    {8, 0, "Middle Name", kText, 32},
    {9, 0, "Last Name", kText, 32},
    {10, 0, "Suffix", kText, 32},
    {11, 0, "NickName", kText, 32},
    {14, 0, "Profession", kText, 32},
    {15, 0, "Company", kText, 256},
    {16, 0, "Job Title", kText, 32},
    {17, 0, "Assistant Name", kText, 32},
    {18, 0, "Assistant Phone", kText, 32},
    {19, 0, "Work Street", kText, 256},
    {20, 0, "Work City", kText, 32},
    {21, 0, "Work State", kText, 32},
    {22, 0, "Work Zip", kText, 32},
    {23, 0, "Work Country", kText, 32},
    {24, 0, "Home Street", kText, 256},
    {25, 0, "Home City", kText, 32},
    {26, 0, "Home State", kText, 32},
    {27, 0, "Home Zip", kText, 32},
    {28, 0, "Home Country", kText, 32},
    {29, 0, "Other Street", kText, 256},
    {30, 0, "Other City", kText, 32},
    {31, 0, "Other State", kText, 32},
    {32, 0, "Other Zip", kText, 32},
    {33, 0, "Other Country", kText, 32},
    {0, 1, "Work Phone", kText, 32},
    {0, 2, "Home Phone", kText, 32},
    {0, 3, "Fax", kText, 32},
    {0, 4, "Other Phone", kText, 32},
    {0, 5, "E-Mail", kText, 32},
    {0, 6, "Main Phone", kText, 32},
    {0, 7, "Pager", kText, 32},
    {0, 8, "Mobile Phone", kText, 32},
    {63, 0, "Chat1", kText, 128},
    {64, 0, "Chat2", kText, 128},
    {67, 0, "Website", kText, 256},
    {86, 0, "English Name", kText, 128},
    {87, 0, "Picture URL", kText, 256},
    {88, 0, "Picture Filename", kText, 256},
    {89, 0, "Picture MIME type", kText, 32},
    {90, 0, "Picture Sync counter", kText, 32},
    {91, 0, "Ringtone URL", kText, 256},
    {92, 0, "Ringtone Filename", kText, 256},
    {93, 0, "Ringtone MIME type", kText, 32},
    {94, 0, "Ringtone Sync counter", kText, 32},
    {48, 0, "Custom 1", kText, 256},
    {49, 0, "Custom 2", kText, 256},
    {50, 0, "Custom 3", kText, 256},
    {51, 0, "Custom 4", kText, 256},
    {68, 0, "Custom 5", kText, 256},
    {69, 0, "Custom 6", kText, 256},
    {70, 0, "Custom 7", kText, 256},
    {71, 0, "Custom 8", kText, 256},
    {72, 0, "Custom 9", kText, 256},
    {73, 0, "Custom 10", kText, 256},
    {74, 0, "Custom 11", kText, 256},
    {75, 0, "Custom 12", kText, 256},
    {76, 0, "Custom 13", kText, 256},
    {77, 0, "Custom 14", kText, 256},
}};
// clang-format on

// --- Text fields a Palm record shares with the common record ---------------------------------

// A Palm text field (catalogue identifier) that crosses to a common text field and back:
// palmMax is the most characters the Palm field keeps, csvMax the most an imported CSV
// text keeps.
struct TextLink {
    std::int32_t palmId = 0;
    std::int32_t commonId = 0;
    std::size_t palmMax = 0;
    std::size_t csvMax = 0;
};

constexpr std::size_t kWhole = std::string_view::npos;

// clang-format off
constexpr std::array<TextLink, 14> kClassicLinks = {{
    {3, Id::kLastName, 31, 31},
    {4, Id::kFirstName, 31, 31},
    {5, Id::kTitle, 31, 31},
    {6, Id::kCompany, 255, 63},
    {17, Id::kWorkStreet, 255, 255},
    {18, Id::kWorkCity, 31, 31},
    {19, Id::kWorkState, 31, 31},
    {20, Id::kWorkPostal, 31, 15},
    {21, Id::kWorkCountry, 31, 31},
    {22, Id::kNote, 2047, 8191},
    {25, Id::kCustom1, 63, 63},
    {26, Id::kCustom1 + 1, 63, 63},
    {27, Id::kCustom1 + 2, 63, 63},
    {28, Id::kCustom1 + 3, 63, 63},
}};

constexpr std::array<TextLink, 32> kExLinks = {{
    {13, Id::kFirstName, 31, 31},
    {14, Id::kLastName, 31, 31},
    {15, Id::kTitle, 31, 31},
    {16, Id::kCompany, 255, 63},
    {18, Id::kNote, 2047, 8191},
    {33, Id::kCustom1, 255, 63},
    {34, Id::kCustom1 + 1, 255, 63},
    {35, Id::kCustom1 + 2, 255, 63},
    {36, Id::kCustom1 + 3, 255, 63},
    {37, Id::kCustom1 + 4, 255, 63},
    {38, Id::kCustom1 + 5, 255, 63},
    {39, Id::kCustom1 + 6, 255, 63},
    {40, Id::kCustom1 + 7, 255, 63},
    {41, Id::kCustom1 + 8, 255, 63},
    {43, Id::kWorkStreet, 255, 255},
    {44, Id::kWorkCity, 31, 31},
    {45, Id::kWorkState, 31, 31},
    {46, Id::kWorkPostal, 31, 15},
    {47, Id::kWorkCountry, 31, 31},
    {49, Id::kHomeStreet, 255, 255},
    {50, Id::kHomeCity, 31, 31},
    {51, Id::kHomeState, 31, 31},
    {52, Id::kHomePostal, 31, 15},
    {53, Id::kHomeCountry, 31, 31},
    {55, Id::kOtherStreet, 255, 255},
    {56, Id::kOtherCity, 31, 31},
    {57, Id::kOtherState, 31, 31},
    {58, Id::kOtherPostal, 31, 15},
    {59, Id::kOtherCountry, 31, 31},
    {60, Id::kIm1, 31, 31},
    {61, Id::kIm2, 31, 31},
    {64, Id::kWorkHomePage, 255, 255},
}};

// The 6.x note column keeps its text whole.
constexpr std::array<TextLink, 38> kEx2Links = {{
    {5, Id::kNote, kWhole, 8191},
    {6, Id::kPrefix, 31, 31},
    {7, Id::kFirstName, 63, 31},
    {8, Id::kMiddleName, 63, 31},
    {9, Id::kLastName, 63, 31},
    {10, Id::kSuffix, 31, 31},
    {11, Id::kNickName, 63, 31},
    {15, Id::kCompany, 127, 63},
    {16, Id::kTitle, 127, 31},
    {17, Id::kAssistantName, 63, 31},
    {18, Id::kAssistantPhone, 63, 23},
    {19, Id::kWorkStreet, 255, 255},
    {20, Id::kWorkCity, 31, 31},
    {21, Id::kWorkState, 31, 31},
    {22, Id::kWorkPostal, 31, 15},
    {23, Id::kWorkCountry, 31, 31},
    {24, Id::kHomeStreet, 255, 255},
    {25, Id::kHomeCity, 31, 31},
    {26, Id::kHomeState, 31, 31},
    {27, Id::kHomePostal, 31, 15},
    {28, Id::kHomeCountry, 31, 31},
    {29, Id::kOtherStreet, 255, 255},
    {30, Id::kOtherCity, 31, 31},
    {31, Id::kOtherState, 31, 31},
    {32, Id::kOtherPostal, 31, 15},
    {33, Id::kOtherCountry, 31, 31},
    {48, Id::kCustom1, 255, 63},
    {49, Id::kCustom1 + 1, 255, 63},
    {50, Id::kCustom1 + 2, 255, 63},
    {51, Id::kCustom1 + 3, 255, 63},
    {68, Id::kCustom1 + 4, 255, 63},
    {69, Id::kCustom1 + 5, 255, 63},
    {70, Id::kCustom1 + 6, 255, 63},
    {71, Id::kCustom1 + 7, 255, 63},
    {72, Id::kCustom1 + 8, 255, 63},
    {63, Id::kIm1, 127, 31},
    {64, Id::kIm2, 127, 31},
    {86, Id::kDisplayName, 127, 31},
}};
// clang-format on

// 6.x "Custom 10" crosses to the common record's tenth custom slot, which has no
// identifier: it is carried by the conversions but not by CSV texts.
constexpr std::int32_t kEx2Custom10 = 73;
constexpr std::size_t kEx2Custom10Max = 255;
constexpr std::size_t kCommonCustomMax = CommAddrRec::kMediumSize - 1;

// --- CSV text rules ------------------------------------------------------------------------

// The eight phone rows (identifier 0, kinds 1 to 8), the same in every generation.
constexpr std::array<PmTextRule, 8> kPhoneRules = {{
    {0, 1, Id::kWorkPhone, 23},
    {0, 2, Id::kHomePhone, 23},
    {0, 3, Id::kWorkFax, 23},
    {0, 4, Id::kOtherPhone, 23},
    {0, 5, Id::kEmail, 63},
    {0, 6, Id::kPrimaryPhone, 23},
    {0, 7, Id::kPager, 23},
    {0, 8, Id::kMobilePhone, 23},
}};

// The rules of a generation: one text rule per link, the phone rows, then its own rules.
template <std::size_t N, std::size_t M>
constexpr std::array<PmTextRule, N + kPhoneRules.size() + M> MakeRules(
    const std::array<TextLink, N>& links, const std::array<PmTextRule, M>& own) {
    std::array<PmTextRule, N + kPhoneRules.size() + M> rules{};
    std::size_t n = 0;
    for (const TextLink& link : links) {
        rules.at(n++) = {link.palmId, 0, link.commonId, link.csvMax};
    }
    for (const PmTextRule& rule : kPhoneRules) {
        rules.at(n++) = rule;
    }
    for (const PmTextRule& rule : own) {
        rules.at(n++) = rule;
    }
    return rules;
}

// The 4.1.x Birthday text is the common birthday's day number.
constexpr std::int32_t kExBirthdayId = 65;
constexpr std::array<PmTextRule, 1> kExOwnRules = {
    {{kExBirthdayId, 0, Id::kBirthday, 0, PmTextRule::kSpecial}}};

constexpr auto kClassicRules = MakeRules(kClassicLinks, std::array<PmTextRule, 0>{});
constexpr auto kExRules = MakeRules(kExLinks, kExOwnRules);
constexpr auto kEx2Rules = MakeRules(kEx2Links, std::array<PmTextRule, 0>{});

// --- Record members by catalogue identifier -------------------------------------------------

// The classic contact's text member of a catalogue identifier (const as the record);
// nullptr for an identifier that names no text member.
template <class R>
auto ClassicText(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    if (id >= 25 && id <= 28) {
        return &rec.m_szCustoms.at(static_cast<std::size_t>(id - 25));
    }
    switch (id) {
        case 3:
            return &rec.m_szLastName;
        case 4:
            return &rec.m_szFirstName;
        case 5:
            return &rec.m_szTitle;
        case 6:
            return &rec.m_szCompany;
        case 17:
            return &rec.m_szAddress;
        case 18:
            return &rec.m_szCity;
        case 19:
            return &rec.m_szState;
        case 20:
            return &rec.m_szZip;
        case 21:
            return &rec.m_szCountry;
        case 22:
            return &rec.m_szNote;
        default:
            return nullptr;
    }
}

// The 4.1.x contact's text member of a catalogue identifier, as ClassicText. The three
// address blocks are fields 42 to 59, six per block: the label, then street, city, state,
// zip and country.
template <class R>
auto ExText(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    if (id >= 33 && id <= 41) {
        return &rec.m_szCustoms.at(static_cast<std::size_t>(id - 33));
    }
    if (id > 42 && id <= 59) {
        auto& block = rec.m_addresses.at(static_cast<std::size_t>((id - 42) / 6));
        switch ((id - 42) % 6) {
            case 1:
                return &block.m_szStreet;
            case 2:
                return &block.m_szCity;
            case 3:
                return &block.m_szState;
            case 4:
                return &block.m_szZip;
            case 5:
                return &block.m_szCountry;
            default:
                return nullptr;
        }
    }
    switch (id) {
        case 13:
            return &rec.m_szFirstName;
        case 14:
            return &rec.m_szLastName;
        case 15:
            return &rec.m_szTitle;
        case 16:
            return &rec.m_szCompany;
        case 18:
            return &rec.m_szNote;
        case 60:
            return &rec.m_szChats[0];
        case 61:
            return &rec.m_szChats[1];
        case 64:
            return &rec.m_szWebPage;
        default:
            return nullptr;
    }
}

// The 6.x text columns the catalogue offers, by column number.
struct Ex2Column {
    std::int32_t id = 0;
    std::string Ex2::*member = nullptr;
};

// clang-format off
constexpr std::array<Ex2Column, 53> kEx2Texts = {{
    {5, &Ex2::m_szNote},           {6, &Ex2::m_szPrefix},          {7, &Ex2::m_szFirstName},
    {8, &Ex2::m_szMiddleName},     {9, &Ex2::m_szLastName},        {10, &Ex2::m_szSuffix},
    {11, &Ex2::m_szNickName},      {14, &Ex2::m_szProfession},     {15, &Ex2::m_szCompany},
    {16, &Ex2::m_szJobTitle},      {17, &Ex2::m_szAssistantName},  {18, &Ex2::m_szAssistantPhone},
    {19, &Ex2::m_szWorkStreet},    {20, &Ex2::m_szWorkCity},       {21, &Ex2::m_szWorkState},
    {22, &Ex2::m_szWorkZip},       {23, &Ex2::m_szWorkCountry},    {24, &Ex2::m_szHomeStreet},
    {25, &Ex2::m_szHomeCity},      {26, &Ex2::m_szHomeState},      {27, &Ex2::m_szHomeZip},
    {28, &Ex2::m_szHomeCountry},   {29, &Ex2::m_szOtherStreet},    {30, &Ex2::m_szOtherCity},
    {31, &Ex2::m_szOtherState},    {32, &Ex2::m_szOtherZip},       {33, &Ex2::m_szOtherCountry},
    {48, &Ex2::m_szCustom1},       {49, &Ex2::m_szCustom2},        {50, &Ex2::m_szCustom3},
    {51, &Ex2::m_szCustom4},       {63, &Ex2::m_szChat1},          {64, &Ex2::m_szChat2},
    {67, &Ex2::m_szWebsite},       {68, &Ex2::m_szCustom5},        {69, &Ex2::m_szCustom6},
    {70, &Ex2::m_szCustom7},       {71, &Ex2::m_szCustom8},        {72, &Ex2::m_szCustom9},
    {73, &Ex2::m_szCustom10},      {74, &Ex2::m_szCustom11},       {75, &Ex2::m_szCustom12},
    {76, &Ex2::m_szCustom13},      {77, &Ex2::m_szCustom14},       {86, &Ex2::m_szEnglishName},
    {87, &Ex2::m_szPictureUrl},    {88, &Ex2::m_szPictureFilename},
    {89, &Ex2::m_szPictureMimeType},  {90, &Ex2::m_szPictureSyncCounter},
    {91, &Ex2::m_szRingtoneUrl},      {92, &Ex2::m_szRingtoneFilename},
    {93, &Ex2::m_szRingtoneMimeType}, {94, &Ex2::m_szRingtoneSyncCounter},
}};
// clang-format on

// The 6.x contact's text member of a column number, as ClassicText.
template <class R>
auto Ex2Text(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    for (const Ex2Column& column : kEx2Texts) {
        if (column.id == id) {
            return &(rec.*column.member);
        }
    }
    return nullptr;
}

// --- Phone slots ---------------------------------------------------------------------------

// The common phone rows by slot label (work, home, fax, other, e-mail, main, pager,
// mobile); the pager has no common field a Palm record fills.
constexpr std::int32_t kPagerLabel = 6;
constexpr std::size_t kLabelCount = 8;
constexpr std::array<std::int32_t, kLabelCount> kCommonPhoneOfLabel = {Id::kWorkPhone,
                                                                       Id::kHomePhone,
                                                                       Id::kWorkFax,
                                                                       Id::kOtherPhone,
                                                                       Id::kEmail,
                                                                       Id::kPrimaryPhone,
                                                                       0,
                                                                       Id::kMobilePhone};

// The most characters a phone slot keeps: .dat files 31, 6.x 127.
constexpr std::size_t kDatPhoneMax = 31;
constexpr std::size_t kEx2PhoneMax = 127;

// One phone slot of a record: its text and its label (const as the record).
template <class Text, class Label>
struct PhoneSlot {
    Text* text = nullptr;
    Label* label = nullptr;

    bool Has(std::int64_t wanted) const { return static_cast<std::int64_t>(*label) == wanted; }
};

// The slots of a classic or 4.1.x contact.
template <class R>
requires requires(R& rec) {
    rec.m_szPhones;
    rec.m_dwPhoneLabels;
}
auto PhoneSlots(R& rec) {
    using Text = std::remove_reference_t<decltype(rec.m_szPhones[0])>;
    using Label = std::remove_reference_t<decltype(rec.m_dwPhoneLabels[0])>;
    constexpr std::size_t kCount = std::tuple_size_v<std::remove_cvref_t<decltype(rec.m_szPhones)>>;
    std::array<PhoneSlot<Text, Label>, kCount> slots{};
    for (std::size_t i = 0; i < kCount; ++i) {
        slots.at(i) = {&rec.m_szPhones.at(i), &rec.m_dwPhoneLabels.at(i)};
    }
    return slots;
}

// The slots of a 6.x contact: phone text n with phone label n.
template <class R>
requires std::same_as<std::remove_const_t<R>, Ex2>
auto PhoneSlots(R& rec) {
    using Text = std::conditional_t<std::is_const_v<R>, const std::string, std::string>;
    using Label = std::conditional_t<std::is_const_v<R>, const std::int32_t, std::int32_t>;
    std::array<PhoneSlot<Text, Label>, Ex2::kPhoneCount> slots{};
    for (std::size_t i = 0; i < Ex2::kPhoneCount; ++i) {
        slots.at(i) = {&(rec.*kAddrEx2PhoneTexts.at(i)), &(rec.*kAddrEx2PhoneLabels.at(i))};
    }
    return slots;
}

// The text of the record's phone with this label: of the first slot so labelled that
// holds one. An emptied slot that kept the label does not hide a later one.
template <class Slots>
std::string PhoneText(const Slots& slots, std::int64_t label) {
    for (const auto& slot : slots) {
        if (slot.Has(label) && !slot.text->empty()) {
            return *slot.text;
        }
    }
    return {};
}

// Each labelled phone into its common field; of several slots with one label the first
// that holds a text counts. Empty slots and the pager carry nothing.
template <class Slots>
void PhonesToCommon(const Slots& slots, CommAddrRec& contact) {
    for (std::size_t label = 0; label < kLabelCount; ++label) {
        const std::int32_t commonId = kCommonPhoneOfLabel.at(label);
        if (commonId != 0) {
            const std::string text = PhoneText(slots, static_cast<std::int64_t>(label));
            if (!text.empty()) {
                CommAddrMgr::SetText(contact, commonId, text);
            }
        }
    }
}

// The first slot whose text is empty; nullptr when every slot holds one.
template <class Slots>
auto* FirstFreeSlot(Slots& slots) {
    for (auto& slot : slots) {
        if (slot.text->empty()) {
            return &slot;
        }
    }
    return static_cast<typename Slots::value_type*>(nullptr);
}

// The slot that takes the value of a label already given: of the slots with the label,
// the first that holds a text, else the first; nullptr when no slot has the label.
template <class Slots>
auto* LabelledSlot(Slots& slots, std::int64_t label) {
    typename Slots::value_type* found = nullptr;
    for (auto& slot : slots) {
        if (slot.Has(label)) {
            if (!slot.text->empty()) {
                return &slot;
            }
            if (found == nullptr) {
                found = &slot;
            }
        }
    }
    return found;
}

// The common phones into the record's slots, label by label on top of what the slots
// hold: a value goes into the slot that has its label, or else into the first free slot,
// which takes the label; a label without a value labels the first free slot. The pager
// has no common value: a free slot is labelled pager unless a slot already is. An empty
// value never empties a slot, and a value without a slot for it is dropped.
template <class Slots>
void PhonesFromCommon(Slots slots, const std::array<std::string, kLabelCount>& values,
                      std::size_t maxChars) {
    for (std::size_t label = 0; label < kLabelCount; ++label) {
        const auto wanted = static_cast<std::int64_t>(label);
        if (wanted == kPagerLabel) {
            if (LabelledSlot(slots, wanted) == nullptr) {
                if (auto* free = FirstFreeSlot(slots)) {
                    *free->label =
                        static_cast<std::remove_reference_t<decltype(*free->label)>>(label);
                }
            }
            continue;
        }
        const std::string& value = values.at(label);
        if (!value.empty()) {
            if (auto* slot = LabelledSlot(slots, wanted)) {
                *slot->text = CutText(value, maxChars);
                continue;
            }
        }
        if (auto* free = FirstFreeSlot(slots)) {
            *free->label = static_cast<std::remove_reference_t<decltype(*free->label)>>(label);
            if (!value.empty()) {
                *free->text = CutText(value, maxChars);
            }
        }
    }
}

// --- Small conversions ---------------------------------------------------------------------

// Copies a text unless it is empty, cut to maxChars characters.
void PutText(std::string& to, const std::string& from, std::size_t maxChars) {
    if (!from.empty()) {
        to = CutText(from, maxChars);
    }
}

// A stored flag as its CSV number.
std::string FlagNumber(std::uint32_t flag) {
    return std::to_string(static_cast<std::int32_t>(flag));
}

// A common birthday or anniversary into the integer a 6.x contact stores: the day number
// truncated toward zero, plus the offset (none stays 0). False, stored unchanged, for a
// value the column cannot hold.
bool StoredDay(double common, std::int32_t& stored) {
    if (!std::isfinite(common)) {
        return false;
    }
    const double value = PmBirthdayFromCommon(std::trunc(common));
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    stored = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace

PmAddrInfo::PmAddrInfo() : PmAddrInfo(GetPalmDesktopVersion()) {}

PmAddrInfo::PmAddrInfo(std::uint32_t palmVersion) : PmInfo(kTexts, palmVersion) {}

const PmGenerationTables<PmCatalogueRow> PmAddrInfo::kCatalogues{kClassicCatalogue, kExCatalogue,
                                                                 kEx2Catalogue};
const PmGenerationTables<PmTextRule> PmAddrInfo::kTextRules{kClassicRules, kExRules, kEx2Rules};

void PmAddrInfo::FillCommon(const Item& item, CommAddrRec& contact) const {
    if (const Classic* classic = item.Classic()) {
        for (const TextLink& link : kClassicLinks) {
            CommAddrMgr::SetText(contact, link.commonId, *ClassicText(*classic, link.palmId));
        }
        CommAddrMgr::SetText(contact, Id::kCategory, classic->m_szCategory);
        PhonesToCommon(PhoneSlots(*classic), contact);
    } else if (const Ex* ex = item.Ex()) {
        for (const TextLink& link : kExLinks) {
            CommAddrMgr::SetText(contact, link.commonId, *ExText(*ex, link.palmId));
        }
        CommAddrMgr::SetText(contact, Id::kCategory, ex->m_szCategory);
        contact.m_dBirthday = PmBirthdayToCommon(ex->m_dBirthday);
        PhonesToCommon(PhoneSlots(*ex), contact);
    } else if (const Ex2* ex2 = item.Ex2()) {
        for (const TextLink& link : kEx2Links) {
            CommAddrMgr::SetText(contact, link.commonId, *Ex2Text(*ex2, link.palmId));
        }
        contact.m_szCustom.back() = CutText(ex2->m_szCustom10, kCommonCustomMax);
        CommAddrMgr::SetText(contact, Id::kCategory, ex2->m_szCategoryName);
        contact.m_dBirthday = PmBirthdayToCommon(ex2->m_nBirthday);
        contact.m_dAnniversary = PmBirthdayToCommon(ex2->m_nAnniversary);
        PhonesToCommon(PhoneSlots(*ex2), contact);
    }
}

void PmAddrInfo::FillRecord(const CommAddrRec& contact, Item& item, const Carried& carried) {
    // The value of each phone label; a fax is the work fax, or the home fax without one.
    std::array<std::string, kLabelCount> phones;
    for (std::size_t label = 0; label < kLabelCount; ++label) {
        if (kCommonPhoneOfLabel.at(label) != 0) {
            phones.at(label) = CommonText(contact, kCommonPhoneOfLabel.at(label));
        }
    }
    if (phones.at(PhoneFax).empty()) {
        phones.at(PhoneFax) = contact.m_szHomeFax;
    }
    const bool setPrivate = IsCarried(carried, Id::kPrivate);

    if (Classic* classic = item.Classic()) {
        for (const TextLink& link : kClassicLinks) {
            PutText(*ClassicText(*classic, link.palmId), CommonText(contact, link.commonId),
                    link.palmMax);
        }
        if (setPrivate) {
            classic->m_bPrivate = contact.m_nPrivate != 0 ? 1 : 0;
        }
        PhonesFromCommon(PhoneSlots(*classic), phones, kDatPhoneMax);
    } else if (Ex* ex = item.Ex()) {
        if (!item.m_nSource) {
            // A contact the import creates: its address blocks are work, home and other.
            ex->m_addresses[0].m_dwLabel = AddressWork;
            ex->m_addresses[1].m_dwLabel = AddressHome;
            ex->m_addresses[2].m_dwLabel = AddressOther;
        }
        for (const TextLink& link : kExLinks) {
            PutText(*ExText(*ex, link.palmId), CommonText(contact, link.commonId), link.palmMax);
        }
        if (setPrivate) {
            ex->m_dwPrivate = contact.m_nPrivate != 0 ? 1 : 0;
        }
        if (IsCarried(carried, Id::kBirthday)) {
            ex->m_dBirthday = PmBirthdayFromCommon(contact.m_dBirthday);
        }
        PhonesFromCommon(PhoneSlots(*ex), phones, kDatPhoneMax);
    } else if (Ex2* ex2 = item.Ex2()) {
        for (const TextLink& link : kEx2Links) {
            PutText(*Ex2Text(*ex2, link.palmId), CommonText(contact, link.commonId), link.palmMax);
        }
        PutText(ex2->m_szCustom10, contact.m_szCustom.back(), kEx2Custom10Max);
        if (IsCarried(carried, Id::kBirthday)) {
            StoredDay(contact.m_dBirthday, ex2->m_nBirthday);
        }
        if (IsCarried(carried, Id::kAnniversary)) {
            StoredDay(contact.m_dAnniversary, ex2->m_nAnniversary);
        }
        PhonesFromCommon(PhoneSlots(*ex2), phones, kEx2PhoneMax);
    }
    FileUnderCategory(contact, item);
}

void PmAddrInfo::FileUnderCategory(const CommAddrRec& contact, Item& item) {
    if (contact.m_szCategory.empty()) {
        return;
    }
    const std::int32_t id = ResolveCategory(contact.m_szCategory);
    // A category that could not be added has no name.
    if (Classic* classic = item.Classic()) {
        classic->m_dwCategoryId = static_cast<std::uint32_t>(id);
        classic->m_szCategory.clear();
        ClassicReader().GetCategoryText(id, classic->m_szCategory);
    } else if (Ex* ex = item.Ex()) {
        ex->m_dwCategoryId = static_cast<std::uint32_t>(id);
        ex->m_szCategory.clear();
        ExReader().GetCategoryText(id, ex->m_szCategory);
    } else if (Ex2* ex2 = item.Ex2()) {
        ex2->m_nCategoryId = id;
        ex2->m_szCategoryName.clear();
        Ex2Reader().FillCategoryName(*ex2);
    }
}

bool PmAddrInfo::ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                               std::size_t size) const {
    const std::int32_t id = row.m_nId;
    if (id == 0) {
        // A phone row: the phone of label kind - 1.
        if (row.m_nKind < 1 || row.m_nKind > static_cast<std::int32_t>(kLabelCount)) {
            return false;
        }
        if (size < kPhoneTextMinSize) {
            return true;
        }
        const std::int64_t label = row.m_nKind - 1;
        if (const Classic* classic = item.Classic()) {
            text = PhoneText(PhoneSlots(*classic), label);
        } else if (const Ex* ex = item.Ex()) {
            text = PhoneText(PhoneSlots(*ex), label);
        } else if (const Ex2* ex2 = item.Ex2()) {
            text = PhoneText(PhoneSlots(*ex2), label);
        }
        return true;
    }
    if (row.m_nKind != 0) {
        return false;
    }
    if (const Classic* classic = item.Classic()) {
        if (const std::string* member = ClassicText(*classic, id)) {
            text = *member;
            return true;
        }
        switch (id) {
            case 23:
                text = FlagNumber(classic->m_bPrivate);
                return true;
            case 24:
                text = classic->m_szCategory;
                return true;
            default:
                return false;
        }
    }
    if (const Ex* ex = item.Ex()) {
        if (const std::string* member = ExText(*ex, id)) {
            text = *member;
            return true;
        }
        switch (id) {
            case 5:
                text = ex->m_szCategory;
                return true;
            case 6:
                text = FlagNumber(ex->m_dwPrivate);
                return true;
            case kExBirthdayId:
                text = PmBirthdayText(ex->m_dBirthday);
                return true;
            default:
                return false;
        }
    }
    if (const Ex2* ex2 = item.Ex2()) {
        if (const std::string* member = Ex2Text(*ex2, id)) {
            text = *member;
            return true;
        }
        switch (id) {
            case 3:
                text = ex2->m_byPrivate != 0 ? "1" : "0";
                return true;
            case 4:
                text = ex2->m_szCategoryName;
                return true;
            default:
                return false;
        }
    }
    return false;
}

void PmAddrInfo::ApplyTextRule(const PmTextRule& rule, std::string_view text,
                               CommAddrRec& contact) const {
    if (rule.commonId == Id::kBirthday) {
        contact.m_dBirthday = PmBirthdayFromText(text);
    }
}

std::string PmAddrInfo::CommonText(const CommAddrRec& contact, std::int32_t commonId) const {
    std::string text;
    GetCommMgr().GetFieldText(contact, commonId, text, std::numeric_limits<std::size_t>::max());
    return text;
}

template class PmInfo<PmAddrInfo, PmAddrInfoTypes>;

}  // namespace tabrel
