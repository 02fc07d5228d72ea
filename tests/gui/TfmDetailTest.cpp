// The four record detail dialogs: every box filled from its common field, the calendar
// recurrence tabs, the home page button, nothing filled without a record, Close.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/TfmAddrDetail.h"
#include "gui/TfmDateDetail.h"
#include "gui/TfmNoteDetail.h"
#include "gui/TfmTodoDetail.h"

namespace tabrel {

using namespace test;

namespace {

std::string Text(const QWidget* dialog, const char* name) {
    if (const auto* box = dialog->findChild<QLineEdit*>(name)) {
        return box->text().toStdString();
    }
    const auto* memo = Find<QPlainTextEdit>(dialog, name);
    return memo != nullptr ? memo->toPlainText().toStdString() : std::string();
}

bool Ticked(const QWidget* dialog, const char* name) {
    const auto* button = Find<QAbstractButton>(dialog, name);
    return button != nullptr && button->isChecked();
}

std::vector<std::string> TabTexts(const QTabWidget* tabs) {
    std::vector<std::string> texts;
    for (int i = 0; i < tabs->count(); ++i) {
        texts.push_back(tabs->tabText(i).toStdString());
    }
    return texts;
}

std::vector<std::string> VisibleTabs(const QTabWidget* tabs) {
    std::vector<std::string> texts;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i)) {
            texts.push_back(tabs->tabText(i).toStdString());
        }
    }
    return texts;
}

CommAddrRec FullContact() {
    CommAddrRec rec;
    rec.m_szFirstName = "Ann";
    rec.m_szLastName = "Lee";
    rec.m_szCompany = "Acme";
    rec.m_szTitle = "Boss";
    rec.m_szWorkPhone = "555-0101";
    rec.m_szHomePhone = "555-0102";
    rec.m_szMobilePhone = "555-0103";
    rec.m_szOtherPhone = "555-0104";
    rec.m_szEmail = "ann@acme.example";
    rec.m_szWorkFax = "555-0105";
    rec.m_szPager = "555-0106";
    rec.m_szPrimaryPhone = "555-0107";
    rec.m_szHomeFax = "555-0199";  // not shown
    rec.m_dBirthday = 36892;
    rec.m_nPrivate = 1;
    rec.m_szCategory = "Work";
    rec.m_szWorkStreet = "1 Main St\r\nSuite 2";
    rec.m_szWorkCity = "Springfield";
    rec.m_szWorkState = "IL";
    rec.m_szWorkPostal = "62701";
    rec.m_szWorkCountry = "USA";
    rec.m_szHomeStreet = "2 Elm St";
    rec.m_szHomeCity = "Shelbyville";
    rec.m_szHomeState = "IN";
    rec.m_szHomePostal = "46176";
    rec.m_szHomeCountry = "US";
    rec.m_szOtherStreet = "3 Oak St";
    rec.m_szOtherCity = "Toronto";
    rec.m_szOtherState = "ON";
    rec.m_szOtherPostal = "M5H";
    rec.m_szOtherCountry = "Canada";
    rec.m_szNote = "Met at the fair\r\nLikes tea";
    for (std::size_t i = 0; i < rec.m_szCustom.size(); ++i) {
        rec.m_szCustom[i] = "C" + std::to_string(i + 1);
    }
    rec.m_szIm1 = "ann.chat";
    rec.m_szIm2 = "ann.chat2";
    rec.m_szWorkHomePage = "acme.example";
    rec.m_szPersonalHomePage = "ann.example";  // not shown
    return rec;
}

