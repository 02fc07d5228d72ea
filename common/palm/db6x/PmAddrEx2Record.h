#pragma once
// PmAddrEx2Record: one contact of a Palm Desktop 6.x Address.mdb, a row of its table
// "Main" (95 columns; PmAddrEx2Util.cpp maps each to its field). Texts are ANSI; the width
// in brackets, terminator included, is where a text read from the database is cut (one
// byte less). The note and the seven kept columns are read whole.
//
// The seven phone texts hold the columns Work Phone, Work Fax, Work Mobile, Home Phone,
// Home Fax, Home Mobile and Other Phone, in this order; phone label n (the column Phone
// Labeln) belongs to phone text n. The columns Other Fax, Other Mobile, Work E-mail,
// E-mail 1, E-mail 2, E-mail 3 and Pager have no place in the rest of the system: the
// record keeps them as they were read, and they are written only when the whole contact is
// inserted (empty for a new contact).
//
// The category name is not a column: it is filled from the category list and holds at
// most 31 characters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tabrel {

struct PmAddrEx2Record {
    static constexpr std::size_t kPhoneCount = 7;
    static constexpr std::size_t kCustomCount = 14;

    std::int32_t m_nRecordId = 0;
    std::int32_t m_nStatus = 0;
    std::int32_t m_nPlacement = 0;
    std::uint8_t m_byPrivate = 0;
    std::int32_t m_nCategoryId = 0;
    std::string m_szCategoryName;
    std::string m_szNote;  // whole

    std::string m_szPrefix;      // [32]
    std::string m_szFirstName;   // [64]
    std::string m_szMiddleName;  // [64]
    std::string m_szLastName;    // [64]
    std::string m_szSuffix;      // [32]
    std::string m_szNickName;    // [64]
    std::int32_t m_nAnniversary = 0;
    std::int32_t m_nBirthday = 0;
    std::string m_szProfession;      // [128]
    std::string m_szCompany;         // [128]
    std::string m_szJobTitle;        // [128]
    std::string m_szAssistantName;   // [64]
    std::string m_szAssistantPhone;  // [64]

    std::string m_szWorkStreet;  // [256]; city, state, zip and country [32]
    std::string m_szWorkCity;
    std::string m_szWorkState;
    std::string m_szWorkZip;
    std::string m_szWorkCountry;
    std::string m_szHomeStreet;
    std::string m_szHomeCity;
    std::string m_szHomeState;
    std::string m_szHomeZip;
    std::string m_szHomeCountry;
    std::string m_szOtherStreet;
    std::string m_szOtherCity;
    std::string m_szOtherState;
    std::string m_szOtherZip;
    std::string m_szOtherCountry;

    std::string m_szCustom1;  // [256] each
    std::string m_szCustom2;
    std::string m_szCustom3;
    std::string m_szCustom4;
    std::string m_szCustom5;
    std::string m_szCustom6;
    std::string m_szCustom7;
    std::string m_szCustom8;
    std::string m_szCustom9;
    std::string m_szCustom10;
    std::string m_szCustom11;
    std::string m_szCustom12;
    std::string m_szCustom13;
    std::string m_szCustom14;

    std::string m_szPhone1;  // [128] each
    std::string m_szPhone2;
    std::string m_szPhone3;
    std::string m_szPhone4;
    std::string m_szPhone5;
    std::string m_szPhone6;
    std::string m_szPhone7;
    // The kept columns, whole.
    std::string m_szOtherFax;
    std::string m_szOtherMobile;
    std::string m_szWorkEmail;
    std::string m_szEmail1;
    std::string m_szEmail2;
    std::string m_szEmail3;
    std::string m_szPager;
    std::int32_t m_nPhoneLabel1 = 0;
    std::int32_t m_nPhoneLabel2 = 0;
    std::int32_t m_nPhoneLabel3 = 0;
    std::int32_t m_nPhoneLabel4 = 0;
    std::int32_t m_nPhoneLabel5 = 0;
    std::int32_t m_nPhoneLabel6 = 0;
    std::int32_t m_nPhoneLabel7 = 0;
    std::int32_t m_nPrimaryContact = 0;

