#pragma once
// TfmTodoData: The Tasks record page: the records to convert, ticked in a list.

#include "TfmPage.h"

namespace tabrel {

class TfmTodoData final : public TfmPage {
    Q_OBJECT
  public:
    TfmTodoData(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
