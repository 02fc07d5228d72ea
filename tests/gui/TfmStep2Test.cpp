// The source page: its first entry from the settings, its click rules, the checks made when
// it is left (every refusal, in order) and what leaving it stores, and its browse dialogs.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <tuple>

#include "WizardRun.h"
#include "palm/desktop/UserDataLibrary.h"
#include "support/JetWriter.h"
#include "support/PmAddrInfoTestFiles.h"
#include "support/PmDateInfoTestFiles.h"

namespace tabrel {

using namespace test;

namespace {

constexpr int kFieldPage = 2;

// The wizard on the source page; the mode page is left with its first-entry choices.
struct SourcePage {
    explicit SourcePage(const std::string& settingsText = "",
                        const std::vector<std::string>& users = {})
        : run(settingsText, users) {
        EXPECT_TRUE(run.Next().empty());
        EXPECT_EQ(run.Window().GetPageIndex(), 1);
    }
    QLineEdit* Edit(const char* name) { return run.Get<QLineEdit>(name); }
    QRadioButton* Radio(const char* name) { return run.Get<QRadioButton>(name); }
    bool Enabled(const char* name) { return run.Get<QWidget>(name)->isEnabled(); }
    // A Contacts file by name and a CSV file name that can be written.
    void UseGoodFiles() {
        Radio("rbtnPDFile")->click();
        Edit("edtPDFile")->setText(QString::fromStdString(addrinfo::WriteClassic(run.Files())));
        Edit("edtCSVFile")->setText(QString::fromStdString(run.File("out.csv")));
    }
    // Next, expecting exactly one refusal; answers its text.
    std::string Refusal() {
        const std::vector<ShownMessage> shown = run.Next();
        EXPECT_EQ(run.Window().GetPageIndex(), 1);
        EXPECT_EQ(run.Window().GetShownPage(), run.Window().GetPage(1));
        if (shown.size() != 1) {
            ADD_FAILURE() << "expected one message, got " << shown.size();
            return {};
        }
        EXPECT_EQ(shown[0].caption, "Tabrel Error");
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
        return shown[0].text;
    }

    WizardRun run;
};

// Accepts a file dialog from its own event loop: a refusal opens a message box, which must
// not run inside the timer that drives the dialog.
void Accept(QFileDialog& dialog) {
    QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
}

// Selects path in a file dialog. The dialog leaves its name box alone while the box has the
// focus, which it may or may not have yet when the dialog is first seen.
void Choose(QFileDialog& dialog, const std::string& path) {
    if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit")) {
        name->clearFocus();
    }
    dialog.selectFile(QString::fromStdString(path));
}

// Runs action; handle is given every file dialog it shows (once per poll while one is up).
void WithFileDialog(const std::function<void()>& action,
                    const std::function<void(QFileDialog&)>& handle) {
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && dialog->isVisible()) {
            handle(*dialog);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            box->done(QMessageBox::Ok);
        }
    });
    timer.start();
    action();
    timer.stop();
}

}  // namespace

TEST(TfmStep2, DefaultsWithoutASettingsFile) {
    SourcePage page;
    // No Palm users here: by user, with an empty user list.
    EXPECT_TRUE(page.Radio("rbtnPDUser")->isChecked());
    EXPECT_EQ(page.run.Get<QComboBox>("cbUser")->count(), 0);
    EXPECT_EQ(page.run.Get<QComboBox>("cbUser")->currentIndex(), -1);
    EXPECT_TRUE(page.Radio("rbtnQuoteDouble")->isChecked());
    EXPECT_TRUE(page.Radio("rbtnOverwrite")->isChecked());
    EXPECT_FALSE(page.run.Get<QCheckBox>("cbAddTitle")->isChecked());
    auto* encoding = page.run.Get<QComboBox>("cbEncoding");
    ASSERT_EQ(encoding->count(), 2);
    EXPECT_EQ(encoding->itemText(1).toStdString(), "UTF-8");
    EXPECT_EQ(encoding->currentText().toStdString(), "ANSI");
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), "");
    EXPECT_EQ(page.Edit("edtCSVFile")->text().toStdString(), "");
    EXPECT_TRUE(page.Enabled("cbUser"));
    EXPECT_FALSE(page.Enabled("edtPDFile"));
    EXPECT_FALSE(page.Enabled("btnPDBrowse"));
    EXPECT_FALSE(page.Enabled("edtQuoteCustom"));
}

