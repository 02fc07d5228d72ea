#include "palm/comm/CommAddrMgr.h"

#include <array>

#include "misc/CxDateTime.h"

namespace tabrel {

namespace {

using Id = CommAddrId;
using Rec = CommAddrRec;

constexpr auto kName = static_cast<std::int32_t>(Rec::kNameSize);
constexpr auto kStreet = static_cast<std::int32_t>(Rec::kStreetSize);
constexpr auto kPostal = static_cast<std::int32_t>(Rec::kPostalSize);
constexpr auto kPhone = static_cast<std::int32_t>(Rec::kPhoneSize);
constexpr auto kMedium = static_cast<std::int32_t>(Rec::kMediumSize);
constexpr auto kLong = static_cast<std::int32_t>(Rec::kLongSize);
constexpr auto kNote = static_cast<std::int32_t>(Rec::kNoteSize);
constexpr std::int32_t kDateSize = sizeof(double);
constexpr std::int32_t kIntSize = sizeof(std::int32_t);

// Identifier, name, type, size in bytes.
constexpr std::array<CommFieldRow, 90> kCatalogue = {{
    {Id::kFirstName, "First Name", kCommTypeText, kName},
    {Id::kMiddleName, "Middle Name", kCommTypeText, kName},
    {Id::kLastName, "Last Name", kCommTypeText, kName},
    {Id::kPrefix, "Prefix", kCommTypeText, kName},
    {Id::kSuffix, "Suffix", kCommTypeText, kName},
    {Id::kNickName, "Nick Name", kCommTypeText, kName},
    {Id::kDisplayName, "Display Name", kCommTypeText, kName},
    {Id::kGender, "Gender", kCommTypeGender, kIntSize},
    {Id::kWorkStreet, "(Work) Street", kCommTypeText, kStreet},
    {Id::kWorkCity, "(Work) City", kCommTypeText, kName},
    {Id::kWorkState, "(Work) State", kCommTypeText, kName},
    {Id::kWorkPostal, "(Work) Postal", kCommTypeText, kPostal},
    {Id::kWorkCountry, "(Work) Country", kCommTypeText, kName},
    {Id::kHomeStreet, "(Home) Street", kCommTypeText, kStreet},
    {Id::kHomeCity, "(Home) City", kCommTypeText, kName},
    {Id::kHomeState, "(Home) State", kCommTypeText, kName},
    {Id::kHomePostal, "(Home) Postal", kCommTypeText, kPostal},
    {Id::kHomeCountry, "(Home) Country", kCommTypeText, kName},
    {Id::kOtherStreet, "(Other) Street", kCommTypeText, kStreet},
    {Id::kOtherCity, "(Other) City", kCommTypeText, kName},
    {Id::kOtherState, "(Other) State", kCommTypeText, kName},
    {Id::kOtherPostal, "(Other) Postal", kCommTypeText, kPostal},
    {Id::kOtherCountry, "(Other) Country", kCommTypeText, kName},
    {Id::kHomePhone, "Home Phone", kCommTypeText, kPhone},
    {Id::kWorkPhone, "Work Phone", kCommTypeText, kPhone},
    {Id::kMobilePhone, "Mobile Phone", kCommTypeText, kPhone},
    {Id::kOtherPhone, "Other Phone", kCommTypeText, kPhone},
    {Id::kPrimaryPhone, "Primary Phone", kCommTypeText, kPhone},
    {Id::kCallbackPhone, "Callback Phone", kCommTypeText, kPhone},
    {Id::kCarPhone, "Car Phone", kCommTypeText, kPhone},
    {Id::kRadioPhone, "Radio Phone", kCommTypeText, kPhone},
    {Id::kWorkPhone2, "Work Phone 2", kCommTypeText, kPhone},
    {Id::kHomePhone2, "Home Phone 2", kCommTypeText, kPhone},
    {Id::kWorkFax, "Work Fax", kCommTypeText, kPhone},
    {Id::kHomeFax, "Home Fax", kCommTypeText, kPhone},
    {Id::kPager, "Pager", kCommTypeText, kPhone},
    {Id::kEmail, "Email", kCommTypeText, kMedium},
    {Id::kEmail2, "Email 2", kCommTypeText, kMedium},
    {Id::kEmail3, "Email 3", kCommTypeText, kMedium},
    {Id::kPersonalHomePage, "Personal Home Page", kCommTypeText, kLong},
    {Id::kWorkHomePage, "Work Home Page", kCommTypeText, kLong},
    {Id::kFtpSite, "FTP Site", kCommTypeText, kLong},
    {Id::kNote, "Note", kCommTypeText, kNote},
    {44, "Custom 1", kCommTypeText, kMedium},
    {45, "Custom 2", kCommTypeText, kMedium},
    {46, "Custom 3", kCommTypeText, kMedium},
    {47, "Custom 4", kCommTypeText, kMedium},
    {48, "Custom 5", kCommTypeText, kMedium},
    {49, "Custom 6", kCommTypeText, kMedium},
    {50, "Custom 7", kCommTypeText, kMedium},
    {51, "Custom 8", kCommTypeText, kMedium},
    {52, "Custom 9", kCommTypeText, kMedium},
    {Id::kCompany, "Company", kCommTypeText, kMedium},
    {Id::kDepartment, "Department", kCommTypeText, kName},
    {Id::kTitle, "Title", kCommTypeText, kName},
    {Id::kIm1, "IM 1", kCommTypeText, kName},
    {Id::kIm2, "IM 2", kCommTypeText, kName},
    {Id::kManagerName, "Manager Name", kCommTypeText, kName},
    {Id::kAssistantName, "Assistant Name", kCommTypeText, kName},
    {Id::kAssistantPhone, "Assistant Phone", kCommTypeText, kPhone},
    {Id::kSpouseName, "Spouse Name", kCommTypeText, kName},
    {Id::kChildrenNames, "Children's Names", kCommTypeText, kName},
    {Id::kProfession, "Profession", kCommTypeText, kMedium},
    {Id::kHobby, "Hobby", kCommTypeText, kMedium},
    {Id::kAccount, "Account", kCommTypeText, kName},
    {Id::kAnniversary, "Anniversary", kCommTypeDate, kDateSize},
    {Id::kBirthday, "Birthday", kCommTypeDate, kDateSize},
    {Id::kKeyword, "Keyword", kCommTypeText, kMedium},
    {Id::kLanguage, "Language", kCommTypeText, kMedium},
    {Id::kLocation, "Location", kCommTypeText, kMedium},
    {Id::kMhsCommonName, "MHS Common Name", kCommTypeText, kName},
    {Id::kCustomerId, "Customer ID", kCommTypeText, kName},
    {Id::kGovernmentId, "Government ID", kCommTypeText, kName},
    {Id::kOrganizationId, "Organization ID", kCommTypeText, kName},
    {Id::kCategory, "Category", kCommTypeText, kLong},
    {Id::kCreationTime, "Creation Time", kCommTypeDate, kDateSize},
    {Id::kLastModificationTime, "Last Modification Time", kCommTypeDate, kDateSize},
    {Id::kSourceType, "Source Type", kCommTypeInteger, kIntSize},
    {Id::kStatus, "Status", kCommTypeInteger, kIntSize},
    {Id::kId, "ID", kCommTypeText, kMedium},
    {Id::kPrivate, "Private", kCommTypeInteger, kIntSize},
    {82, "Custom Label 1", kCommTypeText, kMedium},
    {83, "Custom Label 2", kCommTypeText, kMedium},
    {84, "Custom Label 3", kCommTypeText, kMedium},
    {85, "Custom Label 4", kCommTypeText, kMedium},
    {86, "Custom Label 5", kCommTypeText, kMedium},
    {87, "Custom Label 6", kCommTypeText, kMedium},
    {88, "Custom Label 7", kCommTypeText, kMedium},
    {89, "Custom Label 8", kCommTypeText, kMedium},
    {90, "Custom Label 9", kCommTypeText, kMedium},
}};

// The text member of an identifier (const or not, as the record); nullptr for a field that
// is no text.
template <class R>
auto TextMemberOf(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    if (id >= Id::kCustom1 && id <= Id::kCustom9) {
        return &rec.m_szCustom[static_cast<std::size_t>(id - Id::kCustom1)];
    }
    if (id >= Id::kCustomLabel1 && id <= Id::kCustomLabel9) {
        return &rec.m_szCustomLabel[static_cast<std::size_t>(id - Id::kCustomLabel1)];
    }
    switch (id) {
        case Id::kFirstName:
            return &rec.m_szFirstName;
        case Id::kMiddleName:
            return &rec.m_szMiddleName;
        case Id::kLastName:
            return &rec.m_szLastName;
        case Id::kPrefix:
            return &rec.m_szPrefix;
        case Id::kSuffix:
            return &rec.m_szSuffix;
        case Id::kNickName:
            return &rec.m_szNickName;
        case Id::kDisplayName:
            return &rec.m_szDisplayName;
        case Id::kWorkStreet:
            return &rec.m_szWorkStreet;
        case Id::kWorkCity:
            return &rec.m_szWorkCity;
        case Id::kWorkState:
            return &rec.m_szWorkState;
        case Id::kWorkPostal:
            return &rec.m_szWorkPostal;
        case Id::kWorkCountry:
            return &rec.m_szWorkCountry;
        case Id::kHomeStreet:
            return &rec.m_szHomeStreet;
        case Id::kHomeCity:
            return &rec.m_szHomeCity;
        case Id::kHomeState:
            return &rec.m_szHomeState;
        case Id::kHomePostal:
            return &rec.m_szHomePostal;
        case Id::kHomeCountry:
            return &rec.m_szHomeCountry;
        case Id::kOtherStreet:
            return &rec.m_szOtherStreet;
        case Id::kOtherCity:
            return &rec.m_szOtherCity;
        case Id::kOtherState:
            return &rec.m_szOtherState;
        case Id::kOtherPostal:
            return &rec.m_szOtherPostal;
        case Id::kOtherCountry:
            return &rec.m_szOtherCountry;
        case Id::kHomePhone:
            return &rec.m_szHomePhone;
        case Id::kWorkPhone:
            return &rec.m_szWorkPhone;
        case Id::kMobilePhone:
            return &rec.m_szMobilePhone;
        case Id::kOtherPhone:
            return &rec.m_szOtherPhone;
        case Id::kPrimaryPhone:
            return &rec.m_szPrimaryPhone;
        case Id::kCallbackPhone:
            return &rec.m_szCallbackPhone;
        case Id::kCarPhone:
            return &rec.m_szCarPhone;
        case Id::kRadioPhone:
            return &rec.m_szRadioPhone;
        case Id::kWorkPhone2:
            return &rec.m_szWorkPhone2;
        case Id::kHomePhone2:
            return &rec.m_szHomePhone2;
        case Id::kWorkFax:
            return &rec.m_szWorkFax;
        case Id::kHomeFax:
            return &rec.m_szHomeFax;
        case Id::kPager:
            return &rec.m_szPager;
        case Id::kEmail:
            return &rec.m_szEmail;
        case Id::kEmail2:
            return &rec.m_szEmail2;
        case Id::kEmail3:
            return &rec.m_szEmail3;
        case Id::kPersonalHomePage:
            return &rec.m_szPersonalHomePage;
        case Id::kWorkHomePage:
            return &rec.m_szWorkHomePage;
        case Id::kFtpSite:
            return &rec.m_szFtpSite;
        case Id::kNote:
            return &rec.m_szNote;
        case Id::kCompany:
            return &rec.m_szCompany;
        case Id::kDepartment:
            return &rec.m_szDepartment;
        case Id::kTitle:
            return &rec.m_szTitle;
        case Id::kIm1:
            return &rec.m_szIm1;
        case Id::kIm2:
            return &rec.m_szIm2;
        case Id::kManagerName:
            return &rec.m_szManagerName;
        case Id::kAssistantName:
            return &rec.m_szAssistantName;
        case Id::kAssistantPhone:
            return &rec.m_szAssistantPhone;
        case Id::kSpouseName:
            return &rec.m_szSpouseName;
        case Id::kChildrenNames:
            return &rec.m_szChildrenNames;
        case Id::kProfession:
            return &rec.m_szProfession;
        case Id::kHobby:
            return &rec.m_szHobby;
        case Id::kAccount:
            return &rec.m_szAccount;
        case Id::kKeyword:
            return &rec.m_szKeyword;
        case Id::kLanguage:
            return &rec.m_szLanguage;
        case Id::kLocation:
            return &rec.m_szLocation;
        case Id::kMhsCommonName:
            return &rec.m_szMhsCommonName;
        case Id::kCustomerId:
            return &rec.m_szCustomerId;
        case Id::kGovernmentId:
            return &rec.m_szGovernmentId;
        case Id::kOrganizationId:
            return &rec.m_szOrganizationId;
        case Id::kCategory:
            return &rec.m_szCategory;
        case Id::kId:
            return &rec.m_szId;
        default:
            return nullptr;
    }
}

}  // namespace

CommAddrMgr::CommAddrMgr()
    : CommMgr(
          {Id::kFirstName, Id::kLastName, Id::kEmail},
          {Id::kHomePhone,   Id::kWorkPhone, Id::kMobilePhone, Id::kEmail,        Id::kWorkFax,
           Id::kHomeFax,     Id::kCompany,   Id::kTitle,       Id::kWorkCountry,  Id::kWorkState,
           Id::kWorkPostal,  Id::kWorkCity,  Id::kWorkStreet,  Id::kHomeCountry,  Id::kHomeState,
           Id::kHomePostal,  Id::kHomeCity,  Id::kHomeStreet,  Id::kOtherCountry, Id::kOtherState,
           Id::kOtherPostal, Id::kOtherCity, Id::kOtherStreet, Id::kNote}) {}

std::span<const CommFieldRow> CommAddrMgr::Catalogue() {
    return kCatalogue;
}

std::size_t CommAddrMgr::TextSize(const CommFieldRow& row) {
    return static_cast<std::size_t>(row.m_nNumber2);
}

std::string* CommAddrMgr::TextMember(CommAddrRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

const std::string* CommAddrMgr::TextMember(const CommAddrRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

bool CommAddrMgr::AppendFieldKey(const CommAddrRec& rec, std::int32_t id, CommFieldKey& key) {
    if (const std::string* text = TextMember(rec, id)) {
        key.AddText(*text, true);
        return true;
    }
    switch (id) {
        case Id::kGender:
            key.AddNumber(rec.m_nGender);
            return true;
        case Id::kPrivate:
            key.AddNumber(rec.m_nPrivate);
            return true;
        case Id::kBirthday:
            return key.AddReal(rec.m_dBirthday);
        case Id::kAnniversary:
            return key.AddReal(rec.m_dAnniversary);
        default:
            key.AddNothing();
            return true;
    }
}

void CommAddrMgr::MergeFields(CommAddrRec& to, const CommAddrRec& from,
                              const std::optional<CommFieldSet>& carried) {
    // Every named text except the ID; the tenth custom slot, the creation and modification
    // times and the source part stay as they are.
    for (const CommFieldRow& row : kCatalogue) {
        if (row.m_nNumber1 == kCommTypeText && row.m_nId != Id::kId &&
            IsCarried(carried, row.m_nId)) {
            CommMergeText(*TextMember(to, row.m_nId), *TextMember(from, row.m_nId), TextSize(row));
        }
    }
    MergeValue(to.m_nGender, from.m_nGender, Id::kGender, carried);
    MergeValue(to.m_dBirthday, from.m_dBirthday, Id::kBirthday, carried);
    MergeValue(to.m_dAnniversary, from.m_dAnniversary, Id::kAnniversary, carried);
    MergeValue(to.m_nPrivate, from.m_nPrivate, Id::kPrivate, carried);
}

bool CommAddrMgr::FieldText(const CommAddrRec& rec, const CommFieldRow& row, std::string& text,
                            std::size_t size) {
    if (row.m_nNumber2 < 0 || static_cast<std::size_t>(row.m_nNumber2) >= size) {
        return false;
    }
    const std::int32_t id = row.m_nId;
    if (id == Id::kId) {
        return false;
    }
    if (const std::string* member = TextMember(rec, id)) {
        CommPutText(text, *member, size);
        return true;
    }
    switch (id) {
        case Id::kGender:
            return true;
        case Id::kBirthday:
            CommPutText(text, CxDateTime(rec.m_dBirthday).DateTimeText(), size);
            return true;
        case Id::kAnniversary:
            CommPutText(text, CxDateTime(rec.m_dAnniversary).DateTimeText(), size);
            return true;
        case Id::kCreationTime:
            CommPutText(text, CxDateTime(rec.m_dCreationTime).DateTimeText(), size);
            return true;
        case Id::kLastModificationTime:
            CommPutText(text, CxDateTime(rec.m_dLastModificationTime).DateTimeText(), size);
            return true;
        case Id::kSourceType: {
            const std::string_view source = CommSourceTypeText(rec.m_source.m_nSourceType);
            if (source.empty()) {
                return false;
            }
            CommPutText(text, source, size);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tabrel
