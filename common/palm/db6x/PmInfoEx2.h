#pragma once
// PmInfoEx2: the entries of a Palm Desktop 6.x database's table "Information" (columns Name
// and Note, both text) that the readers know. The value is the Note of the row whose Name
// is the entry's name, as decimal text for the integers:
//   Name           member
//   "License"      m_nLicense
//   "Version"      m_nVersion
//   "Minor"        m_nMinor
//   "CodePage"     m_nCodePage       (not consulted: texts convert through the configured
//                                     ANSI code page)
//   "PreSahara"    m_nPreSahara
//   "FreeRecID"    m_nFreeRecId      (plays no part in giving records their IDs)
//   "TableString"  m_szTableString   (at most 1023 bytes)

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabrel {

struct PmInfoEx2 {
    static constexpr std::size_t kTableStringMax = 1023;

    std::int32_t m_nLicense = 0;
    std::int32_t m_nVersion = 0;
    std::int32_t m_nMinor = 0;
    std::int32_t m_nCodePage = 0;
    std::int32_t m_nPreSahara = 0;
    std::int32_t m_nFreeRecId = 0;
    std::string m_szTableString;

    bool operator==(const PmInfoEx2&) const = default;
};

}  // namespace tabrel