TEST(TfmStep2, FirstEntryFillsThePageFromTheSettings) {
    SourcePage page(
        "[Tabrel]\nPmDataMode=2\nPmAddrFile=/data/address.dat\nCsvAddrFile=/data/out.csv\n"
        "PmDateFile=/data/datebook.dat\nQuoteMark=#!\nAppendCSV=1\nAddTitle=1\n"
        "CsvEncoding=UTF-8\n");
    EXPECT_TRUE(page.Radio("rbtnPDFile")->isChecked());
    EXPECT_FALSE(page.Enabled("cbUser"));
    EXPECT_TRUE(page.Enabled("edtPDFile"));
    EXPECT_TRUE(page.Enabled("btnPDBrowse"));
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), "/data/address.dat");
    EXPECT_EQ(page.Edit("edtCSVFile")->text().toStdString(), "/data/out.csv");
    EXPECT_TRUE(page.Radio("rbtnQuoteCustom")->isChecked());
    EXPECT_TRUE(page.Enabled("edtQuoteCustom"));
    EXPECT_EQ(page.Edit("edtQuoteCustom")->text().toStdString(), "#!");
    EXPECT_TRUE(page.Radio("rbtnAppend")->isChecked());
    EXPECT_TRUE(page.run.Get<QCheckBox>("cbAddTitle")->isChecked());
    EXPECT_EQ(page.run.Get<QComboBox>("cbEncoding")->currentText().toStdString(), "UTF-8");

    // Later entries change nothing, even for another application.
    page.Edit("edtPDFile")->setText("typed.dat");
    page.run.Click("btnPrev");
    page.run.Get<QRadioButton>("rbtnDate")->click();
    page.run.Next();
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), "typed.dat");
    EXPECT_EQ(page.Edit("edtCSVFile")->text().toStdString(), "/data/out.csv");
}

TEST(TfmStep2, FirstEntryQuotationMarks) {
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"[Tabrel]\nQuoteMark=\n", "rbtnQuoteNone"},
        {"[Tabrel]\nQuoteMark='\n", "rbtnQuoteSingle"},
    };
    for (const auto& [settings, ticked] : cases) {
        SourcePage page(settings);
        EXPECT_TRUE(page.Radio(ticked)->isChecked()) << settings;
        EXPECT_FALSE(page.Enabled("edtQuoteCustom")) << settings;
        EXPECT_EQ(page.Edit("edtQuoteCustom")->text().toStdString(), "") << settings;
    }
}

TEST(TfmStep2, AnUnknownDataModeShowsDataByUser) {
    SourcePage page("[Tabrel]\nPmDataMode=5\n");
    EXPECT_TRUE(page.Radio("rbtnPDUser")->isChecked());
    EXPECT_FALSE(page.Radio("rbtnPDFile")->isChecked());
    EXPECT_TRUE(page.Enabled("cbUser"));
    EXPECT_FALSE(page.Enabled("edtPDFile"));
}

TEST(TfmStep2, UserListChoosesTheSettingsUserElseTheFirst) {
    const std::int32_t bob = UserDataLibrary::HashUserName("Bob");
    {
        SourcePage page(fmt::format("[Tabrel]\nPmUserID={}\n", bob), {"Alice", "Bob", "Carol"});
        auto* users = page.run.Get<QComboBox>("cbUser");
        ASSERT_EQ(users->count(), 3);
        EXPECT_EQ(users->itemText(0).toStdString(), "Alice");
        EXPECT_EQ(users->itemText(2).toStdString(), "Carol");
        EXPECT_EQ(users->currentText().toStdString(), "Bob");
    }
    {
        SourcePage page("[Tabrel]\nPmUserID=12345\n", {"Alice", "Bob"});
        EXPECT_EQ(page.run.Get<QComboBox>("cbUser")->currentText().toStdString(), "Alice");
    }
}