// The boxes of the contact dialog and what FullContact shows in them.
const std::vector<std::pair<const char*, std::string>> kContactBoxes = {
    {"edtFirst", "Ann"},
    {"edtLast", "Lee"},
    {"edtCompany", "Acme"},
    {"edtTitle", "Boss"},
    {"edtBusiTel", "555-0101"},
    {"edtHomeTel", "555-0102"},
    {"edtMobileTel", "555-0103"},
    {"edtOtherTel", "555-0104"},
    {"edtEmail", "ann@acme.example"},
    {"edtFax", "555-0105"},
    {"edtPager", "555-0106"},
    {"edtMainTel", "555-0107"},
    {"edtBirthday", "01/01/2001"},
    {"edtCategory", "Work"},
    {"memBusiStreet", "1 Main St\nSuite 2"},
    {"edtBusiCity", "Springfield"},
    {"edtBusiState", "IL"},
    {"edtBusiPostal", "62701"},
    {"edtBusiCountry", "USA"},
    {"memHomeStreet", "2 Elm St"},
    {"edtHomeCity", "Shelbyville"},
    {"edtHomeState", "IN"},
    {"edtHomePostal", "46176"},
    {"edtHomeCountry", "US"},
    {"memOtherStreet", "3 Oak St"},
    {"edtOtherCity", "Toronto"},
    {"edtOtherState", "ON"},
    {"edtOtherPostal", "M5H"},
    {"edtOtherCountry", "Canada"},
    {"memNotes", "Met at the fair\nLikes tea"},
    {"edtCustom1", "C1"},
    {"edtCustom2", "C2"},
    {"edtCustom3", "C3"},
    {"edtCustom4", "C4"},
    {"edtCustom5", "C5"},
    {"edtCustom6", "C6"},
    {"edtCustom7", "C7"},
    {"edtCustom8", "C8"},
    {"edtCustom9", "C9"},
    {"edtIM1", "ann.chat"},
    {"edtIM2", "ann.chat2"},
    {"edtHomepage", "acme.example"},
};

CommDateRec Meeting() {
    CommDateRec rec;
    rec.m_szDescription = "Meeting";
    rec.m_start = {.year = 2006, .month = 1, .day = 2, .hour = 9};
    rec.m_end = {.year = 2006, .month = 1, .day = 2, .hour = 10, .minute = 30};
    rec.m_szLocation = "Room 1";
    rec.m_szCategory = "Work";
    rec.m_bAlarm = 1;
    rec.m_bPrivate = 0;
    rec.m_bAllDay = 1;
    rec.m_szNote = "Agenda\r\nitems";
    return rec;
}

}  // namespace

TEST(TfmAddrDetail, ShowsEveryBoxOfTheContact) {
    GuiApp();
    TfmAddrDetail dialog;
    EXPECT_EQ(dialog.objectName().toStdString(), "TfmAddrDetail");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Contact detail information");
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(TabTexts(Find<QTabWidget>(&dialog, "pcDetail")),
              (std::vector<std::string>{"General", "Address", "Notes", "Other Information"}));
    EXPECT_EQ(TabTexts(Find<QTabWidget>(&dialog, "pcAddress")),
              (std::vector<std::string>{"Business", "Home", "Other"}));
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbName")->title().toStdString(), " Name ");
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbTelephone")->title().toStdString(),
              " Telephone Numbers ");
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbBirthday")->title().toStdString(), " Birthday ");
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbCustom")->title().toStdString(), " Custom Fields ");
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbChat")->title().toStdString(), " Chat && Web ");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnGo")->text().toStdString(), ">>");
    EXPECT_EQ(Find<QCheckBox>(&dialog, "cbPrivate")->text().toStdString(), "Private");

    // Without a record nothing is filled.
    dialog.SetRecord(nullptr);
    for (const auto& [name, expected] : kContactBoxes) {
        EXPECT_EQ(Text(&dialog, name), "") << name;
    }
    EXPECT_FALSE(Ticked(&dialog, "cbPrivate"));

    const CommAddrRec contact = FullContact();
    dialog.SetRecord(&contact);
    for (const auto& [name, expected] : kContactBoxes) {
        EXPECT_EQ(Text(&dialog, name), expected) << name;
    }
    EXPECT_TRUE(Ticked(&dialog, "cbPrivate"));
    // The boxes show; they take no input.
    EXPECT_TRUE(Find<QLineEdit>(&dialog, "edtFirst")->isReadOnly());
    EXPECT_TRUE(Find<QPlainTextEdit>(&dialog, "memNotes")->isReadOnly());
}

TEST(TfmAddrDetail, EmptyFieldsShowEmptyBoxesAndAnsiTextsAreConverted) {
    GuiApp();
    CommAddrRec contact;
    contact.m_szFirstName = "Ren\xE9";
    contact.m_szLastName = "M\xFCller";
    TfmAddrDetail dialog;
    dialog.SetRecord(&contact);
    EXPECT_EQ(Text(&dialog, "edtFirst"), "Ren\u00e9");
    EXPECT_EQ(Text(&dialog, "edtLast"), "M\u00fcller");
    EXPECT_EQ(Text(&dialog, "edtEmail"), "");
    EXPECT_EQ(Text(&dialog, "edtBirthday"), "");
    EXPECT_FALSE(Ticked(&dialog, "cbPrivate"));
}

