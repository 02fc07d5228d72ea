#pragma once
// CommDateMgr: the store of common date records.
//
// Key fields: Description, Start Time, End Time, All Day Event. Compare field: Location.
// Description and Location compare without regard to letter case, the note also with CR
// and LF skipped on both sides; the start (Start Time, Start Date Time, Date) and the end
// (End Time, End Date Time) compare by year, month and day; Private, Importance, Alarm and
// All Day Event by value; any other field counts as equal.
//
// Merge takes Description, Location, Note, both category texts, Alarm, All Day Event,
// Importance, Private, the repeat rule, the start (carried with any of Start Time, Start
// Date Time and Date) and the end (with End Time or End Date Time); the alarm set flag,
// advance and unit stay.
//
// Field texts: the texts as they are; Start and End Time "hh:mm:ss"; Start and End Date
// Time the date-time text of CxDateTime; Date the start's date text; Private, Alarm and
// All Day Event "Yes" or "No"; Repeat "Repeat Info"; Importance the empty text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "palm/comm/CommDateRec.h"
#include "palm/comm/CommMgr.h"

namespace tabrel {

class CommDateMgr final : public CommMgr<CommDateMgr, CommDateRec> {
  public:
    CommDateMgr();

  private:
    friend class CommMgr<CommDateMgr, CommDateRec>;

    static std::span<const CommFieldRow> Catalogue();
    static std::size_t TextSize(const CommFieldRow& row);
    static std::string* TextMember(CommDateRec& rec, std::int32_t id);
    static const std::string* TextMember(const CommDateRec& rec, std::int32_t id);
    static bool AppendFieldKey(const CommDateRec& rec, std::int32_t id, CommFieldKey& key);
    static void MergeFields(CommDateRec& to, const CommDateRec& from,
                            const std::optional<CommFieldSet>& carried);
    static bool FieldText(const CommDateRec& rec, const CommFieldRow& row, std::string& text,
                          std::size_t size);
};

}  // namespace tabrel
