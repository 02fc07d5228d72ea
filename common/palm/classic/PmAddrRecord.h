#pragma once
// PmAddrRecord: one contact of a classic address.dat (Palm Desktop 4.1 and earlier).
//
//   field               code  meaning                                    held in
//   0-2                 1     record ID, status, placement               PmClassicRecord
//   3                   5     last name (32)                             m_szLastName
//   4                   5     first name (32)                            m_szFirstName
//   5                   5     title (32)                                 m_szTitle
//   6                   5     company (256)                              m_szCompany
//   7, 9, 11, 13, 15    1     phone slots 1 to 5: label                  m_dwPhoneLabels
//                             (PmAddrPhoneLabel)
//   8, 10, 12, 14, 16   5     phone slots 1 to 5: number or address (32) m_szPhones
//   17                  5     address (256)                              m_szAddress
//   18                  5     city (32)                                  m_szCity
//   19                  5     state (32)                                 m_szState
//   20                  5     zip (32)                                   m_szZip
//   21                  5     country (32)                               m_szCountry
//   22                  5     note (2048)                                m_szNote
//   23                  6     private                                    m_bPrivate
//   24                  1     category ID                                m_dwCategoryId
//   25-28               5     custom fields 1 to 4 (64 each)             m_szCustoms
//   29                  1     value, carried through                     m_dwField29
// Texts hold at most their capacity (in brackets, terminator included) less one byte. The
// loader fills the category name (PmClassicRecord) from field 24.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/classic/PmClassicRecord.h"

namespace tabrel {

struct PmAddrRecord : PmClassicRecord {
    static constexpr std::size_t kFieldCount = 30;
    static constexpr std::size_t kShortTextCapacity = 32;
    static constexpr std::size_t kLongTextCapacity = 256;
    static constexpr std::size_t kNoteCapacity = 2048;
    static constexpr std::size_t kCustomCapacity = 64;
    static constexpr std::size_t kPhoneCount = 5;
    static constexpr std::size_t kCustomCount = 4;

    std::string m_szLastName;                                  // field 3
    std::string m_szFirstName;                                 // field 4
    std::string m_szTitle;                                     // field 5
    std::string m_szCompany;                                   // field 6
    std::array<std::uint32_t, kPhoneCount> m_dwPhoneLabels{};  // fields 7, 9, 11, 13, 15
    std::array<std::string, kPhoneCount> m_szPhones;           // fields 8, 10, 12, 14, 16
    std::string m_szAddress;                                   // field 17
    std::string m_szCity;                                      // field 18
    std::string m_szState;                                     // field 19
    std::string m_szZip;                                       // field 20
    std::string m_szCountry;                                   // field 21
    std::string m_szNote;                                      // field 22
    std::uint32_t m_bPrivate = 0;                              // field 23
    std::uint32_t m_dwCategoryId = 0;                          // field 24
    std::array<std::string, kCustomCount> m_szCustoms;         // fields 25 to 28
    std::uint32_t m_dwField29 = 0;                             // field 29

    bool operator==(const PmAddrRecord&) const = default;
};

}  // namespace tabrel
