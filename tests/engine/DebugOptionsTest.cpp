// The debug options apart from their dialogs: the level list, applying a choice, where the
// log is, the missing-file message and the support mail.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/DebugOptions.h"
#include "misc/CxDebugUtil.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

// Restores the process-wide logger's switch and level.
class ScopedLogState {
  public:
    ScopedLogState() : m_bEnabled(DebugLog().IsEnabled()), m_nLevel(DebugLog().GetLevel()) {}
    ~ScopedLogState() {
        DebugLog().Enable(m_bEnabled);
        DebugLog().SetLevel(m_nLevel);
    }
    ScopedLogState(const ScopedLogState&) = delete;
    ScopedLogState& operator=(const ScopedLogState&) = delete;

  private:
    bool m_bEnabled;
    int m_nLevel;
};

}  // namespace

TEST(DebugOptions, LevelListTextsAndStoredLevels) {
    ASSERT_EQ(kDebugLevelChoices.size(), 3u);
    EXPECT_EQ(kDebugLevelChoices[0].text, "Critical - Only log critical error information.");
    EXPECT_EQ(kDebugLevelChoices[1].text, "High - Log high level debug information.");
    EXPECT_EQ(kDebugLevelChoices[2].text, "Low - Log very detail debug information.");
    EXPECT_EQ(DebugLevelOfItem(0), 0);
    EXPECT_EQ(DebugLevelOfItem(1), 1);
    EXPECT_EQ(DebugLevelOfItem(2), 3);
    // No item chosen, or one the list does not have: the most detailed level.
    EXPECT_EQ(DebugLevelOfItem(-1), 3);
    EXPECT_EQ(DebugLevelOfItem(3), 3);
}

TEST(DebugOptions, LevelTwoAndOtherLevelsShowTheLowItem) {
    EXPECT_EQ(DebugLevelItemOf(0), 0);
    EXPECT_EQ(DebugLevelItemOf(1), 1);
    EXPECT_EQ(DebugLevelItemOf(2), 2);
    EXPECT_EQ(DebugLevelItemOf(3), 2);
    EXPECT_EQ(DebugLevelItemOf(-5), 2);
    EXPECT_EQ(DebugLevelItemOf(99), 2);
}

TEST(DebugOptions, ApplyStoresTheChoiceAndSwitchesTheLogAtOnce) {
    ScopedLogState restore;
    AppSettings settings;
    settings.m_nLogLevel = 2;
    ApplyDebugOptions(settings, true, DebugLevelItemOf(settings.m_nLogLevel));
    EXPECT_TRUE(settings.m_bEnableDebug);
    EXPECT_EQ(settings.m_nLogLevel, 3);
    EXPECT_TRUE(DebugLog().IsEnabled());
    EXPECT_EQ(DebugLog().GetLevel(), 3);

    ApplyDebugOptions(settings, false, 1);
    EXPECT_FALSE(settings.m_bEnableDebug);
    EXPECT_EQ(settings.m_nLogLevel, 1);
    EXPECT_FALSE(DebugLog().IsEnabled());
    EXPECT_EQ(DebugLog().GetLevel(), 1);
}

TEST(DebugOptions, LogLocationIsTheDataFolderCreatedWhenMissing) {
    test::TempDir home;
    test::ScopedEnv config("XDG_CONFIG_HOME", home.File("config"));
    const auto location = FindDebugLogLocation();
    ASSERT_TRUE(location.has_value());
    const std::string folder = home.File("config") + "/norvane/Tabrel/";
    EXPECT_EQ(location->folder, folder);
    EXPECT_EQ(location->file, folder + "appdebug.log");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(DebugOptions, NoLogLocationWhenTheDataFolderCannotBeMade) {
    test::TempDir home;
    test::WriteTextFile(home.File("blocker"), "a file, not a folder");
    test::ScopedEnv config("XDG_CONFIG_HOME", home.File("blocker") + "/config");
    EXPECT_FALSE(FindDebugLogLocation().has_value());
}

TEST(DebugOptions, MissingLogFileGivesItsMessage) {
    test::TempDir home;
    const std::string path = home.File("appdebug.log");
    const auto missing = CheckDebugLogFile(path);
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->caption, "Error");
    EXPECT_EQ(missing->text, "Debug log file doesn't exist");
    EXPECT_TRUE(CheckDebugLogFile("").has_value());

    test::WriteTextFile(path, "line\r\n");
    EXPECT_FALSE(CheckDebugLogFile(path).has_value());
}

TEST(DebugOptions, SupportMailAndHomePage) {
    EXPECT_EQ(SupportMailTarget(),
              "mailto:support@tabrel.invalid?subject=Tabrel%20Converter%20Bug%20Report");
    const std::string home = HomePageTarget();
    ASSERT_GE(home.size(), std::string("/tabrel.html").size());
    EXPECT_EQ(home.substr(home.size() - 12), "/tabrel.html");
}

}  // namespace tabrel
