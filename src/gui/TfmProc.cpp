#include "TfmProc.h"

namespace tabrel {

TfmProc::TfmProc(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmProc");
}

bool TfmProc::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
