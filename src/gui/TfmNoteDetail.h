#pragma once
// TfmNoteDetail: the modal dialog that shows one memo (a common note record) in full: its
// category and its text. It stores nothing back.

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "palm/comm/CommNoteRec.h"

namespace tabrel {

class TfmNoteDetail final : public QDialog {
    Q_OBJECT
  public:
    explicit TfmNoteDetail(QWidget* parent = nullptr);

    // Shows record (none: nothing is filled); the record must outlive the dialog.
    void SetRecord(const CommNoteRec* record);

  private:
    const CommNoteRec* m_pRecord = nullptr;
    QLineEdit* edtCategory = nullptr;
    QPlainTextEdit* memNotes = nullptr;
};

}  // namespace tabrel
