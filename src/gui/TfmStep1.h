#pragma once
// TfmStep1: The mode page: direction and application.

#include "TfmPage.h"

namespace tabrel {

class TfmStep1 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep1(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
