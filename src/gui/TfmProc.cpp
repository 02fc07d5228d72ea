#include "gui/TfmProc.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "gui/GuiMessages.h"

namespace tabrel {

TfmProc::TfmProc(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmProc");
    auto* layout = new QVBoxLayout(this);
    lblStatus = new QLabel(QString::fromUtf8(kStatusConverting.data(),
                                             static_cast<qsizetype>(kStatusConverting.size())),
                           this);
    lblStatus->setObjectName("lblStatus");
    pbMain = new QProgressBar(this);
    pbMain->setObjectName("pbMain");
    pbMain->setRange(0, 100);
    layout->addStretch(1);
    layout->addWidget(lblStatus);
    layout->addWidget(pbMain);
    layout->addStretch(1);
}

bool TfmProc::PageHook(bool entering) {
    if (!entering) {
        return true;
    }
    m_state.m_lastResult = RunConversion(m_state.Job(), m_state.m_settings, *this);
    if (m_state.m_lastResult.m_failure) {
        ShowError(this, *m_state.m_lastResult.m_failure);
    }
    // The window keeps painting during the pause, but takes no input.
    QEventLoop pause;
    QTimer::singleShot(kFinishPauseMs, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_state.m_fnGoToPage) {
        m_state.m_fnGoToPage(PageFinish, false);
    }
    return true;
}

void TfmProc::SetProgress(int position) {
    if (pbMain->value() != position) {
        pbMain->setValue(position);
        Repaint();
    }
}

void TfmProc::SetStatus(std::string_view text) {
    lblStatus->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    Repaint();
}

void TfmProc::Repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tabrel
