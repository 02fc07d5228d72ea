#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "palm/desktop/PalmDesktop.h"
#include "support/PalmTestSupport.h"
#include "support/PeWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::ScopedPalmSetup;
using test::WriteFile;
using test::WriteTextFile;

namespace {

constexpr std::string_view kUserKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr std::string_view kMachineKey = "Software\\PalmSource\\Desktop\\Core";

std::string PalmPath(std::size_t size = 260) {
    std::string path = "stale";
    const int result = GetPalmDesktopPath(path, size);
    return result == PalmPathOk ? path : "error " + std::to_string(result);
}

}  // namespace

TEST(PalmDesktop, DesktopPathOfTheCurrentUserWinsOverTheMachine) {
    ScopedPalmSetup palm;
    std::filesystem::create_directories(palm.DriveC() + "/Program Files/Palm");
    palm.WriteRegistry("system.reg", kMachineKey, R"("DesktopPath"="C:\\Machine")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Machine");

    palm.WriteRegistry("user.reg", kUserKey,
                       R"("HotSyncPath"="C:\\Other\\HotSync.exe")"
                       "\n"
                       R"("desktoppath"="C:\\PROGRAM FILES\\palm")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Program Files/Palm");

    // The current user's key is used once it exists, even without the values.
    palm.WriteRegistry("user.reg", kUserKey, R"("Unrelated"="x")");
    EXPECT_EQ(PalmPath(), "error -101");
}

TEST(PalmDesktop, HotSyncPathAloneGivesItsFolderWithATrailingSlash) {
    ScopedPalmSetup palm;
    std::filesystem::create_directories(palm.DriveC() + "/Palm");
    palm.WriteRegistry("user.reg", kUserKey, R"("HotSyncPath"="C:\\Palm\\HotSync.exe")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Palm/");

    palm.WriteRegistry("user.reg", kUserKey, R"("HotSyncPath"="C:HotSync.exe")");
    EXPECT_EQ(PalmPath(), palm.DriveC());
}

TEST(PalmDesktop, MachineKeyIsAlsoFoundInTheWow6432NodeView) {
    ScopedPalmSetup palm;
    palm.WriteRegistry("system.reg", "Software\\Wow6432Node\\PalmSource\\Desktop\\Core",
                       R"("DesktopPath"="C:\\Program Files (x86)\\Palm")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Program Files (x86)/Palm");
}

TEST(PalmDesktop, ResultCodesForMissingSizeLocationAndTooLongValues) {
    ScopedPalmSetup palm;
    std::string path = "stale";
    EXPECT_EQ(GetPalmDesktopPath(path, 0), PalmPathNoBuffer);
    EXPECT_EQ(GetPalmDesktopPath(path, 260), PalmPathNoLocation);  // no registry at all
    EXPECT_EQ(path, "");

    palm.WriteRegistry("user.reg", kUserKey,
                       "\"DesktopPath\"=\"C:\\\\" + std::string(297, 'p') + "\"");
    EXPECT_EQ(PalmPath(260), "error -102");
    EXPECT_EQ(PalmPath(301), palm.DriveC() + "/" + std::string(297, 'p'));
    EXPECT_EQ(PalmPath(300), "error -102");  // the terminator does not fit

    palm.WriteRegistry("user.reg", kUserKey,
                       "\"HotSyncPath\"=\"C:\\\\" + std::string(260, 'h') + "\\\\HotSync.exe\"");
    EXPECT_EQ(PalmPath(1000), "error -102");  // HotSyncPath is read into 260 bytes

    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="F:\\Palm")");
    EXPECT_EQ(PalmPath(), "error -101");  // drive F has no location
    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"=dword:00000001)");
    EXPECT_EQ(PalmPath(), "error -101");
}

TEST(PalmDesktop, EscapesDrivesAndLetterCaseOfTheRegistryPath) {
    ScopedPalmSetup palm;
    std::filesystem::create_directories(palm.DriveC() + "/Programme/Palm Caf\xC3\xA9");
    std::filesystem::create_directories(palm.File("media/PALM"));
    std::filesystem::create_directories(palm.Prefix() + "/dosdevices");
    std::filesystem::create_directory_symlink(palm.File("media"), palm.Prefix() + "/dosdevices/d:");

    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="c:\\programme\\palm caf\xe9")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Programme/Palm Caf\xC3\xA9");
    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="D:\\Palm\\")");
    EXPECT_EQ(PalmPath(), palm.Prefix() + "/dosdevices/d:/PALM/");
    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="C:\\Palm\101\\")");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/PalmA/");  // octal escape, kept as written
}

TEST(PalmDesktop, PdPathOverrideWinsOverTheRegistry) {
    ScopedPalmSetup palm;
    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="C:\\Registry")");
    WriteTextFile(palm.SettingsIni(), "[Tabrel]\nMode=1\n[path]\npdpath = /opt/settings palm \n");
    EXPECT_EQ(PalmPath(), "/opt/settings palm");

    // The program folder's file is read first; a Windows path goes through the prefix.
    WriteTextFile(palm.ProgramIni(), "[Path]\r\nPDPath=C:\\Palm From Program\r\n");
    EXPECT_EQ(PalmPath(), palm.DriveC() + "/Palm From Program");

    // An empty value does not count.
    WriteTextFile(palm.ProgramIni(), "[Path]\r\nPDPath=\r\n");
    EXPECT_EQ(PalmPath(), "/opt/settings palm");

    // The folder set for this run wins over everything.
    SetPalmDesktopFolder("/from/the/command/line");
    EXPECT_EQ(PalmPath(), "/from/the/command/line");
    SetPalmDesktopFolder("");
    EXPECT_EQ(PalmPath(), "/opt/settings palm");
}

TEST(PalmDesktop, VersionNumberOfPalmExe) {
    ScopedPalmSetup palm;
    const std::string folder = palm.DriveC() + "/Palm";
    std::filesystem::create_directories(folder);
    EXPECT_EQ(GetPalmDesktopVersion(), kNoPalmVersion);  // no Palm Desktop folder

    palm.WriteRegistry("user.reg", kUserKey, R"("DesktopPath"="C:\\Palm")");
    EXPECT_EQ(GetPalmDesktopVersion(), kNoPalmVersion);  // no palm.exe

    WriteFile(folder + "/Palm.EXE", test::MakePeWithVersion(4, 1, 4, 7));
    EXPECT_EQ(GetPalmDesktopVersion(), 40104u);
    std::string program;
    ASSERT_TRUE(FindPalmProgram(program));
    EXPECT_EQ(program, folder + "/Palm.EXE");

    WriteFile(folder + "/Palm.EXE", test::MakePeWithVersion(6, 0, 0, 0));
    EXPECT_EQ(GetPalmDesktopVersion(), 60000u);

    WriteFile(folder + "/Palm.EXE", test::MakePeWithoutResources());
    EXPECT_EQ(GetPalmDesktopVersion(), kNoPalmVersion);
}

}  // namespace tabrel
