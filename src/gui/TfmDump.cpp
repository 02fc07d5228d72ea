#include "gui/TfmDump.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "engine/DebugOptions.h"
#include "gui/DebugLogBox.h"
#include "gui/DialogPlacement.h"
#include "gui/DialogTopPanel.h"
#include "gui/GuiMessages.h"
#include "gui/TfmDebug.h"

namespace tabrel {

namespace {

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

TfmDump::TfmDump(WizardState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName("TfmDump");
    setWindowTitle("Handle Tabrel Converter Exception");
    setModal(true);

    const QString address =
        QString::fromUtf8(kSupportAddress.data(), static_cast<qsizetype>(kSupportAddress.size()));
    lblSupport = new QLabel(
        QString("<a href=\"%1\">%2</a>").arg(QString::fromStdString(SupportMailTarget()), address),
        this);
    lblSupport->setObjectName("lblSupport");
    lblSupport->setTextFormat(Qt::RichText);
    lblSupport->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblSupport->setOpenExternalLinks(false);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnDebug = new QPushButton("&Debug Options", this);
    btnDebug->setObjectName("btnDebug");
    btnExit = new QPushButton("Quit Tabrel Converter", this);
    btnExit->setObjectName("btnExit");

    auto* contact = new QHBoxLayout;
    auto* contactLabel = new QLabel("Please contact us at:", this);
    contactLabel->setTextFormat(Qt::PlainText);
    contact->addWidget(contactLabel);
    contact->addWidget(lblSupport);
    contact->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDebug);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnExit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeDialogTopPanel(this));
    layout->addWidget(
        PlainLabel("We're sorry that an unhandled exception occurred  in Tabrel Converter.", this));
    layout->addLayout(contact);
    layout->addWidget(new DebugLogBox(
        "It is very appreciated if you can include the debug information in your error report.",
        this));
    layout->addLayout(buttons);

    connect(lblSupport, &QLabel::linkActivated, this, &TfmDump::OnSupport);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnDebug, &QPushButton::clicked, this, &TfmDump::OnDebug);
    connect(btnExit, &QPushButton::clicked, this, &TfmDump::OnExit);
    FixAndCentre(*this, 520);
}

void TfmDump::OnSupport() {
    OpenWithDesktop(QString::fromStdString(SupportMailTarget()));
}

void TfmDump::OnDebug() {
    ShowDebugOptions(m_state, this);
}

void TfmDump::OnExit() {
    done(QDialog::Rejected);
    if (m_state.m_fnCloseMain) {
        m_state.m_fnCloseMain();
    }
}

void ShowCrashDialog(WizardState& state, QWidget* parent) {
    TfmDump dialog(state, parent);
    dialog.exec();
}

}  // namespace tabrel
