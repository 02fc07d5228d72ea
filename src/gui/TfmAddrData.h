#pragma once
// TfmAddrData: The Contacts record page: the records to convert, ticked in a list.

#include "TfmPage.h"

namespace tabrel {

class TfmAddrData final : public TfmPage {
    Q_OBJECT
  public:
    TfmAddrData(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
