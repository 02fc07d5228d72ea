#pragma once
// TfmStep2: The source page: the Palm Desktop data (by user or by file), the CSV file and its
// options.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/TfmPage.h"

namespace tabrel {

struct UserMessage;

class TfmStep2 final : public TfmPage {
    Q_OBJECT
  public:
    TfmStep2(WizardState& state, QWidget* parent);
    // Entering: on the first entry only, fills the page from the settings and the Palm user
    // list. Leaving: checks the Palm Desktop file, loads the Palm Desktop data, checks the
    // CSV file and stores the options; false (after its message) on the first refusal.
    bool PageHook(bool entering) override;

  private slots:
    void OnPDBrowse();
    void OnCSVBrowse();
    // Enables the user list or the file box and its button, by the ticked option button.
    void ApplyDataMode();

  private:
    void BuildPalmGroup(QWidget* group);
    void BuildCsvGroup(QWidget* group);
    void Enter();
    bool Leave();
    bool Refuse(const UserMessage& message);
    // Shows the page's file-open dialog starting from start; the chosen name, or none.
    QString Browse(const QString& title, const QStringList& filters, bool mustExist,
                   const QString& start);

    bool m_bFirstEntry = true;

    QRadioButton* rbtnPDUser = nullptr;
    QComboBox* cbUser = nullptr;
    QRadioButton* rbtnPDFile = nullptr;
    QLineEdit* edtPDFile = nullptr;
    QPushButton* btnPDBrowse = nullptr;
    QLineEdit* edtCSVFile = nullptr;
    QPushButton* btnCSVBrowse = nullptr;
    QRadioButton* rbtnQuoteNone = nullptr;
    QRadioButton* rbtnQuoteDouble = nullptr;
    QRadioButton* rbtnQuoteSingle = nullptr;
    QRadioButton* rbtnQuoteCustom = nullptr;
    QLineEdit* edtQuoteCustom = nullptr;
    QRadioButton* rbtnAppend = nullptr;
    QRadioButton* rbtnOverwrite = nullptr;
    QComboBox* cbEncoding = nullptr;
    QCheckBox* cbAddTitle = nullptr;
    // The option buttons that share a group box are kept apart by these.
    QButtonGroup* m_pDataGroup = nullptr;
    QButtonGroup* m_pQuoteGroup = nullptr;
    QButtonGroup* m_pExistGroup = nullptr;
};

}  // namespace tabrel
