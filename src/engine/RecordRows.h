#pragma once
// The record pages' lists: the columns each application's list shows, the texts of its rows
// and the record each row stands for. Palm Desktop to CSV the rows are the loaded common
// records, in store order; CSV to Palm Desktop they are the import records, in file order.
// Row i always stands for position i, which is what the selected-record list holds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ConversionJob.h"

namespace tabrel {

// One column of a record list: its heading, its width in pixels and the common field shown.
struct RecordColumn {
    std::string_view m_szHeading;
    int m_nWidth = 0;
    std::int32_t m_nCommonId = 0;
};

// The buffer size of one cell's text: a cell keeps at most 1023 characters.
inline constexpr std::size_t kRecordCellSize = 1024;

// The list columns of an application (AppContacts ... AppMemos; any other value: Contacts).
std::span<const RecordColumn> RecordColumns(int app);

// One row per listed record of the application, each with the texts of RecordColumns(app)
// in column order; a field without a text form shows the empty text.
std::vector<std::vector<std::string>> RecordRowTexts(ConversionJob& job, int app, int mode);

// The record a row stands for; nullptr past the end of the list.
const CommAddrRec* ListedAddrRecord(ConversionJob& job, int mode, std::size_t position);
const CommDateRec* ListedDateRecord(ConversionJob& job, int mode, std::size_t position);
const CommTaskRec* ListedTaskRecord(ConversionJob& job, int mode, std::size_t position);
const CommNoteRec* ListedNoteRecord(ConversionJob& job, int mode, std::size_t position);

}  // namespace tabrel
