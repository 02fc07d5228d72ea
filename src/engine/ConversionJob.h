#pragma once
// ConversionJob: the working state of one conversion: the four application facades with
// the loaded Palm Desktop data, the chosen fields and records, the import records read
// from the CSV file, the CSV file of the pass and the count of converted records.
//
// Everything that differs by application goes through Visit, which hands a function the
// current application's facade and its import list.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/CsvFile.h"
#include "palm/desktop/PmApp.h"
#include "palm/unified/FieldDescriptor.h"
#include "palm/unified/PmAddrInfo.h"
#include "palm/unified/PmDateInfo.h"
#include "palm/unified/PmMemoInfo.h"
#include "palm/unified/PmTodoInfo.h"

namespace tabrel {

class ConversionJob {
  public:
    // With the installed Palm Desktop's version.
    ConversionJob();
    // With a given installed version number (major * 10000 + minor * 100 + third part).
    explicit ConversionJob(std::uint32_t palmVersion);
    ConversionJob(const ConversionJob&) = delete;
    ConversionJob& operator=(const ConversionJob&) = delete;

    // The application (AppContacts ... AppMemos), set when the mode is chosen.
    int m_nApp = AppContacts;
    // The records to convert, by position: Palm Desktop to CSV in the facade's common store,
    // CSV to Palm Desktop in the import list.
    std::vector<std::size_t> m_selectedRecords;
    // The CSV columns, in order.
    std::vector<FieldDescriptor> m_fields;
    // The CSV file of the pass, as named (the settings key keeps only 259 characters), and
    // for CSV to Palm Desktop the file opened for reading when the source was checked.
    std::string m_szCsvPath;
    CsvInput m_csvInput;
    // Records converted by the last pass.
    std::uint32_t m_nConverted = 0;

    PmAddrInfo& Addr() { return *m_pAddr; }
    PmDateInfo& Date() { return *m_pDate; }
    PmTodoInfo& Todo() { return *m_pTodo; }
    PmMemoInfo& Memo() { return *m_pMemo; }

    std::vector<CommAddrRec>& AddrImports() { return m_addrImports; }
    std::vector<CommDateRec>& DateImports() { return m_dateImports; }
    std::vector<CommTaskRec>& TaskImports() { return m_taskImports; }
    std::vector<CommNoteRec>& NoteImports() { return m_noteImports; }

    // Calls visit(facade, imports) with the current application's facade and import list.
    template <class Visitor>
    decltype(auto) Visit(Visitor&& visit) {
        switch (m_nApp) {
            case AppCalendar:
                return visit(*m_pDate, m_dateImports);
            case AppTasks:
                return visit(*m_pTodo, m_taskImports);
            case AppMemos:
                return visit(*m_pMemo, m_noteImports);
            default:
                return visit(*m_pAddr, m_addrImports);
        }
    }

    // The catalogue of the current application's loaded generation (empty when nothing is
    // loaded).
    std::vector<FieldDescriptor> GetCatalogue();
    // The number of records the current application offers: Palm Desktop to CSV the loaded
    // common records, CSV to Palm Desktop the import records.
    std::size_t GetRecordCount(int mode);
    // Selects every record of GetRecordCount.
    void SelectAllRecords(int mode);

  private:
    std::unique_ptr<PmAddrInfo> m_pAddr;
    std::unique_ptr<PmDateInfo> m_pDate;
    std::unique_ptr<PmTodoInfo> m_pTodo;
    std::unique_ptr<PmMemoInfo> m_pMemo;
    std::vector<CommAddrRec> m_addrImports;
    std::vector<CommDateRec> m_dateImports;
    std::vector<CommTaskRec> m_taskImports;
    std::vector<CommNoteRec> m_noteImports;
};

}  // namespace tabrel
