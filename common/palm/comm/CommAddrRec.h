#pragma once
// CommAddrRec: the common contact record, a general contact model that every Palm Desktop
// generation maps into. The number before each field is its identifier in the common
// contact catalogue (CommAddrMgr); a text of size n (in brackets) keeps at most n - 1
// characters, cut where the text is set or merged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/comm/CommSource.h"

namespace tabrel {

// Identifiers of the common contact catalogue.
struct CommAddrId {
    enum : std::int32_t {
        kFirstName = 1,
        kMiddleName = 2,
        kLastName = 3,
        kPrefix = 4,
        kSuffix = 5,
        kNickName = 6,
        kDisplayName = 7,
        kGender = 8,
        kWorkStreet = 9,  // to kWorkCountry: street, city, state, postal, country
        kWorkCity = 10,
        kWorkState = 11,
        kWorkPostal = 12,
        kWorkCountry = 13,
        kHomeStreet = 14,
        kHomeCity = 15,
        kHomeState = 16,
        kHomePostal = 17,
        kHomeCountry = 18,
        kOtherStreet = 19,
        kOtherCity = 20,
        kOtherState = 21,
        kOtherPostal = 22,
        kOtherCountry = 23,
        kHomePhone = 24,
        kWorkPhone = 25,
        kMobilePhone = 26,
        kOtherPhone = 27,
        kPrimaryPhone = 28,
        kCallbackPhone = 29,
        kCarPhone = 30,
        kRadioPhone = 31,
        kWorkPhone2 = 32,
        kHomePhone2 = 33,
        kWorkFax = 34,
        kHomeFax = 35,
        kPager = 36,
        kEmail = 37,
        kEmail2 = 38,
        kEmail3 = 39,
        kPersonalHomePage = 40,
        kWorkHomePage = 41,
        kFtpSite = 42,
        kNote = 43,
        kCustom1 = 44,  // to kCustom9 = 52
        kCustom9 = 52,
        kCompany = 53,
        kDepartment = 54,
        kTitle = 55,
        kIm1 = 56,
        kIm2 = 57,
        kManagerName = 58,
        kAssistantName = 59,
        kAssistantPhone = 60,
        kSpouseName = 61,
        kChildrenNames = 62,
        kProfession = 63,
        kHobby = 64,
        kAccount = 65,
        kAnniversary = 66,
        kBirthday = 67,
        kKeyword = 68,
        kLanguage = 69,
        kLocation = 70,
        kMhsCommonName = 71,
        kCustomerId = 72,
        kGovernmentId = 73,
        kOrganizationId = 74,
        kCategory = 75,
        kCreationTime = 76,
        kLastModificationTime = 77,
        kSourceType = 78,
        kStatus = 79,
        kId = 80,
        kPrivate = 81,
        kCustomLabel1 = 82,  // to kCustomLabel9 = 90
        kCustomLabel9 = 90,
    };
};

struct CommAddrRec {
    static constexpr std::size_t kNameSize = 32;
    static constexpr std::size_t kStreetSize = 256;
    static constexpr std::size_t kPostalSize = 16;
    static constexpr std::size_t kPhoneSize = 24;
    static constexpr std::size_t kMediumSize = 64;
    static constexpr std::size_t kLongSize = 256;
    static constexpr std::size_t kNoteSize = 8192;
    static constexpr std::size_t kCustomCount = 10;  // the tenth has no identifier
    static constexpr std::size_t kCustomLabelCount = 9;

    std::string m_szFirstName;    // 1 (32)
    std::string m_szLastName;     // 3 (32)
    std::string m_szMiddleName;   // 2 (32)
    std::string m_szPrefix;       // 4 (32)
    std::string m_szSuffix;       // 5 (32)
    std::string m_szNickName;     // 6 (32)
    std::string m_szDisplayName;  // 7 (32)
    std::int32_t m_nGender = 0;   // 8

