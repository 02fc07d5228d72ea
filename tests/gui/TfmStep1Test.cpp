// The mode page: the direction and application ticked at the first entry, and what leaving
// it stores.

#include <gtest/gtest.h>

#include <QRadioButton>

#include "WizardRun.h"

namespace tabrel {

using namespace test;

namespace {

// The object names of the ticked option buttons of the mode page.
std::vector<std::string> Ticked(WizardRun& run) {
    std::vector<std::string> ticked;
    for (const char* name :
         {"rbtnP2C", "rbtnC2P", "rbtnAddr", "rbtnDate", "rbtnTodo", "rbtnMemo"}) {
        if (run.Get<QRadioButton>(name)->isChecked()) {
            ticked.emplace_back(name);
        }
    }
    return ticked;
}

}  // namespace

TEST(TfmStep1, CaptionsAndDefaultsWithoutASettingsFile) {
    WizardRun run;
    EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnP2C", "rbtnAddr"}));
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"rbtnP2C", "Convert Palm Desktop Data to CSV File"},
        {"rbtnC2P", "Convert CSV File to Palm Desktop Data"},
        {"rbtnAddr", "Contacts ( Address Book )"},
        {"rbtnDate", "Calendar ( Date Book )"},
        {"rbtnTodo", "Tasks ( Todo List )"},
        {"rbtnMemo", "Memos ( Memo Pad )"}};
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(run.Get<QRadioButton>(name)->text().toStdString(), caption) << name;
    }
}

TEST(TfmStep1, FirstEntryTicksTheSettingsChoices) {
    {
        WizardRun run("[Tabrel]\nMode=2\nApp=4\n");
        EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnC2P", "rbtnMemo"}));
    }
    {
        WizardRun run("[Tabrel]\nMode=1\nApp=2\n");
        EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnP2C", "rbtnDate"}));
    }
    {
        WizardRun run("[Tabrel]\nApp=3\n");
        EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnP2C", "rbtnTodo"}));
    }
    {
        // Codes that name nothing fall back to the first choice of each group.
        WizardRun run("[Tabrel]\nMode=7\nApp=9\n");
        EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnP2C", "rbtnAddr"}));
    }
}

TEST(TfmStep1, LaterEntriesKeepTheTickedButtons) {
    WizardRun run("[Tabrel]\nMode=2\nApp=4\n");
    run.Settings().m_nMode = ModePalmToCsv;
    run.Settings().m_nApp = AppCalendar;
    ASSERT_TRUE(run.Window().GoToPage(0, false));
    EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnC2P", "rbtnMemo"}));
}

TEST(TfmStep1, LeavingStoresTheDirectionAndTheApplication) {
    WizardRun run;
    run.Get<QRadioButton>("rbtnC2P")->click();
    run.Get<QRadioButton>("rbtnTodo")->click();
    EXPECT_TRUE(run.Next().empty());
    EXPECT_EQ(run.Window().GetPageIndex(), 1);
    EXPECT_EQ(run.Settings().m_nMode, ModeCsvToPalm);
    EXPECT_EQ(run.Settings().m_nApp, AppTasks);
    EXPECT_EQ(run.State().Job().m_nApp, AppTasks);

    // Back on the mode page (Prev does not leave the source page), other choices.
    run.Click("btnPrev");
    EXPECT_EQ(run.Window().GetPageIndex(), 0);
    run.Get<QRadioButton>("rbtnP2C")->click();
    run.Get<QRadioButton>("rbtnDate")->click();
    run.Next();
    EXPECT_EQ(run.Settings().m_nMode, ModePalmToCsv);
    EXPECT_EQ(run.Settings().m_nApp, AppCalendar);
    EXPECT_EQ(run.State().Job().m_nApp, AppCalendar);
}

TEST(TfmStep1, ChoicesAreSavedWhenTheWindowCloses) {
    WizardRun run;
    run.Get<QRadioButton>("rbtnC2P")->click();
    run.Get<QRadioButton>("rbtnMemo")->click();
    run.Next();
    // The next start reads what this one saved.
    run.Restart();
    EXPECT_EQ(Ticked(run), (std::vector<std::string>{"rbtnC2P", "rbtnMemo"}));
}

}  // namespace tabrel
