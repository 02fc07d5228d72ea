#include "engine/ConversionJob.h"

#include <numeric>

#include "engine/AppSettings.h"
#include "palm/desktop/PalmDesktop.h"

namespace tabrel {

ConversionJob::ConversionJob() : ConversionJob(GetPalmDesktopVersion()) {}

ConversionJob::ConversionJob(std::uint32_t palmVersion)
    : m_pAddr(std::make_unique<PmAddrInfo>(palmVersion)),
      m_pDate(std::make_unique<PmDateInfo>(palmVersion)),
      m_pTodo(std::make_unique<PmTodoInfo>(palmVersion)),
      m_pMemo(std::make_unique<PmMemoInfo>(palmVersion)) {}

std::vector<FieldDescriptor> ConversionJob::GetCatalogue() {
    return Visit([](auto& facade, auto&) {
        std::vector<FieldDescriptor> rows;
        for (std::size_t i = 0; i < facade.GetFieldCount(); ++i) {
            if (const auto row = facade.GetFieldAt(i)) {
                rows.push_back(*row);
            }
        }
        return rows;
    });
}

std::size_t ConversionJob::GetRecordCount(int mode) {
    return Visit([mode](auto& facade, auto& imports) -> std::size_t {
        return mode == ModeCsvToPalm ? imports.size() : facade.GetCommMgr().GetCount();
    });
}

void ConversionJob::SelectAllRecords(int mode) {
    m_selectedRecords.resize(GetRecordCount(mode));
    std::iota(m_selectedRecords.begin(), m_selectedRecords.end(), std::size_t{0});
}

}  // namespace tabrel
