#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <string>

#include "misc/CxIniUtil.h"
#include "misc/WinUtil.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::ReadTextFile;
using test::RunUnprivileged;
using test::ScopedEnv;
using test::ScopedLogFolder;
using test::TempDir;
using test::WriteTextFile;

namespace {

std::size_t EntryCount(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(CxIniUtil, MissingFileAndMissingKeyGiveTheDefaults) {
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    EXPECT_EQ(ini.GetFile(), dir.File("norvane.ini"));
    std::string text = "old";
    EXPECT_EQ(ini.ReadString("Tabrel", "QuoteMark", text, 8, "\""), 1);
    EXPECT_EQ(text, "\"");
    EXPECT_EQ(ini.ReadInt("Tabrel", "LogLevel", 3), 3);
    EXPECT_TRUE(ini.ReadBool("Tabrel", "EnableDebug", true));

    WriteTextFile(ini.GetFile(), "[Tabrel]\nMode=2\n");
    EXPECT_EQ(ini.ReadInt("Tabrel", "LogLevel", 3), 3);
    EXPECT_EQ(ini.ReadString("Tabrel", "PmAddrFile", text, 260, ""), 0);
    EXPECT_EQ(text, "");
}

TEST(CxIniUtil, NumbersReadTheWayTheProgramAlwaysReadThem) {
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    WriteTextFile(ini.GetFile(),
                  "[Tabrel]\nMode=\nApp=abc\nLogLevel= 2\nA=-12abc\nB=+7\nC=99999999999\n"
                  "D=-99999999999\nE=--1\nF=0\n");
    EXPECT_EQ(ini.ReadInt("Tabrel", "Mode", 1), 1);  // present but empty: the default
    EXPECT_EQ(ini.ReadInt("Tabrel", "App", 1), 0);   // letters: 0
    EXPECT_EQ(ini.ReadInt("Tabrel", "LogLevel", 3), 2);
    EXPECT_EQ(ini.ReadInt("Tabrel", "A", 5), -12);
    EXPECT_EQ(ini.ReadInt("Tabrel", "B", 5), 7);
    EXPECT_EQ(ini.ReadInt("Tabrel", "C", 5), INT_MAX);
    EXPECT_EQ(ini.ReadInt("Tabrel", "D", 5), INT_MIN);
    EXPECT_EQ(ini.ReadInt("Tabrel", "E", 5), 0);
    EXPECT_FALSE(ini.ReadBool("Tabrel", "F", true));
    EXPECT_TRUE(ini.ReadBool("Tabrel", "Mode", true));
    EXPECT_FALSE(ini.ReadBool("Tabrel", "Mode", false));

    ASSERT_TRUE(ini.WriteBool("Tabrel", "AddTitle", true));
    ASSERT_TRUE(ini.WriteInt("Tabrel", "PmUserID", -2147483647 - 1));
    EXPECT_EQ(ini.ReadInt("Tabrel", "AddTitle", 0), 1);
    EXPECT_EQ(ini.ReadInt("Tabrel", "PmUserID", 0), INT_MIN);
}

TEST(CxIniUtil, ReadStringCutsToTheBufferSizeAndChecksItsArguments) {
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    WriteTextFile(ini.GetFile(), "[Tabrel]\nPmAddrFile=abcdef\n");
    std::string text;
    EXPECT_EQ(ini.ReadString("Tabrel", "PmAddrFile", text, 4, ""), 3);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(ini.ReadString("Tabrel", "Missing", text, 3, "xyz"), 2);
    EXPECT_EQ(text, "xy");
    EXPECT_EQ(ini.ReadString("Tabrel", "PmAddrFile", text, 1, ""), 0);
    EXPECT_EQ(text, "");

    text = "untouched";
    EXPECT_EQ(ini.ReadString("Tabrel", "PmAddrFile", text, 0, "d"), 0);
    EXPECT_EQ(ini.ReadString("Tabrel", "", text, 10, "d"), 0);
    EXPECT_EQ(ini.ReadString("", "PmAddrFile", text, 10, "d"), 0);
    EXPECT_EQ(text, "untouched");
}

TEST(CxIniUtil, WritesKeepEveryOtherByteOfTheFile) {
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    WriteTextFile(ini.GetFile(),
                  "; Tabrel settings\r\n[Other]\r\nUnknown = kept  \r\n\r\n[TABREL]\r\n"
                  "mode=1\r\n# note\r\n\r\n");
    ASSERT_TRUE(ini.WriteInt("Tabrel", "Mode", 2));
    ASSERT_TRUE(ini.WriteString("Tabrel", "CsvAddrFile", "/home/u/a b.csv"));
    ASSERT_TRUE(ini.WriteString("Path", "PDPath", ""));
    EXPECT_EQ(ReadTextFile(ini.GetFile()),
              "; Tabrel settings\r\n[Other]\r\nUnknown = kept  \r\n\r\n[TABREL]\r\n"
              "mode=2\r\n# note\r\nCsvAddrFile=/home/u/a b.csv\r\n\r\n[Path]\r\nPDPath=\r\n");
    std::string text;
    EXPECT_EQ(ini.ReadString("tabrel", "csvaddrfile", text, 260, ""), 15);
    EXPECT_EQ(text, "/home/u/a b.csv");
}

TEST(CxIniUtil, NothingIsCached) {
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    ASSERT_TRUE(ini.WriteInt("Tabrel", "App", 3));
    EXPECT_EQ(ini.ReadInt("Tabrel", "App", 1), 3);
    WriteTextFile(ini.GetFile(), "[Tabrel]\nApp=4\nMode=2\n");
    EXPECT_EQ(ini.ReadInt("Tabrel", "App", 1), 4);
    ASSERT_TRUE(ini.WriteInt("Tabrel", "App", 2));
    EXPECT_EQ(ReadTextFile(ini.GetFile()), "[Tabrel]\nApp=2\nMode=2\n");
}

TEST(CxIniUtil, RefusedWritesLeaveTheFileAsItWas) {
    ScopedLogFolder log;
    TempDir dir;
    CxIniUtil ini(dir.Folder(), "norvane.ini");
    EXPECT_FALSE(ini.WriteString("Tabrel", "CsvAddrFile", "a\r\nMode=2"));
    EXPECT_FALSE(ini.WriteString("Tabrel", "", "v"));
    EXPECT_FALSE(ini.WriteString("", "Mode", "v"));
    EXPECT_FALSE(std::filesystem::exists(ini.GetFile()));

    WriteTextFile(ini.GetFile(), "[Tabrel]\nMode=1\n");
    EXPECT_FALSE(ini.WriteString("Tabrel", "Mode", "2\n"));
    EXPECT_EQ(ReadTextFile(ini.GetFile()), "[Tabrel]\nMode=1\n");

    // A folder that does not exist, and a path that names a folder.
    CxIniUtil missing(dir.Folder() + "no/such/", "norvane.ini");
    EXPECT_FALSE(missing.WriteInt("Tabrel", "Mode", 1));
    CxIniUtil folder(dir.Folder(), "");
    EXPECT_FALSE(folder.WriteInt("Tabrel", "Mode", 1));
    EXPECT_EQ(EntryCount(dir.Path()), 1u);  // no temporary file left behind

    // Something else than a file in its place is neither waited on nor replaced.
    ASSERT_EQ(mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
    CxIniUtil fifo(dir.Folder(), "fifo.ini");
    EXPECT_EQ(fifo.ReadInt("Tabrel", "Mode", 7), 7);
    EXPECT_FALSE(fifo.WriteInt("Tabrel", "Mode", 1));
    EXPECT_EQ(std::filesystem::status(dir.File("fifo.ini")).type(),
              std::filesystem::file_type::fifo);
}

TEST(CxIniUtil, ReadOnlyFolderOrFileLeavesTheOldFileAndAnswersFalse) {
    ScopedLogFolder log;
    TempDir dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
    const std::filesystem::path folder = dir.Path() / "ro";
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "norvane.ini").string();
    WriteTextFile(path, "[Tabrel]\r\nMode=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0666));
    std::filesystem::permissions(folder, std::filesystem::perms(0555));

    EXPECT_FALSE(RunUnprivileged([&] {
        CxIniUtil ini(folder.string() + "/", "norvane.ini");
        return ini.WriteInt("Tabrel", "Mode", 2);
    }));
    EXPECT_EQ(ReadTextFile(path), "[Tabrel]\r\nMode=1\r\n");
    EXPECT_EQ(EntryCount(folder), 1u);

    // A writable folder but a read-only file: the file is not replaced either.
    std::filesystem::permissions(folder, std::filesystem::perms(0777));
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    EXPECT_FALSE(RunUnprivileged([&] {
        CxIniUtil ini(folder.string() + "/", "norvane.ini");
        return ini.WriteInt("Tabrel", "Mode", 2);
    }));
    EXPECT_EQ(ReadTextFile(path), "[Tabrel]\r\nMode=1\r\n");
    EXPECT_EQ(EntryCount(folder), 1u);

    // The same write goes through once the file is writable.
    std::filesystem::permissions(path, std::filesystem::perms(0666));
    EXPECT_TRUE(RunUnprivileged([&] {
        CxIniUtil ini(folder.string() + "/", "norvane.ini");
        return ini.WriteInt("Tabrel", "Mode", 2);
    }));
    EXPECT_EQ(ReadTextFile(path), "[Tabrel]\r\nMode=2\r\n");
}

TEST(CxIniUtil, WriteKeepsPermissionsAndFollowsASymbolicLink) {
    TempDir dir;
    const std::string target = dir.File("real.ini");
    WriteTextFile(target, "[Tabrel]\nMode=1\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::filesystem::create_symlink(target, dir.File("norvane.ini"));

    CxIniUtil ini(dir.Folder(), "norvane.ini");
    ASSERT_TRUE(ini.WriteInt("Tabrel", "Mode", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("norvane.ini")));
    EXPECT_EQ(ReadTextFile(target), "[Tabrel]\nMode=2\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
}

TEST(CxIniUtil, ConstructionAndSetFile) {
    CxIniUtil beside("", "norvane.ini");
    EXPECT_EQ(beside.GetFile(), GetAppFolder() + "norvane.ini");
    beside.SetFile("");
    EXPECT_EQ(beside.GetFile(), GetAppFolder() + "norvane.ini");
    beside.SetFile("/tmp/other.ini");
    EXPECT_EQ(beside.GetFile(), "/tmp/other.ini");
}

TEST(DataFolder, CreatesEveryMissingLevelUnderXdgConfigHome) {
    TempDir dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("a/b") + "/");
    std::string folder;
    ASSERT_TRUE(GetDataFolder(folder));
    EXPECT_EQ(folder, dir.File("a/b") + "/norvane/Tabrel/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(DataFolderLocation(), folder);
    ASSERT_TRUE(GetDataFolder(folder));  // existing levels are fine
    EXPECT_EQ(folder, dir.File("a/b") + "/norvane/Tabrel/");
}

TEST(DataFolder, FallsBackToHomeConfigForAMissingOrRelativeXdgConfigHome) {
    TempDir dir;
    ScopedEnv home("HOME", dir.Folder() + "home");
    std::filesystem::create_directory(dir.Path() / "home");
    std::string folder;
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
        ASSERT_TRUE(GetDataFolder(folder));
        EXPECT_EQ(folder, dir.Folder() + "home/.config/norvane/Tabrel/");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
    ASSERT_TRUE(GetDataFolder(folder));
    EXPECT_EQ(folder, dir.Folder() + "home/.config/norvane/Tabrel/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST(DataFolder, WithoutADataFolderTheSettingsStayBesideTheProgram) {
    ScopedLogFolder log;
    TempDir dir;
    WriteTextFile(dir.File("file"), "not a folder");
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("file") + "/config");
    std::string folder = "x";
    EXPECT_FALSE(GetDataFolder(folder));

    CxIniUtil settings("", "norvane.ini");
    EXPECT_FALSE(UseDataFolderSettings(settings, folder));
    EXPECT_EQ(folder, "");
    EXPECT_EQ(settings.GetFile(), GetAppFolder() + "norvane.ini");

    ScopedEnv good("XDG_CONFIG_HOME", dir.File("cfg"));
    ASSERT_TRUE(UseDataFolderSettings(settings, folder));
    EXPECT_EQ(folder, dir.File("cfg") + "/norvane/Tabrel/");
    EXPECT_EQ(settings.GetFile(), folder + "norvane.ini");
}

}  // namespace tabrel
