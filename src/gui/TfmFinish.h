#pragma once
// TfmFinish: The finish page: what was converted, from where to where, and the ways on.

#include "TfmPage.h"

namespace tabrel {

class TfmFinish final : public TfmPage {
    Q_OBJECT
  public:
    TfmFinish(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