TEST(TfmAddrDetail, GoOpensTheHomePageAndNothingWhenItIsEmpty) {
    GuiApp();
    // The desktop's handler is replaced by a recorder for the test.
    QTextBrowser recorder;
    QDesktopServices::setUrlHandler("http", &recorder, "setSource");
    CommAddrRec contact;
    TfmAddrDetail dialog;
    dialog.SetRecord(&contact);
    Find<QPushButton>(&dialog, "btnGo")->click();
    EXPECT_TRUE(recorder.source().isEmpty());

    contact.m_szWorkHomePage = "acme.example/ann";
    dialog.SetRecord(&contact);
    Find<QPushButton>(&dialog, "btnGo")->click();
    EXPECT_EQ(recorder.source().toString().toStdString(), "http://acme.example/ann");
    QDesktopServices::unsetUrlHandler("http");
}

TEST(TfmAddrDetail, CloseClosesTheDialog) {
    GuiApp();
    TfmAddrDetail dialog;
    dialog.show();
    auto* close = Find<QPushButton>(&dialog, "btnClose");
    EXPECT_EQ(close->text().toStdString(), "&Close");
    close->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TfmDateDetail, ShowsTheGeneralFieldsAndNoRecurrenceTabForASingleEvent) {
    GuiApp();
    TfmDateDetail dialog;
    EXPECT_EQ(dialog.objectName().toStdString(), "TfmDateDetail");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Calendar detail information");
    auto* tabs = Find<QTabWidget>(&dialog, "pcDetail");
    EXPECT_EQ(TabTexts(tabs), (std::vector<std::string>{"General", "Recurrence", "Notes"}));
    EXPECT_EQ(TabTexts(Find<QTabWidget>(&dialog, "pcRecurrence")),
              (std::vector<std::string>{"Daily", "Weekly", "Monthly", "Yearly"}));
    EXPECT_EQ(Find<QGroupBox>(&dialog, "gbRange")->title().toStdString(), " Recurrence Range ");

    const CommDateRec meeting = Meeting();
    dialog.SetRecord(&meeting);
    EXPECT_EQ(Text(&dialog, "edtDesc"), "Meeting");
    EXPECT_EQ(Text(&dialog, "edtDate"), "01/02/2006");
    EXPECT_EQ(Text(&dialog, "edtStartTime"), "09:00:00");
    EXPECT_EQ(Text(&dialog, "edtEndTime"), "10:30:00");
    EXPECT_EQ(Text(&dialog, "edtLocation"), "Room 1");
    EXPECT_EQ(Text(&dialog, "edtCategory"), "Work");
    EXPECT_EQ(Text(&dialog, "memNotes"), "Agenda\nitems");
    EXPECT_TRUE(Ticked(&dialog, "cbAlarm"));
    EXPECT_FALSE(Ticked(&dialog, "cbPrivate"));
    EXPECT_TRUE(Ticked(&dialog, "cbAllday"));
    EXPECT_EQ(VisibleTabs(tabs), (std::vector<std::string>{"General", "Notes"}));
    EXPECT_EQ(Text(&dialog, "edtRecurStart"), "");
}

TEST(TfmDateDetail, AWeeklyEventShowsOnlyTheWeeklyTabWithItsDays) {
    GuiApp();
    CommDateRec meeting = Meeting();
    meeting.m_repeat.m_nKind = kCommRepeatWeekly;
    meeting.m_repeat.m_nInterval = 2;
    meeting.m_repeat.m_nWeekday = 0x2A;  // Monday, Wednesday, Friday
    meeting.m_repeat.m_bHasEnd = 1;
    meeting.m_repeat.m_endDate = {.year = 2006, .month = 6, .day = 30};
    TfmDateDetail dialog;
    dialog.SetRecord(&meeting);
    EXPECT_EQ(VisibleTabs(Find<QTabWidget>(&dialog, "pcDetail")),
              (std::vector<std::string>{"General", "Recurrence", "Notes"}));
    EXPECT_EQ(VisibleTabs(Find<QTabWidget>(&dialog, "pcRecurrence")),
              (std::vector<std::string>{"Weekly"}));
    EXPECT_EQ(Text(&dialog, "edtRecurWeeks"), "2");
    std::vector<bool> days;
    for (const char* name : {"cbMonday", "cbTuesday", "cbWednesday", "cbThursday", "cbFriday",
                             "cbSaturday", "cbSunday"}) {
        days.push_back(Ticked(&dialog, name));
    }
    EXPECT_EQ(days, (std::vector<bool>{true, false, true, false, true, false, false}));
    EXPECT_EQ(Text(&dialog, "edtRecurStart"), "01/02/2006");
    EXPECT_TRUE(Ticked(&dialog, "rbtnEndBy"));
    EXPECT_FALSE(Ticked(&dialog, "rbtnNoEnd"));
    EXPECT_EQ(Text(&dialog, "edtRecurEnd"), "06/30/2006");
}

