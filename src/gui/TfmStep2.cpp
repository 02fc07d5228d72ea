#include "gui/TfmStep2.h"

#include <fmt/format.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <initializer_list>

#include "engine/SourceChecks.h"
#include "engine/SourceOptions.h"
#include "gui/GuiMessages.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

template <class Widget, class... Args>
Widget* Make(const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}

QString PalmDialogTitle(int app) {
    return QString::fromStdString(
        fmt::format("Open Palm Desktop {} data file", GetAppInfo(app).word));
}

QString CsvDialogTitle(int app) {
    return QString::fromStdString(fmt::format("Open {} CSV file", GetAppInfo(app).word));
}

// "*.*" would hide names without a dot here, so "All Files" lists everything with "*".
constexpr const char* kAllFilesFilter = "All Files(*)";
constexpr int kEncodingAnsi = 0;
constexpr int kEncodingUtf8 = 1;

}  // namespace

TfmStep2::TfmStep2(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep2");
    auto* layout = new QVBoxLayout(this);
    auto* palmGroup = new QGroupBox(" Palm Desktop Data ", this);
    auto* csvGroup = new QGroupBox(" CSV File ", this);
    BuildPalmGroup(palmGroup);
    BuildCsvGroup(csvGroup);
    layout->addWidget(palmGroup);
    layout->addWidget(csvGroup);
    layout->addStretch(1);

    connect(rbtnPDUser, &QRadioButton::toggled, this, &TfmStep2::ApplyDataMode);
    connect(rbtnPDFile, &QRadioButton::toggled, this, &TfmStep2::ApplyDataMode);
    connect(rbtnQuoteCustom, &QRadioButton::toggled, edtQuoteCustom, &QLineEdit::setEnabled);
    connect(btnPDBrowse, &QPushButton::clicked, this, &TfmStep2::OnPDBrowse);
    connect(btnCSVBrowse, &QPushButton::clicked, this, &TfmStep2::OnCSVBrowse);
}

void TfmStep2::BuildPalmGroup(QWidget* group) {
    auto* grid = new QGridLayout(group);
    rbtnPDUser = Make<QRadioButton>("rbtnPDUser", "Select data by User ID:", group);
    cbUser = Make<QComboBox>("cbUser", group);
    rbtnPDFile = Make<QRadioButton>("rbtnPDFile", "Select data by File Name:", group);
    edtPDFile = Make<QLineEdit>("edtPDFile", group);
    btnPDBrowse = Make<QPushButton>("btnPDBrowse", "...", group);
    grid->addWidget(rbtnPDUser, 0, 0);
    grid->addWidget(cbUser, 0, 1, 1, 2);
    grid->addWidget(rbtnPDFile, 1, 0);
    grid->addWidget(edtPDFile, 1, 1);
    grid->addWidget(btnPDBrowse, 1, 2);
    grid->setColumnStretch(1, 1);
    m_pDataGroup = new QButtonGroup(this);
    m_pDataGroup->addButton(rbtnPDUser);
    m_pDataGroup->addButton(rbtnPDFile);
    ApplyDataMode();
}

