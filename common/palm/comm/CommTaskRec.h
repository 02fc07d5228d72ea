#pragma once
// CommTaskRec: the common task record. The number before each field is its identifier in
// the common task catalogue (CommTaskMgr); a text of size n (in brackets) keeps at most
// n - 1 characters, cut where the text is set or merged.

#include <cstddef>
#include <cstdint>
#include <string>

#include "palm/comm/CommRepeat.h"
#include "palm/comm/CommSource.h"

namespace tabrel {

// Common task priorities; any other value is Normal.
inline constexpr std::int32_t kCommPriorityHigh = 1;
inline constexpr std::int32_t kCommPriorityLow = 2;

// The sensitivity of a private task.
inline constexpr std::uint16_t kCommSensitivityPrivate = 2;

// Identifiers of the common task catalogue.
struct CommTaskId {
    enum : std::int32_t {
        kSubject = 0,
        kNote = 1,
        kPriority = 2,
        kCompleted = 3,
        kDueDate = 4,
        kAlarm = 5,
        kPrivate = 6,
        kCategory = 7,
    };
};

struct CommTaskRec {
    static constexpr std::size_t kSubjectSize = 256;
    static constexpr std::size_t kNoteSize = 8192;
    static constexpr std::size_t kCategorySize = 256;

    std::string m_szSubject;        // 0 (256)
    std::string m_szNote;           // 1 (8192)
    std::string m_szCategory;       // 7 (256)
    std::int32_t m_nPriority = 0;   // 2: kCommPriorityHigh, kCommPriorityLow, else Normal
    std::uint8_t m_bCompleted = 0;  // 3
    std::int32_t m_tDueDate = 0;    // 4, seconds since 1 January 1970, local time
    std::uint8_t m_bAlarm = 0;      // 5
    std::uint8_t m_bPrivate = 0;    // 6
    std::uint8_t m_bAlarm2 = 0;     // a second alarm byte, carried
    CommRepeat m_repeat;
    std::uint16_t m_wSensitivity = 0;  // kCommSensitivityPrivate for a private task, else 0

    CommSource m_source;
};

}  // namespace tabrel
