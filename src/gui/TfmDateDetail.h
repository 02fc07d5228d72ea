#pragma once
// TfmDateDetail: the modal dialog that shows one calendar record (a common calendar record)
// in full: its general fields, its recurrence (only the sub-tab of its repeat kind is left
// visible; the tab is hidden for an event that does not repeat) and its note. It stores
// nothing back.

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <array>

#include "palm/comm/CommDateRec.h"

namespace tabrel {

class TfmDateDetail final : public QDialog {
    Q_OBJECT
  public:
    explicit TfmDateDetail(QWidget* parent = nullptr);

    // Shows record (none: nothing is filled); the record must outlive the dialog.
    void SetRecord(const CommDateRec* record);

  private:
    QWidget* BuildGeneral();
    QWidget* BuildRecurrence();
    void ShowRecurrence();

    const CommDateRec* m_pRecord = nullptr;

    QTabWidget* pcDetail = nullptr;
    QWidget* tsGeneral = nullptr;
    QWidget* tsRecurrence = nullptr;
    QWidget* tsNotes = nullptr;

    QLineEdit* edtDesc = nullptr;
    QLineEdit* edtDate = nullptr;
    QLineEdit* edtStartTime = nullptr;
    QLineEdit* edtEndTime = nullptr;
    QLineEdit* edtLocation = nullptr;
    QLineEdit* edtCategory = nullptr;
    QCheckBox* cbAlarm = nullptr;
    QCheckBox* cbPrivate = nullptr;
    QCheckBox* cbAllday = nullptr;

    QTabWidget* pcRecurrence = nullptr;
    QWidget* tsDaily = nullptr;
    QWidget* tsWeekly = nullptr;
    QWidget* tsMonthly = nullptr;
    QWidget* tsYearly = nullptr;
    QLineEdit* edtRecurDays = nullptr;
    QLineEdit* edtRecurWeeks = nullptr;
    // Sunday first, as the repeat's weekday mask counts.
    std::array<QCheckBox*, 7> m_pWeekdays{};
    QCheckBox* cbMonday = nullptr;
    QCheckBox* cbTuesday = nullptr;
    QCheckBox* cbWednesday = nullptr;
    QCheckBox* cbThursday = nullptr;
    QCheckBox* cbFriday = nullptr;
    QCheckBox* cbSaturday = nullptr;
    QCheckBox* cbSunday = nullptr;
    QLineEdit* edtRecurMonths = nullptr;
    QRadioButton* rbtnDay = nullptr;
    QRadioButton* rbtnDate = nullptr;
    QLineEdit* edtRecurYears = nullptr;
    QGroupBox* gbRange = nullptr;
    QLineEdit* edtRecurStart = nullptr;
    QRadioButton* rbtnNoEnd = nullptr;
    QRadioButton* rbtnEndBy = nullptr;
    QLineEdit* edtRecurEnd = nullptr;

    QPlainTextEdit* memNotes = nullptr;
};

}  // namespace tabrel
