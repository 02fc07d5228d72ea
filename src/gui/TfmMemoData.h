#pragma once
// TfmMemoData: the Memos record page: the records to convert, ticked in a list; Details shows
// the current record in TfmNoteDetail.

#include "gui/TfmRecordPage.h"

namespace tabrel {

class TfmMemoData final : public TfmRecordPage {
    Q_OBJECT
  public:
    TfmMemoData(WizardState& state, QWidget* parent);

  private:
    void OpenDetail(int mode, std::size_t position) override;

    QTreeWidget* lvMemoData = nullptr;
    QPushButton* btnMemoDetail = nullptr;
};

}  // namespace tabrel
