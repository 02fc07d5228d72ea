#include "TfmFinish.h"

namespace tabrel {

TfmFinish::TfmFinish(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmFinish");
}

bool TfmFinish::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
