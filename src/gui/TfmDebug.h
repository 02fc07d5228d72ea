#pragma once
// TfmDebug: the debug options dialog: the debug log on or off, its level, where it is.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QWidget>

#include "gui/WizardState.h"

namespace tabrel {

class TfmDebug final : public QDialog {
    Q_OBJECT
  public:
    // Fills the controls from the settings and the data folder.
    TfmDebug(WizardState& state, QWidget* parent);

  private slots:
    // Stores the choice in the settings, applies it to the debug log and closes with OK.
    void OnOK();

  private:
    WizardState& m_state;
    QCheckBox* cbEnable = nullptr;
    QComboBox* cbxLevel = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

// Creates the dialog, shows it modally and destroys it.
void ShowDebugOptions(WizardState& state, QWidget* parent);

}  // namespace tabrel
