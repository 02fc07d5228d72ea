// The finish page's texts: direction, application, source and destination, result.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FinishSummary.h"
#include "support/PalmTestSupport.h"

namespace tabrel {

using namespace test;

namespace {

PalmUserList Users() {
    PalmUserList users;
    users.Add(std::make_unique<PalmUser>(PalmUser{3, "Alice", "alice"}));
    users.Add(std::make_unique<PalmUser>(PalmUser{8, "Bob", "bob"}));
    return users;
}

}  // namespace

TEST(FinishSummary, ModeAndApplicationTexts) {
    EXPECT_EQ(ModeText(ModePalmToCsv), "Palm Desktop >> CSV File");
    EXPECT_EQ(ModeText(ModeCsvToPalm), "CSV File >> Palm Desktop");
    EXPECT_EQ(AppText(AppContacts), "Contacts ( Address Book )");
    EXPECT_EQ(AppText(AppCalendar), "Calendar ( Date Book )");
    EXPECT_EQ(AppText(AppTasks), "Tasks ( Todo List )");
    EXPECT_EQ(AppText(AppMemos), "Memos ( Memo Pad )");
    EXPECT_EQ(AppText(0), "Contacts ( Address Book )");
}

TEST(FinishSummary, PalmSideByUserOrByFile) {
    const PalmUserList users = Users();
    AppSettings settings;
    settings.m_nPmDataMode = PmDataByUser;
    settings.m_nPmUserId = 3;
    EXPECT_EQ(PalmSideText(settings, users), "Palm User:Alice (ID:3)");
    settings.m_nPmUserId = 8;
    EXPECT_EQ(PalmSideText(settings, users), "Palm User:Bob (ID:8)");
    // A user the list does not know keeps its identifier.
    settings.m_nPmUserId = -5;
    EXPECT_EQ(PalmSideText(settings, users), "Palm User: (ID:-5)");

    settings.m_nPmDataMode = PmDataByFile;
    settings.m_nApp = AppTasks;
    settings.m_szPmTodoFile = "/data/todo.dat";
    EXPECT_EQ(PalmSideText(settings, users), "/data/todo.dat");
}

TEST(FinishSummary, SourceAndDestinationFollowTheDirection) {
    const PalmUserList users = Users();
    AppSettings settings;
    settings.m_nPmUserId = 3;
    settings.m_szCsvAddrFile = "/data/cut.csv";
    ConversionResult result;
    result.m_nConverted = 5;

    FinishSummary summary = MakeFinishSummary(settings, users, "/data/full.csv", result);
    EXPECT_EQ(summary.m_szMode, "Palm Desktop >> CSV File");
    EXPECT_EQ(summary.m_szApp, "Contacts ( Address Book )");
    EXPECT_EQ(summary.m_szSource, "Palm User:Alice (ID:3)");
    EXPECT_EQ(summary.m_szDest, "/data/full.csv");
    EXPECT_EQ(summary.m_szResult, "Convesion succeeded. 5 records were converted");

    settings.m_nMode = ModeCsvToPalm;
    settings.m_nPmDataMode = PmDataByFile;
    settings.m_szPmAddrFile = "/data/address.dat";
    summary = MakeFinishSummary(settings, users, "", result);
    EXPECT_EQ(summary.m_szSource, "/data/cut.csv");
    EXPECT_EQ(summary.m_szDest, "/data/address.dat");
}

TEST(FinishSummary, ResultTexts) {
    const PalmUserList users;
    const AppSettings settings;
    ConversionResult result;
    EXPECT_EQ(MakeFinishSummary(settings, users, "", result).m_szResult,
              "Convesion succeeded. 0 records were converted");
    result.m_nConverted = 2;
    result.m_nFailed = 1;
    result.m_failure = UserMessage{"Tabrel Error",
                                   "1 records could not be written to the Palm Desktop "
                                   "database. 2 records were converted."};
    EXPECT_EQ(MakeFinishSummary(settings, users, "", result).m_szResult,
              "1 records could not be written to the Palm Desktop database. 2 records were "
              "converted.");
}

TEST(FinishSummary, PalmProgramToOpen) {
    ScopedPalmSetup setup;
    std::string path;
    const auto missing = FindPalmProgramToOpen(path);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->caption, "Tabrel Error");
    EXPECT_EQ(missing->text,
              "Can not find the Palm Desktop program (palm.exe) in the Palm Desktop folder.");

    const std::string folder = setup.File("Palm");
    std::filesystem::create_directories(folder);
    SetPalmDesktopFolder(folder);
    EXPECT_TRUE(FindPalmProgramToOpen(path));  // a folder without the program
    WriteTextFile(folder + "/PALM.exe", "MZ");
    EXPECT_EQ(FindPalmProgramToOpen(path), std::nullopt);
    EXPECT_EQ(path, folder + "/PALM.exe");

    const UserMessage failed = OpenFileFailedMessage("/data/x.csv");
    EXPECT_EQ(failed.caption, "Tabrel Error");
    EXPECT_EQ(failed.text, "Can not open the file: /data/x.csv");
}

}  // namespace tabrel
