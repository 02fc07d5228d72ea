#include "gui/TfmAddrData.h"

#include "engine/RecordRows.h"
#include "gui/TfmAddrDetail.h"

namespace tabrel {

TfmAddrData::TfmAddrData(WizardState& state, QWidget* parent)
    : TfmRecordPage(state, parent, AppContacts, "TfmAddrData", "lvAddrData", "btnAddrDetail"),
      lvAddrData(List()),
      btnAddrDetail(DetailButton()) {}

void TfmAddrData::OpenDetail(int mode, std::size_t position) {
    if (const CommAddrRec* record = ListedAddrRecord(m_state.Job(), mode, position)) {
        TfmAddrDetail dialog(this);
        dialog.SetRecord(record);
        dialog.exec();
    }
}

}  // namespace tabrel