TEST(TfmStep2, ClickRules) {
    SourcePage page;
    page.Radio("rbtnPDFile")->click();
    EXPECT_FALSE(page.Enabled("cbUser"));
    EXPECT_TRUE(page.Enabled("edtPDFile"));
    EXPECT_TRUE(page.Enabled("btnPDBrowse"));
    page.Radio("rbtnPDUser")->click();
    EXPECT_TRUE(page.Enabled("cbUser"));
    EXPECT_FALSE(page.Enabled("edtPDFile"));
    EXPECT_FALSE(page.Enabled("btnPDBrowse"));

    page.Radio("rbtnQuoteCustom")->click();
    EXPECT_TRUE(page.Enabled("edtQuoteCustom"));
    for (const char* other : {"rbtnQuoteNone", "rbtnQuoteDouble", "rbtnQuoteSingle"}) {
        page.Radio(other)->click();
        EXPECT_FALSE(page.Enabled("edtQuoteCustom")) << other;
        page.Radio("rbtnQuoteCustom")->click();
        EXPECT_TRUE(page.Enabled("edtQuoteCustom")) << other;
    }
    // The groups tick one button each.
    page.Radio("rbtnAppend")->click();
    EXPECT_FALSE(page.Radio("rbtnOverwrite")->isChecked());
    EXPECT_TRUE(page.Radio("rbtnQuoteCustom")->isChecked());
    EXPECT_TRUE(page.Radio("rbtnPDUser")->isChecked());
}

TEST(TfmStep2, ByUserWithoutUsersIsRefused) {
    SourcePage page("[Tabrel]\nPmUserID=77\n");
    EXPECT_EQ(page.Refusal(),
              "No Palm user is selected. Please select a Palm user, or select the data by file "
              "name.");
    EXPECT_EQ(page.run.Settings().m_nPmDataMode, PmDataByUser);
    EXPECT_EQ(page.run.Settings().m_nPmUserId, 77);
}

TEST(TfmStep2, RefusalsOfThePalmDesktopData) {
    SourcePage page;
    page.UseGoodFiles();
    const std::string junk = page.run.File("junk.dat");
    WriteTextFile(junk, "not a Palm Desktop file");
    page.Edit("edtPDFile")->setText(QString::fromStdString(junk));
    EXPECT_EQ(page.Refusal(), "Invalid Palm Desktop Contacts database file.");
    EXPECT_EQ(page.run.Settings().m_nPmDataMode, PmDataByFile);
    // The check refuses before the name is stored.
    EXPECT_EQ(page.run.Settings().m_szPmAddrFile, "");

    // An empty name passes the check and fails at the load, after it was stored.
    page.run.Settings().m_szPmAddrFile = "old.dat";
    page.Edit("edtPDFile")->clear();
    EXPECT_EQ(page.Refusal(), "Error opening the Palm Desktop database.");
    EXPECT_EQ(page.run.Settings().m_szPmAddrFile, "");
}

TEST(TfmStep2, TheInvalidFileMessageNamesTheApplication) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"rbtnDate", "Invalid Palm Desktop Calendar database file."},
        {"rbtnTodo", "Invalid Palm Desktop Tasks database file."},
        {"rbtnMemo", "Invalid Palm Desktop Memos database file."}};
    for (const auto& [app, message] : cases) {
        WizardRun run;
        run.Get<QRadioButton>(app)->click();
        run.Next();
        run.Get<QRadioButton>("rbtnPDFile")->click();
        WriteTextFile(run.File("junk.dat"), "junk");
        run.Get<QLineEdit>("edtPDFile")->setText(QString::fromStdString(run.File("junk.dat")));
        EXPECT_EQ(Texts(run.Next()), std::vector<std::string>{message});
    }
}

