#pragma once
// TfmStep2: The source page: the Palm Desktop data (by user or by file), the CSV file and its
// options.

#include "TfmPage.h"

namespace tabrel {

class TfmStep2 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep2(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
