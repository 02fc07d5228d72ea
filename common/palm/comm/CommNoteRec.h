#pragma once
// CommNoteRec: the common note record. The number before each field is its identifier in
// the common note catalogue (CommNoteMgr); a text of size n (in brackets) keeps at most
// n - 1 characters, cut where the text is set or merged.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/comm/CommSource.h"

namespace tabrel {

// Identifiers of the common note catalogue.
struct CommNoteId {
    enum : std::int32_t {
        kColor = 0,
        kPrivate = 1,
        kSubject = 2,
        kNote = 3,
        kCategory = 4,
        kCreationTime = 5,
        kLastModificationTime = 6,
        kSource = 7,
        kStatus = 8,
        kIdInteger = 9,
        kIdString = 10,
    };
};

struct CommNoteRec {
    static constexpr std::size_t kSubjectSize = 256;
    static constexpr std::size_t kNoteSize = 20480;
    static constexpr std::size_t kCategorySize = 256;
    static constexpr std::size_t kIdSize = 32;

    std::int32_t m_nColor = 0;             // 0
    std::int32_t m_bPrivate = 0;           // 1
    std::string m_szSubject;               // 2 (256)
    std::string m_szNote;                  // 3 (20480)
    std::string m_szCategory;              // 4 (256)
    double m_dCreationTime = 0.0;          // 5, a variant date (days since 30 December 1899)
    double m_dLastModificationTime = 0.0;  // 6, as the creation time
    // 7 Source, 8 Status and 9 ID(Integer) are the source part's type, status and
    // identifier.
    CommSource m_source;
    std::string m_szId;  // 10 ID(String) (32)
};

}  // namespace tabrel