    std::string m_szWorkStreet;    // 9 (256)
    std::string m_szWorkCity;      // 10 (32)
    std::string m_szWorkState;     // 11 (32)
    std::string m_szWorkPostal;    // 12 (16)
    std::string m_szWorkCountry;   // 13 (32)
    std::string m_szHomeStreet;    // 14 (256)
    std::string m_szHomeCity;      // 15 (32)
    std::string m_szHomeState;     // 16 (32)
    std::string m_szHomePostal;    // 17 (16)
    std::string m_szHomeCountry;   // 18 (32)
    std::string m_szOtherStreet;   // 19 (256)
    std::string m_szOtherCity;     // 20 (32)
    std::string m_szOtherState;    // 21 (32)
    std::string m_szOtherPostal;   // 22 (16)
    std::string m_szOtherCountry;  // 23 (32)

    std::string m_szHomePhone;      // 24 (24)
    std::string m_szWorkPhone;      // 25 (24)
    std::string m_szMobilePhone;    // 26 (24)
    std::string m_szPrimaryPhone;   // 28 (24)
    std::string m_szOtherPhone;     // 27 (24)
    std::string m_szCallbackPhone;  // 29 (24)
    std::string m_szRadioPhone;     // 31 (24)
    std::string m_szCarPhone;       // 30 (24)
    std::string m_szWorkPhone2;     // 32 (24)
    std::string m_szHomePhone2;     // 33 (24)
    std::string m_szWorkFax;        // 34 (24)
    std::string m_szHomeFax;        // 35 (24)
    std::string m_szPager;          // 36 (24)

    std::string m_szEmail;   // 37 (64)
    std::string m_szEmail2;  // 38 (64)
    std::string m_szEmail3;  // 39 (64)

    std::string m_szWorkHomePage;      // 41 (256)
    std::string m_szPersonalHomePage;  // 40 (256)
    std::string m_szFtpSite;           // 42 (256)
    std::string m_szNote;              // 43 (8192)
    // Custom 1 to 9 are 44 to 52 (64 each); the tenth slot has no identifier.
    std::array<std::string, kCustomCount> m_szCustom;

    std::string m_szCompany;         // 53 (64)
    std::string m_szTitle;           // 55 (32)
    std::string m_szDepartment;      // 54 (32)
    std::string m_szIm1;             // 56 (32)
    std::string m_szIm2;             // 57 (32)
    std::string m_szManagerName;     // 58 (32)
    std::string m_szAssistantName;   // 59 (32)
    std::string m_szAssistantPhone;  // 60 (24)
    std::string m_szSpouseName;      // 61 (32)
    std::string m_szChildrenNames;   // 62 (32)
    std::string m_szProfession;      // 63 (64)
    std::string m_szHobby;           // 64 (64)
    std::string m_szAccount;         // 65 (32)

    double m_dBirthday = 0.0;     // 67, a variant date (days since 30 December 1899)
    double m_dAnniversary = 0.0;  // 66, as the birthday

    std::string m_szKeyword;         // 68 (64)
    std::string m_szLanguage;        // 69 (64)
    std::string m_szLocation;        // 70 (64)
    std::string m_szMhsCommonName;   // 71 (32)
    std::string m_szCustomerId;      // 72 (32)
    std::string m_szGovernmentId;    // 73 (32)
    std::string m_szOrganizationId;  // 74 (32)
    std::string m_szCategory;        // 75 (256)

    double m_dCreationTime = 0.0;          // 76, as the birthday
    double m_dLastModificationTime = 0.0;  // 77, as the birthday

    // 78 Source Type and 79 Status are the source part's.
    std::string m_szId;           // 80 (64)
    std::int32_t m_nPrivate = 0;  // 81
    // Custom Label 1 to 9 are 82 to 90 (64 each).
    std::array<std::string, kCustomLabelCount> m_szCustomLabel;

    CommSource m_source;
};

}  // namespace tabrel
