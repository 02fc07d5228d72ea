#include "TfmAddrData.h"

namespace tabrel {

TfmAddrData::TfmAddrData(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmAddrData");
}

bool TfmAddrData::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
