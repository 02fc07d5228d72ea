#pragma once
// PmTodoEx2Record: one task of a Palm Desktop 6.x Todolist.mdb, a row of its table "Main":
//   #   column                   kind         field
//   0   Record ID                integer      m_nRecordId
//   1   Status                   integer      m_nStatus
//   2   Placement                integer      m_nPlacement
//   3   Private                  boolean      m_byPrivate
//   4   Category                 number text  m_nCategoryId (the ID in decimal text, '2')
//   5   Note                     text         m_szNote, whole
//   6   Description              text [256]   m_szDescription
//   7   Due Date                 number text  m_tDueDate, a time value (PmTime.h)
//   8   Completed                boolean      m_byCompleted
//   9   Priority                 integer      m_nPriority
//   10  Repeat On Complete Date  boolean      m_byRepeatOnCompleteDate
//   11  Complete Date            number text  m_tCompleteDate
//   12  Alarm Set                boolean      m_byAlarmSet
//   13  Alarm Time               number text  m_tAlarmTime
//   14  Alarm Advance            integer      m_nAlarmAdvance
//   15  Repeat Start Date        number text  m_tRepeatStartDate
//   16  Repeat Info              text [256]   m_szRepeatInfo, the rule text
//                                             (PmRepeatRuleText.h)
// A text read from the database is cut to its width in brackets less one byte.
//
// m_szDueDate holds the Due Date in signed decimal as it was last read, the form the key
// column is matched in; m_repeat is the rule m_szRepeatInfo describes. The category name is
// not a column: it is filled from the category list, at most 31 characters.

#include <cstdint>
#include <string>

#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

struct PmTodoEx2Record {
    std::int32_t m_nRecordId = 0;
    std::int32_t m_nStatus = 0;
    std::int32_t m_nPlacement = 0;
    std::uint8_t m_byPrivate = 0;
    std::int32_t m_nCategoryId = 0;
    std::string m_szCategoryName;
    std::string m_szNote;
    std::int32_t m_tDueDate = 0;
    std::string m_szDueDate;
    std::string m_szDescription;
    std::uint8_t m_byCompleted = 0;
    std::int32_t m_nPriority = 0;
    std::uint8_t m_byRepeatOnCompleteDate = 0;
    std::int32_t m_tCompleteDate = 0;
    std::uint8_t m_byAlarmSet = 0;
    std::int32_t m_tAlarmTime = 0;
    std::int32_t m_nAlarmAdvance = 0;
    std::int32_t m_tRepeatStartDate = 0;
    std::string m_szRepeatInfo;
    PmRepeatEvent m_repeat;

    bool operator==(const PmTodoEx2Record&) const = default;
};

}  // namespace tabrel
