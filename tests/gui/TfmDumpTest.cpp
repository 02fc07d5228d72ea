// The crash dialog: its texts, going on with OK, the debug options from it, and Quit,
// which closes the main window through its normal shut-down (the settings are saved).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "gui/TfmDebug.h"
#include "gui/TfmDump.h"
#include "gui/TfmMain.h"
#include "misc/CxIniUtil.h"

namespace tabrel {

using namespace test;

namespace {

struct CrashDialogTest : ::testing::Test {
    IsolatedDesktop desktop;
    ScopedLogState log;

    CrashDialogTest() { GuiApp(); }

    std::string DataFolder() const { return desktop.home.File("config") + "/norvane/Tabrel/"; }

    // The main window, shown, with the no-users message of this desktop answered.
    std::unique_ptr<TfmMain> ShownWindow() {
        std::unique_ptr<TfmMain> window;
        AnswerMessages([&] { window = std::make_unique<TfmMain>(60000); });
        window->show();
        QApplication::processEvents();
        return window;
    }
};

void ProcessPostedEvents() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

}  // namespace

TEST_F(CrashDialogTest, ShowsItsTextsAndControls) {
    WizardState state;
    TfmDump dialog(state, nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Handle Tabrel Converter Exception");
    EXPECT_TRUE(dialog.isModal());
    std::vector<std::string> labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.push_back(label->text().toStdString());
    }
    for (const char* text :
         {"We're sorry that an unhandled exception occurred  in Tabrel Converter.",
          "Please contact us at:",
          "It is very appreciated if you can include the debug information in your error "
          "report.",
          "Log Folder:", "Log File:"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
    }
    const std::string support = Find<QLabel>(&dialog, "lblSupport")->text().toStdString();
    EXPECT_NE(support.find(">support@tabrel.invalid<"), std::string::npos) << support;
    EXPECT_NE(support.find("href=\"mailto:support@tabrel.invalid?subject=Tabrel%20Converter%"
                           "20Bug%20Report\""),
              std::string::npos)
        << support;
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnOK")->text().toStdString(), "&OK");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnDebug")->text().toStdString(), "&Debug Options");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnExit")->text().toStdString(), "Quit Tabrel Converter");
    const auto groups = dialog.findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0]->title().toStdString(), " Debug Information ");
    EXPECT_EQ(Find<QLineEdit>(&dialog, "edtFolder")->text().toStdString(), DataFolder());
    EXPECT_EQ(Find<QLineEdit>(&dialog, "edtFile")->text().toStdString(),
              DataFolder() + "appdebug.log");
    Find<QLabel>(&dialog, "imgIcon");
    Find<QLabel>(&dialog, "imgText");
}

TEST_F(CrashDialogTest, MissingLogFileShowsItsMessage) {
    WizardState state;
    TfmDump dialog(state, nullptr);
    const auto shown = AnswerMessages([&] { Find<QPushButton>(&dialog, "btnFile")->click(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Debug log file doesn't exist");
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
}

TEST_F(CrashDialogTest, OkClosesItAndTheProgramGoesOn) {
    auto window = ShownWindow();
    WithModal<TfmDump>([&] { ShowCrashDialog(window->State(), window.get()); },
                       [](TfmDump& dialog) { Find<QPushButton>(&dialog, "btnOK")->click(); });
    ProcessPostedEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CrashDialogTest, QuitClosesTheMainWindowAndTheSettingsAreSaved) {
    auto window = ShownWindow();
    WithModal<TfmDump>([&] { ShowCrashDialog(window->State(), window.get()); },
                       [](TfmDump& dialog) {
                           // Debug Options first: its choice must survive the quit.
                           WithModal<TfmDebug>(
                               [&] { Find<QPushButton>(&dialog, "btnDebug")->click(); },
                               [](TfmDebug& options) {
                                   Find<QCheckBox>(&options, "cbEnable")->setChecked(true);
                                   Find<QPushButton>(&options, "btnOK")->click();
                               });
                           EXPECT_TRUE(dialog.isVisible());
                           Find<QPushButton>(&dialog, "btnExit")->click();
                           EXPECT_FALSE(dialog.isVisible());
                       });
    ProcessPostedEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->State().m_settings.m_bEnableDebug);
    window.reset();  // the rest of the shut-down, as when the program ends

    const CxIniUtil ini(DataFolder(), "norvane.ini");
    EXPECT_TRUE(ini.ReadBool("Tabrel", "EnableDebug", false));
}

TEST_F(CrashDialogTest, QuitWithoutAMainWindowOnlyClosesTheDialog) {
    WizardState state;  // as at a failed start-up: no main window to close
    WithModal<TfmDump>([&] { ShowCrashDialog(state, nullptr); },
                       [](TfmDump& dialog) { Find<QPushButton>(&dialog, "btnExit")->click(); });
    ProcessPostedEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace tabrel
