#include "gui/TfmDateData.h"

#include "engine/RecordRows.h"
#include "gui/TfmDateDetail.h"

namespace tabrel {

TfmDateData::TfmDateData(WizardState& state, QWidget* parent)
    : TfmRecordPage(state, parent, AppCalendar, "TfmDateData", "lvDateData", "btnDateDetail"),
      lvDateData(List()),
      btnDateDetail(DetailButton()) {}

void TfmDateData::OpenDetail(int mode, std::size_t position) {
    if (const CommDateRec* record = ListedDateRecord(m_state.Job(), mode, position)) {
        TfmDateDetail dialog(this);
        dialog.SetRecord(record);
        dialog.exec();
    }
}

}  // namespace tabrel