TEST(TfmStep2, APalmDesktop6JetFileItCannotWriteIsReadButNeverWritten) {
    SourcePage page;
    page.UseGoodFiles();
    const std::string jet = page.run.File("Address.mdb");
    // Without the long-value page maps a real engine writes, the file cannot be written.
    const std::vector<std::uint8_t> bytes =
        BuildJetDatabase(JetPalmTables(JetPalmApp::Contacts), WithoutLongValueMaps());
    WriteFile(jet, bytes);
    page.Edit("edtPDFile")->setText(QString::fromStdString(jet));
    EXPECT_TRUE(page.run.Next().empty());  // Palm Desktop to CSV reads it
    EXPECT_EQ(page.run.Window().GetPageIndex(), kFieldPage);

    page.run.Click("btnPrev");
    page.run.Click("btnPrev");
    page.run.Get<QRadioButton>("rbtnC2P")->click();
    page.run.Next();
    WriteTextFile(page.run.File("in.csv"), "Lee,Ann\r\n");
    page.Edit("edtPDFile")->setText(QString::fromStdString(jet));
    page.Edit("edtCSVFile")->setText(QString::fromStdString(page.run.File("in.csv")));
    EXPECT_EQ(page.Refusal(), "The Palm Desktop 6.x database " + jet +
                                  " cannot be written safely. The table Information cannot be "
                                  "written: a long-value column has no page map. Nothing was "
                                  "written. Export the records to CSV, or choose a file of Palm "
                                  "Desktop 4.x.");
    EXPECT_EQ(ReadFile(jet), bytes);
}

TEST(TfmStep2, ByUserLoadsTheUsersDatabase) {
    SourcePage page("", {"Alice", "Bob"});
    page.Edit("edtCSVFile")->setText(QString::fromStdString(page.run.File("out.csv")));
    page.run.Get<QComboBox>("cbUser")->setCurrentIndex(1);
    // Bob has no Contacts database.
    EXPECT_EQ(page.Refusal(), "Error opening the Palm Desktop database.");
    EXPECT_EQ(page.run.Settings().m_nPmUserId, UserDataLibrary::HashUserName("Bob"));

    addrinfo::WriteEx2(page.run.Files(), "Palm/Bob/address/Address.mdb");
    EXPECT_TRUE(page.run.Next().empty());
    EXPECT_EQ(page.run.Window().GetPageIndex(), kFieldPage);
    EXPECT_EQ(page.run.Settings().m_nPmDataMode, PmDataByUser);
    EXPECT_EQ(page.run.State().Job().GetRecordCount(ModePalmToCsv), 2u);
}

TEST(TfmStep2, RefusalsOfTheCsvFile) {
    SourcePage page;
    page.UseGoodFiles();
    page.Edit("edtCSVFile")->clear();
    EXPECT_EQ(page.Refusal(), "Invalid CSV file name. Please try another one.");
    // What the earlier steps stored stays.
    EXPECT_EQ(page.run.Settings().m_nPmDataMode, PmDataByFile);
    EXPECT_EQ(page.run.Settings().m_szPmAddrFile, page.run.File("address.dat"));

    const std::string unwritable = page.run.File("missing/out.csv");
    page.Edit("edtCSVFile")->setText(QString::fromStdString(unwritable));
    EXPECT_EQ(page.Refusal(), "Error opening CSV file: " + unwritable);
}

TEST(TfmStep2, CsvToPalmNeedsAnExistingCsvFile) {
    WizardRun run;
    run.Get<QRadioButton>("rbtnC2P")->click();
    run.Next();
    run.Get<QRadioButton>("rbtnPDFile")->click();
    run.Get<QLineEdit>("edtPDFile")
        ->setText(QString::fromStdString(addrinfo::WriteClassic(run.Files())));
    run.Get<QLineEdit>("edtCSVFile")->setText(QString::fromStdString(run.File("in.csv")));
    EXPECT_EQ(
        Texts(run.Next()),
        std::vector<std::string>{"Invalid CSV file name. Please specify an existing CSV file."});
    EXPECT_EQ(run.Window().GetPageIndex(), 1);

    WriteTextFile(run.File("in.csv"), "\"Lee\",\"Ann\"\r\n");
    EXPECT_TRUE(run.Next().empty());
    EXPECT_EQ(run.Window().GetPageIndex(), kFieldPage);
    EXPECT_EQ(run.Settings().m_szCsvAddrFile, run.File("in.csv"));
}

