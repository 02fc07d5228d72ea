#include "gui/TfmDateDetail.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <string>

#include "engine/RecordDetail.h"
#include "gui/TfmDetailParts.h"

namespace tabrel {

namespace {

// A sub-tab with one "Every <box> <unit>" line.
QWidget* EveryPage(const char* pageName, QLineEdit*& box, const char* boxName, const char* unit,
                   QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(pageName);
    auto* line = new QHBoxLayout;
    box = MakeEdit(boxName, page);
    box->setMaximumWidth(60);
    line->addWidget(new QLabel("Every", page));
    line->addWidget(box);
    line->addWidget(new QLabel(unit, page));
    line->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(line);
    return page;
}

}  // namespace

TfmDateDetail::TfmDateDetail(QWidget* parent) : QDialog(parent) {
    setObjectName("TfmDateDetail");
    setWindowTitle("Calendar detail information");
    setModal(true);

    pcDetail = new QTabWidget(this);
    pcDetail->setObjectName("pcDetail");
    tsGeneral = BuildGeneral();
    tsRecurrence = BuildRecurrence();
    tsNotes = new QWidget(pcDetail);
    tsNotes->setObjectName("tsNotes");
    memNotes = MakeMemo("memNotes", tsNotes);
    auto* notes = new QVBoxLayout(tsNotes);
    notes->addWidget(memNotes);
    pcDetail->addTab(tsGeneral, "General");
    pcDetail->addTab(tsRecurrence, "Recurrence");
    pcDetail->addTab(tsNotes, "Notes");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcDetail);
    FinishDetailDialog(this, layout);
}

QWidget* TfmDateDetail::BuildGeneral() {
    auto* page = new QWidget(pcDetail);
    page->setObjectName("tsGeneral");
    auto* form = new QFormLayout(page);
    edtDesc = AddEdit(form, "edtDesc", "Description:");
    edtDesc->setMinimumWidth(320);
    edtDate = AddEdit(form, "edtDate", "Date:");
    edtStartTime = AddEdit(form, "edtStartTime", "Start time:");
    edtEndTime = AddEdit(form, "edtEndTime", "End time:");
    edtLocation = AddEdit(form, "edtLocation", "Location:");
    edtCategory = AddEdit(form, "edtCategory", "Category:");
    cbAlarm = MakeCheck("cbAlarm", "Alarm", page);
    cbPrivate = MakeCheck("cbPrivate", "Private", page);
    cbAllday = MakeCheck("cbAllday", "All day event", page);
    auto* flags = new QHBoxLayout;
    flags->addWidget(cbAlarm);
    flags->addWidget(cbPrivate);
    flags->addWidget(cbAllday);
    flags->addStretch(1);
    form->addRow("", flags);
    return page;
}

