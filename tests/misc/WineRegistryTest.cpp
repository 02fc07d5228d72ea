#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "misc/WineRegistry.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::ScopedEnv;
using test::ScopedLogFolder;
using test::TempDir;
using test::WriteTextFile;

namespace {

std::string Unescape(std::string_view text) {
    std::size_t pos = 0;
    std::string out;
    EXPECT_TRUE(UnescapeWineText(text, pos, '"', out)) << text;
    EXPECT_EQ(pos, text.size() - 1) << text;
    return out;
}

constexpr std::string_view kSample =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Other] 1600000000\n"
    "\"DesktopPath\"=\"wrong\"\n"
    "\n"
    "[Software\\\\PalmSource\\\\Desktop\\\\Core] 1600000001\n"
    "#time=1d6e1c1e2f3a4b5\n"
    "@=\"unnamed\"\n"
    "\"DesktopPath\"=\"C:\\\\Program Files\\\\Palm\"\n"
    "\"Expand\"=str(2):\"%ProgramFiles%\\\\Palm\"\n"
    "\"Multi\"=str(7):\"one\\0two\\0\"\n"
    "\"Flags\"=dword:0000002a\n"
    "\"Blob\"=hex:01,02,\\\n"
    "  03,ff\n"
    "\"Wide\"=hex(2):43,00,3a,00,5c,00,e9,00,00,00\n"
    "\"Broken\"=unknown:1\n"
    "\"Embedded\\\"Quote\"=\"x\"\n"
    "\n"
    "[Software\\\\PalmSource\\\\Desktop\\\\Core\\\\Sub] 1600000002\n"
    "\"DesktopPath\"=\"also wrong\"\n";

}  // namespace

