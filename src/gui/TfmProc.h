#pragma once
// TfmProc: The progress page: runs the conversion pass with a status label and a progress bar.

#include "TfmPage.h"

namespace tabrel {

class TfmProc final : public TfmPage {
    Q_OBJECT
  public:
    TfmProc(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
