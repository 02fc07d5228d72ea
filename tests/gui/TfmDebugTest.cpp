// The debug options dialog: its controls, the level list both ways, OK and Cancel, the log
// folder and file, and the Options button of the main window.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "gui/TfmDebug.h"
#include "gui/TfmMain.h"
#include "misc/CxIniUtil.h"

namespace tabrel {

using namespace test;

namespace {

struct DebugDialogTest : ::testing::Test {
    IsolatedDesktop desktop;
    ScopedLogState log;
    WizardState state;

    DebugDialogTest() { GuiApp(); }

    std::string DataFolder() const { return desktop.home.File("config") + "/norvane/Tabrel/"; }
};

}  // namespace

TEST_F(DebugDialogTest, ShowsItsControlsWithThePartCaptions) {
    TfmDebug dialog(state, nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Tabrel Converter Debug Log Options");
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(Find<QCheckBox>(&dialog, "cbEnable")->text().toStdString(), "Enable Debug Log");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnOK")->text().toStdString(), "&OK");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnCancel")->text().toStdString(), "&Cancel");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnFolder")->text().toStdString(), "...");
    EXPECT_EQ(Find<QPushButton>(&dialog, "btnFile")->text().toStdString(), "...");
    Find<QLabel>(&dialog, "imgIcon");
    Find<QLabel>(&dialog, "imgText");
    auto* levels = Find<QComboBox>(&dialog, "cbxLevel");
    ASSERT_EQ(levels->count(), 3);
    EXPECT_FALSE(levels->isEditable());
    EXPECT_EQ(levels->itemText(0).toStdString(), "Critical - Only log critical error information.");
    EXPECT_EQ(levels->itemText(1).toStdString(), "High - Log high level debug information.");
    EXPECT_EQ(levels->itemText(2).toStdString(), "Low - Log very detail debug information.");
    std::vector<std::string> labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.push_back(label->text().toStdString());
    }
    for (const char* text : {"Set Debug Level:", "Log Folder:", "Log File:"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
    }
}

TEST_F(DebugDialogTest, LevelTwoShowsLowAndOkStoresThree) {
    state.m_settings.m_nLogLevel = 2;
    state.m_settings.m_bEnableDebug = false;
    TfmDebug dialog(state, nullptr);
    auto* enable = Find<QCheckBox>(&dialog, "cbEnable");
    EXPECT_FALSE(enable->isChecked());
    EXPECT_EQ(Find<QComboBox>(&dialog, "cbxLevel")->currentText().toStdString(),
              "Low - Log very detail debug information.");
    enable->setChecked(true);
    Find<QPushButton>(&dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(state.m_settings.m_nLogLevel, 3);
    EXPECT_TRUE(state.m_settings.m_bEnableDebug);
    // Applied to the running log at once.
    EXPECT_TRUE(DebugLog().IsEnabled());
    EXPECT_EQ(DebugLog().GetLevel(), 3);
}

TEST_F(DebugDialogTest, LevelsZeroAndOneShowTheirItemsAndOkStoresTheChosenOne) {
    state.m_settings.m_nLogLevel = 1;
    state.m_settings.m_bEnableDebug = true;
    {
        TfmDebug dialog(state, nullptr);
        auto* levels = Find<QComboBox>(&dialog, "cbxLevel");
        EXPECT_EQ(levels->currentIndex(), 1);
        EXPECT_TRUE(Find<QCheckBox>(&dialog, "cbEnable")->isChecked());
        levels->setCurrentIndex(0);
        Find<QPushButton>(&dialog, "btnOK")->click();
    }
    EXPECT_EQ(state.m_settings.m_nLogLevel, 0);
    EXPECT_EQ(DebugLog().GetLevel(), 0);
    TfmDebug again(state, nullptr);
    EXPECT_EQ(Find<QComboBox>(&again, "cbxLevel")->currentIndex(), 0);
}

TEST_F(DebugDialogTest, CancelChangesNothing) {
    state.m_settings.m_nLogLevel = 0;
    state.m_settings.m_bEnableDebug = false;
    DebugLog().Enable(false);
    DebugLog().SetLevel(0);
    TfmDebug dialog(state, nullptr);
    Find<QCheckBox>(&dialog, "cbEnable")->setChecked(true);
    Find<QComboBox>(&dialog, "cbxLevel")->setCurrentIndex(2);
    Find<QPushButton>(&dialog, "btnCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(state.m_settings.m_nLogLevel, 0);
    EXPECT_FALSE(state.m_settings.m_bEnableDebug);
    EXPECT_FALSE(DebugLog().IsEnabled());
    EXPECT_EQ(DebugLog().GetLevel(), 0);
}

TEST_F(DebugDialogTest, ShowsTheLogFolderAndFileReadOnly) {
    TfmDebug dialog(state, nullptr);
    auto* folder = Find<QLineEdit>(&dialog, "edtFolder");
    auto* file = Find<QLineEdit>(&dialog, "edtFile");
    EXPECT_EQ(folder->text().toStdString(), DataFolder());
    EXPECT_EQ(file->text().toStdString(), DataFolder() + "appdebug.log");
    EXPECT_TRUE(folder->isReadOnly());
    EXPECT_TRUE(file->isReadOnly());
    EXPECT_TRUE(Find<QPushButton>(&dialog, "btnFolder")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&dialog, "btnFile")->isEnabled());
}

TEST_F(DebugDialogTest, MissingLogFileShowsItsMessage) {
    TfmDebug dialog(state, nullptr);
    const auto shown = AnswerMessages([&] { Find<QPushButton>(&dialog, "btnFile")->click(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Debug log file doesn't exist");
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
}

TEST_F(DebugDialogTest, WithoutADataFolderTheButtonsAreDisabled) {
    WriteTextFile(desktop.home.File("blocker"), "a file, not a folder");
    ScopedEnv config("XDG_CONFIG_HOME", desktop.home.File("blocker") + "/config");
    TfmDebug dialog(state, nullptr);
    EXPECT_FALSE(Find<QPushButton>(&dialog, "btnFolder")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(&dialog, "btnFile")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(&dialog, "edtFolder")->text().isEmpty());
    EXPECT_TRUE(Find<QLineEdit>(&dialog, "edtFile")->text().isEmpty());
}

TEST_F(DebugDialogTest, OptionsButtonOpensItAndTheChoiceIsSavedAtShutDown) {
    std::unique_ptr<TfmMain> window;
    AnswerMessages([&] { window = std::make_unique<TfmMain>(60000); });
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->State().m_settings.m_bEnableDebug);
    WithModal<TfmDebug>([&] { Find<QPushButton>(window.get(), "btnOption")->click(); },
                        [](TfmDebug& dialog) {
                            Find<QCheckBox>(&dialog, "cbEnable")->setChecked(true);
                            Find<QComboBox>(&dialog, "cbxLevel")->setCurrentIndex(1);
                            Find<QPushButton>(&dialog, "btnOK")->click();
                        });
    EXPECT_TRUE(window->State().m_settings.m_bEnableDebug);
    EXPECT_EQ(window->State().m_settings.m_nLogLevel, 1);
    window.reset();

    const CxIniUtil ini(DataFolder(), "norvane.ini");
    EXPECT_TRUE(ini.ReadBool("Tabrel", "EnableDebug", false));
    EXPECT_EQ(ini.ReadInt("Tabrel", "LogLevel", -1), 1);
}

}  // namespace tabrel