void TfmStep2::BuildCsvGroup(QWidget* group) {
    auto* grid = new QGridLayout(group);
    edtCSVFile = Make<QLineEdit>("edtCSVFile", group);
    btnCSVBrowse = Make<QPushButton>("btnCSVBrowse", "...", group);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtCSVFile, 1);
    fileRow->addWidget(btnCSVBrowse);
    grid->addLayout(fileRow, 0, 0, 1, 2);

    rbtnQuoteNone = Make<QRadioButton>("rbtnQuoteNone", "None", group);
    rbtnQuoteDouble = Make<QRadioButton>("rbtnQuoteDouble", "Double ( \" )", group);
    rbtnQuoteSingle = Make<QRadioButton>("rbtnQuoteSingle", "Single ( ' )", group);
    rbtnQuoteCustom = Make<QRadioButton>("rbtnQuoteCustom", "Custom", group);
    edtQuoteCustom = Make<QLineEdit>("edtQuoteCustom", group);
    edtQuoteCustom->setEnabled(false);
    auto* quoteRow = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{rbtnQuoteNone, rbtnQuoteDouble,
                                                           rbtnQuoteSingle, rbtnQuoteCustom}) {
        quoteRow->addWidget(widget);
    }
    quoteRow->addWidget(edtQuoteCustom);
    quoteRow->addStretch(1);
    grid->addWidget(new QLabel("Quotation Mark:", group), 1, 0);
    grid->addLayout(quoteRow, 1, 1);
    m_pQuoteGroup = new QButtonGroup(this);
    m_pQuoteGroup->addButton(rbtnQuoteNone, QuoteNone);
    m_pQuoteGroup->addButton(rbtnQuoteDouble, QuoteDouble);
    m_pQuoteGroup->addButton(rbtnQuoteSingle, QuoteSingle);
    m_pQuoteGroup->addButton(rbtnQuoteCustom, QuoteCustom);

    rbtnAppend = Make<QRadioButton>("rbtnAppend", "Append to Existed File", group);
    rbtnOverwrite = Make<QRadioButton>("rbtnOverwrite", "Overwrite the Existed File", group);
    auto* existRow = new QHBoxLayout;
    existRow->addWidget(rbtnAppend);
    existRow->addWidget(rbtnOverwrite);
    existRow->addStretch(1);
    grid->addWidget(new QLabel("If the file is existed:", group), 2, 0);
    grid->addLayout(existRow, 2, 1);
    m_pExistGroup = new QButtonGroup(this);
    m_pExistGroup->addButton(rbtnAppend);
    m_pExistGroup->addButton(rbtnOverwrite);

    cbEncoding = Make<QComboBox>("cbEncoding", group);
    cbEncoding->insertItem(kEncodingAnsi, kCsvEncodingAnsi);
    cbEncoding->insertItem(kEncodingUtf8, kCsvEncodingUtf8);
    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(cbEncoding);
    encodingRow->addStretch(1);
    grid->addWidget(new QLabel("CSV Encoding:", group), 3, 0);
    grid->addLayout(encodingRow, 3, 1);

    cbAddTitle = Make<QCheckBox>(
        "cbAddTitle", "Add field title text when exporting Palm Desktop information to CSV file. ",
        group);
    grid->addWidget(cbAddTitle, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void TfmStep2::ApplyDataMode() {
    const bool byUser = rbtnPDUser->isChecked();
    const bool byFile = rbtnPDFile->isChecked();
    cbUser->setEnabled(byUser);
    edtPDFile->setEnabled(byFile);
    btnPDBrowse->setEnabled(byFile);
}

bool TfmStep2::PageHook(bool entering) {
    if (entering) {
        Enter();
        return true;
    }
    return Leave();
}

void TfmStep2::Enter() {
    if (!m_bFirstEntry) {
        return;
    }
    const AppSettings& settings = m_state.m_settings;
    cbUser->clear();
    for (std::size_t i = 0; i < m_state.m_users.GetCount(); ++i) {
        if (const PalmUser* user = m_state.m_users.GetAt(i)) {
            cbUser->addItem(QString::fromStdString(user->name), QVariant(user->id));
        }
    }
    cbUser->setCurrentIndex(ChosenUserIndex(m_state.m_users, settings.m_nPmUserId));

    (ShownDataMode(settings.m_nPmDataMode) == PmDataByFile ? rbtnPDFile : rbtnPDUser)
        ->setChecked(true);
    edtPDFile->setText(QString::fromStdString(settings.PmFile()));
    edtCSVFile->setText(QString::fromStdString(settings.CsvFile()));

    const QuoteChoice quote = QuoteChoiceOf(settings.m_szQuoteMark);
    m_pQuoteGroup->button(quote)->setChecked(true);
    if (quote == QuoteCustom) {
        edtQuoteCustom->setText(FromAnsi(settings.m_szQuoteMark));
    }
    (settings.m_nAppendCsv != 0 ? rbtnAppend : rbtnOverwrite)->setChecked(true);
    cbAddTitle->setChecked(settings.m_bAddTitle);
    cbEncoding->setCurrentIndex(settings.IsCsvUtf8() ? kEncodingUtf8 : kEncodingAnsi);
    m_bFirstEntry = false;
}

bool TfmStep2::Leave() {
    AppSettings& settings = m_state.m_settings;
    ConversionJob& job = m_state.Job();
    const std::string palmFile = edtPDFile->text().toStdString();

    if (rbtnPDUser->isChecked()) {
        settings.m_nPmDataMode = PmDataByUser;
        if (cbUser->currentIndex() < 0) {
            return Refuse(NoPalmUserMessage());
        }
        settings.m_nPmUserId = cbUser->currentData().toInt();
    } else {
        settings.m_nPmDataMode = PmDataByFile;
        if (const auto refusal = CheckPalmFile(job, palmFile)) {
            return Refuse(*refusal);
        }
    }
    if (const auto refusal = LoadPalmData(job, settings, palmFile)) {
        return Refuse(*refusal);
    }
    // The check of a CSV file to read opens it in the chosen encoding.
    settings.m_szCsvEncoding = CsvEncodingOf(cbEncoding->currentIndex() == kEncodingUtf8);
    if (const auto refusal = CheckCsvFile(job, settings, edtCSVFile->text().toStdString())) {
        return Refuse(*refusal);
    }
    const auto quote = static_cast<QuoteChoice>(m_pQuoteGroup->checkedId());
    settings.m_szQuoteMark = QuoteMarkOf(quote, ToAnsi(edtQuoteCustom->text()));
    settings.m_nAppendCsv = rbtnAppend->isChecked() ? 1 : 0;
    settings.m_bAddTitle = cbAddTitle->isChecked();
    return true;
}

bool TfmStep2::Refuse(const UserMessage& message) {
    ShowError(this, message);
    return false;
}

QString TfmStep2::Browse(const QString& title, const QStringList& filters, bool mustExist,
                         const QString& start) {
    QFileDialog dialog(this, title);
    dialog.setObjectName("dlgOpen");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QString from = start.left(static_cast<qsizetype>(kSettingsPathMax));
    if (!from.isEmpty()) {
        const QFileInfo info(from);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void TfmStep2::OnPDBrowse() {
    const QString chosen = Browse(PalmDialogTitle(m_state.m_settings.m_nApp),
                                  {"Palm Desktop Database File(*.dat *.mdb)", kAllFilesFilter},
                                  true, edtPDFile->text());
    if (!chosen.isEmpty()) {
        edtPDFile->setText(chosen);
    }
}

void TfmStep2::OnCSVBrowse() {
    const QString chosen = Browse(CsvDialogTitle(m_state.m_settings.m_nApp),
                                  {"CSV File(*.csv)", kAllFilesFilter}, false, edtCSVFile->text());
    if (!chosen.isEmpty()) {
        edtCSVFile->setText(chosen);
    }
}

}  // namespace tabrel
