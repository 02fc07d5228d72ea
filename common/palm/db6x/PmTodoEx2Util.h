#pragma once
// PmTodoEx2Util: the Tasks database of Palm Desktop 6.x (Todolist.mdb in the "todo" folder
// of a Palm user's data folder), application kind 3.
//
// A task is found by its Record ID, Due Date (the decimal text it was read with) and
// Description. Loading reads the rule text into the record's PmRepeatEvent (a task has no
// yearly rule: a text beginning with "Y" reads as no repeat) and fills the category name
// from the list. Before a task is written its rule text is renewed (RenewRepeatRule: a
// text is rebuilt only when the rule changed, so a stored rule this reader cannot express,
// a yearly one included, survives) and its category ID is taken from its category name: an
// unknown name fails the write before anything is read. Placement, Complete Date and
// Alarm Time are not compared; the change list holds the differing columns in column
// order.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "palm/db6x/PmEx2ColumnUtil.h"
#include "palm/db6x/PmTodoEx2Record.h"

namespace tabrel {

using PmTodoEx2DataMgr = PmEx2DataMgr<PmTodoEx2Record>;

class PmTodoEx2Util final : public PmEx2ColumnUtil<PmTodoEx2Record> {
  public:
    enum Column : std::size_t {
        RecordId,
        Status,
        Placement,
        Private,
        Category,
        Note,
        Description,
        DueDate,
        Completed,
        Priority,
        RepeatOnCompleteDate,
        CompleteDate,
        AlarmSet,
        AlarmTime,
        AlarmAdvance,
        RepeatStartDate,
        RepeatInfo,
        ColumnCount
    };
    static constexpr std::array<std::string_view, ColumnCount> kColumns = {
        "Record ID",
        "Status",
        "Placement",
        "Private",
        "Category",
        "Note",
        "Description",
        "Due Date",
        "Completed",
        "Priority",
        "Repeat On Complete Date",
        "Complete Date",
        "Alarm Set",
        "Alarm Time",
        "Alarm Advance",
        "Repeat Start Date",
        "Repeat Info"};
    static constexpr std::array<std::size_t, 3> kKeyColumns = {RecordId, DueDate, Description};

    PmTodoEx2Util();
    // Loads path at once; IsLoaded() tells the outcome.
    explicit PmTodoEx2Util(const std::string& path);

    // Tasks are written one by one (WriteRecord); this only logs that it was called.
    bool Save() override;

    // The record's rule text built from its PmRepeatEvent (PmRepeatRuleText.h).
    static void BuildRuleText(PmTodoEx2Record& record);
    // The record's PmRepeatEvent read from its rule text.
    static void ParseRuleText(PmTodoEx2Record& record);

  protected:
    void ReadRow(const DbRow& row, PmTodoEx2Record& record) override;
    void AfterLoad(PmTodoEx2Record& record) override;
    bool BeforeWrite(PmTodoEx2Record& record) override;
    DbRow MakeKeyValues(const PmTodoEx2Record& record) override;
};

}  // namespace tabrel
