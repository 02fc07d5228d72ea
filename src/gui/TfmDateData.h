#pragma once
// TfmDateData: The Calendar record page: the records to convert, ticked in a list.

#include "TfmPage.h"

namespace tabrel {

class TfmDateData final : public TfmPage {
    Q_OBJECT
  public:
    TfmDateData(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
