#pragma once
// TfmDateData: the Calendar record page: the records to convert, ticked in a list; Details shows
// the current record in TfmDateDetail.

#include "gui/TfmRecordPage.h"

namespace tabrel {

class TfmDateData final : public TfmRecordPage {
    Q_OBJECT
  public:
    TfmDateData(WizardState& state, QWidget* parent);

  private:
    void OpenDetail(int mode, std::size_t position) override;

    QTreeWidget* lvDateData = nullptr;
    QPushButton* btnDateDetail = nullptr;
};

}  // namespace tabrel
