#pragma once
// TfmPage: a wizard page, a borderless form placed in the main window's middle band. The
// frame calls its page hook when the page is entered (fill it from the job and the
// settings) or left (check it and store its content; false refuses).

#include <QWidget>

#include "gui/WizardState.h"

namespace tabrel {

class TfmPage : public QWidget {
    Q_OBJECT
  public:
    TfmPage(WizardState& state, QWidget* parent) : QWidget(parent), m_state(state) {}
    ~TfmPage() override = default;

    virtual bool PageHook(bool entering) = 0;

  protected:
    WizardState& m_state;
};

}  // namespace tabrel
