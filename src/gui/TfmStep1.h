#pragma once
// TfmStep1: The mode page: direction and application.

#include <QRadioButton>

#include "gui/TfmPage.h"

namespace tabrel {

class TfmStep1 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep1(WizardState& state, QWidget* parent);
    // Entering: on the first entry only, ticks the direction and the application of the
    // settings. Leaving (always accepted): stores them in the settings and the job.
    bool PageHook(bool entering) override;

  private:
    void Enter();
    void Leave();

    bool m_bFirstEntry = true;

    QRadioButton* rbtnP2C = nullptr;
    QRadioButton* rbtnC2P = nullptr;
    QRadioButton* rbtnAddr = nullptr;
    QRadioButton* rbtnDate = nullptr;
    QRadioButton* rbtnTodo = nullptr;
    QRadioButton* rbtnMemo = nullptr;
};

}  // namespace tabrel
