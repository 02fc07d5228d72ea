#include "gui/TfmTodoData.h"

#include "engine/RecordRows.h"
#include "gui/TfmTodoDetail.h"

namespace tabrel {

TfmTodoData::TfmTodoData(WizardState& state, QWidget* parent)
    : TfmRecordPage(state, parent, AppTasks, "TfmTodoData", "lvTodoData", "btnTodoDetail"),
      lvTodoData(List()),
      btnTodoDetail(DetailButton()) {}

void TfmTodoData::OpenDetail(int mode, std::size_t position) {
    if (const CommTaskRec* record = ListedTaskRecord(m_state.Job(), mode, position)) {
        TfmTodoDetail dialog(this);
        dialog.SetRecord(record);
        dialog.exec();
    }
}

}  // namespace tabrel
