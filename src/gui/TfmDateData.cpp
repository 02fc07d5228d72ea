#include "TfmDateData.h"

namespace tabrel {

TfmDateData::TfmDateData(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmDateData");
}

bool TfmDateData::PageHook(bool /*entering*/) {
    return true;
}

}  // namespace tabrel
