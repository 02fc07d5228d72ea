#pragma once
// TfmMemoData: The Memos record page: the records to convert, ticked in a list.

#include "TfmPage.h"

namespace tabrel {

class TfmMemoData final : public TfmPage {
    Q_OBJECT
  public:
    TfmMemoData(WizardState& state, QWidget* parent);
    bool PageHook(bool entering) override;
};

}  // namespace tabrel
