#include "gui/TfmStep1.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "engine/FinishSummary.h"

namespace tabrel {

namespace {

QRadioButton* MakeRadio(const char* name, const QString& caption, QGroupBox* group) {
    auto* button = new QRadioButton(caption, group);
    button->setObjectName(name);
    group->layout()->addWidget(button);
    return button;
}

QGroupBox* MakeGroup(const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    new QVBoxLayout(group);
    return group;
}

}  // namespace

TfmStep1::TfmStep1(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep1");
    auto* layout = new QVBoxLayout(this);

    QGroupBox* modeGroup = MakeGroup(" Select Conversion Mode ", this);
    rbtnP2C = MakeRadio("rbtnP2C", "Convert Palm Desktop Data to CSV File", modeGroup);
    rbtnC2P = MakeRadio("rbtnC2P", "Convert CSV File to Palm Desktop Data", modeGroup);

    QGroupBox* appGroup = MakeGroup(" Select Application to Convert ", this);
    rbtnAddr = MakeRadio("rbtnAddr", QString::fromStdString(AppText(AppContacts)), appGroup);
    rbtnDate = MakeRadio("rbtnDate", QString::fromStdString(AppText(AppCalendar)), appGroup);
    rbtnTodo = MakeRadio("rbtnTodo", QString::fromStdString(AppText(AppTasks)), appGroup);
    rbtnMemo = MakeRadio("rbtnMemo", QString::fromStdString(AppText(AppMemos)), appGroup);

    layout->addWidget(modeGroup);
    layout->addWidget(appGroup);
    layout->addStretch(1);
}

bool TfmStep1::PageHook(bool entering) {
    if (entering) {
        Enter();
    } else {
        Leave();
    }
    return true;
}

void TfmStep1::Enter() {
    if (!m_bFirstEntry) {
        return;
    }
    const AppSettings& settings = m_state.m_settings;
    (settings.m_nMode == ModeCsvToPalm ? rbtnC2P : rbtnP2C)->setChecked(true);
    switch (settings.m_nApp) {
        case AppCalendar:
            rbtnDate->setChecked(true);
            break;
        case AppTasks:
            rbtnTodo->setChecked(true);
            break;
        case AppMemos:
            rbtnMemo->setChecked(true);
            break;
        default:
            rbtnAddr->setChecked(true);
            break;
    }
    m_bFirstEntry = false;
}

void TfmStep1::Leave() {
    AppSettings& settings = m_state.m_settings;
    settings.m_nMode =
        rbtnC2P->isChecked() && !rbtnP2C->isChecked() ? ModeCsvToPalm : ModePalmToCsv;
    settings.m_nApp = rbtnAddr->isChecked()   ? AppContacts
                      : rbtnDate->isChecked() ? AppCalendar
                      : rbtnTodo->isChecked() ? AppTasks
                      : rbtnMemo->isChecked() ? AppMemos
                                              : AppContacts;
    m_state.Job().m_nApp = settings.m_nApp;
}

}  // namespace tabrel