QWidget* TfmDateDetail::BuildRecurrence() {
    auto* page = new QWidget(pcDetail);
    page->setObjectName("tsRecurrence");

    pcRecurrence = new QTabWidget(page);
    pcRecurrence->setObjectName("pcRecurrence");
    tsDaily = EveryPage("tsDaily", edtRecurDays, "edtRecurDays", "days.", pcRecurrence);
    tsWeekly = EveryPage("tsWeekly", edtRecurWeeks, "edtRecurWeeks", "weeks on:", pcRecurrence);
    auto* days = new QGridLayout;
    cbSunday = MakeCheck("cbSunday", "Sunday", tsWeekly);
    cbMonday = MakeCheck("cbMonday", "Monday", tsWeekly);
    cbTuesday = MakeCheck("cbTuesday", "Tuesday", tsWeekly);
    cbWednesday = MakeCheck("cbWednesday", "Wednesday", tsWeekly);
    cbThursday = MakeCheck("cbThursday", "Thursday", tsWeekly);
    cbFriday = MakeCheck("cbFriday", "Friday", tsWeekly);
    cbSaturday = MakeCheck("cbSaturday", "Saturday", tsWeekly);
    m_pWeekdays = {cbSunday, cbMonday, cbTuesday, cbWednesday, cbThursday, cbFriday, cbSaturday};
    // Shown Monday first, four to a line.
    const std::array<QCheckBox*, 7> shown = {cbMonday, cbTuesday,  cbWednesday, cbThursday,
                                             cbFriday, cbSaturday, cbSunday};
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        days->addWidget(shown[static_cast<std::size_t>(i)], i / 4, i % 4);
    }
    static_cast<QVBoxLayout*>(tsWeekly->layout())->addLayout(days);

    tsMonthly = EveryPage("tsMonthly", edtRecurMonths, "edtRecurMonths", "months", pcRecurrence);
    rbtnDay = MakeRadio("rbtnDay", "Day", tsMonthly);
    rbtnDate = MakeRadio("rbtnDate", "Date", tsMonthly);
    auto* by = new QHBoxLayout;
    by->addWidget(rbtnDay);
    by->addWidget(rbtnDate);
    by->addStretch(1);
    static_cast<QVBoxLayout*>(tsMonthly->layout())->addLayout(by);
    tsYearly = EveryPage("tsYearly", edtRecurYears, "edtRecurYears", "years", pcRecurrence);

    pcRecurrence->addTab(tsDaily, "Daily");
    pcRecurrence->addTab(tsWeekly, "Weekly");
    pcRecurrence->addTab(tsMonthly, "Monthly");
    pcRecurrence->addTab(tsYearly, "Yearly");

    gbRange = new QGroupBox(" Recurrence Range ", page);
    gbRange->setObjectName("gbRange");
    edtRecurStart = MakeEdit("edtRecurStart", gbRange);
    rbtnNoEnd = MakeRadio("rbtnNoEnd", "No end date", gbRange);
    rbtnEndBy = MakeRadio("rbtnEndBy", "End by", gbRange);
    edtRecurEnd = MakeEdit("edtRecurEnd", gbRange);
    auto* range = new QGridLayout(gbRange);
    range->addWidget(new QLabel("Start:", gbRange), 0, 0);
    range->addWidget(edtRecurStart, 0, 1);
    range->addWidget(rbtnNoEnd, 0, 2);
    range->addWidget(rbtnEndBy, 1, 2);
    range->addWidget(edtRecurEnd, 1, 3);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(pcRecurrence);
    layout->addWidget(gbRange);
    return page;
}

void TfmDateDetail::SetRecord(const CommDateRec* record) {
    m_pRecord = record;
    if (m_pRecord == nullptr) {
        return;
    }
    const CommDateRec& rec = *m_pRecord;
    ShowText(edtDesc, rec.m_szDescription);
    ShowText(edtDate, CalendarFieldText(rec, CommDateId::kDate));
    ShowText(edtStartTime, CalendarFieldText(rec, CommDateId::kStartTime));
    ShowText(edtEndTime, CalendarFieldText(rec, CommDateId::kEndTime));
    ShowText(edtLocation, rec.m_szLocation);
    ShowText(edtCategory, rec.m_szCategory);
    cbAlarm->setChecked(rec.m_bAlarm != 0);
    cbPrivate->setChecked(rec.m_bPrivate != 0);
    cbAllday->setChecked(rec.m_bAllDay != 0);
    ShowText(memNotes, rec.m_szNote);
    ShowRecurrence();
}

void TfmDateDetail::ShowRecurrence() {
    const RecurrenceView view = DescribeRecurrence(*m_pRecord);
    const int recurrence = pcDetail->indexOf(tsRecurrence);
    pcDetail->setTabVisible(recurrence, view.m_nTab != kRecurTabNone);
    if (view.m_nTab == kRecurTabNone) {
        return;
    }
    QWidget* kept = nullptr;
    switch (view.m_nTab) {
        case kRecurTabDaily:
            kept = tsDaily;
            ShowText(edtRecurDays, view.m_szInterval);
            break;
        case kRecurTabWeekly:
            kept = tsWeekly;
            ShowText(edtRecurWeeks, view.m_szInterval);
            for (std::size_t day = 0; day < m_pWeekdays.size(); ++day) {
                m_pWeekdays[day]->setChecked(view.m_bWeekdays[day]);
            }
            break;
        case kRecurTabMonthly:
            kept = tsMonthly;
            ShowText(edtRecurMonths, view.m_szInterval);
            (view.m_bMonthlyByDay ? rbtnDay : rbtnDate)->setChecked(true);
            break;
        default:
            kept = tsYearly;
            ShowText(edtRecurYears, view.m_szInterval);
            break;
    }
    for (QWidget* sub : {tsDaily, tsWeekly, tsMonthly, tsYearly}) {
        pcRecurrence->setTabVisible(pcRecurrence->indexOf(sub), sub == kept);
    }
    pcRecurrence->setCurrentWidget(kept);
    ShowText(edtRecurStart, view.m_szStart);
    (view.m_bEndBy ? rbtnEndBy : rbtnNoEnd)->setChecked(true);
    ShowText(edtRecurEnd, view.m_szEnd);
}

}  // namespace tabrel
