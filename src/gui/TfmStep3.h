#pragma once
// TfmStep3: The field page: which catalogue and custom fields, in which order, make the CSV
// columns.

#include "TfmPage.h"

namespace tabrel {

class TfmStep3 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep3(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
