#include "gui/TfmNoteDetail.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "gui/TfmDetailParts.h"

namespace tabrel {

TfmNoteDetail::TfmNoteDetail(QWidget* parent) : QDialog(parent) {
    setObjectName("TfmNoteDetail");
    setWindowTitle("Note detail information");
    setModal(true);

    auto* fields = new QWidget(this);
    auto* form = new QFormLayout(fields);
    edtCategory = AddEdit(form, "edtCategory", "Category:");
    memNotes = MakeMemo("memNotes", fields);
    memNotes->setMinimumSize(420, 240);
    form->addRow("Notes:", memNotes);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    FinishDetailDialog(this, layout);
}

void TfmNoteDetail::SetRecord(const CommNoteRec* record) {
    m_pRecord = record;
    if (m_pRecord == nullptr) {
        return;
    }
    ShowText(edtCategory, m_pRecord->m_szCategory);
    ShowText(memNotes, m_pRecord->m_szNote);
}

}  // namespace tabrel
