#pragma once
// PmAddrExRecord: one contact of a "PalmSG Database" address.dat.
//
//   field   code  holds                                        capacity (bytes, with
//                                                              terminator)
//   0-10          record header (PmExRecord.h)
//   11, 12  5     texts, carried through                       32
//   13      5     first name                                   32
//   14      5     last name                                    32
//   15      5     title                                        32
//   16      5     company                                      256
//   17      1     value, carried through                       4 bytes
//   18      5     note                                         2048
//   19-25   5     phone slots 1 to 7: number or address        32 each
//   26-32   1     phone slots 1 to 7: label (PmAddrPhoneLabel) 4 bytes each
//   33-41   5     custom fields 1 to 9                         256 each
//   42-47         address 1 (work): label (1), street (5, 256), city, state, zip,
//                 country (5, 32 each)
//   48-53         address 2 (home), as address 1
//   54-59         address 3 (other), as address 1
//   60, 61  5     chat 1, chat 2                               32 each
//   62, 63  1     values, carried through                      4 bytes each
//   64      5     web page                                     256
//   65      68    birthday: 8 bytes, a double                  8 bytes
//   66      6     flag, carried through                        4 bytes
//   67, 68  1     values, carried through                      4 bytes each
//   69-72   5     texts, carried through                       32 each
// The category name holds at most 19 characters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/palmsg/PmExRecord.h"

namespace tabrel {

// The label of a phone slot (fields 26 to 32): what kind of number or address it holds.
enum PmAddrPhoneLabel : std::uint32_t {
    PhoneWork = 0,
    PhoneHome = 1,
    PhoneFax = 2,
    PhoneOther = 3,
    PhoneEmail = 4,
    PhoneMain = 5,
    PhonePager = 6,
    PhoneMobile = 7,
};

// The label of an address block (fields 42, 48 and 54).
enum PmAddrAddressLabel : std::uint32_t { AddressWork = 0, AddressHome = 1, AddressOther = 2 };

struct PmAddrExAddress {
    static constexpr std::size_t kStreetCapacity = 256;
    static constexpr std::size_t kPartCapacity = 32;

    std::uint32_t m_dwLabel = 0;
    std::string m_szStreet;
    std::string m_szCity;
    std::string m_szState;
    std::string m_szZip;
    std::string m_szCountry;

    bool operator==(const PmAddrExAddress&) const = default;
};

struct PmAddrExRecord : PmExRecord {
    static constexpr std::size_t kFieldCount = 73;
    static constexpr std::size_t kCategoryCapacity = 20;
    static constexpr std::size_t kShortTextCapacity = 32;
    static constexpr std::size_t kLongTextCapacity = 256;
    static constexpr std::size_t kNoteCapacity = 2048;
    static constexpr std::size_t kPhoneCount = 7;
    static constexpr std::size_t kCustomCount = 9;
    static constexpr std::size_t kAddressCount = 3;

    std::string m_szText11;                                    // field 11
    std::string m_szText12;                                    // field 12
    std::string m_szLastName;                                  // field 14
    std::string m_szFirstName;                                 // field 13
    std::string m_szTitle;                                     // field 15
    std::string m_szCompany;                                   // field 16
    std::uint32_t m_dwValue17 = 0;                             // field 17
    std::string m_szNote;                                      // field 18
    std::array<std::string, kPhoneCount> m_szPhones;           // fields 19 to 25
    std::array<std::uint32_t, kPhoneCount> m_dwPhoneLabels{};  // fields 26 to 32
    std::array<std::string, kCustomCount> m_szCustoms;         // fields 33 to 41
    std::array<PmAddrExAddress, kAddressCount> m_addresses;    // fields 42 to 59
    std::array<std::string, 2> m_szChats;                      // fields 60, 61
    std::uint32_t m_dwValue62 = 0;                             // field 62
    std::uint32_t m_dwValue63 = 0;                             // field 63
    std::string m_szWebPage;                                   // field 64
    double m_dBirthday = 0;                                    // field 65
    std::uint32_t m_dwFlag66 = 0;                              // field 66
    std::uint32_t m_dwValue67 = 0;                             // field 67
    std::uint32_t m_dwValue68 = 0;                             // field 68
    std::array<std::string, 4> m_szTexts69;                    // fields 69 to 72

    // An empty contact as the system creates one: all zero, with the three address blocks
    // labelled work, home and other.
    static PmAddrExRecord MakeNew() {
        PmAddrExRecord record;
        record.m_addresses[0].m_dwLabel = AddressWork;
        record.m_addresses[1].m_dwLabel = AddressHome;
        record.m_addresses[2].m_dwLabel = AddressOther;
        return record;
    }

    bool operator==(const PmAddrExRecord&) const = default;
};

}  // namespace tabrel
