#pragma once
// TfmTodoDetail: the modal dialog that shows one task (a common task record) in full. It
// stores nothing back.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "palm/comm/CommTaskRec.h"

namespace tabrel {

class TfmTodoDetail final : public QDialog {
    Q_OBJECT
  public:
    explicit TfmTodoDetail(QWidget* parent = nullptr);

    // Shows record (none: nothing is filled); the record must outlive the dialog.
    void SetRecord(const CommTaskRec* record);

  private:
    const CommTaskRec* m_pRecord = nullptr;
    QLineEdit* edtDesc = nullptr;
    QLineEdit* edtPriority = nullptr;
    QLineEdit* edtDueDate = nullptr;
    QCheckBox* cbCompleted = nullptr;
    QCheckBox* cbPrivate = nullptr;
    QPlainTextEdit* memNotes = nullptr;
    QLineEdit* edtCategory = nullptr;
};

}  // namespace tabrel
