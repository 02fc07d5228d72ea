#include "TfmStep2.h"

namespace tabrel {

TfmStep2::TfmStep2(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep2");
}

bool TfmStep2::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
