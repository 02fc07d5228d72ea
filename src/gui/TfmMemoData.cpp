#include "gui/TfmMemoData.h"

#include "engine/RecordRows.h"
#include "gui/TfmNoteDetail.h"

namespace tabrel {

TfmMemoData::TfmMemoData(WizardState& state, QWidget* parent)
    : TfmRecordPage(state, parent, AppMemos, "TfmMemoData", "lvMemoData", "btnMemoDetail"),
      lvMemoData(List()),
      btnMemoDetail(DetailButton()) {}

void TfmMemoData::OpenDetail(int mode, std::size_t position) {
    if (const CommNoteRec* record = ListedNoteRecord(m_state.Job(), mode, position)) {
        TfmNoteDetail dialog(this);
        dialog.SetRecord(record);
        dialog.exec();
    }
}

}  // namespace tabrel
