// The four record pages: the list's columns and rows in both directions, ticking (buttons
// and pop-up menu), leaving (positions stored, refusal when nothing is ticked), rebuilding
// on every entry, and the detail dialogs opened from the current row.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/TfmAddrData.h"
#include "gui/TfmDateData.h"
#include "gui/TfmMemoData.h"
#include "gui/TfmTodoData.h"
#include "palm/dat/PmTime.h"
#include "support/ClassicWriter.h"
#include "support/PmAddrInfoTestFiles.h"
#include "support/PmDateInfoTestFiles.h"

namespace tabrel {

using namespace test;

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr std::uint32_t kPalm6 = 60001;

// The state a record page works on: a job, the settings' application and direction.
struct PageState {
    PageState(int app, int mode) {
        GuiApp();
        state.m_pJob = std::make_unique<ConversionJob>(kPalm6);
        state.m_settings.m_nApp = app;
        state.m_settings.m_nMode = mode;
        state.Job().m_nApp = app;
    }

    IsolatedDesktop desktop;
    TempDir dir;
    WizardState state;
};

Rows RowTexts(const QTreeWidget* list) {
    Rows rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < list->columnCount(); ++column) {
            texts.push_back(list->topLevelItem(row)->text(column).toStdString());
        }
        rows.push_back(texts);
    }
    return rows;
}

std::vector<bool> Ticks(const QTreeWidget* list) {
    std::vector<bool> ticks;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        ticks.push_back(list->topLevelItem(row)->checkState(0) == Qt::Checked);
    }
    return ticks;
}

void Tick(QTreeWidget* list, int row) {
    list->topLevelItem(row)->setCheckState(0, Qt::Checked);
}

std::vector<std::string> Headings(const QTreeWidget* list) {
    std::vector<std::string> headings;
    for (int column = 0; column < list->columnCount(); ++column) {
        headings.push_back(list->headerItem()->text(column).toStdString() + " " +
                           std::to_string(list->columnWidth(column)));
    }
    return headings;
}

// Leaves the page, which must refuse with one error message box; answers its text.
std::string RefusalOnLeaving(TfmPage& page) {
    bool left = true;
    const std::vector<ShownMessage> shown = AnswerMessages([&] { left = page.PageHook(false); });
    EXPECT_FALSE(left);
    if (shown.size() != 1) {
        ADD_FAILURE() << "expected one message, got " << shown.size();
        return {};
    }
    EXPECT_EQ(shown[0].caption, "Tabrel Error");
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    return shown[0].text;
}

// Runs action; each modal dialog it shows is handed to inspect and closed. Answers how many
// were shown.
int DriveDialogs(const std::function<void()>& action,
                 const std::function<void(QDialog&)>& inspect) {
    int shown = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            ++shown;
            inspect(*dialog);
            dialog->done(QDialog::Rejected);
        }
    });
    timer.start();
    action();
    timer.stop();
    return shown;
}

// The text of a one-line box of a dialog.
std::string BoxText(const QDialog& dialog, const char* name) {
    const auto* box = Find<QLineEdit>(&dialog, name);
    return box != nullptr ? box->text().toStdString() : std::string();
}

std::string WriteTasks(const TempDir& dir) {
    ClassicFile file = ClassicTodoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    const auto noDate = static_cast<std::uint32_t>(kPmTimeNoDate);
    file.records = {
        ClassicTodoRecord({.id = 11}, {.description = "Taxes",
                                       .dueDate = 1136116800,  // 2006-01-01 12:00:00 UTC
                                       .completed = 1,
                                       .priority = 1,
                                       .category = 1,
                                       .note = "Receipts"}),
        ClassicTodoRecord({.id = 12},
                          {.description = "Call Ann", .dueDate = noDate, .priority = 5}),  // 5: Low
        ClassicTodoRecord({.id = 13, .status = 0x80}, {.description = "Gone", .dueDate = noDate})};
    const std::string path = dir.File("todo.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteMemos(const TempDir& dir, int count) {
    ClassicFile file = ClassicMemoFile();
    for (int i = 0; i < count; ++i) {
        file.records.push_back(ClassicMemoRecord({.id = static_cast<std::uint32_t>(100 + i)},
                                                 "Memo " + std::to_string(i)));
    }
    const std::string path = dir.File("memopad.dat");
    WriteFile(path, file.Build());
    return path;
}

}  // namespace