    std::string m_szFirstYomi;    // [64]
    std::string m_szLastYomi;     // [64]
    std::string m_szCompanyYomi;  // [64]
    std::string m_szChat1;        // [128]
    std::string m_szChat2;        // [128]
    std::int32_t m_nChat1LabelId = 0;
    std::int32_t m_nChat2LabelId = 0;
    std::string m_szWebsite;  // [256]

    std::uint8_t m_byBirthdayAlarmSet = 0;
    std::int32_t m_nBirthdayAlarmAdv = 0;
    std::int32_t m_nAvatar = 0;
    std::int32_t m_nAddrLabel1 = 0;
    std::int32_t m_nAddrLabel2 = 0;
    std::int32_t m_nAddrLabel3 = 0;
    std::uint8_t m_byAnniversaryAlarmSet = 0;
    std::int32_t m_nAnniversaryAlarmAdv = 0;

    std::string m_szEnglishName;          // [128]
    std::string m_szPictureUrl;           // [256]
    std::string m_szPictureFilename;      // [256]
    std::string m_szPictureMimeType;      // [32]
    std::string m_szPictureSyncCounter;   // [32]
    std::string m_szRingtoneUrl;          // [256]
    std::string m_szRingtoneFilename;     // [256]
    std::string m_szRingtoneMimeType;     // [32]
    std::string m_szRingtoneSyncCounter;  // [32]

    bool operator==(const PmAddrEx2Record&) const = default;
};

// Phone text n and its label n (0-based), and custom text n: record.*kAddrEx2PhoneTexts[n].
inline constexpr std::array<std::string PmAddrEx2Record::*, PmAddrEx2Record::kPhoneCount>
    kAddrEx2PhoneTexts = {&PmAddrEx2Record::m_szPhone1, &PmAddrEx2Record::m_szPhone2,
                          &PmAddrEx2Record::m_szPhone3, &PmAddrEx2Record::m_szPhone4,
                          &PmAddrEx2Record::m_szPhone5, &PmAddrEx2Record::m_szPhone6,
                          &PmAddrEx2Record::m_szPhone7};
inline constexpr std::array<std::int32_t PmAddrEx2Record::*, PmAddrEx2Record::kPhoneCount>
    kAddrEx2PhoneLabels = {&PmAddrEx2Record::m_nPhoneLabel1, &PmAddrEx2Record::m_nPhoneLabel2,
                           &PmAddrEx2Record::m_nPhoneLabel3, &PmAddrEx2Record::m_nPhoneLabel4,
                           &PmAddrEx2Record::m_nPhoneLabel5, &PmAddrEx2Record::m_nPhoneLabel6,
                           &PmAddrEx2Record::m_nPhoneLabel7};
inline constexpr std::array<std::string PmAddrEx2Record::*, PmAddrEx2Record::kCustomCount>
    kAddrEx2CustomTexts = {&PmAddrEx2Record::m_szCustom1,  &PmAddrEx2Record::m_szCustom2,
                           &PmAddrEx2Record::m_szCustom3,  &PmAddrEx2Record::m_szCustom4,
                           &PmAddrEx2Record::m_szCustom5,  &PmAddrEx2Record::m_szCustom6,
                           &PmAddrEx2Record::m_szCustom7,  &PmAddrEx2Record::m_szCustom8,
                           &PmAddrEx2Record::m_szCustom9,  &PmAddrEx2Record::m_szCustom10,
                           &PmAddrEx2Record::m_szCustom11, &PmAddrEx2Record::m_szCustom12,
                           &PmAddrEx2Record::m_szCustom13, &PmAddrEx2Record::m_szCustom14};

}  // namespace tabrel
