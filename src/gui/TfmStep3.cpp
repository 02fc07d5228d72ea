#include "TfmStep3.h"

namespace tabrel {

TfmStep3::TfmStep3(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep3");
}

bool TfmStep3::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
