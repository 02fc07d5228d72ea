#pragma once
// TfmTodoData: the Tasks record page: the records to convert, ticked in a list; Details shows
// the current record in TfmTodoDetail.

#include "gui/TfmRecordPage.h"

namespace tabrel {

class TfmTodoData final : public TfmRecordPage {
    Q_OBJECT
  public:
    TfmTodoData(WizardState& state, QWidget* parent);

  private:
    void OpenDetail(int mode, std::size_t position) override;

    QTreeWidget* lvTodoData = nullptr;
    QPushButton* btnTodoDetail = nullptr;
};

}  // namespace tabrel
