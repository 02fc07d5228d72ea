#include "TfmMemoData.h"

namespace tabrel {

TfmMemoData::TfmMemoData(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmMemoData");
}

bool TfmMemoData::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
