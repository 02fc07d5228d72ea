#pragma once
// PmMemoEx2Util: the Memos database of Palm Desktop 6.x (MemoPad.mdb in the "MemoPad"
// folder of a Palm user's data folder), application kind 4.
//
// A memo is found by its Record ID and its text (a text of 254 characters or more through
// the first 256 characters, LEFT([Note], 256)). Loading reads the Category column as a
// number, from an integer or a decimal text, and gives the memo a category name from the
// list, or the number's digits when the list lacks it. The category ID is settled from the
// category name only once columns are to be written: an unknown name then fails the write
// before any statement. Placement is written but not compared.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "palm/db6x/PmEx2RecordUtil.h"
#include "palm/db6x/PmMemoEx2Record.h"

namespace tabrel {

using PmMemoEx2DataMgr = PmEx2DataMgr<PmMemoEx2Record>;

class PmMemoEx2Util final : public PmEx2RecordUtil<PmMemoEx2Record> {
  public:
    enum Column : std::size_t { RecordId, Status, Placement, Private, Category, Note, ColumnCount };
    static constexpr std::array<std::string_view, ColumnCount> kColumns = {
        "Record ID", "Status", "Placement", "Private", "Category", "Note"};
    static constexpr std::array<std::size_t, 2> kKeyColumns = {RecordId, Note};

    PmMemoEx2Util();
    // Loads path at once; IsLoaded() tells the outcome.
    explicit PmMemoEx2Util(const std::string& path);

  protected:
    void ReadRow(const DbRow& row, PmMemoEx2Record& record) override;
    void ReadLoadedRow(const DbRow& row, PmMemoEx2Record& record) override;
    bool BeforeChangeWrite(PmMemoEx2Record& record) override;
    bool MakeColumnValue(const PmMemoEx2Record& record, std::size_t column,
                         DbValue& value) override;
    bool Equals(const PmMemoEx2Record& record, const PmMemoEx2Record& stored) override;
    std::vector<std::size_t> ChangeList(const PmMemoEx2Record& record,
                                        const PmMemoEx2Record& stored) override;
};

}  // namespace tabrel