TEST(TfmDateDetail, EachRepeatKindFillsItsTab) {
    GuiApp();
    struct Case {
        std::int32_t kind;
        const char* tab;
        const char* box;
        const char* radio;  // the monthly option ticked, if any
    };
    for (const Case c : {Case{1, "Daily", "edtRecurDays", nullptr},
                         Case{3, "Monthly", "edtRecurMonths", "rbtnDay"},
                         Case{4, "Monthly", "edtRecurMonths", "rbtnDate"},
                         Case{5, "Yearly", "edtRecurYears", nullptr},
                         Case{6, "Yearly", "edtRecurYears", nullptr}}) {
        CommDateRec event = Meeting();
        event.m_repeat.m_nKind = c.kind;
        event.m_repeat.m_nInterval = 3;
        event.m_repeat.m_bHasEnd = 1;
        event.m_repeat.m_endDate = {.year = 2100, .month = 1, .day = 1};
        TfmDateDetail dialog;
        dialog.SetRecord(&event);
        EXPECT_EQ(VisibleTabs(Find<QTabWidget>(&dialog, "pcRecurrence")),
                  (std::vector<std::string>{c.tab}))
            << c.kind;
        EXPECT_EQ(Text(&dialog, c.box), "3") << c.kind;
        if (c.radio != nullptr) {
            EXPECT_TRUE(Ticked(&dialog, c.radio)) << c.kind;
            EXPECT_NE(Ticked(&dialog, "rbtnDay"), Ticked(&dialog, "rbtnDate")) << c.kind;
        }
        // An end year of 2100 or later does not end the repetition.
        EXPECT_TRUE(Ticked(&dialog, "rbtnNoEnd")) << c.kind;
        EXPECT_FALSE(Ticked(&dialog, "rbtnEndBy")) << c.kind;
        EXPECT_EQ(Text(&dialog, "edtRecurEnd"), "") << c.kind;
    }
}

TEST(TfmTodoDetail, ShowsTheTask) {
    GuiApp();
    TfmTodoDetail dialog;
    EXPECT_EQ(dialog.objectName().toStdString(), "TfmTodoDetail");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Task detail information");
    dialog.SetRecord(nullptr);
    EXPECT_EQ(Text(&dialog, "edtDesc"), "");

    CommTaskRec task;
    task.m_szSubject = "Taxes";
    task.m_nPriority = 1;
    task.m_tDueDate = 1136116800;  // 2006-01-01 12:00:00 UTC
    task.m_bCompleted = 1;
    task.m_bPrivate = 0;
    task.m_szNote = "Receipts\r\nand forms";
    task.m_szCategory = "Work";
    dialog.SetRecord(&task);
    EXPECT_EQ(Text(&dialog, "edtDesc"), "Taxes");
    EXPECT_EQ(Text(&dialog, "edtPriority"), "1");
    EXPECT_EQ(Text(&dialog, "edtDueDate"), "01/01/2006");
    EXPECT_TRUE(Ticked(&dialog, "cbCompleted"));
    EXPECT_FALSE(Ticked(&dialog, "cbPrivate"));
    EXPECT_EQ(Text(&dialog, "memNotes"), "Receipts\nand forms");
    EXPECT_EQ(Text(&dialog, "edtCategory"), "Work");

    task.m_nPriority = 5;
    task.m_tDueDate = 0;
    task.m_bPrivate = 1;
    dialog.SetRecord(&task);
    EXPECT_EQ(Text(&dialog, "edtPriority"), "5");
    EXPECT_EQ(Text(&dialog, "edtDueDate"), "N/A");
    EXPECT_TRUE(Ticked(&dialog, "cbPrivate"));
}

TEST(TfmNoteDetail, ShowsTheMemo) {
    GuiApp();
    TfmNoteDetail dialog;
    EXPECT_EQ(dialog.objectName().toStdString(), "TfmNoteDetail");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Note detail information");
    CommNoteRec memo;
    memo.m_szCategory = "Work";
    memo.m_szNote = "Groceries\r\nmilk";
    dialog.SetRecord(&memo);
    EXPECT_EQ(Text(&dialog, "edtCategory"), "Work");
    EXPECT_EQ(Text(&dialog, "memNotes"), "Groceries\nmilk");
    dialog.show();
    Find<QPushButton>(&dialog, "btnClose")->click();
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace tabrel