TEST(WineRegistry, UnescapesTheWayWineWritesStrings) {
    EXPECT_EQ(Unescape(R"(C:\\Palm\\\"x\"")"), "C:\\Palm\\\"x\"");
    EXPECT_EQ(Unescape(R"(a\nb\rc\td")"), "a\nb\rc\td");
    EXPECT_EQ(Unescape(R"(\a\b\v\f\e\[\]")"), "\a\b\v\f\x1b[]");
    EXPECT_EQ(Unescape(R"(\0")"), std::string(1, '\0'));
    EXPECT_EQ(Unescape(R"(\101\0612")"), "A12");                  // octal, at most 3 digits
    EXPECT_EQ(Unescape(R"(\xe9t\x00e9")"), "\xC3\xA9t\xC3\xA9");  // é, 1 to 4 digits
    EXPECT_EQ(Unescape(R"(\x20ac12")"),
              "\xE2\x82\xAC"
              "12");                                              // at most 4 digits: € then 12
    EXPECT_EQ(Unescape(R"(\xd83d\xde00")"), "\xF0\x9F\x98\x80");  // a surrogate pair
    EXPECT_EQ(Unescape(R"(\xd83dx")"), "\xEF\xBF\xBDx");          // a lone surrogate
    EXPECT_EQ(Unescape(R"(\xz")"), "xz");
    EXPECT_EQ(Unescape("raw \xC3\xA9\""), "raw \xC3\xA9");

    std::size_t pos = 0;
    std::string out;
    EXPECT_FALSE(UnescapeWineText("no end", pos, '"', out));
    pos = 0;
    EXPECT_FALSE(UnescapeWineText("trailing \\", pos, '"', out));
}

TEST(WineRegistry, ReadsOnlyTheWantedKeyWithEveryValueForm) {
    TempDir dir;
    WriteTextFile(dir.File("system.reg"), kSample);
    const auto key =
        ReadWineRegistryKey(dir.File("system.reg"), "software\\palmsource\\DESKTOP\\core");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetCount(), 8u);  // the unknown value form is skipped
    EXPECT_EQ(key->GetString("desktoppath"), "C:\\Program Files\\Palm");
    EXPECT_EQ(key->GetString(""), "unnamed");
    EXPECT_EQ(key->GetString("Expand"), "%ProgramFiles%\\Palm");
    EXPECT_EQ(key->FindValue("Expand")->type, RegExpandSz);
    EXPECT_EQ(key->FindValue("Multi")->type, RegMultiSz);
    EXPECT_EQ(key->FindValue("Multi")->text, "one");
    EXPECT_EQ(key->GetString("Multi"), std::nullopt);  // not a plain string
    EXPECT_EQ(key->FindValue("Flags")->data, (std::vector<std::uint8_t>{0x2a, 0, 0, 0}));
    EXPECT_EQ(key->GetString("Flags"), std::nullopt);
    EXPECT_EQ(key->FindValue("Blob")->data, (std::vector<std::uint8_t>{1, 2, 3, 0xff}));
    EXPECT_EQ(key->GetString("Wide"), "C:\\\xC3\xA9");
    EXPECT_EQ(key->GetString("Embedded\"quote"), "x");
    EXPECT_EQ(key->FindValue("Broken"), nullptr);
    EXPECT_EQ(key->FindValue("Missing"), nullptr);
}

TEST(WineRegistry, MissingKeysAndFilesThatAreNoWineRegistry) {
    ScopedLogFolder log;
    TempDir dir;
    WriteTextFile(dir.File("system.reg"), kSample);
    EXPECT_FALSE(ReadWineRegistryKey(dir.File("system.reg"), "Software\\PalmSource"));
    EXPECT_FALSE(ReadWineRegistryKey(dir.File("missing.reg"), "Software\\Other"));
    WriteTextFile(dir.File("v1.reg"), "WINE REGISTRY Version 1\n[Software\\\\Other] 1\n");
    EXPECT_FALSE(ReadWineRegistryKey(dir.File("v1.reg"), "Software\\Other"));
    WriteTextFile(dir.File("empty.reg"), "");
    EXPECT_FALSE(ReadWineRegistryKey(dir.File("empty.reg"), "Software\\Other"));

    // CR LF line ends and a truncated last line still read.
    WriteTextFile(
        dir.File("crlf.reg"),
        "WINE REGISTRY Version 2\r\n[Software\\\\Other] 1\r\n\"A\"=\"1\"\r\n\"B\"=hex:01,\\");
    const auto key = ReadWineRegistryKey(dir.File("crlf.reg"), "Software\\Other");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetString("A"), "1");
    EXPECT_EQ(key->FindValue("B")->data, (std::vector<std::uint8_t>{1}));
}

TEST(WineRegistry, MapsWindowsPathsIntoThePrefix) {
    TempDir dir;
    const std::string prefix = dir.File("wine");
    std::filesystem::create_directories(prefix + "/drive_c/Program Files/Palm");
    std::filesystem::create_directories(prefix + "/dosdevices");
    std::filesystem::create_directories(dir.File("media/Palm"));
    std::filesystem::create_directory_symlink(dir.File("media"), prefix + "/dosdevices/d:");

    // No dosdevices entry for C: the prefix's drive_c; letter case found where it differs.
    EXPECT_EQ(MapWindowsPath(prefix, "c:\\PROGRAM FILES\\palm\\"),
              prefix + "/drive_c/Program Files/Palm/");
    EXPECT_EQ(MapWindowsPath(prefix, "C:\\Program Files\\Palm\\Missing\\Deeper"),
              prefix + "/drive_c/Program Files/Palm/Missing/Deeper");
    EXPECT_EQ(MapWindowsPath(prefix, "D:\\palm"), prefix + "/dosdevices/d:/Palm");
    EXPECT_EQ(MapWindowsPath(prefix, "C:/Program Files//./Palm"),
              prefix + "/drive_c/Program Files/Palm");
    EXPECT_EQ(MapWindowsPath(prefix, "C:\\"), prefix + "/drive_c/");
    EXPECT_EQ(MapWindowsPath(prefix, "E:\\Palm"), std::nullopt);  // no location for E:
    EXPECT_EQ(MapWindowsPath(prefix, "\\\\server\\share\\Palm"), std::nullopt);
    EXPECT_EQ(MapWindowsPath(prefix, "Palm"), std::nullopt);
    EXPECT_EQ(MapWindowsPath("", "C:\\Palm"), std::nullopt);

    // With a dosdevices entry for C: it is used.
    std::filesystem::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
    EXPECT_EQ(MapWindowsPath(prefix, "C:\\program files"), prefix + "/dosdevices/c:/Program Files");
}

TEST(WineRegistry, DefaultPrefixComesFromTheEnvironment) {
    {
        ScopedEnv wine("WINEPREFIX", "/opt/prefix/");
        EXPECT_EQ(DefaultWinePrefix(), "/opt/prefix");
    }
    ScopedEnv wine("WINEPREFIX", std::nullopt);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(DefaultWinePrefix(), "/home/someone/.wine");
}

}  // namespace tabrel
