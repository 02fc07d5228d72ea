#include "gui/TfmFinish.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "engine/FinishSummary.h"
#include "gui/GuiMessages.h"

namespace tabrel {

namespace {

QLabel* AddRow(QGridLayout* grid, int row, const QString& caption, const char* name,
               QWidget* parent) {
    grid->addWidget(new QLabel(caption, parent), row, 0, Qt::AlignTop);
    auto* value = new QLabel(parent);
    value->setObjectName(name);
    value->setWordWrap(true);
    value->setTextFormat(Qt::PlainText);
    grid->addWidget(value, row, 1);
    return value;
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

TfmFinish::TfmFinish(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmFinish");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    lblMode = AddRow(grid, 0, "Conversion Mode:", "lblMode", this);
    lblApp = AddRow(grid, 1, "Application Type:", "lblApp", this);
    lblSource = AddRow(grid, 2, "Source:", "lblSource", this);
    lblDest = AddRow(grid, 3, "Destination:", "lblDest", this);
    lblResult = AddRow(grid, 4, "Result:", "lblResult", this);
    grid->setColumnStretch(1, 1);

    btnPD = MakeButton("btnPD", "Open &Palm Desktop", this);
    btnCSV = MakeButton("btnCSV", "Open CSV &File", this);
    btnAnother = MakeButton("btnAnother", "Convert &More", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPD);
    buttons->addWidget(btnCSV);
    buttons->addWidget(btnAnother);
    buttons->addStretch(1);

    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(btnPD, &QPushButton::clicked, this, &TfmFinish::OnOpenPalmDesktop);
    connect(btnCSV, &QPushButton::clicked, this, &TfmFinish::OnOpenCsv);
    connect(btnAnother, &QPushButton::clicked, this, &TfmFinish::OnConvertMore);
}

bool TfmFinish::PageHook(bool entering) {
    if (!entering) {
        return true;
    }
    const FinishSummary summary =
        MakeFinishSummary(m_state.m_settings, m_state.m_users, CsvPath(), m_state.m_lastResult);
    lblMode->setText(QString::fromStdString(summary.m_szMode));
    lblApp->setText(QString::fromStdString(summary.m_szApp));
    lblSource->setText(QString::fromStdString(summary.m_szSource));
    lblDest->setText(QString::fromStdString(summary.m_szDest));
    lblResult->setText(QString::fromStdString(summary.m_szResult));
    return true;
}

std::string TfmFinish::CsvPath() const {
    if (m_state.m_pJob && !m_state.m_pJob->m_szCsvPath.empty()) {
        return m_state.m_pJob->m_szCsvPath;
    }
    return m_state.m_settings.CsvFile();
}

void TfmFinish::OnOpenPalmDesktop() {
    std::string program;
    if (const auto missing = FindPalmProgramToOpen(program)) {
        ShowError(this, *missing);
        return;
    }
    if (!OpenWithDesktop(QString::fromStdString(program))) {
        ShowError(this, OpenFileFailedMessage(program));
    }
}

void TfmFinish::OnOpenCsv() {
    const std::string path = CsvPath();
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile() || !OpenWithDesktop(file)) {
        ShowError(this, OpenFileFailedMessage(path));
    }
}

void TfmFinish::OnConvertMore() {
    if (m_state.m_fnGoToPage) {
        m_state.m_fnGoToPage(PageMode, false);
    }
}

}  // namespace tabrel
