#include "TfmTodoData.h"

namespace tabrel {

TfmTodoData::TfmTodoData(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmTodoData");
}

bool TfmTodoData::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
