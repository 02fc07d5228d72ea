#include "engine/RecordRows.h"

#include <array>

#include "engine/AppSettings.h"

namespace tabrel {

namespace {

constexpr std::array<RecordColumn, 8> kAddrColumns = {{
    {"First Name", 80, CommAddrId::kFirstName},
    {"Last Name", 80, CommAddrId::kLastName},
    {"Email", 120, CommAddrId::kEmail},
    {"Business Phone", 100, CommAddrId::kWorkPhone},
    {"Home Phone", 100, CommAddrId::kHomePhone},
    {"Mobile Phone", 100, CommAddrId::kMobilePhone},
    {"Company", 100, CommAddrId::kCompany},
    {"Title", 80, CommAddrId::kTitle},
}};

constexpr std::array<RecordColumn, 4> kDateColumns = {{
    {"Description", 200, CommDateId::kDescription},
    {"Date", 100, CommDateId::kDate},
    {"Start Time", 100, CommDateId::kStartTime},
    {"End Time", 100, CommDateId::kEndTime},
}};

constexpr std::array<RecordColumn, 4> kTaskColumns = {{
    {"Description", 200, CommTaskId::kSubject},
    {"Due Date", 100, CommTaskId::kDueDate},
    {"Priority", 80, CommTaskId::kPriority},
    {"Completed", 80, CommTaskId::kCompleted},
}};

constexpr std::array<RecordColumn, 1> kNoteColumns = {{
    {"Description", 550, CommNoteId::kNote},
}};

template <class Facade, class Rec>
std::vector<std::vector<std::string>> RowsOf(Facade& facade, const std::vector<Rec>& imports,
                                             int mode, std::span<const RecordColumn> columns) {
    const auto& store = facade.GetCommMgr();
    std::vector<std::vector<std::string>> rows;
    const auto addRow = [&](const Rec& record) {
        std::vector<std::string> row;
        row.reserve(columns.size());
        for (const RecordColumn& column : columns) {
            std::string text;
            store.GetFieldText(record, column.m_nCommonId, text, kRecordCellSize);
            row.push_back(std::move(text));
        }
        rows.push_back(std::move(row));
    };
    if (mode == ModeCsvToPalm) {
        rows.reserve(imports.size());
        for (const Rec& record : imports) {
            addRow(record);
        }
    } else {
        rows.reserve(store.GetCount());
        for (std::size_t position = 0; position < store.GetCount(); ++position) {
            addRow(*store.GetAt(position));
        }
    }
    return rows;
}

template <class Facade, class Rec>
const Rec* RecordOf(Facade& facade, const std::vector<Rec>& imports, int mode,
                    std::size_t position) {
    if (mode == ModeCsvToPalm) {
        return position < imports.size() ? &imports[position] : nullptr;
    }
    return facade.GetCommMgr().GetAt(position);
}

}  // namespace

std::span<const RecordColumn> RecordColumns(int app) {
    switch (app) {
        case AppCalendar:
            return kDateColumns;
        case AppTasks:
            return kTaskColumns;
        case AppMemos:
            return kNoteColumns;
        default:
            return kAddrColumns;
    }
}

std::vector<std::vector<std::string>> RecordRowTexts(ConversionJob& job, int app, int mode) {
    const std::span<const RecordColumn> columns = RecordColumns(app);
    switch (app) {
        case AppCalendar:
            return RowsOf(job.Date(), job.DateImports(), mode, columns);
        case AppTasks:
            return RowsOf(job.Todo(), job.TaskImports(), mode, columns);
        case AppMemos:
            return RowsOf(job.Memo(), job.NoteImports(), mode, columns);
        default:
            return RowsOf(job.Addr(), job.AddrImports(), mode, columns);
    }
}

const CommAddrRec* ListedAddrRecord(ConversionJob& job, int mode, std::size_t position) {
    return RecordOf(job.Addr(), job.AddrImports(), mode, position);
}

const CommDateRec* ListedDateRecord(ConversionJob& job, int mode, std::size_t position) {
    return RecordOf(job.Date(), job.DateImports(), mode, position);
}

const CommTaskRec* ListedTaskRecord(ConversionJob& job, int mode, std::size_t position) {
    return RecordOf(job.Todo(), job.TaskImports(), mode, position);
}

const CommNoteRec* ListedNoteRecord(ConversionJob& job, int mode, std::size_t position) {
    return RecordOf(job.Memo(), job.NoteImports(), mode, position);
}

}  // namespace tabrel
