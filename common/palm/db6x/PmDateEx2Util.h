#pragma once
// PmDateEx2Util: the Calendar database of Palm Desktop 6.x (DateBook.mdb in the
// "datebook" folder of a Palm user's data folder), application kind 2.
//
// An event is found by its Record ID, Start Time, End Time (as decimal texts) and Summary.
// Loading reads the rule text into the record's PmRepeatEvent and fills the category name
// from the list. Before an event is written its time texts are set from the times, its
// rule text is renewed (below) and its category ID is taken from its category name: an
// unknown name fails the write before anything is read. Every column but Placement is
// compared; the change list holds the differing columns in column order.
//
// The rule text kept with an event is written back as it was read while it reads as the
// same rule as the text the event's PmRepeatEvent is written as (RenewRepeatRule); only a
// changed rule, or a yearly rule whose start moved to another month, is written as a new
// text. A stored text the rule cannot express in full (an "n-" occurrence, an end given as
// a count) thus survives the writing of its event.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "palm/db6x/PmDateEx2Record.h"
#include "palm/db6x/PmEx2ColumnUtil.h"

namespace tabrel {

using PmDateEx2DataMgr = PmEx2DataMgr<PmDateEx2Record>;

class PmDateEx2Util final : public PmEx2ColumnUtil<PmDateEx2Record> {
  public:
    enum Column : std::size_t {
        RecordId,
        Status,
        Placement,
        Private,
        Category,
        Note,
        StartTime,
        EndTime,
        Untimed,
        TimeZone,
        Location,
        Summary,
        Alarm,
        AlarmAdvance,
        AlarmUnit,
        RepeatedEvent,
        ColumnCount
    };
    static constexpr std::array<std::string_view, ColumnCount> kColumns = {
        "Record ID",  "Status",        "Placement",  "Private",       "Category", "Note",
        "Start Time", "End Time",      "Untimed",    "Time Zone",     "Location", "Summary",
        "Alarm",      "Alarm Advance", "Alarm Unit", "Repeated Event"};
    static constexpr std::array<std::size_t, 4> kKeyColumns = {RecordId, StartTime, EndTime,
                                                               Summary};

    PmDateEx2Util();
    // Loads path at once; IsLoaded() tells the outcome.
    explicit PmDateEx2Util(const std::string& path);

    // The record's rule text built from its PmRepeatEvent (PmRepeatRuleText.h).
    static void BuildRuleText(PmDateEx2Record& record);
    // The record's PmRepeatEvent read from its rule text.
    static void ParseRuleText(PmDateEx2Record& record);

  protected:
    void ReadRow(const DbRow& row, PmDateEx2Record& record) override;
    void AfterLoad(PmDateEx2Record& record) override;
    bool BeforeWrite(PmDateEx2Record& record) override;
    DbRow MakeKeyValues(const PmDateEx2Record& record) override;
};

}  // namespace tabrel
