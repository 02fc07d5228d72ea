#include "TfmStep1.h"

namespace tabrel {

TfmStep1::TfmStep1(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep1");
}

bool TfmStep1::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