TEST(TfmAddrData, ListsTheLoadedContactsUntickedWithTheirColumns) {
    PageState s(AppContacts, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    TfmAddrData page(s.state, nullptr);
    EXPECT_EQ(page.objectName().toStdString(), "TfmAddrData");
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Headings(list),
              (std::vector<std::string>{"First Name 80", "Last Name 80", "Email 120",
                                        "Business Phone 100", "Home Phone 100", "Mobile Phone 100",
                                        "Company 100", "Title 80"}));
    EXPECT_EQ(Find<QPushButton>(&page, "btnSelAll")->text().toStdString(), "&Select All");
    EXPECT_EQ(Find<QPushButton>(&page, "btnClear")->text().toStdString(), "Clea&r");
    EXPECT_EQ(Find<QPushButton>(&page, "btnAddrDetail")->text().toStdString(), "&Details");
    std::vector<std::string> menu;
    for (const QAction* action : list->actions()) {
        menu.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    EXPECT_EQ(menu,
              (std::vector<std::string>{"&Select All", "&Clear All", "-", "&Detail Information"}));
    EXPECT_EQ(list->contextMenuPolicy(), Qt::ActionsContextMenu);

    ASSERT_TRUE(page.PageHook(true));
    // The deleted contact is not listed.
    EXPECT_EQ(RowTexts(list), (Rows{{"Ann", "Lee", "ann@acme.example", "555-0101", "555-0102",
                                     "555-0103", "Acme", "Boss"},
                                    {"Bob", "Ray", "", "", "", "555-0202", "Ray Co", ""}}));
    EXPECT_EQ(Ticks(list), (std::vector<bool>{false, false}));
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
}

TEST(TfmAddrData, SelectAllClearAndTheMenuTickAndLeavingStoresThePositions) {
    PageState s(AppContacts, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    TfmAddrData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    page.PageHook(true);

    Find<QPushButton>(&page, "btnSelAll")->click();
    EXPECT_EQ(Ticks(list), (std::vector<bool>{true, true}));
    EXPECT_TRUE(page.PageHook(false));
    EXPECT_EQ(s.state.Job().m_selectedRecords, (std::vector<std::size_t>{0, 1}));

    Find<QPushButton>(&page, "btnClear")->click();
    EXPECT_EQ(Ticks(list), (std::vector<bool>{false, false}));
    Find<QAction>(&page, "miSelectAll")->trigger();
    EXPECT_EQ(Ticks(list), (std::vector<bool>{true, true}));
    Find<QAction>(&page, "miClearAll")->trigger();
    EXPECT_EQ(Ticks(list), (std::vector<bool>{false, false}));

    Tick(list, 1);
    EXPECT_TRUE(page.PageHook(false));
    EXPECT_EQ(s.state.Job().m_selectedRecords, (std::vector<std::size_t>{1}));
}

TEST(TfmAddrData, LeavingWithNothingTickedRefusesWithTheMessage) {
    PageState s(AppContacts, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    TfmAddrData page(s.state, nullptr);
    page.PageHook(true);
    s.state.Job().m_selectedRecords = {7};
    EXPECT_EQ(RefusalOnLeaving(page),
              "No contact record is selected. Please select the records you want to convert.");
    EXPECT_TRUE(s.state.Job().m_selectedRecords.empty());
}

TEST(TfmAddrData, EnteringAgainRebuildsTheListUnticked) {
    PageState s(AppContacts, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    TfmAddrData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    page.PageHook(true);
    Find<QPushButton>(&page, "btnSelAll")->click();
    list->setCurrentItem(list->topLevelItem(1));
    page.PageHook(true);
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(Ticks(list), (std::vector<bool>{false, false}));
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
}

TEST(TfmAddrData, CsvToPalmListsTheImportRecordsWithTheTitleRow) {
    PageState s(AppContacts, ModeCsvToPalm);
    // Palm Desktop data is loaded too; this direction lists the imports only.
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    CommAddrRec title;
    title.m_szFirstName = "First Name";
    title.m_szLastName = "Last Name";
    CommAddrRec rene;
    rene.m_szFirstName = "Ren\xE9";  // ANSI
    rene.m_szLastName = "Roy";
    rene.m_szEmail = "rene@roy.example";
    s.state.Job().AddrImports() = {title, rene};
    TfmAddrData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    page.PageHook(true);
    EXPECT_EQ(RowTexts(list), (Rows{{"First Name", "Last Name", "", "", "", "", "", ""},
                                    {"Ren\u00e9", "Roy", "rene@roy.example", "", "", "", "", ""}}));
    // The title row stays out of the conversion when it is left unticked.
    Tick(list, 1);
    EXPECT_TRUE(page.PageHook(false));
    EXPECT_EQ(s.state.Job().m_selectedRecords, (std::vector<std::size_t>{1}));
}

TEST(TfmAddrData, DetailsShowTheCurrentRowsContact) {
    PageState s(AppContacts, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Addr().LoadByFile(addrinfo::WriteClassic(s.dir)));
    TfmAddrData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    page.PageHook(true);
    std::vector<std::string> seen;
    const auto inspect = [&](QDialog& dialog) {
        seen.push_back(dialog.objectName().toStdString() + " " + BoxText(dialog, "edtFirst") + " " +
                       BoxText(dialog, "edtMobileTel"));
    };
    EXPECT_EQ(DriveDialogs([&] { Find<QPushButton>(&page, "btnAddrDetail")->click(); }, inspect),
              1);
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(DriveDialogs([&] { Find<QAction>(&page, "miDetail")->trigger(); }, inspect), 1);
    EXPECT_EQ(
        DriveDialogs([&] { emit list->itemDoubleClicked(list->topLevelItem(1), 2); }, inspect), 1);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"TfmAddrDetail Ann 555-0103", "TfmAddrDetail Bob 555-0202",
                                        "TfmAddrDetail Bob 555-0202"}));
}

TEST(TfmAddrData, AnEmptyListRefusesAndDetailsDoNothing) {
    PageState s(AppContacts, ModeCsvToPalm);
    TfmAddrData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvAddrData");
    page.PageHook(true);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(list->currentItem(), nullptr);
    const auto none = [](QDialog&) {};
    EXPECT_EQ(DriveDialogs([&] { Find<QPushButton>(&page, "btnAddrDetail")->click(); }, none), 0);
    EXPECT_EQ(DriveDialogs([&] { page.ShowDetails(); }, none), 0);
    Find<QPushButton>(&page, "btnSelAll")->click();
    EXPECT_EQ(RefusalOnLeaving(page),
              "No contact record is selected. Please select the records you want to convert.");
}

TEST(TfmDateData, ListsTheEventsAndShowsTheirDetails) {
    PageState s(AppCalendar, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Date().LoadByFile(dateinfo::WriteClassic(s.dir)));
    TfmDateData page(s.state, nullptr);
    EXPECT_EQ(page.objectName().toStdString(), "TfmDateData");
    auto* list = Find<QTreeWidget>(&page, "lvDateData");
    EXPECT_EQ(Headings(list), (std::vector<std::string>{"Description 200", "Date 100",
                                                        "Start Time 100", "End Time 100"}));
    page.PageHook(true);
    const Rows rows = RowTexts(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Meeting", "01/02/2006", "09:00:00", "10:00:00"}));
    // The birthday has no end; its end time is whatever the store makes of "no date".
    EXPECT_EQ(std::vector<std::string>(rows[1].begin(), rows[1].begin() + 3),
              (std::vector<std::string>{"Birthday", "05/21/2006", "00:00:00"}));
    std::string seen;
    EXPECT_EQ(DriveDialogs([&] { Find<QPushButton>(&page, "btnDateDetail")->click(); },
                           [&](QDialog& dialog) {
                               seen = dialog.objectName().toStdString() + " " +
                                      BoxText(dialog, "edtDesc") + " " +
                                      BoxText(dialog, "edtRecurWeeks");
                           }),
              1);
    EXPECT_EQ(seen, "TfmDateDetail Meeting 2");

    EXPECT_EQ(RefusalOnLeaving(page),
              "No calendar record is selected. Please select the records you want to convert.");
    Tick(list, 0);
    EXPECT_TRUE(page.PageHook(false));
    EXPECT_EQ(s.state.Job().m_selectedRecords, (std::vector<std::size_t>{0}));
}

TEST(TfmTodoData, ListsTheTasksAndShowsTheirDetails) {
    PageState s(AppTasks, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Todo().LoadByFile(WriteTasks(s.dir)));
    TfmTodoData page(s.state, nullptr);
    EXPECT_EQ(page.objectName().toStdString(), "TfmTodoData");
    auto* list = Find<QTreeWidget>(&page, "lvTodoData");
    EXPECT_EQ(Headings(list), (std::vector<std::string>{"Description 200", "Due Date 100",
                                                        "Priority 80", "Completed 80"}));
    page.PageHook(true);
    EXPECT_EQ(RowTexts(list),
              (Rows{{"Taxes", "01/01/2006", "High", "Yes"}, {"Call Ann", "N/A", "Low", "No"}}));
    list->setCurrentItem(list->topLevelItem(1));
    std::string seen;
    EXPECT_EQ(DriveDialogs([&] { Find<QPushButton>(&page, "btnTodoDetail")->click(); },
                           [&](QDialog& dialog) {
                               seen = dialog.objectName().toStdString() + " " +
                                      BoxText(dialog, "edtDesc") + " " +
                                      BoxText(dialog, "edtPriority");
                           }),
              1);
    EXPECT_EQ(seen, "TfmTodoDetail Call Ann 2");

    EXPECT_EQ(RefusalOnLeaving(page),
              "No task record is selected. Please select the records you want to convert.");
}

TEST(TfmTodoData, CsvToPalmListsTheImportRecords) {
    PageState s(AppTasks, ModeCsvToPalm);
    CommTaskRec task;
    task.m_szSubject = "Pay rent";
    task.m_nPriority = 3;
    task.m_bCompleted = 1;
    s.state.Job().TaskImports() = {task};
    TfmTodoData page(s.state, nullptr);
    auto* list = Find<QTreeWidget>(&page, "lvTodoData");
    page.PageHook(true);
    EXPECT_EQ(RowTexts(list), (Rows{{"Pay rent", "N/A", "Normal", "Yes"}}));
    std::string seen;
    DriveDialogs([&] { emit list->itemDoubleClicked(list->topLevelItem(0), 0); },
                 [&](QDialog& dialog) { seen = BoxText(dialog, "edtDesc"); });
    EXPECT_EQ(seen, "Pay rent");
}

TEST(TfmMemoData, FiveHundredMemosSelectAllInListOrder) {
    PageState s(AppMemos, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Memo().LoadByFile(WriteMemos(s.dir, 500)));
    TfmMemoData page(s.state, nullptr);
    EXPECT_EQ(page.objectName().toStdString(), "TfmMemoData");
    auto* list = Find<QTreeWidget>(&page, "lvMemoData");
    EXPECT_EQ(Headings(list), (std::vector<std::string>{"Description 550"}));
    page.PageHook(true);
    ASSERT_EQ(list->topLevelItemCount(), 500);
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), "Memo 0");
    EXPECT_EQ(list->topLevelItem(499)->text(0).toStdString(), "Memo 499");
    EXPECT_EQ(Ticks(list), std::vector<bool>(500, false));
    Find<QPushButton>(&page, "btnSelAll")->click();
    EXPECT_TRUE(page.PageHook(false));
    std::vector<std::size_t> all(500);
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    EXPECT_EQ(s.state.Job().m_selectedRecords, all);

    list->setCurrentItem(list->topLevelItem(42));
    std::string seen;
    DriveDialogs([&] { Find<QPushButton>(&page, "btnMemoDetail")->click(); },
                 [&](QDialog& dialog) {
                     seen = dialog.objectName().toStdString() + " " +
                            Find<QPlainTextEdit>(&dialog, "memNotes")->toPlainText().toStdString();
                 });
    EXPECT_EQ(seen, "TfmNoteDetail Memo 42");
}

TEST(TfmMemoData, NothingTickedRefusesWithTheMemoMessage) {
    PageState s(AppMemos, ModePalmToCsv);
    ASSERT_TRUE(s.state.Job().Memo().LoadByFile(WriteMemos(s.dir, 2)));
    TfmMemoData page(s.state, nullptr);
    page.PageHook(true);
    EXPECT_EQ(RefusalOnLeaving(page),
              "No memo record is selected. Please select the records you want to convert.");
}

}  // namespace tabrel