TEST(TfmStep2, NextStoresTheChoicesAndKeepsTheCsvFile) {
    SourcePage page("[Tabrel]\nAppendCSV=1\n");
    page.UseGoodFiles();
    // An existing CSV file is replaced by the pass, not emptied when the page is left.
    WriteTextFile(page.run.File("out.csv"), "kept\r\n");
    page.Radio("rbtnOverwrite")->click();
    page.Radio("rbtnQuoteSingle")->click();
    page.run.Get<QCheckBox>("cbAddTitle")->setChecked(true);
    page.run.Get<QComboBox>("cbEncoding")->setCurrentIndex(1);
    EXPECT_TRUE(page.run.Next().empty());

    EXPECT_EQ(page.run.Window().GetPageIndex(), kFieldPage);
    EXPECT_EQ(page.run.Window().GetShownPage(), page.run.Window().GetPage(kFieldPage));
    const AppSettings& settings = page.run.Settings();
    EXPECT_EQ(settings.m_nPmDataMode, PmDataByFile);
    EXPECT_EQ(settings.m_szPmAddrFile, page.run.File("address.dat"));
    EXPECT_EQ(settings.m_szCsvAddrFile, page.run.File("out.csv"));
    EXPECT_EQ(settings.m_szQuoteMark, "'");
    EXPECT_EQ(settings.m_nAppendCsv, 0);
    EXPECT_TRUE(settings.m_bAddTitle);
    EXPECT_EQ(settings.m_szCsvEncoding, "UTF-8");
    EXPECT_EQ(page.run.State().Job().m_szCsvPath, page.run.File("out.csv"));
    EXPECT_EQ(page.run.State().Job().GetRecordCount(ModePalmToCsv), 2u);
    EXPECT_EQ(ReadTextFile(page.run.File("out.csv")), "kept\r\n");
}

TEST(TfmStep2, QuotationMarkRules) {
    const std::vector<std::tuple<const char*, const char*, std::string>> cases = {
        {"rbtnQuoteNone", "", ""},
        {"rbtnQuoteDouble", "", "\""},
        {"rbtnQuoteCustom", "", ""},
        {"rbtnQuoteCustom", "12345678", "123456"},
        {"rbtnQuoteCustom", "|", "|"},
        // The custom box counts only while Custom is ticked.
        {"rbtnQuoteSingle", "#", "'"}};
    for (const auto& [button, custom, stored] : cases) {
        SourcePage page;
        page.UseGoodFiles();
        page.Radio("rbtnQuoteCustom")->click();
        page.Edit("edtQuoteCustom")->setText(custom);
        page.Radio(button)->click();
        EXPECT_TRUE(page.run.Next().empty());
        EXPECT_EQ(page.run.Settings().m_szQuoteMark, stored) << button << " " << custom;
    }
}

TEST(TfmStep2, AChangedApplicationStoresTheBoxesUnderItsKeys) {
    SourcePage page("[Tabrel]\nPmDataMode=2\nCsvAddrFile=/data/contacts.csv\n");
    const std::string datebook = dateinfo::WriteClassic(page.run.Files());
    page.Edit("edtPDFile")->setText(QString::fromStdString(datebook));
    page.Edit("edtCSVFile")->setText(QString::fromStdString(page.run.File("dates.csv")));
    page.run.Click("btnPrev");
    page.run.Get<QRadioButton>("rbtnDate")->click();
    page.run.Next();
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), datebook);
    EXPECT_TRUE(page.run.Next().empty());
    EXPECT_EQ(page.run.Window().GetPageIndex(), kFieldPage);
    const AppSettings& settings = page.run.Settings();
    EXPECT_EQ(settings.m_szPmDateFile, datebook);
    EXPECT_EQ(settings.m_szCsvDateFile, page.run.File("dates.csv"));
    EXPECT_EQ(settings.m_szPmAddrFile, "");
    EXPECT_EQ(settings.m_szCsvAddrFile, "/data/contacts.csv");
}

