#include "palm/db6x/PmMemoEx2Util.h"

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

const PmEx2AppInfo& MemoInfo() {
    static const PmEx2AppInfo info = {
        .app = AppMemos,
        .columns = PmMemoEx2Util::kColumns,
        .keyColumns = PmMemoEx2Util::kKeyColumns,
        .byUserLine = "Start loading Palm Desktop Memos by user ID: %d",
        .emptyPathLine = "Invalid Palm Desktop Notes database name.",
        .loadingLine = "Loading Palm Desktop Notes: %s",
        .openFailedLine = "Open Palm Desktop Memos database failed: %s",
        .startMainLine = "Start loading Palm Desktop Memo main records.",
        .firstRowLine = "Query first record in the Memo database table successfully.",
        .noFirstRowLine =
            "Failed to query the first record of the Memo main table. Check if "
            "there is any records in the database table.",
        .noNextRowLine =
            "Failed to query the next record of the Memo main table. Check if it "
            "is the end of the table.",
        .endMainLine = "Loading Palm Desktop Memo main records completed successfully.",
    };
    return info;
}

}  // namespace

PmMemoEx2Util::PmMemoEx2Util() : PmEx2RecordUtil(MemoInfo()) {}

PmMemoEx2Util::PmMemoEx2Util(const std::string& path) : PmMemoEx2Util() {
    SetLoaded(LoadFile(path));
}

void PmMemoEx2Util::ReadRow(const DbRow& row, PmMemoEx2Record& record) {
    ReadInteger(row, RecordId, kColumns[RecordId], record.m_nRecordId);
    ReadInteger(row, Status, kColumns[Status], record.m_nStatus);
    ReadInteger(row, Placement, kColumns[Placement], record.m_nPlacement);
    ReadBoolean(row, Private, kColumns[Private], record.m_byPrivate);
    ReadInteger(row, Category, kColumns[Category], record.m_nCategoryId);
    ReadText(row, Note, kColumns[Note], record.m_szNote, kWholeText);
}

void PmMemoEx2Util::ReadLoadedRow(const DbRow& row, PmMemoEx2Record& record) {
    ReadRow(row, record);
    // Until the category list names it, the category shows as its number.
    const DbValue& category = row[Category];
    if (category.GetKind() == DbKind::Text) {
        ValueToText(category, record.m_szCategoryName, kCategoryNameMax + 1);
    } else if (!category.IsEmpty()) {
        record.m_szCategoryName = std::to_string(record.m_nCategoryId);
    }
}

bool PmMemoEx2Util::BeforeChangeWrite(PmMemoEx2Record& record) {
    if (!ResolveCategoryId(record)) {
        CX_LOG(kLogFailure,
               "The memo's category %s is not in the database; the memo is not written.",
               record.m_szCategoryName);
        return false;
    }
    return true;
}

bool PmMemoEx2Util::MakeColumnValue(const PmMemoEx2Record& record, std::size_t column,
                                    DbValue& value) {
    switch (column) {
        case RecordId:
            value = MakeIntegerValue(record.m_nRecordId);
            return true;
        case Status:
            value = MakeIntegerValue(record.m_nStatus);
            return true;
        case Placement:
            value = MakeIntegerValue(record.m_nPlacement);
            return true;
        case Private:
            value = MakeBooleanValue(record.m_byPrivate);
            return true;
        case Category:
            value = MakeNumberTextValue(record.m_nCategoryId);
            return true;
        case Note:
            value = MakeTextValue(record.m_szNote);
            return true;
        default:
            return false;
    }
}

bool PmMemoEx2Util::Equals(const PmMemoEx2Record& record, const PmMemoEx2Record& stored) {
    return record.m_nRecordId == stored.m_nRecordId && record.m_nStatus == stored.m_nStatus &&
           record.m_nCategoryId == stored.m_nCategoryId &&
           record.m_byPrivate == stored.m_byPrivate && record.m_szNote == stored.m_szNote;
}

std::vector<std::size_t> PmMemoEx2Util::ChangeList(const PmMemoEx2Record& record,
                                                   const PmMemoEx2Record& stored) {
    std::vector<std::size_t> changes;
    const auto add = [&changes](bool differs, std::size_t column) {
        if (differs) {
            changes.push_back(column);
        }
    };
    add(record.m_nRecordId != stored.m_nRecordId, RecordId);
    add(record.m_nStatus != stored.m_nStatus, Status);
    add(record.m_nPlacement != stored.m_nPlacement, Placement);
    add(record.m_byPrivate != stored.m_byPrivate, Private);
    add(record.m_nCategoryId != stored.m_nCategoryId, Category);
    add(record.m_szNote != stored.m_szNote, Note);
    return changes;
}

}  // namespace tabrel
