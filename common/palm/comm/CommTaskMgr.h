#pragma once
// CommTaskMgr: the store of common task records.
//
// Key field: Subject. Compare fields: Priority, DueDate (which has no comparison, so it
// counts as equal), Subject, Subject. Subject and Note compare without regard to letter
// case; Priority, Completed, Alarm and Private by value; any other field counts as equal.
//
// Merge takes Subject, Note, DueDate, Alarm, Private, Completed and Priority.
//
// Field texts: Subject, Note, Category as they are; Priority "High", "Low" or "Normal";
// Completed, Alarm, Private "Yes" or "No"; DueDate the date text of CxDateTime, or "N/A"
// when the due date's local year is before 2000 or after 2020.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "palm/comm/CommMgr.h"
#include "palm/comm/CommTaskRec.h"

namespace tabrel {

class CommTaskMgr final : public CommMgr<CommTaskMgr, CommTaskRec> {
  public:
    CommTaskMgr();

  private:
    friend class CommMgr<CommTaskMgr, CommTaskRec>;

    static std::span<const CommFieldRow> Catalogue();
    static std::size_t TextSize(const CommFieldRow& row);
    static std::string* TextMember(CommTaskRec& rec, std::int32_t id);
    static const std::string* TextMember(const CommTaskRec& rec, std::int32_t id);
    static bool AppendFieldKey(const CommTaskRec& rec, std::int32_t id, CommFieldKey& key);
    static void MergeFields(CommTaskRec& to, const CommTaskRec& from,
                            const std::optional<CommFieldSet>& carried);
    static bool FieldText(const CommTaskRec& rec, const CommFieldRow& row, std::string& text,
                          std::size_t size);
};

}  // namespace tabrel
