#pragma once
// TfmAddrData: the Contacts record page: the records to convert, ticked in a list; Details shows
// the current record in TfmAddrDetail.

#include "gui/TfmRecordPage.h"

namespace tabrel {

class TfmAddrData final : public TfmRecordPage {
    Q_OBJECT
  public:
    TfmAddrData(WizardState& state, QWidget* parent);

  private:
    void OpenDetail(int mode, std::size_t position) override;

    QTreeWidget* lvAddrData = nullptr;
    QPushButton* btnAddrDetail = nullptr;
};

}  // namespace tabrel
