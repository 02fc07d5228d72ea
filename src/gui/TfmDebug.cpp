#include "gui/TfmDebug.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/DebugOptions.h"
#include "gui/DebugLogBox.h"
#include "gui/DialogPlacement.h"
#include "gui/DialogTopPanel.h"

namespace tabrel {

TfmDebug::TfmDebug(WizardState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName("TfmDebug");
    setWindowTitle("Tabrel Converter Debug Log Options");
    setModal(true);

    cbEnable = new QCheckBox("Enable Debug Log", this);
    cbEnable->setObjectName("cbEnable");
    cbEnable->setChecked(m_state.m_settings.m_bEnableDebug);

    cbxLevel = new QComboBox(this);
    cbxLevel->setObjectName("cbxLevel");
    for (const DebugLevelChoice& choice : kDebugLevelChoices) {
        cbxLevel->addItem(
            QString::fromUtf8(choice.text.data(), static_cast<qsizetype>(choice.text.size())));
    }
    cbxLevel->setCurrentIndex(DebugLevelItemOf(m_state.m_settings.m_nLogLevel));
    auto* levelLabel = new QLabel("Set Debug Level:", this);
    levelLabel->setBuddy(cbxLevel);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");

    auto* options = new QVBoxLayout;
    options->addWidget(cbEnable);
    auto* level = new QHBoxLayout;
    level->addWidget(levelLabel);
    level->addWidget(cbxLevel, 1);
    options->addLayout(level);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeDialogTopPanel(this));
    layout->addLayout(options);
    layout->addWidget(new DebugLogBox(QString(), this));
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, &TfmDebug::OnOK);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FixAndCentre(*this, 520);
}

void TfmDebug::OnOK() {
    ApplyDebugOptions(m_state.m_settings, cbEnable->isChecked(), cbxLevel->currentIndex());
    accept();
}

void ShowDebugOptions(WizardState& state, QWidget* parent) {
    TfmDebug dialog(state, parent);
    dialog.exec();
}

}  // namespace tabrel
