#pragma once
// TfmDump: the crash dialog, shown when an exception escapes a page change or the start-up.
// It points the user to the debug log and the support address, and lets the user go on or
// quit.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "gui/WizardState.h"

namespace tabrel {

class TfmDump final : public QDialog {
    Q_OBJECT
  public:
    TfmDump(WizardState& state, QWidget* parent);

  private slots:
    void OnSupport();
    void OnDebug();
    // Closes the dialog, then asks the main window to close (its normal shut-down).
    void OnExit();

  private:
    WizardState& m_state;
    QLabel* lblSupport = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnDebug = nullptr;
    QPushButton* btnExit = nullptr;
};

// Creates the dialog, shows it modally and destroys it.
void ShowCrashDialog(WizardState& state, QWidget* parent);

}  // namespace tabrel
