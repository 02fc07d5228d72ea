#pragma once
// TfmStep3: The field page: which catalogue and custom fields, in which order, make the CSV
// columns. The two list views show the FieldSelection model; every button acts on the model
// and the lists are then shown again from it.

#include <QPushButton>
#include <QTreeWidget>

#include "engine/FieldSelection.h"
#include "gui/TfmPage.h"

namespace tabrel {

class TfmStep3 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep3(WizardState& state, QWidget* parent);
    // Entering: fills the lists from the job's catalogue and selected fields. Leaving:
    // stores the Selected list as the job's fields (refused, with its message, when it is
    // empty) and, for CSV to Palm Desktop, reads the CSV file into import records.
    bool PageHook(bool entering) override;

  private slots:
    void OnSelect();
    void OnUnselect();
    void OnInsert();
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnProperties();
    void OnAvailableTicks(bool ticked);
    void OnSelectedTicks(bool ticked);
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void OnCurrentChanged();

  private:
    void BuildControls();
    // Shows both lists of the model again, with their ticks and current entries.
    void ShowLists();
    void ShowList(QTreeWidget* view, const FieldList& list);
    // The buttons that act on the current Selected entry.
    void UpdateButtons();
    FieldList& ListOf(const QTreeWidget* view);

    FieldSelection m_selection;
    // Set while the views are refilled from the model, so that their signals are not taken
    // for the user's changes.
    bool m_bShowing = false;

    QTreeWidget* lvAll = nullptr;
    QTreeWidget* lvSel = nullptr;
    QPushButton* btnSel = nullptr;
    QPushButton* btnUnSel = nullptr;
    QPushButton* btnInsert = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnUp = nullptr;
    QPushButton* btnDown = nullptr;
    QPushButton* btnProp = nullptr;
    QPushButton* btnAllSel = nullptr;
    QPushButton* btnAllClear = nullptr;
    QPushButton* btnSelSel = nullptr;
    QPushButton* btnSelClear = nullptr;
};

}  // namespace tabrel