TEST(TfmStep2, ALongPalmFileNameIsLoadedAndStoredCut) {
    SourcePage page;
    page.UseGoodFiles();
    const std::string folders = std::string(130, 'a') + "/" + std::string(130, 'b');
    std::filesystem::create_directories(page.run.File(folders));
    const std::string longName = addrinfo::WriteClassic(page.run.Files(), folders + "/c.dat");
    ASSERT_GT(longName.size(), 259u);
    page.Edit("edtPDFile")->setText(QString::fromStdString(longName));
    EXPECT_TRUE(page.run.Next().empty());
    EXPECT_EQ(page.run.Settings().m_szPmAddrFile, longName.substr(0, 259));
    EXPECT_EQ(page.run.State().Job().GetRecordCount(ModePalmToCsv), 2u);
}

TEST(TfmStep2, PalmDesktopBrowseDialog) {
    SourcePage page;
    page.Radio("rbtnPDFile")->click();
    const std::string datebook = page.run.File("datebook.dat");
    WriteTextFile(datebook, "x");
    std::vector<std::string> titles;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    WithFileDialog([&] { page.run.Get<QPushButton>("btnPDBrowse")->click(); },
                   [&](QFileDialog& dialog) {
                       titles.push_back(dialog.windowTitle().toStdString());
                       filters = dialog.nameFilters();
                       mode = dialog.fileMode();
                       Choose(dialog, datebook);
                       Accept(dialog);
                   });
    EXPECT_EQ(titles, std::vector<std::string>{"Open Palm Desktop Contacts data file"});
    EXPECT_EQ(filters, (QStringList{"Palm Desktop Database File(*.dat *.mdb)", "All Files(*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), datebook);

    // A file that does not exist is not taken; cancelling keeps the box.
    int shown = 0;
    WithFileDialog([&] { page.run.Get<QPushButton>("btnPDBrowse")->click(); },
                   [&](QFileDialog& dialog) {
                       if (++shown == 1) {
                           Choose(dialog, page.run.File("none.dat"));
                           Accept(dialog);
                       } else {
                           dialog.reject();
                       }
                   });
    EXPECT_GE(shown, 2);
    EXPECT_EQ(page.Edit("edtPDFile")->text().toStdString(), datebook);
}

TEST(TfmStep2, CsvBrowseDialogTakesANewName) {
    WizardRun run;
    run.Get<QRadioButton>("rbtnMemo")->click();
    run.Next();
    std::string title;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::ExistingFile;
    const std::string fresh = run.File("new.csv");
    WithFileDialog([&] { run.Get<QPushButton>("btnCSVBrowse")->click(); },
                   [&](QFileDialog& dialog) {
                       title = dialog.windowTitle().toStdString();
                       filters = dialog.nameFilters();
                       mode = dialog.fileMode();
                       Choose(dialog, fresh);
                       Accept(dialog);
                   });
    EXPECT_EQ(title, "Open Memos CSV file");
    EXPECT_EQ(filters, (QStringList{"CSV File(*.csv)", "All Files(*)"}));
    EXPECT_EQ(mode, QFileDialog::AnyFile);
    EXPECT_EQ(run.Get<QLineEdit>("edtCSVFile")->text().toStdString(), fresh);
}

}  // namespace tabrel

namespace tabrel {

TEST(TfmStep2, PagesFitTheMiddleBand) {
    test::WizardRun run;
    for (const int position : {0, 1, 7, 8}) {
        const QSize needed = run.Window().GetPage(position)->minimumSizeHint();
        EXPECT_GT(needed.height(), 50) << position;
        EXPECT_LE(needed.height(), 320) << position << ": " << needed.height();
        EXPECT_LE(needed.width(), 690) << position;
    }
}

}  // namespace tabrel
