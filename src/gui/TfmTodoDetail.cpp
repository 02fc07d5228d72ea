#include "gui/TfmTodoDetail.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <string>

#include "engine/RecordDetail.h"
#include "gui/TfmDetailParts.h"

namespace tabrel {

TfmTodoDetail::TfmTodoDetail(QWidget* parent) : QDialog(parent) {
    setObjectName("TfmTodoDetail");
    setWindowTitle("Task detail information");
    setModal(true);

    auto* fields = new QWidget(this);
    auto* form = new QFormLayout(fields);
    edtDesc = AddEdit(form, "edtDesc", "Description:");
    edtPriority = AddEdit(form, "edtPriority", "Priority:");
    edtDueDate = AddEdit(form, "edtDueDate", "Due Date:");
    cbCompleted = MakeCheck("cbCompleted", "Completed", fields);
    cbPrivate = MakeCheck("cbPrivate", "Private", fields);
    auto* flags = new QHBoxLayout;
    flags->addWidget(cbCompleted);
    flags->addWidget(cbPrivate);
    flags->addStretch(1);
    form->addRow("", flags);
    memNotes = MakeMemo("memNotes", fields);
    memNotes->setMinimumSize(360, 160);
    form->addRow("Notes:", memNotes);
    edtCategory = AddEdit(form, "edtCategory", "Category:");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    FinishDetailDialog(this, layout);
}

void TfmTodoDetail::SetRecord(const CommTaskRec* record) {
    m_pRecord = record;
    if (m_pRecord == nullptr) {
        return;
    }
    ShowText(edtDesc, m_pRecord->m_szSubject);
    ShowText(edtPriority, std::to_string(m_pRecord->m_nPriority));
    ShowText(edtDueDate, TaskDueDateText(*m_pRecord));
    cbCompleted->setChecked(m_pRecord->m_bCompleted != 0);
    cbPrivate->setChecked(m_pRecord->m_bPrivate != 0);
    ShowText(memNotes, m_pRecord->m_szNote);
    ShowText(edtCategory, m_pRecord->m_szCategory);
}

}  // namespace tabrel
