#include <gtest/gtest.h>

#include <filesystem>

#include "support/EnvGuards.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {
test::ProgramResult RunCli(const std::vector<std::string>& args) {
    return test::RunProgramAndWait(TABREL_CLI, args);
}
}  // namespace

TEST(CliUsers, ListsTheUsersOfTheNamedPalmFolder) {
    test::TempDir home;
    test::ScopedEnv config("XDG_CONFIG_HOME", home.File("config"));
    test::ScopedEnv wine("WINEPREFIX", home.File("wine"));
    test::TempDir palm;
    std::filesystem::create_directories(palm.Path() / "Jane" / "Address");
    std::filesystem::create_directories(palm.Path() / "Bob" / "MemoPad");
    std::filesystem::create_directories(palm.Path() / "NotAUser" / "photos");

    const auto result = RunCli({"--palm-folder", palm.Path().string(), "users"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string root = palm.Folder();
    EXPECT_EQ(result.out, "1808507252\tBob\t" + root + "Bob/\n" +  //
                              "2067499409\tJane\t" + root + "Jane/\n");
}

TEST(CliUsers, NoPalmDesktopFolderIsAnErrorWithTheMessage) {
    test::TempDir home;
    test::ScopedEnv config("XDG_CONFIG_HOME", home.File("config"));
    test::ScopedEnv wine("WINEPREFIX", home.File("wine"));
    const auto result = RunCli({"--palm-folder", home.File("missing"), "users"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Can not find any Palm users in your desktop environment.\n");
}

TEST(CliUsers, HelpAndVersionBehaveAsOnAnyTool) {
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--palm-folder"), std::string::npos);
    const auto version = RunCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tabrel-cli ", 0), 0u);
    EXPECT_NE(RunCli({"no-such-command"}).exitCode, 0);
}

}  // namespace tabrel
